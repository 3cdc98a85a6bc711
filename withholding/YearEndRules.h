#pragma once
#include <cstdint>
#include <span>
#include <string_view>

// The figures of the year-end tax computation, one table per law. The routines
// of YearEndTax read every amount, bound and rate from here, so a new year's law
// is one more table and one more line in the look-up.
namespace withholding {

// The first row whose upper limit (inclusive) is >= the taxable amount applies.
struct TaxBracket {
    std::int64_t upTo;
    long double rate;
    std::int64_t subtract;
};

// An amount by income: the first tier whose upper limit (inclusive) is >= the
// income gives it; no tier gives 0.
struct IncomeTier {
    std::int64_t upTo;
    std::int64_t amount;
};

// Amounts per person that both laws share: the dependants, the disabled and
// the payee's own deductions that no reform since has changed.
struct PersonalAmounts {
    std::int64_t specificDependant;   // 特定
    std::int64_t elderlyDependant;    // 老人
    std::int64_t livingWithParents;   // added per 老人 内 (同居老親等)
    std::int64_t otherDependant;      // その他
    std::int64_t specialDisabled;     // 特別障害者
    std::int64_t livingWithDisabled;  // added per 特別 内 (同居特別障害者)
    std::int64_t otherDisabled;       // その他の障害者
    std::int64_t selfSpecialDisabled;
    std::int64_t selfOtherDisabled;
    std::int64_t widow;  // 寡婦 (一般)
    std::int64_t workingStudent;
};

// A row of the income after the employment deduction: pay up to `upTo`
// (inclusive) gives pay × rate − subtract, rounded half away from zero or
// truncated (TruncTol).
struct IncomeFormula {
    std::int64_t upTo;
    long double rate;
    long double subtract;
    bool roundHalf;
};

// Pay from `from` to `to` is stepped down to a multiple of `step` counted from `from`.
struct PayStep {
    std::int64_t from;
    std::int64_t to;
    std::int64_t step;
};

// The law the program was first written for, kept for the 平成 years it computes
// as it always did.
struct HeiseiRules {
    std::span<const PayStep> paySteps;
    std::span<const IncomeFormula> income;  // above the last row: its formula
    std::span<const TaxBracket> brackets;
    // Spouse's income below `upTo` (exclusive here) gives the amount.
    std::span<const IncomeTier> spouseSpecial;
    std::int64_t basic;
    std::int64_t spouse;
    std::int64_t elderlySpouseAddition;
    PersonalAmounts personal;
    std::int64_t widowSpecial;  // 寡婦 特別
    std::int64_t widower;       // 寡夫
    // The surtax applies from this era year on, and below the second.
    int surtaxFrom;
    int surtaxBelow;
    long double surtax;
};

// The spouse special deduction by the spouse's income, one amount per tier of
// the payee's income (see ReiwaRules::payeeTiers).
struct SpouseSpecialRow {
    std::int64_t upTo;
    std::int64_t amount[3];
};

// value × numerator / denominator − subtract, in whole yen (truncated).
struct Fraction {
    std::int64_t numerator;
    std::int64_t denominator;
    std::int64_t subtract;
};

// A fixed result of the table of income after the employment deduction.
struct FixedBand {
    std::int64_t from;
    std::int64_t amount;
};

struct ReiwaRules {
    int fromEraYear;  // the first 令和 year of these figures
    // Income after the employment deduction: 0 below minimumDeduction + 1,000,
    // pay − minimumDeduction up to the first fixed band (or tableFrom), the
    // fixed bands, then the 4,000-yen table up to tableEnd, then the formulas.
    std::int64_t minimumDeduction;
    std::span<const FixedBand> fixedBands;
    std::int64_t tableFrom;
    std::int64_t tableStep;
    std::int64_t tableEnd;
    // The table's row value at its lower bound A: A × lowerRate below
    // lowerRateEnd, A × upperRate from it (A is a multiple of 4,000, so whole yen).
    std::int64_t lowerRateEnd;
    Fraction lowerRate;
    Fraction upperRate;
    // From tableEnd: pay × ninetyPercent (truncated) below ninetyPercentEnd,
    // then pay − highPayDeduction.
    Fraction ninetyPercent;
    std::int64_t ninetyPercentEnd;
    std::int64_t highPayDeduction;
    std::int64_t payCeiling;  // above it the payee is not adjusted
    // The adjustment for children and the specially disabled.
    std::int64_t adjustmentFrom;
    std::int64_t adjustmentCap;
    std::int64_t adjustmentMax;
    // The basic deduction by the payee's total income.
    std::span<const IncomeTier> basic;
    // Spouse: the payee's income tiers (inclusive), the deductions per tier,
    // and above the last tier nothing.
    std::int64_t payeeTiers[3];
    std::int64_t spouse[3];
    std::int64_t elderlySpouse[3];
    std::int64_t spouseIncomeLimit;  // the special deduction starts above it
    std::span<const SpouseSpecialRow> spouseSpecial;
    PersonalAmounts personal;
    std::int64_t singleParent;        // ひとり親
    std::int64_t widowIncomeLimit;    // 寡婦 and ひとり親
    std::int64_t studentIncomeLimit;  // 勤労学生
    std::span<const TaxBracket> brackets;
    int surtaxLastEraYear;
    long double surtax;
};

const HeiseiRules& HeiseiYearEndRules();

// The figures of a 令和 year: 令和7, or the newest for 令和8 and later; none for
// the years before 令和7.
const ReiwaRules* ReiwaYearEndRules(int eraYear);

}  // namespace withholding
