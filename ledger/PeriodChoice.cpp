#include "ledger/PeriodChoice.h"

#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/YearFileName.h"

namespace ledger {

bool CurrentMonthChooser::choose(Ledger& ledger) {
    const DateTime today = ledger.clock.now();
    const EraYear year = eraOf(today);
    ledger.CurData.FileName = ledger.dataPath / YearFileName(year.era, year.year);
    ledger.CurData.Era = year.era;
    ledger.CurData.Year = year.year;
    ledger.CurData.Period = today.month;
    LoadFileHeader(ledger, ledger.CurData.FileName);
    LoadPeriod(ledger, ledger.CurData.FileName);
    marks.Tag = 0;
    return true;
}

}  // namespace ledger
