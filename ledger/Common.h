#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "ledger/EditRules.h"
#include "ledger/ItemLabel.h"
#include "ledger/Ledger.h"
#include "ledger/NumberText.h"

// Small rules shared by the whole payroll program: employee status, the pay
// date of a salary period, the years without pay calculation, byte helpers.
// Number texts, item labels and the entry-field rules have headers of their own,
// included here for convenience.
namespace ledger {

// The first byte of a Shift-JIS double-byte character.
bool IsSJISLead(unsigned char byte);

// Byte comparison of n bytes; true when n <= 0.
bool SameBytes(const void* a, const void* b, int n);
// Sets n bytes to value; nothing when n <= 0.
void FillBytes(void* buffer, unsigned char value, int n);

// Status of the employee in the open period's slot (1..80): 1 在職, 3 退職.
// A slot outside 1..80 is neither.
bool IsActive(const Ledger& ledger, int slot);
bool IsRetired(const Ledger& ledger, int slot);

// The kinds offered for TEmployeeRec.Kind 1..5.
inline constexpr std::array<std::string_view, 5> kEmployeeKinds{"役員", "一般社員", "臨時社員",
                                                                "パート", "アルバイト"};

// The kind of an employee as shown: the standard name for Kind 1..5, else the
// freely typed KindText.
std::string EmployeeKindText(const Ledger& ledger, int slot);

// The individual number typed as twelve digits; characters 1-6 and 7-12 are read
// as two numbers. A sign or any other non-digit throws platform::ConvertError.
std::int64_t MyNumberFromText(std::string_view text);

// The pay date of the open salary period as "%2d" texts: era year, month, day.
struct PayDate {
    std::string year;
    std::string month;
    std::string day;
};
PayDate PayDateParts(const Ledger& ledger);

// Files of 平成16..24 are kept for reference only: no pay is calculated for them.
bool IsNoCalcYear(const Ledger& ledger);

}  // namespace ledger
