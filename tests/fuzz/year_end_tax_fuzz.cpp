// The year-end computation of one record of arbitrary bytes, in either layout and
// for every year the program knows a law for (and some it refuses).
#include <algorithm>
#include <cstring>
#include <exception>
#include <string_view>

#include "FuzzFile.h"
#include "withholding/YearEndTax.h"

namespace {

template <class Rec>
void compute(const std::uint8_t* data, std::size_t size,
             const withholding::YearEndContext& context) {
    Rec rec{};
    std::memcpy(&rec, data, std::min(size, sizeof rec));
    try {
        (void)withholding::ComputeYearEnd(rec, context);
    } catch (const std::exception&) {
        // a sum beyond the range of an amount is reported, not computed
    }
}

}  // namespace

// The first two bytes choose the year and the rounding; the rest is the record.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    constexpr std::string_view eras[] = {"平成", "令和"};
    const withholding::YearEndContext context{eras[data[0] & 1], 1 + (data[0] >> 1) % 40,
                                              (data[1] & 1) != 0};
    compute<withholding::TWithholdingRec>(data + 2, size - 2, context);
    compute<withholding::TWithholdingRecOld>(data + 2, size - 2, context);
    return 0;
}
