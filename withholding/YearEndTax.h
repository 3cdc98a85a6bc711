#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "withholding/WithholdingRecords.h"
#include "withholding/YearEndRules.h"

// The year-end tax computation of one employee's record (自動計算): the spouse
// special deduction, the income after the employment deduction, the total of the
// income deductions, the year's tax and the record's Status. Each figure whose
// manual flag is set is left as typed. The law is that of the year being
// adjusted: 平成 years as the program always computed them, 令和7 and 令和8 by
// their own figures (later years by the newest), 令和1-6 not at all.
namespace withholding {

struct YearEndContext {
    std::string_view era;  // the open year's era, "令和"
    int eraYear = 0;
    bool hasuuCut = true;  // 平成 years only: cut the tax down to 100 yen
};

// The message shown instead of computing a year this program has no law for,
// or nothing when the year is computed.
std::optional<std::string> YearEndRefusal(std::string_view era, int eraYear);

// Computes the record in place and returns nothing, or returns the refusal of
// YearEndRefusal with the record untouched. A sum beyond the range of an amount
// throws std::overflow_error; the fields computed before it keep their new
// values and Status is not changed.
std::optional<std::string> ComputeYearEnd(TWithholdingRec& rec, const YearEndContext& context);
std::optional<std::string> ComputeYearEnd(TWithholdingRecOld& rec, const YearEndContext& context);

// ---- The routines of the 平成 years ----

// TruncTol(x + 0.5) from zero up, TruncTol(x − 0.5) below.
std::int32_t RoundHalfAway(long double x);
std::int32_t EmploymentIncomeAfterDeduction(std::int32_t pay);
// The tax of a taxable amount (cut to thousands) less the housing-loan credit,
// with the surtax of the era year; −1 when no bracket applies. A credit larger
// than the tax gives a negative result.
std::int32_t AnnualIncomeTax(std::int32_t taxable, std::int32_t housingLoanCredit, int eraYear);
std::int32_t SpouseSpecialDeduction(std::int32_t spouseIncome);

// ---- The routines of the 令和 years ----

// Income after the employment deduction of a year's pay (up to the pay ceiling).
std::int64_t IncomeAfterEmploymentDeduction(const ReiwaRules& rules, std::int64_t pay);

}  // namespace withholding
