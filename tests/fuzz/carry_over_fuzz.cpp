// Starting a period that was never saved from year files of arbitrary bytes: the
// month before, the latest salary month for a bonus, last year's December for
// January, and, when none gives anything, the month the user would pick from the
// list of every saved month.
#include <exception>
#include <string>

#include "FuzzFile.h"
#include "ledger/CarryOver.h"
#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/PeriodSelection.h"
#include "ledger/YearFileName.h"

// Parts: the period started (first byte), this year's file, last year's file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ledger::FixedClock clock({2026, 6, 1, 9, 0, 0});
    const auto in = fuzzing::parts(data, size, 3);
    const auto dir = fuzzing::freshFolder("data");
    ledger::Ledger l(clock);
    l.dataPath = dir;
    l.CurData = {dir / ledger::YearFileName("令和", 8), "令和", 8,
                 in[0].empty() ? 1 : 1 + std::uint8_t(in[0][0]) % ledger::kPeriods};
    fuzzing::placeFile(l.CurData.FileName, in[1]);
    fuzzing::placeFile(ledger::CarryOverYearFile(l), in[2]);
    try {
        ledger::LoadFileHeader(l, l.CurData.FileName);
        if (ledger::CarryOver(l).needsReference) {
            const auto items = ledger::BuildReferenceList(dir, l.CurData.Era);
            const int pick =
                ledger::PreselectReference(items, l.CurData.Era, l.CurData.Year, l.CurData.Period);
            if (pick >= 0)
                ledger::TakeOverMonth(l, items[std::size_t(pick)].file,
                                      items[std::size_t(pick)].month);
        }
        ledger::SetAttendanceDefaults(l);
    } catch (const std::exception&) {
        // a damaged file is reported as a file error
    }
    return 0;
}
