// The year-to-date totals of a pay slip, read from a year file of arbitrary
// bytes: the periods that count by the stored bonus dates, and each one's figures
// of every slot holding the employee's Key.
#include <exception>
#include <string>

#include "FuzzFile.h"
#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "reports/PaySlip.h"

// Parts: the open period, the employee's slot and the printed day (first three
// bytes), the year file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ledger::FixedClock clock({2026, 6, 1, 9, 0, 0});
    const auto in = fuzzing::parts(data, size, 2);
    auto param = [&](std::size_t i) { return i < in[0].size() ? std::uint8_t(in[0][i]) : 0; };
    const auto file = fuzzing::freshFolder("data") / "令和8年給与･賞与.dat";
    fuzzing::placeFile(file, in[1]);
    ledger::Ledger l(clock);
    l.CurData = {file, "令和", 8, 1 + param(0) % ledger::kPeriods};
    try {
        ledger::LoadFileHeader(l, file);
        ledger::LoadPeriod(l, file);
        (void)reports::ComputeYearToDate(l, 1 + param(1) % ledger::kSlots,
                                         std::to_string(param(2) % 40), ledger::fileBlockReader());
    } catch (const std::exception&) {
        // a damaged file is reported as a file error
    }
    return 0;
}
