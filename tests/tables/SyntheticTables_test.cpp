#include <gtest/gtest.h>
#include <sys/stat.h>

#include <limits>

#include "ledger/TaxTables.h"
#include "platform/Errors.h"
#include "support/TempDir.h"
#include "tables/OfficialCsv.h"

using namespace ledger;
using testing_support::TempDir;

namespace {

// A small monthly table: two table rows and the three formula starts
// 740,000 / 780,000 / 950,000, every other byte 0.
ImageBytes monthlyFixture() {
    ImageBytes img(16788);
    img.i32(0, 5);
    struct R {
        std::int32_t lower, upper;
        std::array<std::int32_t, 8> kou;
        std::int32_t otsu;
    };
    const R rows[] = {
        {88000, 89000, {130, 0, 0, 0, 0, 0, 0, 0}, 3200},
        {89000, 740000, {10000, 9000, 8000, 7000, 6000, 5500, 5200, 5000}, 50000},
        {740000, 780000, {70000, 66000, 62000, 58000, 54000, 50000, 46000, 42000}, 259000},
        {780000, 950000, {80000, 76000, 72000, 68000, 64000, 60000, 56000, 52000}, 275000},
        {950000, 1700000, {120000, 116000, 112000, 108000, 104000, 100000, 96000, 92000}, 345000},
    };
    for (std::size_t k = 0; k < 5; ++k) {
        const std::size_t at = 4 + 44 * k;
        img.i32(at, rows[k].lower).i32(at + 4, rows[k].upper);
        for (std::size_t i = 0; i < 8; ++i) img.i32(at + 8 + 4 * i, rows[k].kou[i]);
        img.i32(at + 40, rows[k].otsu);
    }
    img.f64(16724, 0.2042).f64(16732, 0.23483).f64(16740, 0.33693);
    img.f64(16756, 0.03063).f64(16764, 0.4084).f64(16772, 0.45945);
    img.i32(16780, 1610).i32(16784, 1610);
    return img;
}

// A small bonus table: 甲 rates 0 % and 2.042 % and the default 45.945 %;
// 乙 10.21 % below 222,000 and the default 45.945 %.
ImageBytes bonusFixture() {
    ImageBytes img(1856);
    img.i32(0, 3);
    const std::int32_t upper1[8] = {68000, 94000, 133000, 171000, 210000, 243000, 275000, 308000};
    const std::int32_t upper2[8] = {79000, 243000, 282000, 317000, 351000, 385000, 420000, 455000};
    img.f64(4, 0.0);
    img.f64(76, 0.02042);
    for (std::size_t c = 0; c < 8; ++c) {
        img.i32(4 + 12 + 8 * c, upper1[c]);
        img.i32(76 + 8 + 8 * c, upper1[c]).i32(76 + 12 + 8 * c, upper2[c]);
    }
    img.f64(148, 0.45945);
    img.i32(1732, 2);
    img.f64(1736, 0.1021).i32(1744, 222000);
    img.f64(1748, 0.45945).i32(1756, 0);
    return img;
}

class SyntheticTables : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::writeBytes(dir / "m.dat", monthlyFixture().bytes());
        testing_support::writeBytes(dir / "b.dat", bonusFixture().bytes());
        std::string problem;
        ASSERT_TRUE(LoadTableFile(dir / "m.dat", monthly, problem)) << problem;
        ASSERT_TRUE(LoadTableFile(dir / "b.dat", bonus, problem)) << problem;
    }
    TempDir dir;
    SalaryTaxTable monthly;
    BonusTaxTable bonus;
};

struct MonthlyCase {
    std::int32_t amount;
    int column;
    std::int32_t dependants;
    std::int32_t roundDown;  // deduction rounding 0
    std::int32_t half;       // deduction rounding 2
};

}  // namespace

TEST_F(SyntheticTables, MonthlyTaxUsesRowsFormulaRatesAndDependantAmounts) {
    constexpr int K = kColumnKou, O = kColumnOtsu;
    const MonthlyCase cases[] = {
        {87999, K, 0, 0, 0},             // below the rows: no 甲 tax
        {87999, O, 0, 2695, 2695},       // 乙: 3.063 % of the amount
        {88500, K, 0, 130, 130},         // row 1
        {88500, K, 9, 0, 0},             // 0 − 2 × 1,610, never below 0
        {100000, K, 1, 9000, 9000},      // row 2
        {100000, K, 9, 1780, 1780},      // 5,000 − 3,220
        {100000, O, 2, 46780, 46780},    // 50,000 − 3,220
        {740000, K, 0, 70000, 70000},    // exactly A: the row, not the formula
        {760000, K, 0, 74084, 74084},    // 70,000 + 20.42 % of 20,000
        {760000, O, 0, 267168, 267168},  // 259,000 + 40.84 % of 20,000
        {780000, K, 0, 80000, 80000},    // exactly B: the row
        {780000, O, 0, 275000, 275000},
        {800000, K, 0, 84696, 84697},    // 80,000 + 23.483 % of 20,000 = 84,696.6
        {800000, O, 0, 284189, 284189},  // 275,000 + 45.945 % of 20,000
        {950000, K, 0, 120000, 120000},  // exactly C: the row
        {950000, O, 0, 345000, 345000},
        {1000000, K, 0, 136846, 136847},  // 120,000 + 33.693 % of 50,000 = 136,846.5
        {1000000, O, 0, 376079, 376079},  // 乙 goes on from B above C
        {1000000, O, 3, 371249, 371249},
        {1000000, K, 8, 107236, 107237},  // 92,000 + 16,846.5 − 1,610
    };
    for (const MonthlyCase& c : cases) {
        SysOption down, half;
        half.hasuuKou = 2;
        EXPECT_EQ(MonthlyTax(monthly, down, c.amount, c.column, c.dependants), c.roundDown)
            << c.amount << " column " << c.column << " dependants " << c.dependants;
        EXPECT_EQ(MonthlyTax(monthly, half, c.amount, c.column, c.dependants), c.half)
            << c.amount << " column " << c.column << " dependants " << c.dependants
            << " (rounding half)";
    }
}

