#include "ledger/OpenPeriod.h"

#include "ledger/ItemGrid.h"
#include "ledger/ItemTables.h"
#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"

namespace ledger {

void OpenPeriodData(Ledger& ledger, const platform::IniFile& ini) {
    LoadPeriod(ledger, ledger.CurData.FileName);
    const SlipKind kind = ledger.isBonusPeriod() ? SlipKind::Bonus : SlipKind::Salary;
    LoadItemTables(ini, kind, ledger.itemTables);
    ledger.PrnLayout = BuildPrnLayout(ledger.itemTables, kind);
    BuildItemGrid(ledger);
}

}  // namespace ledger
