// The reports that read a year file of arbitrary bytes on their own: the
// year-to-date totals of a pay slip (the periods that count by the stored bonus
// dates, each one's figures of every slot holding the employee's Key) and the
// annual ledger (every saved period read for the Key, then the page drawn and the
// CSV made from the figures as read).
#include <exception>
#include <string>

#include "FuzzFile.h"
#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "reports/AnnualLedger.h"
#include "reports/LedgerCsv.h"
#include "reports/PaySlip.h"
#include "reports/RecordingSurface.h"

namespace {

template <class Read>
void reported(Read&& read) {
    try {
        read();
    } catch (const std::exception&) {
        // a damaged file is reported as a file error
    }
}

}  // namespace

// Parts: the open period, the employee's slot and the printed day (first three
// bytes), the year file (packed).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ledger::FixedClock clock({2026, 6, 1, 9, 0, 0});
    const auto in = fuzzing::parts(data, size, 2);
    auto param = [&](std::size_t i) { return i < in[0].size() ? std::uint8_t(in[0][i]) : 0; };
    const auto file = fuzzing::freshFolder("data") / "令和8年給与･賞与.dat";
    fuzzing::placeFile(file, in[1]);
    ledger::Ledger l(clock);
    l.CurData = {file, "令和", 8, 1 + param(0) % ledger::kPeriods};
    const int slot = 1 + param(1) % ledger::kSlots;
    try {
        ledger::LoadFileHeader(l, file);
        ledger::LoadPeriod(l, file);
    } catch (const std::exception&) {
        return 0;
    }
    reported([&] {
        (void)reports::ComputeYearToDate(l, slot, std::to_string(param(2) % 40),
                                         ledger::fileBlockReader());
    });
    reported([&] {
        const auto year =
            reports::ReadLedgerYear(ledger::fileBlockReader(), file, l.Employee(slot).Key);
        const reports::LedgerRowFlags flags;
        (void)reports::LedgerCsvBytes(l, flags, year);
        reports::RecordingSurface surface;
        reports::PrnCanvas canvas;
        canvas.prepare(reports::TargetMetrics{}, &surface);
        reports::DrawLedgerPage(canvas, l, slot, flags, year);
    });
    return 0;
}
