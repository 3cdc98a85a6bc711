// The period selection on a year file of arbitrary bytes: the header and the
// company records of the twelve months, the fields of every period, and OK on one
// period, which opens it or starts it from the month before.
#include <exception>
#include <string>

#include "FuzzFile.h"
#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/Messages.h"
#include "ledger/PeriodChoice.h"
#include "ledger/PeriodSelection.h"
#include "ledger/YearFileName.h"
#include "platform/IniFile.h"

// Parts: the period chosen (first byte), the year file, the settings file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ledger::FixedClock clock({2026, 6, 1, 9, 0, 0});
    const auto in = fuzzing::parts(data, size, 3);
    const auto dir = fuzzing::freshFolder("data");
    const auto file = dir / ledger::YearFileName("令和", 8);
    fuzzing::placeFile(file, in[1]);
    fuzzing::placeFile(dir / "Tolvane.ini", in[2]);

    ledger::Ledger l(clock);
    l.dataPath = dir;
    l.CurData.FileName = file;
    ledger::PeriodSelection selection;
    ledger::PeriodChoiceMarks marks;
    ledger::MessageLog messages;
    const int period = in[0].empty() ? 1 : 1 + std::uint8_t(in[0][0]) % ledger::kPeriods;
    try {
        selection.LoadContents(l, platform::IniFile(dir / "Tolvane.ini"));
        for (int p = 1; p <= ledger::kPeriods; ++p) (void)selection.FieldsFor(l, p);
        (void)selection.ProposedHours(l, "21");
        const ledger::PeriodInput input{period, "20", "160.0", "12", "10"};
        (void)selection.Confirm(
            l, input, marks, [](bool) { return false; }, messages);
    } catch (const std::exception&) {
        // a damaged file is reported as a file error
    }
    return 0;
}
