#include "ledger/OpenPeriod.h"

#include "ledger/ItemGrid.h"
#include "ledger/ItemTables.h"
#include "ledger/Ledger.h"
#include "ledger/PeriodText.h"

namespace ledger {

void OpenPeriodData(Ledger& ledger, const platform::IniFile& ini) {
    // The period is already in memory: the selection loaded it or started it by
    // carrying the last one over, which exists nowhere else yet.
    const SlipKind kind = ledger.isBonusPeriod() ? SlipKind::Bonus : SlipKind::Salary;
    LoadItemTables(ini, kind, ledger.itemTables, ledger.sysOption);
    ledger.PrnLayout = BuildPrnLayout(ledger.itemTables, kind);
    BuildItemGrid(ledger);
}

std::string PeriodTitleText(const Ledger& ledger) {
    return ledger.CurData.Era + std::to_string(ledger.CurData.Year) + "年" +
           PeriodTitleSuffix(ledger.CurData.Period, ledger.sysOption);
}

std::string MainWindowCaption(std::string_view applicationTitle, const Ledger& ledger) {
    return std::string(applicationTitle) + "　　【" + PeriodTitleText(ledger) + "】";
}

}  // namespace ledger
