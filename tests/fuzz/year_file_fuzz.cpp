// A year file (packed, see FuzzFile.h) as the payroll program opens it: the
// header, one period, the period's set-up, a full recalculation against the real
// tables, and the monthly list that reads every figure back.
#include <exception>

#include "FuzzFile.h"
#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/OpenPeriod.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/Recalc.h"
#include "ledger/TaxTables.h"
#include "reports/MonthlyListCsv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ledger::StatutoryTables tables = ledger::LoadStatutoryTables(TOLVANE_TABLES_DIR);
    static const ledger::FixedClock clock({2026, 6, 1, 9, 0, 0});
    const auto file = fuzzing::folder() / "令和8年給与･賞与.dat";
    fuzzing::placeFile(file, fuzzing::bytes(data, size));
    ledger::Ledger l(clock);
    l.tables = tables;
    l.dataPath = fuzzing::folder();
    const int period = size > 200 ? 1 + data[200] % 15 : 1;
    l.CurData = {file, "令和", 8, period};
    ledger::MessageLog log;
    try {
        ledger::LoadFileHeader(l, file);
        ledger::LoadPeriod(l, file);
        ledger::OpenPeriodData(l, platform::IniFile(fuzzing::folder() / "none.ini"));
        ledger::RecalcAll(l, log);
        for (int g = 0; g < 3; ++g)
            (void)reports::MonthlyCsvText(l, reports::LedgerRowFlags{},
                                          reports::MonthlyGrouping(g));
    } catch (const std::exception&) {
        // Damage reported as a file or conversion error is the expected outcome.
    }
    return 0;
}
