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
    // The selection reads the header each time it is shown; the period itself is
    // loaded when the main window opens it.
    LoadFileHeader(ledger, ledger.CurData.FileName);
    return true;
}

}  // namespace ledger
