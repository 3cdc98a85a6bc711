#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "tables/OfficialCsv.h"
#include "withholding/YearEndTax.h"

// The computation under the law of 令和7 and 令和8, checked against the official
// worked examples, the official table of income after the employment deduction
// and the bounds of each rule.
namespace {

using namespace withholding;

const YearEndContext kR07{"令和", 7, true};
const YearEndContext kR08{"令和", 8, true};

// A record whose total income is typed, with no deductions of its own: the
// deduction total is then the basic deduction plus what the test adds.
TWithholdingRec incomeRecord(std::int32_t income) {
    TWithholdingRec r{};
    r.ManualFlags[kManualIncomeAfterDeduction] = 1;
    r.IncomeAfterDeduction = income;
    return r;
}

std::int32_t taxable(const TWithholdingRec& r) {
    return std::max(0, r.IncomeAfterDeduction - r.IncomeDeductionTotal) / 1000 * 1000;
}

TEST(YearEndTaxReiwa, OfficialExampleA) {
    TWithholdingRec r{};
    r.PaidAmount = 8970000;
    r.TaxWithheld = 156670;
    r.SocialInsurance = 1386102;
    r.LifeInsurance = 120000;
    r.EarthquakeInsurance = 50000;
    r.SpouseDeductible = 1;
    r.SpouseIncome = 500000;
    r.DependantCounts[5] = 1;  // 一般
    r.DependantCounts[0] = 1;  // 特定: the child under 23 of the adjustment
    r.DependantCounts[2] = 1;  // 同居老親等
    r.DependantCounts[3] = 1;
    r.DisabledCounts[2] = 1;
    r.SpecificRelativeDeduction = 410000;
    r.HousingLoanCredit = 76500;
    ASSERT_FALSE(ComputeYearEnd(r, kR08));
    const ReiwaRules& R = *ReiwaYearEndRules(8);
    EXPECT_EQ(IncomeAfterEmploymentDeduction(R, 8970000), 7020000);
    EXPECT_EQ(r.IncomeAfterDeduction, 6973000);  // less the adjustment of 47,000
    EXPECT_EQ(r.IncomeDeductionTotal, 4826102);
    EXPECT_EQ(taxable(r), 2146000);
    EXPECT_EQ(r.AnnualTax, 41400);
    EXPECT_EQ(r.SpouseSpecialAmount, 0);
    EXPECT_EQ(r.Status, kStatusComputed);

    // The same under 令和7 (no official example; derived by hand from that law).
    r.Status = kStatusUnprocessed;
    ComputeYearEnd(r, kR07);
    EXPECT_EQ(r.IncomeDeductionTotal, 4786102);
    EXPECT_EQ(r.AnnualTax, 45500);
}

TEST(YearEndTaxReiwa, OfficialExampleB) {
    TWithholdingRec r{};
    r.PaidAmount = 4390000;
    r.SocialInsurance = 641525;
    r.LifeInsurance = 71550;
    r.EarthquakeInsurance = 45000;
    r.SpouseDeductible = 1;
    r.DependantCounts[5] = 1;
    ComputeYearEnd(r, kR08);
    EXPECT_EQ(r.IncomeAfterDeduction, 3070400);
    EXPECT_EQ(r.IncomeDeductionTotal, 2558075);
    EXPECT_EQ(taxable(r), 512000);
    EXPECT_EQ(r.AnnualTax, 26100);

    ComputeYearEnd(r, kR07);
    EXPECT_EQ(r.IncomeDeductionTotal, 2398075);
    EXPECT_EQ(r.AnnualTax, 34300);
}

// Every 1,000 yen of pay from 0 to 20,000,000 against the official table.
void compareWithTable(const char* csv, int eraYear) {
    struct Segment {
        std::int64_t lower;
        std::optional<std::int64_t> upper, amount;
        official::Fraction rate;
        std::int64_t minus = 0;
    };
    std::vector<Segment> segments;
    for (const auto& row : official::read(csv)) {
        Segment s{row.yen("lower_yen"), row.number("upper_yen"), row.number("amount_yen"), {}};
        if (!s.amount) {
            s.rate = official::Fraction::parse(row.text("rate"));
            s.minus = row.yen("minus_yen");
        }
        segments.push_back(s);
    }
    ASSERT_FALSE(segments.empty());
    const ReiwaRules& R = *ReiwaYearEndRules(eraYear);
    std::size_t k = 0;  // the rows ascend, and so does the pay
    int checked = 0;
    for (std::int64_t pay = 0; pay <= 20000000; pay += 1000) {
        while (k < segments.size() && segments[k].upper && pay >= *segments[k].upper) ++k;
        ASSERT_LT(k, segments.size()) << pay;
        const Segment& s = segments[k];
        ASSERT_GE(pay, s.lower);
        const std::int64_t expected = s.amount ? *s.amount : s.rate.timesFloor(pay) - s.minus;
        ASSERT_EQ(IncomeAfterEmploymentDeduction(R, pay), expected) << eraYear << ": " << pay;
        ++checked;
    }
    EXPECT_EQ(checked, 20001);
}

TEST(YearEndTaxReiwa, IncomeAfterTheEmploymentDeductionEqualsTheOfficialTable) {
    compareWithTable("year_end_R07_kyuyo_R07.csv", 7);
    compareWithTable("year_end_R07_kyuyo_R08.csv", 8);
    // Between the thousands: the table rows and the truncated formula.
    const ReiwaRules& R8 = *ReiwaYearEndRules(8);
    EXPECT_EQ(IncomeAfterEmploymentDeduction(R8, 740999), 0);
    EXPECT_EQ(IncomeAfterEmploymentDeduction(R8, 2190999), 1450999);
    EXPECT_EQ(IncomeAfterEmploymentDeduction(R8, 2199999), 1456000);
    EXPECT_EQ(IncomeAfterEmploymentDeduction(R8, 7654321), 5788888);
    EXPECT_EQ(IncomeAfterEmploymentDeduction(*ReiwaYearEndRules(7), 2190999), 1451600);
}

TEST(YearEndTaxReiwa, PayCeilingAndThePayeesNotAdjusted) {
    TWithholdingRec r{};
    r.PaidAmount = 20000000;
    r.TaxWithheld = 3000000;
    ComputeYearEnd(r, kR08);
    EXPECT_EQ(r.IncomeAfterDeduction, 18050000);
    EXPECT_EQ(r.Status, kStatusComputed);

    r.PaidAmount = 20000001;
    r.SpouseSpecialAmount = 9;
    ComputeYearEnd(r, kR08);
    EXPECT_EQ(r.AnnualTax, 3000000);
    EXPECT_EQ(r.IncomeAfterDeduction, 0);
    EXPECT_EQ(r.IncomeDeductionTotal, 0);
    EXPECT_EQ(r.SpouseSpecialAmount, 0);
    EXPECT_EQ(r.Status, kStatusOutside);

    // 乙欄: the tax withheld, and its Status as it was.
    TWithholdingRec otsu{};
    otsu.PaidAmount = 3000000;
    otsu.TaxWithheld = 123456;
    otsu.PersonFlags[kPersonOtsu] = 1;
    otsu.Status = kStatusUnprocessed;
    ComputeYearEnd(otsu, kR08);
    EXPECT_EQ(otsu.AnnualTax, 123456);
    EXPECT_EQ(otsu.IncomeAfterDeduction, 0);
    EXPECT_EQ(otsu.Status, kStatusUnprocessed);

    // 災害者: withholding was deferred, so no adjustment either.
    TWithholdingRec disaster{};
    disaster.PaidAmount = 3000000;
    disaster.TaxWithheld = 1000;
    disaster.PersonFlags[kPersonDisasterVictim] = 1;
    ComputeYearEnd(disaster, kR08);
    EXPECT_EQ(disaster.AnnualTax, 1000);
    EXPECT_EQ(disaster.Status, kStatusOutside);
}

TEST(YearEndTaxReiwa, BasicDeductionTiers) {
    const std::tuple<int, std::int32_t, std::int32_t> cases[] = {
        {7, 1320000, 950000},  {7, 1320001, 880000},  {7, 3360000, 880000},  {7, 3360001, 680000},
        {7, 4890000, 680000},  {7, 4890001, 630000},  {7, 6550000, 630000},  {7, 6550001, 580000},
        {7, 23500000, 580000}, {7, 23500001, 480000}, {7, 24000001, 320000}, {7, 24500001, 160000},
        {7, 25000000, 160000}, {7, 25000001, 0},      {8, 1320001, 1040000}, {8, 4890000, 1040000},
        {8, 4890001, 670000},  {8, 6550000, 670000},  {8, 6550001, 620000},  {8, 23500000, 620000},
        {8, 23500001, 480000}, {9, 4890000, 1040000},  // later years keep the newest figures
    };
    for (auto [year, income, basic] : cases) {
        auto r = incomeRecord(income);
        r.SocialInsurance = 8000000;  // keeps the taxable amount within the rate table
        ComputeYearEnd(r, {"令和", year, true});
        EXPECT_EQ(r.IncomeDeductionTotal - 8000000, basic) << year << ": " << income;
    }
}

TEST(YearEndTaxReiwa, SpouseDeductionsByBothIncomes) {
    auto special = [](int year, std::int32_t income, std::int32_t spouseIncome) {
        auto r = incomeRecord(income);
        r.SpouseIncome = spouseIncome;
        ComputeYearEnd(r, {"令和", year, true});
        return r.SpouseSpecialAmount;
    };
    EXPECT_EQ(special(7, 5000000, 580000), 0);
    EXPECT_EQ(special(7, 5000000, 580001), 380000);
    EXPECT_EQ(special(8, 5000000, 620000), 0);
    EXPECT_EQ(special(8, 5000000, 620001), 380000);
    EXPECT_EQ(special(8, 5000000, 1000000), 360000);
    EXPECT_EQ(special(8, 5000000, 1330000), 30000);
    EXPECT_EQ(special(8, 5000000, 1330001), 0);
    EXPECT_EQ(special(8, 9000000, 700000), 380000);
    EXPECT_EQ(special(8, 9000001, 700000), 260000);
    EXPECT_EQ(special(8, 10000000, 700000), 130000);
    EXPECT_EQ(special(8, 10000001, 700000), 0);
    EXPECT_EQ(special(8, 9500001, 1310000), 10000);

    auto spouse = [](std::int32_t income, bool elderly) {
        auto r = incomeRecord(income);
        r.SpouseDeductible = 1;
        r.SpouseElderly = elderly;
        r.SpouseIncome = 800000;  // a deductible spouse never has a special amount
        ComputeYearEnd(r, kR08);
        EXPECT_EQ(r.SpouseSpecialAmount, 0);
        return r.IncomeDeductionTotal - 620000;  // less the basic deduction
    };
    EXPECT_EQ(spouse(9000000, false), 380000);
    EXPECT_EQ(spouse(9000000, true), 480000);
    EXPECT_EQ(spouse(9000001, false), 260000);
    EXPECT_EQ(spouse(9000001, true), 320000);
    EXPECT_EQ(spouse(10000000, true), 160000);
    EXPECT_EQ(spouse(10000001, false), 0);
    EXPECT_EQ(spouse(10000001, true), 0);
}

TEST(YearEndTaxReiwa, AdjustmentForChildrenAndTheSpeciallyDisabled) {
    auto income = [](std::int32_t pay, auto setUp) {
        TWithholdingRec r{};
        r.PaidAmount = pay;
        setUp(r);
        ComputeYearEnd(r, kR08);
        return r.IncomeAfterDeduction;
    };
    auto child = [](TWithholdingRec& r) { r.DependantCounts[0] = 1; };
    EXPECT_EQ(income(8500000, child), 6550000);
    EXPECT_EQ(income(8500001, child), 6550000);  // 6,550,001 − 1 (a tenth, rounded up)
    EXPECT_EQ(income(8765432, child), 6815432 - 26544);
    EXPECT_EQ(income(10000000, child), 8050000 - 150000);
    EXPECT_EQ(income(12000000, child), 10050000 - 150000);  // capped
    // Each reason alone; none gives nothing.
    EXPECT_EQ(income(9000000, [](TWithholdingRec&) {}), 7050000);
    for (auto setUp : std::initializer_list<void (*)(TWithholdingRec&)>{
             [](TWithholdingRec& r) { r.PersonFlags[kPersonDisabledSpecial] = 1; },
             [](TWithholdingRec& r) { r.DisabledCounts[0] = 1; },
             [](TWithholdingRec& r) { r.DisabledCounts[1] = 1; },
             [](TWithholdingRec& r) { r.DependantCounts[1] = 1; },
             [](TWithholdingRec& r) { r.Under16Count = 1; },
             [](TWithholdingRec& r) { r.HasDependantUnder23 = 1; }})
        EXPECT_EQ(income(9000000, setUp), 7000000);
    EXPECT_EQ(income(9000000, [](TWithholdingRec& r) { r.DisabledCounts[2] = 1; }), 7050000);
}

TEST(YearEndTaxReiwa, SingleParentWidowAndStudent) {
    auto personal = [](int year, std::int32_t income, std::initializer_list<PersonIndex> flags) {
        auto r = incomeRecord(income);
        for (PersonIndex k : flags) r.PersonFlags[k] = 1;
        ComputeYearEnd(r, {"令和", year, true});
        auto base = incomeRecord(income);
        ComputeYearEnd(base, {"令和", year, true});
        return r.IncomeDeductionTotal - base.IncomeDeductionTotal;
    };
    EXPECT_EQ(personal(8, 3000000, {kPersonWidowSpecial}), 350000);
    EXPECT_EQ(personal(8, 3000000, {kPersonWidower}), 350000);
    EXPECT_EQ(personal(8, 3000000, {kPersonWidowSpecial, kPersonWidower}), 350000);
    EXPECT_EQ(personal(8, 3000000, {kPersonWidowGeneral}), 270000);
    EXPECT_EQ(personal(8, 3000000, {kPersonWidowGeneral, kPersonWidower}), 350000);
    EXPECT_EQ(personal(8, 5000000, {kPersonWidowGeneral}), 270000);
    EXPECT_EQ(personal(8, 5000001, {kPersonWidowGeneral}), 0);
    EXPECT_EQ(personal(8, 5000001, {kPersonWidowSpecial}), 0);
    EXPECT_EQ(personal(7, 850000, {kPersonWorkingStudent}), 270000);
    EXPECT_EQ(personal(7, 850001, {kPersonWorkingStudent}), 0);
    EXPECT_EQ(personal(8, 890000, {kPersonWorkingStudent}), 270000);
    EXPECT_EQ(personal(8, 890001, {kPersonWorkingStudent}), 0);
    // The specific-relative deduction counts from 令和7 on, never for 平成.
    auto r = incomeRecord(3000000);
    r.SpecificRelativeDeduction = 630000;
    ComputeYearEnd(r, kR07);
    EXPECT_EQ(r.IncomeDeductionTotal, 880000 + 630000);
    ComputeYearEnd(r, {"平成", 30, true});
    EXPECT_EQ(r.IncomeDeductionTotal, 380000);
}

TEST(YearEndTaxReiwa, RateTableCreditAndRounding) {
    auto tax = [](std::int32_t taxable, std::int32_t credit = 0, YearEndContext c = kR08) {
        auto r = incomeRecord(taxable);
        r.ManualFlags[kManualIncomeDeductionTotal] = 1;
        r.TaxWithheld = 42;
        r.HousingLoanCredit = credit;
        ComputeYearEnd(r, c);
        return std::pair<std::int32_t, int>(r.AnnualTax, r.Status);
    };
    // Thousands by TruncTol: 1,975,000 is not lost to a product's rounding.
    EXPECT_EQ(tax(1975999), std::make_pair(102100, 1));    // 100,000 × 1.021
    EXPECT_EQ(tax(18000000), std::make_pair(4496400, 1));  // 4,404,000 × 1.021
    EXPECT_EQ(tax(18001000), std::make_pair(4496800, 1));  // 40 %: 4,404,400 × 1.021
    EXPECT_EQ(tax(18050000).second, 1);
    EXPECT_EQ(tax(18051000), std::make_pair(42, 2));  // not adjusted: the tax withheld
    // A housing-loan credit larger than the tax leaves nothing, and the payee is adjusted.
    EXPECT_EQ(tax(3000000, 300000), std::make_pair(0, 1));
    // The 100-yen cut is the law whatever the option says; the surtax ends after 令和29.
    EXPECT_EQ(tax(2696000, 0, {"令和", 8, false}).first, 175700);  // 172,100 × 1.021
    EXPECT_EQ(tax(2696000, 0, {"令和", 29, true}).first, 175700);
    EXPECT_EQ(tax(2696000, 0, {"令和", 30, true}).first, 172100);
}

TEST(YearEndTaxReiwa, ManualFiguresAreKept) {
    TWithholdingRec r{};
    r.PaidAmount = 5000000;
    r.ManualFlags[kManualSpouseSpecialAmount] = 1;
    r.SpouseSpecialAmount = 100000;
    r.ManualFlags[kManualAnnualTax] = 1;
    r.AnnualTax = 5;
    ComputeYearEnd(r, kR08);
    EXPECT_EQ(r.SpouseSpecialAmount, 100000);
    EXPECT_EQ(r.IncomeDeductionTotal, 100000 + 1040000);  // income 3,560,000
    EXPECT_EQ(r.AnnualTax, 5);
    EXPECT_EQ(r.Status, kStatusComputed);
}

TEST(YearEndTaxReiwa, YearsBeforeTheLawAreRefusedUntouched) {
    TWithholdingRec r{};
    r.PaidAmount = 4000000;
    r.AnnualTax = 31;
    r.Status = kStatusComputed;
    const TWithholdingRec before = r;
    const auto refusal = ComputeYearEnd(r, {"令和", 5, true});
    ASSERT_TRUE(refusal);
    EXPECT_EQ(*refusal, "令和5年分の自動計算には対応していません。\r金額を入力して下さい。");
    EXPECT_EQ(std::memcmp(&r, &before, sizeof r), 0);
    EXPECT_TRUE(YearEndRefusal("令和", 1));
    EXPECT_TRUE(YearEndRefusal("令和", 6));
    EXPECT_FALSE(YearEndRefusal("令和", 7));
    EXPECT_FALSE(YearEndRefusal("平成", 5));
}

TEST(YearEndTaxReiwa, AmountsNearTheLimitsRaiseOverflowAndNegativesAreTakenAsTyped) {
    TWithholdingRec r{};
    r.PaidAmount = 1000000;
    r.SocialInsurance = 2147483000;
    r.LifeInsurance = 2000000;
    EXPECT_THROW(ComputeYearEnd(r, kR08), std::overflow_error);
    EXPECT_EQ(r.IncomeAfterDeduction, 260000);  // computed before the total overflowed
    EXPECT_EQ(r.Status, kStatusUnprocessed);

    TWithholdingRecOld old{};
    old.ManualFlags[kManualIncomeAfterDeduction] = 1;
    old.IncomeAfterDeduction = 2147483647;
    old.SocialInsurance = -2147483000;
    EXPECT_THROW(ComputeYearEnd(old, {"平成", 27, true}), std::overflow_error);

    TWithholdingRec negative{};
    negative.PaidAmount = 3000000;
    negative.SocialInsurance = -100000;
    ComputeYearEnd(negative, kR08);
    EXPECT_EQ(negative.IncomeDeductionTotal, 1040000 - 100000);
}

// The taxable difference is checked before it is taken as 0: typed figures far
// enough apart below zero are an overflow, not a year without tax.
TEST(YearEndTaxReiwa, TaxableDifferenceBelowTheRangeIsAnOverflowInBothLaws) {
    const YearEndContext contexts[] = {{"平成", 27, true}, {"令和", 8, true}};
    for (const YearEndContext& c : contexts) {
        TWithholdingRec r{};
        r.ManualFlags[kManualIncomeAfterDeduction] = 1;
        r.ManualFlags[kManualIncomeDeductionTotal] = 1;
        r.IncomeAfterDeduction = -2147483000;
        r.IncomeDeductionTotal = 1000;
        EXPECT_THROW(ComputeYearEnd(r, c), std::overflow_error) << c.era;
        EXPECT_EQ(r.Status, kStatusUnprocessed) << c.era;
        EXPECT_EQ(r.AnnualTax, 0) << c.era;
        // Just inside the range it is no tax as before.
        r.IncomeDeductionTotal = 648;
        EXPECT_NO_THROW(ComputeYearEnd(r, c)) << c.era;
        EXPECT_EQ(r.AnnualTax, 0) << c.era;
    }
}

}  // namespace
