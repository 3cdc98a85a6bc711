#pragma once
#include <cstdint>

#include "ledger/Messages.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/ShortString.h"

// The bonus of one employee for a bonus period: the premiums on the standard
// bonus amount under the yearly health-insurance cap and the per-payment pension
// cap, employment insurance, and the withheld income tax, which is found from
// the previous month's salary. Other periods and last year's file are read as
// saved, never from memory.
namespace ledger {

struct Ledger;
struct PayTypeItemUse;

// The health-insurance standard bonus amounts of one April–March year may not
// exceed this; the pension one of a single payment may not exceed the other.
inline constexpr std::int32_t kHealthBonusYearCap = 5730000;
inline constexpr std::int32_t kPensionBonusCap = 1500000;

// Computes the payment and deduction records of a slot of the open bonus period.
// Returns false when the income tax cannot be computed and must be typed (no
// salary in the previous month, or this bonus after social insurance is more
// than ten times it); the tax is then 0. Does nothing (and returns true) in a
// year for which no pay is calculated.
bool CalcBonus(Ledger& ledger, int slot, const SavedBlockReader& reader = fileBlockReader());
// The same with the layout's use of the employee's pay type already resolved.
bool CalcBonus(Ledger& ledger, int slot, const SavedBlockReader& reader, const PayTypeItemUse& use);

// Copies the slot's grid column (賞与, 役員報酬 and the typed variable items) into
// its records, calculates it and records in BonusTaxOk whether its tax could be
// computed. An empty slot is cleared; an employee on leave or retired gets zero
// payment and deduction records and counts as computed.
void RecalcBonusSlot(Ledger& ledger, int slot, MessageSink& messages,
                     const SavedBlockReader& reader = fileBlockReader());
void RecalcBonusSlot(Ledger& ledger, int slot, MessageSink& messages,
                     const SavedBlockReader& reader, const PayTypeItemUse& use);

// The part of this bonus's standard amount that still fits under the yearly
// health cap, given the taxable totals of the employee's earlier bonuses of the
// same April–March year (this year's file, and for a January–March bonus also
// last year's April–December bonuses). A bonus of the same month counts as
// earlier when its day is not later.
std::int32_t HealthBonusCapBase(const Ledger& ledger, int slot, std::int32_t standardAmount,
                                const SavedBlockReader& reader = fileBlockReader());

// AfterSocialIns of the employee with this Key in a salary period of the open
// year's file (1..12), 0 or less meaning December of last year's file; 0 when
// the file, the period or the employee is not there.
std::int32_t PrevAfterSocialIns(const Ledger& ledger, int period, const ShortString<14>& key,
                                const SavedBlockReader& reader = fileBlockReader());

}  // namespace ledger
