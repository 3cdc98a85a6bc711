#include "ledger/BonusCalc.h"

#include <algorithm>
#include <cstring>

#include "ledger/Common.h"
#include "ledger/LayoutItemUse.h"
#include "ledger/Ledger.h"
#include "ledger/NumberText.h"
#include "ledger/PayCalcSupport.h"
#include "ledger/Premium.h"
#include "ledger/Rounding.h"
#include "ledger/SalaryCalc.h"
#include "ledger/YearFileName.h"

namespace ledger {

using namespace paycalc;

namespace {

void zeroPayAndDeduction(Ledger& ledger, int slot) {
    std::memset(static_cast<void*>(&ledger.Payment(slot)), 0, sizeof(TPaymentRec));
    std::memset(static_cast<void*>(&ledger.Deduction(slot)), 0, sizeof(TDeductionRec));
}

// Taxable total of the employee in a stored bonus block, as stored (not cut to
// thousands); 0 when the file or the employee is not there.
std::int64_t storedTaxable(const SavedBlockReader& reader, const std::filesystem::path& file,
                           int period, const ShortString<14>& key) {
    auto block = paycalc::readBlockIfExists(reader, file, period);
    if (!block) return 0;
    const int found = FindSlotByKey(*block, key);
    return found == 0 ? 0 : block->PaymentTbl[found - 1].Amounts[kPayTaxableTotal];
}

}  // namespace

std::int32_t PrevAfterSocialIns(const Ledger& ledger, int period, const ShortString<14>& key,
                                const SavedBlockReader& reader) {
    if (key.empty() || period >= kFirstBonus) return 0;
    auto block = period > 0 ? paycalc::readBlockIfExists(reader, ledger.CurData.FileName, period)
                            : paycalc::readBlockIfExists(reader, PrevYearFile(ledger), 12);
    if (!block) return 0;
    const int found = FindSlotByKey(*block, key);
    return found == 0 ? 0 : block->DeductionTbl[found - 1].Amounts[kDedAfterSocialIns];
}

std::int32_t HealthBonusCapBase(const Ledger& ledger, int slot, std::int32_t standardAmount,
                                const SavedBlockReader& reader) {
    const int p = ledger.CurData.Period;
    if (p < kFirstBonus || p > kPeriods) return standardAmount;
    const TPayrollFileHeader& h = ledger.FileHeader;
    const int month = bonusMonth(h.BonusPayMonth[p - kFirstBonus]);
    const std::int32_t day = h.BonusPayDay[p - kFirstBonus];
    const ShortString<14>& key = ledger.Employee(slot).Key;
    auto inJanToMar = [](int m) { return m >= 1 && m <= 3; };
    auto inAprToDec = [](int m) { return m >= 4 && m <= 12; };

    std::int64_t earlier = 0;
    // A bonus of the open file counts when it was paid before this one; one of
    // the same month when its day is not later (so two of one day count each
    // other). A bonus without a month passes as an earlier one.
    auto countOpenFile = [&](auto outsideYear) {
        for (int q = kFirstBonus; q <= kPeriods; ++q) {
            if (q == p) continue;
            const int mq = bonusMonth(h.BonusPayMonth[q - kFirstBonus]);
            if (outsideYear(mq)) continue;
            if (mq < month || (mq == month && h.BonusPayDay[q - kFirstBonus] <= day))
                earlier += storedTaxable(reader, ledger.CurData.FileName, q, key);
        }
    };
    if (inJanToMar(month)) {
        // The insurance year began last April: last year's April–December
        // bonuses count, as months of last year's header say.
        const std::filesystem::path prevFile = PrevYearFile(ledger);
        if (auto prevHeader = paycalc::readHeaderIfExists(reader, prevFile)) {
            for (int q = kFirstBonus; q <= kPeriods; ++q)
                if (!inJanToMar(bonusMonth(prevHeader->BonusPayMonth[q - kFirstBonus])))
                    earlier += storedTaxable(reader, prevFile, q, key);
        }
        countOpenFile(inAprToDec);
    } else {
        countOpenFile(inJanToMar);
    }

    if (earlier > kHealthBonusYearCap) return 0;
    if (earlier + standardAmount > kHealthBonusYearCap)
        return checkedAmount(kHealthBonusYearCap - earlier);
    return standardAmount;
}

bool CalcBonus(Ledger& ledger, int slot, const SavedBlockReader& reader) {
    return CalcBonus(ledger, slot, reader,
                     ResolveItemUse(ledger, ledger.Employee(slot).PayForm, SlipKind::Bonus));
}

bool CalcBonus(Ledger& ledger, int slot, const SavedBlockReader& reader,
               const PayTypeItemUse& use) {
    if (IsNoCalcYear(ledger)) return true;
    if (!IsActive(ledger, slot)) {
        zeroPayAndDeduction(ledger, slot);
        return true;
    }
    const TEmployeeRec& emp = ledger.Employee(slot);
    const SysOption& o = ledger.sysOption;
    const TBasicInfo& info = ledger.BasicInfo();
    TPaymentRec& pay = ledger.Payment(slot);
    TDeductionRec& ded = ledger.Deduction(slot);
    std::int32_t* amt = pay.Amounts;
    std::int32_t* d = ded.Amounts;

    std::int64_t taxable = 0, total = 0, outOfBase = 0;
    // 賞与 and 役員報酬 off the layout keep their typed value but count nowhere.
    for (int index : {int(kPayBase), int(kPayPost)}) {
        if (!use.payment[std::size_t(index)]) continue;
        taxable += amt[index];
        total += amt[index];
    }
    auto countFree = [&](int index, int flag) {
        if (o.kazeiFlag(flag)) taxable += amt[index];
        if (!o.syahoFlag(flag)) outOfBase += amt[index];
        total += amt[index];
    };
    for (int k = 0; k < 3; ++k) {
        const int index = kPayFixed1 + k;
        if (!use.payment[std::size_t(index)]) {
            amt[index] = 0;
            continue;
        }
        if (!isManual(pay.ManualFlags, index)) amt[index] = emp.FixedAllowance[k];
        countFree(index, kFreeFixedPay + k);
    }
    for (int k = 0; k < 3; ++k)
        if (use.payment[std::size_t(kPayVariable1 + k)])
            countFree(kPayVariable1 + k, kFreeVarPay + k);
    amt[kPayTaxableTotal] = checkedAmount(taxable);
    amt[kPayTotal] = checkedAmount(total);
    std::int64_t base = total - outOfBase;

    // Standard bonus amount: the taxable total cut to whole thousands.
    const std::int32_t standard = amt[kPayTaxableTotal] / 1000 * 1000;
    const std::int32_t healthBase = HealthBonusCapBase(ledger, slot, standard, reader);
    const std::int32_t pensionBase = std::min(standard, kPensionBonusCap);

    std::int64_t social = 0, deductions = 0;
    auto premium = [&](int index, auto compute) {
        if (!use.deduction[std::size_t(index)]) {
            d[index] = 0;
            return;
        }
        if (!isManual(ded.ManualFlags, index)) d[index] = compute();
        social += d[index];
        deductions += d[index];
    };
    premium(kDedHealth, [&] {
        return emp.HealthInsured ? PremiumOver50(healthBase, RateThousandths(info.HealthInsRate))
                                 : 0;
    });
    premium(kDedPension, [&] {
        return emp.PensionInsured ? PremiumOver50(pensionBase, RateThousandths(info.PensionRate))
                                  : 0;
    });
    premium(kDedPensionFund, [&] {
        return emp.PensionFundMember
                   ? PremiumOver50(pensionBase, RateThousandths(info.PensionFundRate))
                   : 0;
    });
    premium(kDedEmployment, [&] {
        return emp.EmpInsured ? PremiumOver500(std::int64_t(amt[kPayTotal]) - amt[kPayPost],
                                               RateThousandths(info.EmpInsRate))
                              : 0;
    });
    // The care premium is the combined premium less the health premium as it now
    // stands (typed or computed), so the two always add up to the rounded
    // combined amount.
    premium(kDedCare, [&] {
        if (!emp.CareInsured) return std::int32_t(0);
        const std::int32_t combined = PremiumOver50(
            healthBase, RateThousandths(info.HealthInsRate) + RateThousandths(info.CareInsRate));
        return checkedAmount(std::int64_t(combined) - d[kDedHealth]);
    });

    auto countFreeDeduction = [&](int index, int flag) {
        if (o.kazeiFlag(flag)) social += d[index];
        if (o.syahoFlag(flag)) base -= d[index];
        deductions += d[index];
    };
    for (int k = 0; k < 3; ++k) {
        const int index = kDedFixed1 + k;
        if (!use.deduction[std::size_t(index)]) {
            d[index] = 0;
            continue;
        }
        if (!isManual(ded.ManualFlags, index)) d[index] = emp.FixedDeduction[k];
        countFreeDeduction(index, kFreeFixedDed + k);
    }
    for (int k = 0; k < 3; ++k)
        if (use.deduction[std::size_t(kDedVariable1 + k)])
            countFreeDeduction(kDedVariable1 + k, kFreeVarDed + k);

    d[kDedSocialInsBase] = checkedAmount(base);
    d[kDedSocialInsTotal] = checkedAmount(social);
    d[kDedAfterSocialIns] = checkedAmount(std::int64_t(amt[kPayTaxableTotal]) - social);

    bool computed = true;
    if (use.deduction[kDedIncomeTax]) {
        if (!isManual(ded.ManualFlags, kDedIncomeTax)) {
            const int p = ledger.CurData.Period;
            const int month = p >= kFirstBonus && p <= kPeriods
                                  ? bonusMonth(ledger.FileHeader.BonusPayMonth[p - kFirstBonus])
                                  : 0;
            const std::int32_t prev = PrevAfterSocialIns(ledger, month - 1, emp.Key, reader);
            const std::int32_t after = d[kDedAfterSocialIns];
            // Ten times the previous month still computes; a yen more does not.
            if (prev == 0 || std::int64_t(after) > 10 * std::int64_t(prev)) computed = false;
            d[kDedIncomeTax] =
                computed ? BonusTax(ledger.tables.bonus, o, prev, after,
                                    std::max(0, std::int32_t{emp.TaxDependants}), emp.TaxColumn)
                         : 0;
        }
        deductions += d[kDedIncomeTax];
    } else {
        d[kDedIncomeTax] = 0;
    }
    d[kDedTotal] = checkedAmount(deductions);
    return computed;
}

void RecalcBonusSlot(Ledger& ledger, int slot, MessageSink& messages,
                     const SavedBlockReader& reader) {
    RecalcBonusSlot(ledger, slot, messages, reader,
                    ResolveItemUse(ledger, ledger.Employee(slot).PayForm, SlipKind::Bonus));
}

void RecalcBonusSlot(Ledger& ledger, int slot, MessageSink& messages,
                     const SavedBlockReader& reader, const PayTypeItemUse& use) {
    TEmployeeRec& emp = ledger.Employee(slot);
    if (emp.Key.empty()) {
        std::memset(static_cast<void*>(&ledger.Attendance(slot)), 0, sizeof(TAttendanceRec));
        zeroPayAndDeduction(ledger, slot);
        ledger.BonusTaxOk[std::size_t(slot - 1)] = true;
        return;
    }
    if (!IsActive(ledger, slot)) {
        zeroPayAndDeduction(ledger, slot);
        ledger.BonusTaxOk[std::size_t(slot - 1)] = true;
        return;
    }
    std::int32_t* amt = ledger.Payment(slot).Amounts;
    std::int32_t* d = ledger.Deduction(slot).Amounts;
    amt[kPayBase] = 0;
    amt[kPayPost] = 0;
    for (int k = 0; k < 3; ++k) {
        amt[kPayVariable1 + k] = 0;
        amt[kPayOther1 + k] = 0;
        d[kDedVariable1 + k] = 0;
        d[kDedOther1 + k] = 0;
    }
    const ItemGrid& grid = ledger.grid;
    const int col = GridColumnOfSlot(ledger, slot);
    for (int row = 1; row < grid.rowCount(); ++row) {
        const GridItem item = grid.item(row);
        if (item.kind == GridItemKind::None || item.kind == GridItemKind::Attendance) continue;
        const bool fixedName =
            item.kind == GridItemKind::Bonus || item.kind == GridItemKind::DirectorsFee;
        // 賞与 and 役員報酬 are taken whatever the layout says.
        if (!fixedName && !use.gridRowUsed(row)) continue;
        const std::int32_t v = TruncTol(StrToNum(grid.cell(col, row), messages));
        switch (item.kind) {
            case GridItemKind::Bonus:
                amt[kPayBase] = v;
                break;
            case GridItemKind::DirectorsFee:
                amt[kPayPost] = v;
                break;
            case GridItemKind::VariablePay:
                amt[kPayVariable1 + item.index] = v;
                break;
            case GridItemKind::VariableDeduct:
                d[kDedVariable1 + item.index] = v;
                break;
            case GridItemKind::Other:
                amt[kPayOther1 + item.index] = v;
                d[kDedOther1 + item.index] = v;
                break;
            default:
                break;
        }
    }
    ledger.BonusTaxOk[std::size_t(slot - 1)] = CalcBonus(ledger, slot, reader, use);
}

}  // namespace ledger
