#include "withholding/YearEndTax.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <limits>
#include <stdexcept>

#include "ledger/Rounding.h"

namespace withholding {

namespace {

constexpr std::string_view kHeisei = "平成";
constexpr std::string_view kReiwa = "令和";

std::int32_t checked(std::int64_t v) {
    if (v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max())
        throw std::overflow_error("計算結果が金額の範囲を超えました");
    return static_cast<std::int32_t>(v);
}

std::int32_t truncTol(long double x) {
    return ledger::TruncTol(static_cast<double>(x));
}

// What the two layouts hold differently.
bool spouseDeductible(const TWithholdingRec& r) {
    return r.SpouseDeductible != 0;
}
bool spouseDeductible(const TWithholdingRecOld& r) {
    return r.SpouseKind[kSpouseYes] != 0;
}
std::int64_t smallBizPremium(const TWithholdingRec& r) {
    return r.SmallBizPremium;
}
std::int64_t smallBizPremium(const TWithholdingRecOld&) {
    return 0;
}
bool dependantUnder23(const TWithholdingRec& r) {
    return r.HasDependantUnder23 != 0;
}
bool dependantUnder23(const TWithholdingRecOld&) {
    return false;
}
std::int64_t specificRelativeDeduction(const TWithholdingRec& r) {
    return r.SpecificRelativeDeduction;
}
std::int64_t specificRelativeDeduction(const TWithholdingRecOld&) {
    return 0;
}

template <class Rec>
bool manual(const Rec& r, ManualIndex k) {
    return r.ManualFlags[k] != 0;
}

template <class Rec>
bool flag(const Rec& r, PersonIndex k) {
    return r.PersonFlags[k] != 0;
}

// The deductions for dependants and the disabled, which both laws count alike.
template <class Rec>
std::int64_t dependantDeductions(const Rec& r, const PersonalAmounts& a) {
    return a.specificDependant * r.DependantCounts[0] + a.livingWithParents * r.DependantCounts[2] +
           a.elderlyDependant * r.DependantCounts[3] + a.otherDependant * r.DependantCounts[5] +
           a.livingWithDisabled * r.DisabledCounts[0] + a.specialDisabled * r.DisabledCounts[1] +
           a.otherDisabled * r.DisabledCounts[2];
}

template <class Rec>
std::int64_t typedDeductions(const Rec& r) {
    return std::int64_t(r.SocialInsurance) + r.LifeInsurance + r.EarthquakeInsurance +
           smallBizPremium(r);
}

// The amount the tax is computed on, 0 when the deductions exceed the income. A
// difference beyond the range of an amount is an overflow even when negative:
// clamped first, a typed figure near the lower limit would pass as no tax at all.
template <class Rec>
std::int32_t taxableAmount(const Rec& r) {
    const std::int32_t difference =
        checked(std::int64_t(r.IncomeAfterDeduction) - r.IncomeDeductionTotal);
    return std::max<std::int32_t>(0, difference);
}

// ---- 平成 ----

template <class Rec>
void computeHeisei(Rec& r, const YearEndContext& c) {
    const HeiseiRules& h = HeiseiYearEndRules();
    if (flag(r, kPersonOtsu)) {
        // 乙欄 is never adjusted; its Status stays as it was.
        r.SpouseSpecialAmount = r.IncomeAfterDeduction = r.IncomeDeductionTotal = r.AnnualTax = 0;
        return;
    }
    const bool deductible = spouseDeductible(r);
    if (!manual(r, kManualSpouseSpecialAmount))
        r.SpouseSpecialAmount = deductible ? 0 : SpouseSpecialDeduction(r.SpouseIncome);
    if (!manual(r, kManualIncomeAfterDeduction))
        r.IncomeAfterDeduction = EmploymentIncomeAfterDeduction(r.PaidAmount);
    if (!manual(r, kManualIncomeDeductionTotal)) {
        const PersonalAmounts& a = h.personal;
        std::int64_t total = typedDeductions(r);
        total += deductible ? h.spouse + (r.SpouseElderly ? h.elderlySpouseAddition : 0)
                            : std::int64_t(r.SpouseSpecialAmount);
        total += dependantDeductions(r, a);
        total += h.basic;
        const std::int64_t self[] = {a.selfSpecialDisabled, a.selfOtherDisabled, a.widow,
                                     h.widowSpecial,        h.widower,           a.workingStudent};
        for (int k = kPersonDisabledSpecial; k <= kPersonWorkingStudent; ++k)
            if (r.PersonFlags[k]) total += self[k - kPersonDisabledSpecial];
        r.IncomeDeductionTotal = checked(total);
    }
    if (manual(r, kManualAnnualTax)) {
        r.Status = kStatusComputed;
        return;
    }
    const std::int32_t taxable = taxableAmount(r);
    std::int32_t tax = AnnualIncomeTax(taxable, r.HousingLoanCredit, c.eraYear);
    if (tax < 0) {
        r.AnnualTax = 0;
        r.Status = kStatusOutside;
        return;
    }
    if (c.hasuuCut) tax = truncTol(tax / 100.0L) * 100;
    r.AnnualTax = tax;
    r.Status = kStatusComputed;
}

// ---- 令和 ----

std::int64_t apply(const Fraction& f, std::int64_t v) {
    return v * f.numerator / f.denominator - f.subtract;
}

std::int64_t tierAmount(std::span<const IncomeTier> tiers, std::int64_t income) {
    for (const IncomeTier& t : tiers)
        if (income <= t.upTo) return t.amount;
    return 0;
}

// The column of the spouse deductions for the payee's income; 3 = none.
int payeeTier(const ReiwaRules& R, std::int64_t income) {
    int k = 0;
    while (k < 3 && income > R.payeeTiers[k]) ++k;
    return k;
}

std::int64_t reiwaSpouseSpecial(const ReiwaRules& R, std::int64_t income,
                                std::int64_t spouseIncome) {
    const int k = payeeTier(R, income);
    if (k == 3 || spouseIncome <= R.spouseIncomeLimit) return 0;
    for (const SpouseSpecialRow& row : R.spouseSpecial)
        if (spouseIncome <= row.upTo) return row.amount[k];
    return 0;
}

template <class Rec>
bool adjustmentApplies(const Rec& r) {
    return flag(r, kPersonDisabledSpecial) || r.DisabledCounts[0] > 0 || r.DisabledCounts[1] > 0 ||
           r.DependantCounts[0] > 0 || r.DependantCounts[1] > 0 || r.Under16Count > 0 ||
           dependantUnder23(r);
}

// 所得金額調整控除: a tenth of the pay above the threshold, rounded up, capped.
std::int64_t incomeAdjustment(const ReiwaRules& R, std::int64_t pay) {
    if (pay <= R.adjustmentFrom) return 0;
    const std::int64_t over = std::min(pay, R.adjustmentCap) - R.adjustmentFrom;
    return std::min((over + 9) / 10, R.adjustmentMax);
}

// The slip of a payee who is not adjusted shows the tax actually withheld.
template <class Rec>
void notAdjusted(Rec& r, bool keepStatus) {
    r.AnnualTax = r.TaxWithheld;
    r.IncomeAfterDeduction = r.IncomeDeductionTotal = r.SpouseSpecialAmount = 0;
    if (!keepStatus) r.Status = kStatusOutside;
}

template <class Rec>
void computeReiwa(Rec& r, const ReiwaRules& R, const YearEndContext& c) {
    if (flag(r, kPersonOtsu)) return notAdjusted(r, true);
    if (flag(r, kPersonDisasterVictim) || r.PaidAmount > R.payCeiling) return notAdjusted(r, false);

    if (!manual(r, kManualIncomeAfterDeduction)) {
        std::int64_t income = IncomeAfterEmploymentDeduction(R, r.PaidAmount);
        if (adjustmentApplies(r)) income -= incomeAdjustment(R, r.PaidAmount);
        r.IncomeAfterDeduction = checked(std::max<std::int64_t>(0, income));
    }
    // The payee's total income: pay is all the record knows of.
    const std::int64_t income = r.IncomeAfterDeduction;
    const bool deductible = spouseDeductible(r);
    if (!manual(r, kManualSpouseSpecialAmount))
        r.SpouseSpecialAmount =
            checked(deductible ? 0 : reiwaSpouseSpecial(R, income, r.SpouseIncome));
    if (!manual(r, kManualIncomeDeductionTotal)) {
        const PersonalAmounts& a = R.personal;
        std::int64_t total = typedDeductions(r) + specificRelativeDeduction(r);
        if (deductible) {
            const int k = payeeTier(R, income);
            if (k < 3) total += r.SpouseElderly ? R.elderlySpouse[k] : R.spouse[k];
        } else {
            total += r.SpouseSpecialAmount;
        }
        total += dependantDeductions(r, a);
        if (flag(r, kPersonDisabledSpecial)) total += a.selfSpecialDisabled;
        if (flag(r, kPersonDisabledOther)) total += a.selfOtherDisabled;
        if (income <= R.widowIncomeLimit) {
            // ひとり親 and 寡婦 exclude each other; the old 寡婦 特別 and 寡夫 flags
            // stand for ひとり親 (mother, father).
            if (flag(r, kPersonWidowSpecial) || flag(r, kPersonWidower))
                total += R.singleParent;
            else if (flag(r, kPersonWidowGeneral))
                total += a.widow;
        }
        if (flag(r, kPersonWorkingStudent) && income <= R.studentIncomeLimit)
            total += a.workingStudent;
        total += tierAmount(R.basic, income);
        r.IncomeDeductionTotal = checked(total);
    }
    if (manual(r, kManualAnnualTax)) {
        r.Status = kStatusComputed;
        return;
    }
    const std::int32_t taxable = taxableAmount(r);
    // Thousands by TruncTol, as a plain truncation of the quotient may lose one.
    const std::int64_t t = std::int64_t(truncTol(taxable / 1000.0L)) * 1000;
    const TaxBracket* bracket = nullptr;
    for (const TaxBracket& b : R.brackets)
        if (t <= b.upTo) {
            bracket = &b;
            break;
        }
    if (!bracket) return notAdjusted(r, false);
    long double tax = t * bracket->rate - bracket->subtract - r.HousingLoanCredit;
    // A credit larger than the tax leaves nothing to pay; the rest is lost.
    if (tax < 0) tax = 0;
    if (c.eraYear <= R.surtaxLastEraYear) tax *= R.surtax;
    // The year's tax is always cut down to 100 yen under this law.
    r.AnnualTax = truncTol(truncTol(tax) / 100.0L) * 100;
    r.Status = kStatusComputed;
}

const ReiwaRules& rulesOfEra(std::string_view era, int eraYear) {
    // An era after 令和 takes the newest figures until its own are added.
    const ReiwaRules* r = ReiwaYearEndRules(era == kReiwa ? eraYear : INT_MAX);
    return *r;
}

template <class Rec>
std::optional<std::string> compute(Rec& r, const YearEndContext& c) {
    if (auto refusal = YearEndRefusal(c.era, c.eraYear)) return refusal;
    if (c.era == kHeisei)
        computeHeisei(r, c);
    else
        computeReiwa(r, rulesOfEra(c.era, c.eraYear), c);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> YearEndRefusal(std::string_view era, int eraYear) {
    if (era != kReiwa || ReiwaYearEndRules(eraYear)) return std::nullopt;
    char buf[160];
    std::snprintf(buf, sizeof buf,
                  "令和%d年分の自動計算には対応していません。\r金額を入力して下さい。", eraYear);
    return std::string(buf);
}

std::optional<std::string> ComputeYearEnd(TWithholdingRec& rec, const YearEndContext& context) {
    return compute(rec, context);
}

std::optional<std::string> ComputeYearEnd(TWithholdingRecOld& rec, const YearEndContext& context) {
    return compute(rec, context);
}

std::int32_t RoundHalfAway(long double x) {
    return x >= 0 ? truncTol(x + 0.5L) : truncTol(x - 0.5L);
}

std::int32_t EmploymentIncomeAfterDeduction(std::int32_t pay) {
    const HeiseiRules& h = HeiseiYearEndRules();
    std::int64_t p = pay;
    for (const PayStep& s : h.paySteps)
        if (p >= s.from && p <= s.to) p -= (p - s.from) % s.step;
    for (const IncomeFormula& f : h.income) {
        if (p > f.upTo) continue;
        const long double x = static_cast<long double>(p) * f.rate - f.subtract;
        return f.roundHalf ? RoundHalfAway(x) : truncTol(x);
    }
    return 0;  // the last row has no upper limit
}

std::int32_t AnnualIncomeTax(std::int32_t taxable, std::int32_t housingLoanCredit, int eraYear) {
    const HeiseiRules& h = HeiseiYearEndRules();
    const std::int64_t t = std::int64_t(truncTol(taxable / 1000.0L)) * 1000;
    for (const TaxBracket& b : h.brackets) {
        if (t > b.upTo) continue;
        long double tax = t * b.rate - b.subtract - housingLoanCredit;
        if (eraYear >= h.surtaxFrom || eraYear < h.surtaxBelow) tax *= h.surtax;
        return truncTol(tax);
    }
    return -1;
}

std::int32_t SpouseSpecialDeduction(std::int32_t spouseIncome) {
    for (const IncomeTier& t : HeiseiYearEndRules().spouseSpecial)
        if (spouseIncome < t.upTo) return static_cast<std::int32_t>(t.amount);
    return 0;
}

std::int64_t IncomeAfterEmploymentDeduction(const ReiwaRules& R, std::int64_t pay) {
    if (pay < R.minimumDeduction + 1000) return 0;
    const std::int64_t firstBand = R.fixedBands.empty() ? R.tableFrom : R.fixedBands.front().from;
    if (pay < firstBand) return pay - R.minimumDeduction;
    if (pay < R.tableFrom) {
        std::int64_t amount = 0;
        for (const FixedBand& b : R.fixedBands)
            if (pay >= b.from) amount = b.amount;
        return amount;
    }
    if (pay < R.tableEnd) {
        // Each 4,000-yen row carries the value at its lower bound; whole yen.
        const std::int64_t a = pay / R.tableStep * R.tableStep;
        return apply(a < R.lowerRateEnd ? R.lowerRate : R.upperRate, a);
    }
    if (pay < R.ninetyPercentEnd) return apply(R.ninetyPercent, pay);
    return pay - R.highPayDeduction;
}

}  // namespace withholding
