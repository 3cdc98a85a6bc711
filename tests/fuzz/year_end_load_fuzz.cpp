// The year-end program's start on a data folder of arbitrary files: December of
// the pay data, this year's withholding file or last year's carried over, the
// totals re-summed from every period, then each record re-totalled and computed.
#include <exception>
#include <string_view>

#include "FuzzFile.h"
#include "ledger/Ledger.h"
#include "ledger/YearFileName.h"
#include "withholding/WithholdingFile.h"
#include "withholding/YearEndTax.h"
#include "withholding/YearLoad.h"

namespace {

struct Year {
    std::string_view era;
    int year;
};

// Each case with the year its carry-over looks back to: within an era, across the
// change of era, and from the old record layout into the new one.
constexpr struct {
    Year open, last;
} kCases[] = {{{"令和", 8}, {"令和", 7}},
              {{"令和", 1}, {"平成", 30}},
              {{"平成", 28}, {"平成", 27}},
              {{"平成", 20}, {"平成", 19}}};

}  // namespace

// Parts: the case (first byte) and the slot re-totalled (second), this year's pay data, last year's
// pay data, this year's withholding file, last year's withholding file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ledger::FixedClock clock({2026, 12, 20, 9, 0, 0});
    const auto in = fuzzing::parts(data, size, 5);
    const auto& c = kCases[in[0].empty() ? 0 : std::uint8_t(in[0][0]) % std::size(kCases)];
    const auto dir = fuzzing::freshFolder("data");
    const auto payFile = dir / ledger::YearFileName(c.open.era, c.open.year);
    fuzzing::placeFile(payFile, in[1]);
    fuzzing::placeFile(dir / ledger::YearFileName(c.last.era, c.last.year), in[2]);
    fuzzing::placeFile(withholding::WithholdingFileName(dir, c.open.era, c.open.year), in[3]);
    fuzzing::placeFile(withholding::WithholdingFileName(dir, c.last.era, c.last.year), in[4]);

    ledger::Ledger l(clock);
    l.dataPath = dir;
    l.CurData = {payFile, std::string(c.open.era), c.open.year, withholding::kDecember};
    withholding::WithholdingData records;
    try {
        if (!withholding::LoadYearData(l, records)) return 0;
    } catch (const std::exception&) {
        return 0;  // reported as a file error or an amount out of range
    }
    // Re-totalling reads the whole year again; one slot per input keeps the runs short.
    const int recalcSlot =
        in[0].size() > 1 ? 1 + std::uint8_t(in[0][1]) % withholding::kRecords : 1;
    try {
        withholding::RecalcFromPayroll(l, records, recalcSlot);
    } catch (const std::exception&) {
    }
    const withholding::YearEndContext context{c.open.era, c.open.year};
    for (int slot = 1; slot <= withholding::kRecords; ++slot) {
        try {
            (void)withholding::ComputeYearEnd(records.Record(slot), context);
            (void)withholding::ComputeYearEnd(records.OldRecord(slot), context);
        } catch (const std::exception&) {
        }
    }
    return 0;
}
