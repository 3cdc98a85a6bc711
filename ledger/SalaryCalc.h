#pragma once
#include <cstdint>
#include <string_view>

#include "ledger/ItemGrid.h"
#include "ledger/Messages.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/ShortString.h"

// The salary of one employee for a monthly period: the pay by pay type, the
// overtime pays and reductions, the premiums, employment insurance, resident tax
// and the withheld income tax, with the totals the slips print. Items count only
// when the employee's pay type has them on its slip layout.
namespace ledger {

struct Ledger;
struct PayTypeItemUse;

// Fixed names of the deduction items (they have no user label).
inline constexpr std::string_view kHealthName = "健康保険料";
inline constexpr std::string_view kPensionName = "厚生年金保険";
inline constexpr std::string_view kPensionFundName = "厚生年金基金";
inline constexpr std::string_view kEmploymentName = "雇用保険料";
inline constexpr std::string_view kCareName = "介護保険料";
inline constexpr std::string_view kResidentTaxName = "住民税";
inline constexpr std::string_view kIncomeTaxName = "所得税";
// Fixed names of the two bonus payments.
inline constexpr std::string_view kBonusName = "賞与";
inline constexpr std::string_view kDirectorsFeeName = "役員報酬";

// Whether the payment (deduction) layout of a pay type (1..3) holds an item
// shown with this label. Any other pay type has no items.
bool IsPaymentItemUsed(const Ledger& ledger, std::string_view label, int payType);
bool IsDeductionItemUsed(const Ledger& ledger, std::string_view label, int payType);

// Whether the label is that of one of the nine variable free items (変動手当,
// 変動控除, その他) and the pay type uses that item.
bool IsVariableItemUsed(const Ledger& ledger, int payType, std::string_view label);

// Computes the payment and deduction records of a slot of the open salary
// period from the employee record, the attendance and the typed amounts already
// in the records. Amounts marked as typed by hand are kept and still counted.
// Does nothing in a year for which no pay is calculated. False when the income
// tax could not be computed because the pay after social insurance is beyond the
// tax table: the tax is then 0 and must be typed.
bool CalcSalary(Ledger& ledger, int slot);
// The same with the layout's use of the employee's pay type already resolved.
bool CalcSalary(Ledger& ledger, int slot, const PayTypeItemUse& use);

// Copies the slot's grid column (attendance and the typed variable items) into
// its records and calculates it; an empty slot is cleared and a slot whose
// employee is on leave or retired keeps only its attendance. Malformed numbers in
// the grid are reported to `messages`. False as CalcSalary.
bool RecalcSalarySlot(Ledger& ledger, int slot, MessageSink& messages);
bool RecalcSalarySlot(Ledger& ledger, int slot, MessageSink& messages, const PayTypeItemUse& use);

// The remaining paid-leave days (有休残日数) of the employee with this Key at the
// end of a period of the stored files: a period 1..15 of the open year's file,
// period 0 or less meaning December of last year's file. −999 when the file,
// the period or the employee is not there.
inline constexpr double kNoPaidLeaveBalance = -999.0;
double PrevPaidLeaveBalance(const Ledger& ledger, int period, const ShortString<14>& key,
                            const SavedBlockReader& reader = fileBlockReader());

}  // namespace ledger