TEST_F(SyntheticTables, MonthlyTaxIgnoresRowsBeyondTheCountAndTheUnusedRate) {
    ImageBytes img = monthlyFixture();
    img.i32(4 + 44 * 5, 0).i32(4 + 44 * 5 + 4, 99999999).i32(4 + 44 * 5 + 8, 777);
    img.f64(16748, 12.5);
    testing_support::writeBytes(dir / "m2.dat", img.bytes());
    SalaryTaxTable other;
    std::string problem;
    ASSERT_TRUE(LoadTableFile(dir / "m2.dat", other, problem)) << problem;
    for (std::int32_t a : {50000, 88500, 100000, 760000, 2000000, 1700000})
        EXPECT_EQ(MonthlyTax(other, SysOption{}, a, kColumnKou, 0),
                  MonthlyTax(monthly, SysOption{}, a, kColumnKou, 0));
}

// Row N's Upper ends the table only where it can: 0, a value not above its
// Lower, or the int32 maximum leave the last formula range open, as before.
TEST_F(SyntheticTables, TheLastRowsUpperEndsTheTableOnlyWhenItMarksAnEnd) {
    struct Case {
        std::int32_t upper;
        bool ends;
    };
    for (const Case& c :
         {Case{1700000, true}, Case{0, false}, Case{950000, false}, Case{900000, false},
          Case{std::numeric_limits<std::int32_t>::max(), false}}) {
        ImageBytes img = monthlyFixture();
        img.i32(4 + 44 * 4 + 4, c.upper);
        testing_support::writeBytes(dir / "m3.dat", img.bytes());
        SalaryTaxTable t;
        std::string problem;
        ASSERT_TRUE(LoadTableFile(dir / "m3.dat", t, problem)) << problem;
        EXPECT_EQ(SalaryTaxTableEnd(t).has_value(), c.ends) << c.upper;
        // 120,000 + 33.693 % of 1,050,000 where the range goes on.
        EXPECT_EQ(MonthlyTax(t, SysOption{}, 2000000, kColumnKou, 0), c.ends ? 0 : 473776)
            << c.upper;
        EXPECT_EQ(MonthlyTax(t, SysOption{}, 1699999, kColumnKou, 0), 372697) << c.upper;
    }
}

TEST_F(SyntheticTables, BonusTaxFindsTheRateByThePreviousMonth) {
    struct Case {
        std::int32_t prev;
        int column;
        std::int32_t dependants;
        std::int32_t amount;
        std::int32_t roundDown, half;
    };
    constexpr int K = kColumnKou, O = kColumnOtsu;
    const Case cases[] = {
        {70000, K, 0, 500000, 10210, 10210},    {60000, K, 0, 500000, 0, 0},  // rate 0
        {79000, K, 0, 500000, 229725, 229725},  // Upper is exclusive: the default row
        {320000, K, 9, 500000, 10210, 10210},   // ranges of 7 dependants
        {320000, K, 2, 500000, 229725, 229725}, {100000, O, 0, 500000, 51050, 51050},
        {100000, O, 5, 500000, 51050, 51050},  // 乙 has no dependant reduction
        {222000, O, 0, 500000, 229725, 229725}, {70000, K, 0, 123456, 2520, 2521},
    };
    for (const Case& c : cases) {
        SysOption down, half;
        half.hasuuKou = 2;
        EXPECT_EQ(BonusTax(bonus, down, c.prev, c.amount, c.dependants, c.column), c.roundDown)
            << c.prev << " column " << c.column << " dependants " << c.dependants;
        EXPECT_EQ(BonusTax(bonus, half, c.prev, c.amount, c.dependants, c.column), c.half)
            << c.prev << " column " << c.column << " dependants " << c.dependants;
    }
}

TEST_F(SyntheticTables, TheCopyInMemoryIsUsedAfterTheFileIsGone) {
    std::filesystem::remove(dir / "m.dat");
    std::filesystem::remove(dir / "b.dat");
    EXPECT_EQ(MonthlyTax(monthly, SysOption{}, 100000, kColumnKou, 1), 9000);
    EXPECT_EQ(BonusTax(bonus, SysOption{}, 70000, 500000, 0, kColumnKou), 10210);
}

TEST(UnloadedTables, GiveNoTaxRatherThanReadingOutsideTheRows) {
    EXPECT_EQ(MonthlyTax(SalaryTaxTable{}, SysOption{}, 300000, kColumnKou, 1), 0);
    EXPECT_EQ(BonusTax(BonusTaxTable{}, SysOption{}, 300000, 500000, 1, kColumnKou), 0);
}

// A pipe left under a table's name (or a folder) must not stop the start waiting
// for a writer that never comes: it is reported like any unreadable table.
TEST(TableFiles, APipeOrFolderUnderATableNameIsRefusedWithoutWaiting) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / kSalaryTaxFileName).c_str(), 0600), 0);
    std::filesystem::create_directory(dir / kGradeFileName);
    SalaryTaxTable salary;
    GradeTable grades;
    std::string problem;
    EXPECT_FALSE(LoadTableFile(dir / kSalaryTaxFileName, salary, problem));
    EXPECT_EQ(problem, platform::IoError::notRegularFile().what());
    EXPECT_FALSE(LoadTableFile(dir / kGradeFileName, grades, problem));
    EXPECT_FALSE(problem.empty());
}
