#pragma once
#include <cstdint>

// Insurance premiums: a whole-yen base times a rate in percent, rounded by the
// premiums' rule (RoundOver50 or RoundOver500). Rates are typed with three
// decimals, so the product is formed exactly in integers, in units of 1/100,000
// yen, before the rule is applied: 85,800 yen at 5.095 % is exactly 4,371.51 yen
// and rounds up to 4,372, where the binary product 4,371.50999… rounded down.
namespace ledger {

// A rate in percent as a whole number of thousandths of a percent: 5.095 gives
// 5,095. The rate is taken to the nearest thousandth, the precision it is typed
// and shown with. Throws platform::ConvertError for a rate that is not a number
// or beyond ±1,000,000 %.
std::int64_t RateThousandths(double percent);

// base × rate / 100,000 (the rate in thousandths of a percent), exactly, then
// rounded away from zero when its fraction is 0.51 or more (PremiumOver50) or
// 0.501 or more (PremiumOver500), toward zero otherwise, the same for both
// signs. Throws platform::ConvertError when the result is beyond int32.
std::int32_t PremiumOver50(std::int64_t base, std::int64_t rateThousandths);
std::int32_t PremiumOver500(std::int64_t base, std::int64_t rateThousandths);

}  // namespace ledger
