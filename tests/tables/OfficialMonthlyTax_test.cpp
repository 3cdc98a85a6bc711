#include <gtest/gtest.h>

#include <cstdlib>

#include "ledger/TaxTables.h"
#include "tables/OfficialCsv.h"

using namespace ledger;

namespace {

class OfficialMonthlyTax : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        tables_ = new StatutoryTables(LoadStatutoryTables(TOLVANE_BINARY_DIR));
    }
    static void TearDownTestSuite() {
        delete tables_;
        tables_ = nullptr;
    }
    static std::int32_t tax(std::int32_t amount, int column, std::int32_t dependants,
                            int rounding = 0) {
        SysOption option;
        option.hasuuKou = rounding;
        return MonthlyTax(tables_->salary, option, amount, column, dependants);
    }
    static StatutoryTables* tables_;
};
StatutoryTables* OfficialMonthlyTax::tables_ = nullptr;

// The official formula: base + rate × (amount − from), for the segment holding
// the amount, fractions of a yen cut off.
struct Formula {
    std::vector<official::Row> kou, otsu;
    Formula() {
        for (const official::Row& r : official::read("monthly_tax_R08_formula.csv"))
            (r.text("column") == "kou" ? kou : otsu).push_back(r);
    }
    static const official::Row& segment(const std::vector<official::Row>& segs, std::int64_t a) {
        for (const official::Row& r : segs) {
            auto to = r.number("to_yen");
            if (r.yen("from_yen") <= a && (!to || a < *to)) return r;
        }
        throw std::runtime_error("no segment for " + std::to_string(a));
    }
    std::int64_t at(std::int64_t a, int column, int dependants) const {
        const official::Row& s = segment(column == kColumnKou ? kou : otsu, a);
        const std::string base =
            column == kColumnKou ? "base_kou_" + std::to_string(dependants) : "base_otsu";
        return s.yen(base) +
               official::Fraction::parse(s.text("rate")).timesFloor(a - s.yen("from_yen"));
    }
};

}  // namespace

TEST_F(OfficialMonthlyTax, TablesAreLoadedFromTheBuildFolder) {
    EXPECT_EQ(tables_->loadedCount(), 3);
    EXPECT_TRUE(tables_->problems.empty());
}

TEST_F(OfficialMonthlyTax, EveryRowAtBothEndsForEveryColumn) {
    const auto rows = official::read("monthly_tax_R08.csv");
    ASSERT_EQ(rows.size(), 231u);
    for (const official::Row& r : rows) {
        for (std::int64_t a : {r.yen("lower_yen"), r.yen("upper_yen") - 1}) {
            for (int n = 0; n <= 7; ++n)
                ASSERT_EQ(tax(std::int32_t(a), kColumnKou, n), r.yen("kou_" + std::to_string(n)))
                    << "甲 " << a << " yen, " << n << " dependants";
            ASSERT_EQ(tax(std::int32_t(a), kColumnOtsu, 0), r.yen("otsu")) << "乙 " << a;
        }
    }
}

TEST_F(OfficialMonthlyTax, FormulaRangesUpTo1700000WithinOneYen) {
    const Formula formula;
    int exact = 0, checked = 0;
    for (std::int32_t a = 740000; a <= 1700000; a += 97) {
        for (int n = 0; n <= 7; ++n) {
            const std::int64_t want = formula.at(a, kColumnKou, n);
            const std::int32_t got = tax(a, kColumnKou, n);
            ASSERT_LE(std::llabs(got - want), 1) << "甲 " << a << " yen, " << n << " dependants";
            exact += got == want;
            ++checked;
        }
        const std::int64_t want = formula.at(a, kColumnOtsu, 0);
        const std::int32_t got = tax(a, kColumnOtsu, 0);
        ASSERT_LE(std::llabs(got - want), 1) << "乙 " << a << " yen";
        exact += got == want;
        ++checked;
    }
    // The single-precision step turns a product such as 18,922.9996 into 18,923
    // before it is cut down, one yen above the official amount; that is rare.
    EXPECT_GE(exact * 100, checked * 99) << exact << " of " << checked;
}

