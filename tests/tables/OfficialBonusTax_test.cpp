#include <gtest/gtest.h>

#include "ledger/TaxTables.h"
#include "tables/OfficialCsv.h"

using namespace ledger;

namespace {

constexpr std::int32_t kBonus = 1000000;

// The tax on a bonus of 1,000,000 yen at a rate given in percent ("38.798"):
// the rate times 10,000, exactly.
std::int64_t taxOnMillion(const std::string& percent) {
    const official::Fraction f = official::Fraction::parse(percent);
    return f.num * 10000 / f.den;
}

class OfficialBonusTax : public ::testing::Test {
protected:
    void SetUp() override {
        std::string problem;
        ASSERT_TRUE(LoadTableFile(official::builtFile(kBonusTaxFileName), table, problem))
            << problem;
    }
    std::int32_t tax(std::int32_t prev, std::int32_t dependants, int column,
                     std::int32_t amount = kBonus) const {
        return BonusTax(table, SysOption{}, prev, amount, dependants, column);
    }
    BonusTaxTable table;
};

}  // namespace

TEST_F(OfficialBonusTax, EveryRateAtBothEndsOfItsRangeForEveryDependantCount) {
    const auto rows = official::read("bonus_rate_R08.csv");
    ASSERT_EQ(rows.size(), 21u);
    for (const official::Row& r : rows) {
        const std::int64_t want = taxOnMillion(r.text("rate_percent"));
        for (int c = 0; c <= 7; ++c) {
            const std::string col = "kou_" + std::to_string(c);
            const std::int64_t from = r.number(col + "_from_yen").value_or(0);
            const std::int64_t last = r.number(col + "_to_yen").value_or(50000000) - 1;
            for (std::int64_t prev : {from, last}) {
                EXPECT_EQ(tax(std::int32_t(prev), c, kColumnKou), want)
                    << r.text("rate_percent") << "%, " << c << " dependants, prev " << prev;
                // More than seven use the ranges of seven.
                if (c == 7) {
                    EXPECT_EQ(tax(std::int32_t(prev), 9, kColumnKou), want) << prev;
                    EXPECT_EQ(tax(std::int32_t(prev), 120, kColumnKou), want) << prev;
                }
            }
        }
        if (r.text("otsu_from_yen").empty() && r.text("otsu_to_yen").empty()) continue;
        const std::int64_t from = r.number("otsu_from_yen").value_or(0);
        const std::int64_t last = r.number("otsu_to_yen").value_or(50000000) - 1;
        for (std::int64_t prev : {from, last})
            for (int n : {0, 3, 9})  // 乙 ignores dependants
                EXPECT_EQ(tax(std::int32_t(prev), n, kColumnOtsu), want)
                    << "乙 " << r.text("rate_percent") << "%, prev " << prev;
    }
}

TEST_F(OfficialBonusTax, NegativeDependantsUseTheRangesOfNone) {
    // 0 dependants: 2.042 % from 82,000; 1 dependant: 0 % up to 107,000.
    EXPECT_EQ(tax(90000, -1, kColumnKou), 20420);
    EXPECT_EQ(tax(90000, 1, kColumnKou), 0);
}

TEST_F(OfficialBonusTax, RoundsTheProductWithTheDeductionMode) {
    // 4.084 % of 123,457 = 5,041.98...
    EXPECT_EQ(tax(100000, 0, kColumnKou, 123457), 5041);
    SysOption half;
    half.hasuuKou = 2;
    EXPECT_EQ(BonusTax(table, half, 100000, 123457, 0, kColumnKou), 5042);
}

TEST_F(OfficialBonusTax, NeverNegative) {
    EXPECT_EQ(tax(300000, 0, kColumnKou, -500000), 0);
    EXPECT_EQ(tax(300000, 0, kColumnOtsu, -500000), 0);
}
