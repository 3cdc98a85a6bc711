#include "ledger/SalaryCalc.h"

#include <algorithm>
#include <cstring>

#include "ledger/Common.h"
#include "ledger/ItemLabel.h"
#include "ledger/LayoutItemUse.h"
#include "ledger/Ledger.h"
#include "ledger/NumberText.h"
#include "ledger/PayCalcSupport.h"
#include "ledger/Premium.h"
#include "ledger/Rounding.h"
#include "ledger/YearFileName.h"

namespace ledger {

using namespace paycalc;

namespace {

bool validPayType(int payType) {
    return payType >= 1 && payType <= kPayTypes;
}

bool layoutHolds(const Ledger& ledger, ItemGroup group, std::string_view label, int payType) {
    if (!validPayType(payType) || label.empty()) return false;
    for (const std::string& code : ledger.PrnLayout[payType].codes(group))
        if (shownLabel(ledger.sysOption, code) == label) return true;
    return false;
}

// Whether some used entry of a working table has the label on the pay type's
// layout, in the same slot.
bool usedEntryWithLabel(const Ledger& ledger, ItemGroup group, std::string_view label,
                        int payType) {
    auto items = ledger.itemTables.items(group);
    auto codes = ledger.PrnLayout[payType].codes(group);
    const std::size_t n = std::min(items.size(), codes.size());
    for (std::size_t i = 0; i < n; ++i)
        if (items[i].Use[std::size_t(payType)] && shownLabel(ledger.sysOption, codes[i]) == label)
            return true;
    return false;
}

bool isFreeLabel(const SysOption& option, int first, std::string_view label) {
    for (int k = 0; k < 3; ++k)
        if (option.freeLabels[std::size_t(first + k)] == label) return true;
    return false;
}

}  // namespace

bool IsPaymentItemUsed(const Ledger& ledger, std::string_view label, int payType) {
    return layoutHolds(ledger, ItemGroup::Payment, label, payType);
}

bool IsDeductionItemUsed(const Ledger& ledger, std::string_view label, int payType) {
    return layoutHolds(ledger, ItemGroup::Deduction, label, payType);
}

bool IsVariableItemUsed(const Ledger& ledger, int payType, std::string_view label) {
    if (!validPayType(payType) || label.empty()) return false;
    const SysOption& o = ledger.sysOption;
    return (isFreeLabel(o, kFreeVarPay, label) &&
            usedEntryWithLabel(ledger, ItemGroup::Payment, label, payType)) ||
           (isFreeLabel(o, kFreeVarDed, label) &&
            usedEntryWithLabel(ledger, ItemGroup::Deduction, label, payType)) ||
           (isFreeLabel(o, kFreeOther, label) &&
            usedEntryWithLabel(ledger, ItemGroup::Other, label, payType));
}

bool CalcSalary(Ledger& ledger, int slot) {
    return CalcSalary(ledger, slot,
                      ResolveItemUse(ledger, ledger.Employee(slot).PayForm, SlipKind::Salary));
}

bool CalcSalary(Ledger& ledger, int slot, const PayTypeItemUse& use) {
    if (IsNoCalcYear(ledger)) return true;
    TPaymentRec& pay = ledger.Payment(slot);
    TDeductionRec& ded = ledger.Deduction(slot);
    if (!IsActive(ledger, slot)) {
        std::memset(static_cast<void*>(&pay), 0, sizeof pay);
        std::memset(static_cast<void*>(&ded), 0, sizeof ded);
        return true;
    }
    const TEmployeeRec& emp = ledger.Employee(slot);
    const SysOption& o = ledger.sysOption;
    const double* att = ledger.Attendance(slot).Values;
    const int t = emp.PayForm;
    std::int32_t* amt = pay.Amounts;

    std::int64_t taxable = 0, total = 0, outOfBase = 0;
    // One payment item: unused → 0; computed unless typed; then counted.
    auto payItem = [&](int index, auto compute, bool isTaxable, bool inBase) {
        if (!use.payment[std::size_t(index)]) {
            amt[index] = 0;
            return;
        }
        if (!isManual(pay.ManualFlags, index)) amt[index] = compute();
        if (isTaxable) taxable += amt[index];
        total += amt[index];
        if (!inBase) outOfBase += amt[index];
    };

    payItem(
        kPayBase,
        [&] {
            if (t == 1) return emp.BasePay;
            std::int64_t base = t == 2 ? RoundPayment(o, att[kAttDaysWorked], emp.BasePay)
                                       : RoundPayment(o, att[kAttHoursWorked], emp.BasePay);
            if (t == 2 || t == 3) base += RoundPayment(o, att[kAttPaidLeaveDays], emp.PaidLeavePay);
            return checkedAmount(base);
        },
        true, true);
    payItem(
        kPayPost, [&] { return emp.PostAllowance; }, true, true);
    payItem(
        kPayFamily, [&] { return emp.FamilyAllowance; }, true, true);
    for (int k = 0; k < 3; ++k)
        payItem(
            kPayFixed1 + k, [&] { return emp.FixedAllowance[k]; }, o.kazeiFlag(kFreeFixedPay + k),
            o.syahoFlag(kFreeFixedPay + k));
    payItem(
        kPayOvertime, [&] { return RoundPayment(o, att[kAttOvertime], emp.OvertimeUnit); }, true,
        true);
    payItem(
        kPayNight, [&] { return RoundPayment(o, att[kAttNightOvertime], emp.NightUnit); }, true,
        true);
    payItem(
        kPayHoliday, [&] { return RoundPayment(o, att[kAttHolidayOvertime], emp.HolidayUnit); },
        true, true);
    payItem(
        kPayHolidayNight,
        [&] { return RoundPayment(o, att[kAttHolidayNight], emp.HolidayNightUnit); }, true, true);
    payItem(
        kPayCommuteFree, [&] { return emp.CommuteFree; }, false, true);
    payItem(
        kPayCommuteTaxed, [&] { return emp.CommuteTaxed; }, true, true);
    // The typed variable pays have no flag: their value is never recomputed.
    for (int k = 0; k < 3; ++k) {
        const int index = kPayVariable1 + k;
        if (!use.payment[std::size_t(index)]) {
            amt[index] = 0;
            continue;
        }
        if (o.kazeiFlag(kFreeVarPay + k)) taxable += amt[index];
        total += amt[index];
        if (!o.syahoFlag(kFreeVarPay + k)) outOfBase += amt[index];
    }
    payItem(
        kPayAbsence,
        [&] { return RoundReduction(o, att[kAttAbsentDays], -double(emp.AbsenceDeduction)); }, true,
        true);
    payItem(
        kPayLate, [&] { return RoundReduction(o, att[kAttLateHours], -double(emp.LateDeduction)); },
        true, true);

    amt[kPayTaxableTotal] = checkedAmount(taxable);
    amt[kPayTotal] = checkedAmount(total);

    std::int32_t* d = ded.Amounts;
    std::int64_t base = std::int64_t(amt[kPayTotal]) - outOfBase;
    std::int64_t social = 0, deductions = 0;
    auto dedItem = [&](int index, auto compute, bool inSocial, bool outOfSocialBase) {
        if (!use.deduction[std::size_t(index)]) {
            d[index] = 0;
            return;
        }
        if (!isManual(ded.ManualFlags, index)) d[index] = compute();
        if (inSocial) social += d[index];
        if (outOfSocialBase) base -= d[index];
        deductions += d[index];
    };
    const TBasicInfo& info = ledger.BasicInfo();
    dedItem(
        kDedHealth, [&] { return emp.HealthInsured ? emp.HealthPremium : 0; }, true, false);
    dedItem(
        kDedPension, [&] { return emp.PensionInsured ? emp.PensionPremium : 0; }, true, false);
    dedItem(
        kDedPensionFund, [&] { return emp.PensionFundMember ? emp.PensionFundPremium : 0; }, true,
        false);
    // Employment insurance is the one premium computed here, on everything paid:
    // the non-taxable commuting allowance raises it, the reductions lower it.
    dedItem(
        kDedEmployment,
        [&] {
            return emp.EmpInsured ? PremiumOver500(amt[kPayTotal], RateThousandths(info.EmpInsRate))
                                  : 0;
        },
        true, false);
    dedItem(
        kDedCare, [&] { return emp.CareInsured ? emp.CarePremium : 0; }, true, false);
    dedItem(
        kDedResidentTax,
        [&] { return ledger.CurData.Period == 6 ? emp.ResidentTaxJune : emp.ResidentTax; }, false,
        false);
    for (int k = 0; k < 3; ++k)
        dedItem(
            kDedFixed1 + k, [&] { return emp.FixedDeduction[k]; }, o.kazeiFlag(kFreeFixedDed + k),
            o.syahoFlag(kFreeFixedDed + k));
    for (int k = 0; k < 3; ++k) {
        const int index = kDedVariable1 + k;
        if (!use.deduction[std::size_t(index)]) {
            d[index] = 0;
            continue;
        }
        if (o.kazeiFlag(kFreeVarDed + k)) social += d[index];
        if (o.syahoFlag(kFreeVarDed + k)) base -= d[index];
        deductions += d[index];
    }

    d[kDedSocialInsBase] = checkedAmount(base);
    d[kDedSocialInsTotal] = checkedAmount(social);
    d[kDedAfterSocialIns] = checkedAmount(std::int64_t(amt[kPayTaxableTotal]) - social);
    bool computed = true;
    if (use.deduction[kDedIncomeTax]) {
        if (!isManual(ded.ManualFlags, kDedIncomeTax)) {
            computed = !BeyondSalaryTaxTable(ledger.tables.salary, d[kDedAfterSocialIns]);
            d[kDedIncomeTax] =
                MonthlyTax(ledger.tables.salary, o, d[kDedAfterSocialIns], emp.TaxColumn,
                           std::max(0, std::int32_t{emp.TaxDependants}));
        }
        deductions += d[kDedIncomeTax];
    } else {
        d[kDedIncomeTax] = 0;
    }
    d[kDedTotal] = checkedAmount(deductions);
    return computed;
}

bool RecalcSalarySlot(Ledger& ledger, int slot, MessageSink& messages) {
    return RecalcSalarySlot(
        ledger, slot, messages,
        ResolveItemUse(ledger, ledger.Employee(slot).PayForm, SlipKind::Salary));
}

bool RecalcSalarySlot(Ledger& ledger, int slot, MessageSink& messages, const PayTypeItemUse& use) {
    TEmployeeRec& emp = ledger.Employee(slot);
    TPaymentRec& pay = ledger.Payment(slot);
    TDeductionRec& ded = ledger.Deduction(slot);
    if (emp.Key.empty()) {
        std::memset(static_cast<void*>(&ledger.Attendance(slot)), 0, sizeof(TAttendanceRec));
        std::memset(static_cast<void*>(&pay), 0, sizeof pay);
        std::memset(static_cast<void*>(&ded), 0, sizeof ded);
        return true;
    }
    if (!IsActive(ledger, slot)) {
        std::memset(static_cast<void*>(&pay), 0, sizeof pay);
        std::memset(static_cast<void*>(&ded), 0, sizeof ded);
        return true;
    }
    double* att = ledger.Attendance(slot).Values;
    att[kAttScheduledDays] = ledger.BasicInfo().WorkDays;
    att[kAttScheduledHours] = ledger.BasicInfo().WorkHours;

    for (int k = 0; k < 3; ++k) {
        pay.Amounts[kPayVariable1 + k] = 0;
        pay.Amounts[kPayOther1 + k] = 0;
        ded.Amounts[kDedVariable1 + k] = 0;
        ded.Amounts[kDedOther1 + k] = 0;
    }
    const ItemGrid& grid = ledger.grid;
    const int col = GridColumnOfSlot(ledger, slot);
    for (int row = 1; row < grid.rowCount(); ++row) {
        const GridItem item = grid.item(row);
        const std::string& text = grid.cell(col, row);
        switch (item.kind) {
            case GridItemKind::Attendance:
                // The two scheduled figures come from the period, never from the grid.
                if (item.index != kAttScheduledDays && item.index != kAttScheduledHours)
                    att[item.index] = StrToNum(text, messages);
                break;
            case GridItemKind::VariablePay:
                if (use.gridRowUsed(row))
                    pay.Amounts[kPayVariable1 + item.index] = TruncTol(StrToNum(text, messages));
                break;
            case GridItemKind::VariableDeduct:
                if (use.gridRowUsed(row))
                    ded.Amounts[kDedVariable1 + item.index] = TruncTol(StrToNum(text, messages));
                break;
            case GridItemKind::Other:
                // その他 is kept in both records.
                if (use.gridRowUsed(row)) {
                    const std::int32_t v = TruncTol(StrToNum(text, messages));
                    pay.Amounts[kPayOther1 + item.index] = v;
                    ded.Amounts[kDedOther1 + item.index] = v;
                }
                break;
            default:
                break;
        }
    }
    return CalcSalary(ledger, slot, use);
}

double PrevPaidLeaveBalance(const Ledger& ledger, int period, const ShortString<14>& key,
                            const SavedBlockReader& reader) {
    if (key.empty() || period > kPeriods) return kNoPaidLeaveBalance;
    auto block = period > 0 ? paycalc::readBlockIfExists(reader, ledger.CurData.FileName, period)
                            : paycalc::readBlockIfExists(reader, PrevYearFile(ledger), 12);
    if (!block) return kNoPaidLeaveBalance;
    const int found = FindSlotByKey(*block, key);
    if (found == 0) return kNoPaidLeaveBalance;
    return block->AttendanceTbl[found - 1].Values[kAttPaidLeaveLeft];
}

}  // namespace ledger