TEST_F(OfficialMonthlyTax, RangeStartsAndLastExactAmount) {
    const Formula formula;
    for (std::int32_t a :
         {740000, 740001, 789999, 790000, 790001, 959999, 960000, 960001, 1709999}) {
        for (int n = 0; n <= 7; ++n)
            EXPECT_NEAR(tax(a, kColumnKou, n), formula.at(a, kColumnKou, n), 1) << a << " " << n;
        EXPECT_NEAR(tax(a, kColumnOtsu, 0), formula.at(a, kColumnOtsu, 0), 1) << a;
    }
}

TEST_F(OfficialMonthlyTax, BelowTheTable) {
    for (std::int32_t a : {0, 1, 50000, 88000, 104999}) {
        EXPECT_EQ(tax(a, kColumnKou, 0), 0) << a;
        // 乙: 3.063 % of the whole amount.
        EXPECT_NEAR(tax(a, kColumnOtsu, 0), std::int64_t(a) * 3063 / 100000, 1) << a;
    }
    EXPECT_EQ(tax(104999, kColumnOtsu, 0), 3216);
    EXPECT_EQ(tax(105000, kColumnKou, 0), 170);
}

TEST_F(OfficialMonthlyTax, WorkedExampleOf300000Yen) {
    EXPECT_EQ(tax(300000, kColumnKou, 0), 7930);
    EXPECT_EQ(tax(300000, kColumnKou, 1), 6320);
    EXPECT_EQ(tax(300000, kColumnKou, 2), 4700);
}

TEST_F(OfficialMonthlyTax, DependantsBeyondSevenAndOtsuDependants) {
    for (std::int32_t a : {105000, 300000, 500000, 739999, 745000, 800000, 1000000}) {
        const std::int32_t seven = tax(a, kColumnKou, 7);
        EXPECT_EQ(tax(a, kColumnKou, 8), std::max(seven - 1610, 0)) << a;
        EXPECT_EQ(tax(a, kColumnKou, 9), std::max(seven - 2 * 1610, 0)) << a;
        const std::int32_t otsu = tax(a, kColumnOtsu, 0);
        EXPECT_EQ(tax(a, kColumnOtsu, 2), std::max(otsu - 2 * 1610, 0)) << a;
    }
    // Never below 0, also for counts that would overflow a plain int multiplication.
    EXPECT_EQ(tax(300000, kColumnKou, 30), 0);
    EXPECT_EQ(tax(300000, kColumnKou, 2000000000), 0);
    EXPECT_EQ(tax(300000, kColumnOtsu, 2000000000), 0);
    // A negative count is taken as none.
    EXPECT_EQ(tax(300000, kColumnKou, -3), tax(300000, kColumnKou, 0));
    EXPECT_EQ(tax(300000, kColumnOtsu, -3), tax(300000, kColumnOtsu, 0));
}

TEST_F(OfficialMonthlyTax, BeyondTheFilesRangesNoTaxIsComputed) {
    // The file holds three formula ranges; from 1,710,000 the official table has
    // others, so the tax there is not computed (it is asked for).
    ASSERT_EQ(SalaryTaxTableEnd(tables_->salary), 1710000);
    EXPECT_FALSE(BeyondSalaryTaxTable(tables_->salary, 1709999));
    EXPECT_TRUE(BeyondSalaryTaxTable(tables_->salary, 1710000));
    EXPECT_EQ(tax(2500000, kColumnKou, 2), 0);  // not 627,752 (officially 703,940)
    EXPECT_EQ(tax(1710000, kColumnOtsu, 0), 0);
    EXPECT_EQ(tax(1709999, kColumnKou, 2), 361577);  // 108,880 + 33.693 % of 749,999
}
