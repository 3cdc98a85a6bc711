#include <gtest/gtest.h>

#include "withholding/YearEndTax.h"

// The computation of 平成 years, which keeps the law the program was written for.
namespace {

using namespace withholding;

const YearEndContext kHeisei27{"平成", 27, true};

// The tax of a record whose only figure is the taxable amount.
TWithholdingRecOld taxableRecord(std::int32_t taxable) {
    TWithholdingRecOld r{};
    r.ManualFlags[kManualIncomeAfterDeduction] = 1;
    r.ManualFlags[kManualIncomeDeductionTotal] = 1;
    r.IncomeAfterDeduction = taxable;
    return r;
}

TEST(YearEndTaxHeisei, IncomeAfterTheEmploymentDeductionStepsAndRounds) {
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {650999, 0},          {651000, 1000},
        {1618999, 968999},    {1619500, 969000},  // stepped to 1,619,000: × 0.6 − 2,400
        {1621999, 970000},    {1622000, 972000},
        {1627999, 974000},    {1628000, 976800},
        {1800000, 1080000},   {3599999, 2337200},
        {6599999, 4736800},   {6600000, 4740000},  // × 0.9 − 1,200,000, truncated
        {9999999, 7799999},   {14999999, 12549999},
        {15000000, 12550000}, {-5, 0},
    };
    for (auto [pay, expected] : cases) {
        TWithholdingRecOld r{};
        r.PaidAmount = pay;
        ComputeYearEnd(r, kHeisei27);
        EXPECT_EQ(r.IncomeAfterDeduction, expected) << pay;
        EXPECT_EQ(EmploymentIncomeAfterDeduction(pay), expected) << pay;
    }
}

TEST(YearEndTaxHeisei, BracketsSurtaxAndTheHundredYenCut) {
    // Thousands are cut before the bracket is looked up.
    EXPECT_EQ(AnnualIncomeTax(1950999, 0, 27), 99547);  // 97,500 × 1.021
    EXPECT_EQ(AnnualIncomeTax(1951000, 0, 27), 99649);  // second bracket: 97,600 × 1.021
    EXPECT_EQ(AnnualIncomeTax(16920000, 0, 24), 4047600);
    // The era year alone decides the surtax.
    EXPECT_EQ(AnnualIncomeTax(630000, 0, 24), 31500);
    EXPECT_EQ(AnnualIncomeTax(630000, 0, 25), 32161);
    EXPECT_EQ(AnnualIncomeTax(630000, 0, 7), 32161);

    auto r = taxableRecord(1951000);
    ComputeYearEnd(r, kHeisei27);
    EXPECT_EQ(r.AnnualTax, 99600);
    EXPECT_EQ(r.Status, kStatusComputed);

    // No bracket above 16,920,000: nothing, outside the adjustment.
    r = taxableRecord(16921000);
    r.AnnualTax = 5;
    ComputeYearEnd(r, kHeisei27);
    EXPECT_EQ(r.AnnualTax, 0);
    EXPECT_EQ(r.Status, kStatusOutside);

    // 250,000 → 12,500 − 408 = 12,092 × 1.021 → 12,345.
    r = taxableRecord(250000);
    r.HousingLoanCredit = 408;
    ComputeYearEnd(r, kHeisei27);
    EXPECT_EQ(r.AnnualTax, 12300);
    ComputeYearEnd(r, {"平成", 27, false});
    EXPECT_EQ(r.AnnualTax, 12345);

    // A credit larger than the tax gives a negative tax, which these years treat
    // as no bracket.
    r = taxableRecord(630000);
    r.HousingLoanCredit = 40000;
    ComputeYearEnd(r, kHeisei27);
    EXPECT_EQ(r.AnnualTax, 0);
    EXPECT_EQ(r.Status, kStatusOutside);
}

TEST(YearEndTaxHeisei, SpouseSpecialDeductionByTheSpousesIncome) {
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {380000, 0}, {380001, 380000}, {400000, 360000}, {759999, 30000}, {760000, 0}};
    for (auto [income, expected] : cases) {
        TWithholdingRecOld r{};
        r.SpouseKind[kSpouseNo] = 1;
        r.SpouseIncome = income;
        ComputeYearEnd(r, kHeisei27);
        EXPECT_EQ(r.SpouseSpecialAmount, expected) << income;
    }
    // A deductible spouse has no special amount.
    TWithholdingRecOld r{};
    r.SpouseKind[kSpouseYes] = 1;
    r.SpouseIncome = 400000;
    r.SpouseSpecialAmount = 7;
    ComputeYearEnd(r, kHeisei27);
    EXPECT_EQ(r.SpouseSpecialAmount, 0);
}

