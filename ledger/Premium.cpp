#include "ledger/Premium.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/Errors.h"

namespace ledger {
namespace {

// base × rate is in units of 1/100,000 yen: a rate of 1 is 0.001 %.
constexpr std::int64_t kUnitsPerYen = 100000;
// Bounds that keep base × rate inside int64: a base is at most about 2^32 yen
// (the difference of two int32 amounts), a rate at most 10^9 thousandths.
constexpr std::int64_t kMaxBase = std::int64_t(1) << 33;
constexpr double kMaxPercent = 1000000.0;

[[noreturn]] void outOfRange() {
    throw platform::ConvertError("金額が計算できる範囲を超えています。");
}

// `over` is the least fraction, in units, that rounds away from zero.
std::int32_t premium(std::int64_t base, std::int64_t rate, std::int64_t over) {
    if (std::llabs(base) > kMaxBase || std::llabs(rate) > std::int64_t(kMaxPercent) * 1000)
        outOfRange();
    const std::int64_t units = base * rate;
    const std::int64_t size = std::llabs(units);
    std::int64_t yen = size / kUnitsPerYen;
    if (size % kUnitsPerYen >= over) ++yen;
    if (yen > std::numeric_limits<std::int32_t>::max()) outOfRange();
    return std::int32_t(units < 0 ? -yen : yen);
}

}  // namespace

std::int64_t RateThousandths(double percent) {
    if (!(std::fabs(percent) <= kMaxPercent)) outOfRange();
    return std::llround(percent * 1000);
}

std::int32_t PremiumOver50(std::int64_t base, std::int64_t rateThousandths) {
    return premium(base, rateThousandths, 51000);
}

std::int32_t PremiumOver500(std::int64_t base, std::int64_t rateThousandths) {
    return premium(base, rateThousandths, 50100);
}

}  // namespace ledger
