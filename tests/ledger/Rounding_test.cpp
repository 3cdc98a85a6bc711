#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ledger/Rounding.h"
#include "platform/Errors.h"

using namespace ledger;

TEST(Rounding, ByMode) {
    EXPECT_EQ(RoundByMode(2, -2.5f), -3);  // half away from zero
    EXPECT_EQ(RoundByMode(2, 2.5f), 3);
    EXPECT_EQ(RoundByMode(2, 2.4999f), 2);
    EXPECT_EQ(RoundByMode(1, -2.5f), -2);  // toward plus infinity
    EXPECT_EQ(RoundByMode(1, 2.0001f), 3);
    EXPECT_EQ(RoundByMode(1, 3.0f), 3);
    EXPECT_EQ(RoundByMode(0, 2.9999996f), 3);  // the 0.000001 tolerance
    EXPECT_EQ(RoundByMode(0, 2.99f), 2);
    EXPECT_EQ(RoundByMode(7, 2.9999996f), 3);  // any other mode truncates the same way
    EXPECT_EQ(RoundByMode(7, -2.99f), -2);
}

TEST(Rounding, TruncTolNudgesAwayFromZero) {
    EXPECT_EQ(TruncTol(2.9999996), 3);
    EXPECT_EQ(TruncTol(-2.9999996), -3);
    EXPECT_EQ(TruncTol(2.999998), 2);
    EXPECT_EQ(TruncTol(-0.5), 0);
    EXPECT_EQ(TruncTol(2147483647.0), 2147483647);
    EXPECT_EQ(TruncTol(-2147483648.0), std::numeric_limits<std::int32_t>::min());
}

TEST(Rounding, Over50AndOver500) {
    EXPECT_EQ(RoundOver50(10.5), 10);
    EXPECT_EQ(RoundOver50(10.51), 11);
    EXPECT_EQ(RoundOver50(10.6), 11);
    EXPECT_EQ(RoundOver50(10.505), 10);
    EXPECT_EQ(RoundOver50(-10.6), -11);
    EXPECT_EQ(RoundOver50(-10.5), -10);
    EXPECT_EQ(RoundOver500(10.505), 11);
    EXPECT_EQ(RoundOver500(10.5), 10);
    EXPECT_EQ(RoundOver500(1728.6), 1729);
}

TEST(Rounding, ProductsPassThroughSinglePrecision) {
    SysOption up;  // payments round up by default
    ASSERT_EQ(up.hasuuSik, 1);
    // 1.1 × 1,500 is 1650.0000000000002 in double; the float step makes it 1,650.
    EXPECT_EQ(RoundPayment(up, 1.1, 1500), 1650);
    // 16,777,217 has no float form: the product keeps seven digits.
    for (int mode : {0, 1, 2}) EXPECT_EQ(RoundProduct(mode, 1.0, 16777217), 16777216) << mode;
}

TEST(Rounding, EachKindUsesItsOwnModeOfTheSettings) {
    SysOption o;
    o.hasuuSik = 1;
    o.hasuuGen = 0;
    o.hasuuKou = 2;
    EXPECT_EQ(RoundPayment(o, 10.1, 1563), 15787);       // 15,786.3 up
    EXPECT_EQ(RoundReduction(o, 1.5, -11111), -16666);   // −16,666.5 toward zero
    EXPECT_EQ(RoundDeduction(o, 0.23483, 20000), 4697);  // 4,696.6 half
    o.hasuuSik = 2;
    o.hasuuGen = 2;
    o.hasuuKou = 0;
    EXPECT_EQ(RoundPayment(o, 10.1, 1563), 15786);
    EXPECT_EQ(RoundReduction(o, 1.5, -11111), -16667);
    EXPECT_EQ(RoundDeduction(o, 0.23483, 20000), 4696);
}

TEST(Rounding, ValuesBeyondInt32AreRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(TruncTol(3e9), platform::ConvertError);
    EXPECT_THROW(TruncTol(-3e9), platform::ConvertError);
    EXPECT_THROW(TruncTol(nan), platform::ConvertError);
    EXPECT_THROW(RoundByMode(1, 3e9f), platform::ConvertError);
    EXPECT_THROW(RoundByMode(2, -3e9f), platform::ConvertError);
    EXPECT_THROW(RoundByMode(2, std::numeric_limits<float>::infinity()), platform::ConvertError);
    // 2,147,483,647 has no float form: it becomes 2^31, one too many.
    EXPECT_THROW(RoundProduct(0, 1.0, 2147483647.0), platform::ConvertError);
    EXPECT_THROW(RoundProduct(0, 1e300, 1e300), platform::ConvertError);
    EXPECT_THROW(RoundProduct(0, 1e39, 1.0), platform::ConvertError);  // beyond float, finite
    EXPECT_THROW(RoundOver50(2147483648.0), platform::ConvertError);
    EXPECT_THROW(RoundOver500(nan), platform::ConvertError);
    EXPECT_EQ(RoundOver50(2147483647.4), 2147483647);
}
