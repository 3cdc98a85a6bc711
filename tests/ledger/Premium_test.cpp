#include "ledger/Premium.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ledger/Rounding.h"
#include "platform/Errors.h"

using namespace ledger;

TEST(Premium, RoundsTheExactValueByItsRule) {
    // 85,800 × 5.095 % = 4,371.51 exactly; the binary product is 4,371.50999….
    EXPECT_EQ(PremiumOver50(85800, 5095), 4372);
    EXPECT_EQ(PremiumOver50(100000, 10510), 10510);   // 10,510.00
    EXPECT_EQ(PremiumOver50(100, 10500), 10);         // 10.50 stays down
    EXPECT_EQ(PremiumOver50(100, 10510), 11);         // 10.51 goes up
    EXPECT_EQ(PremiumOver50(1000, 10505), 105);       // 105.05
    EXPECT_EQ(PremiumOver50(100, 1050500), 1050);     // 1,050.50 with a rate above 100 %
    EXPECT_EQ(PremiumOver500(216158, 950), 2054);     // 2,053.501
    EXPECT_EQ(PremiumOver500(100000, 10500), 10500);  // exact
    EXPECT_EQ(PremiumOver500(1000, 1050), 10);        // 10.500 stays down
    EXPECT_EQ(PremiumOver500(1000, 1051), 11);        // 10.510
    // Negative bases (reductions above the pay) round the same way from zero.
    EXPECT_EQ(PremiumOver50(-85800, 5095), -4372);
    EXPECT_EQ(PremiumOver500(-1000, 1050), -10);
    EXPECT_EQ(PremiumOver50(0, 5095), 0);
}

TEST(Premium, ResultsExactBeforeAreUnchanged) {
    // Where the binary product was not near the rounding edge the old rule and
    // the exact one agree: a sweep of bases at the rates of a period.
    for (double rate : {4.99, 0.82, 9.15, 0.6, 5.095, 9.183}) {
        const std::int64_t r = RateThousandths(rate);
        for (std::int64_t base = 0; base < 2000000; base += 997) {
            const double product = double(base) * (rate / 100);
            const double fraction = product - std::floor(product);
            if (std::fabs(fraction - 0.51) < 1e-6 || std::fabs(fraction - 0.501) < 1e-6) continue;
            ASSERT_EQ(PremiumOver50(base, r), RoundOver50(product)) << base << " " << rate;
            ASSERT_EQ(PremiumOver500(base, r), RoundOver500(product)) << base << " " << rate;
        }
    }
}

TEST(Premium, RatesAreTakenInThousandthsOfAPercent) {
    EXPECT_EQ(RateThousandths(5.095), 5095);
    EXPECT_EQ(RateThousandths(0.1 + 0.2), 300);  // 0.30000000000000004
    EXPECT_EQ(RateThousandths(4.99 + 0.82), 5810);
    EXPECT_EQ(RateThousandths(0), 0);
    EXPECT_THROW(RateThousandths(std::nan("")), platform::ConvertError);
    EXPECT_THROW(RateThousandths(1e300), platform::ConvertError);
    // A premium beyond the amount range is refused, never wrapped.
    EXPECT_THROW(PremiumOver50(std::numeric_limits<std::int32_t>::max(), 200000),
                 platform::ConvertError);
    EXPECT_EQ(PremiumOver50(std::numeric_limits<std::int32_t>::max(), 100000),
              std::numeric_limits<std::int32_t>::max());
}