TEST(YearEndTaxHeisei, DeductionTotalCountsEachAmountOnce) {
    TWithholdingRec r{};
    r.SmallBizPremium = 100000;  // counted in the new layout only
    r.DependantCounts[0] = 1;    // 特定 630,000
    r.DependantCounts[1] = 3;    // 従 counts add nothing
    r.DependantCounts[2] = 1;    // 老人 内 +100,000
    r.DependantCounts[3] = 1;    // 老人 480,000
    r.DependantCounts[5] = 2;    // その他 760,000
    r.DisabledCounts[0] = 1;     // 特別 内 +350,000
    r.DisabledCounts[1] = 1;     // 特別 400,000
    r.DisabledCounts[2] = 1;     // その他 270,000
    r.Under16Count = 4;
    r.NonResidentCount = 2;
    for (int k = kPersonDisabledSpecial; k <= kPersonWorkingStudent; ++k) r.PersonFlags[k] = 1;
    r.PersonFlags[kPersonMinor] = r.PersonFlags[kPersonForeigner] = 1;
    ComputeYearEnd(r, {"平成", 28, true});
    EXPECT_EQ(r.IncomeDeductionTotal, 100000 + 1970000 + 1020000 + 1830000 + 380000);

    TWithholdingRecOld old{};
    old.SmallBizPremium = 100000;
    ComputeYearEnd(old, kHeisei27);
    EXPECT_EQ(old.IncomeDeductionTotal, 380000);  // the basic deduction alone
}

TEST(YearEndTaxHeisei, AWholeRecord) {
    TWithholdingRec r{};
    r.PaidAmount = 4000000;
    r.SocialInsurance = 600000;
    r.LifeInsurance = 40000;
    r.SpouseDeductible = 1;
    r.DependantCounts[0] = 1;
    ComputeYearEnd(r, {"平成", 28, true});
    EXPECT_EQ(r.IncomeAfterDeduction, 2660000);
    EXPECT_EQ(r.IncomeDeductionTotal, 2030000);
    EXPECT_EQ(r.AnnualTax, 32100);  // 630,000 → 31,500 × 1.021 → 32,161
    EXPECT_EQ(r.Status, kStatusComputed);
    r.SpouseElderly = 1;
    ComputeYearEnd(r, {"平成", 28, true});
    EXPECT_EQ(r.IncomeDeductionTotal, 2130000);
}

TEST(YearEndTaxHeisei, ManualFlagsAndOtsu) {
    TWithholdingRecOld r{};
    r.PaidAmount = 4000000;
    r.ManualFlags[kManualAnnualTax] = 1;
    r.AnnualTax = 777;
    ComputeYearEnd(r, kHeisei27);
    EXPECT_EQ(r.AnnualTax, 777);
    EXPECT_EQ(r.Status, kStatusComputed);
    EXPECT_EQ(r.IncomeAfterDeduction, 2660000);  // the rest is computed

    r.ManualFlags[kManualIncomeAfterDeduction] = 1;
    r.IncomeAfterDeduction = 2000000;
    r.ManualFlags[kManualSpouseSpecialAmount] = 1;
    r.SpouseSpecialAmount = 123;
    ComputeYearEnd(r, kHeisei27);
    EXPECT_EQ(r.IncomeAfterDeduction, 2000000);
    EXPECT_EQ(r.SpouseSpecialAmount, 123);

    // 乙欄 zeroes the four figures even where typed, and keeps its Status.
    r.PersonFlags[kPersonOtsu] = 1;
    r.ManualFlags[kManualIncomeDeductionTotal] = 1;
    r.IncomeDeductionTotal = 55;
    r.Status = kStatusUnprocessed;
    ComputeYearEnd(r, kHeisei27);
    EXPECT_EQ(r.IncomeAfterDeduction, 0);
    EXPECT_EQ(r.IncomeDeductionTotal, 0);
    EXPECT_EQ(r.SpouseSpecialAmount, 0);
    EXPECT_EQ(r.AnnualTax, 0);
    EXPECT_EQ(r.Status, kStatusUnprocessed);
}

}  // namespace
