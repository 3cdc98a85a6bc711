#pragma once
#include <cstdint>

#include "ledger/SysOption.h"

// Money rounding. Every product that becomes yen in the payroll program passes
// through one of these, so the stored amounts match what the original program
// computed to the yen, including the loss of precision of its single-precision
// step.
//
// Every conversion to int32 is range-checked: a value that is not a number or
// lies outside the int32 range throws platform::ConvertError rather than
// producing an undefined or wrapped amount.
namespace ledger {

// Truncation toward zero after nudging the value 0.000001 away from zero (in
// extended precision), so that 2.9999996 counts as 3.
std::int32_t TruncTol(double x);

// Rounding of a single-precision value by a rounding mode of the settings:
// 1 up (toward plus infinity), 2 half away from zero, anything else TruncTol.
std::int32_t RoundByMode(int mode, float x);

// a × b, computed in double and then stored as a 32-bit float, rounded by mode.
// The float step keeps only about seven significant digits of the product, which
// is what makes 1.1 × 1,500 round up to 1,650 and not 1,651.
std::int32_t RoundProduct(int mode, double a, double b);

// The products of computed payments, of reductions (欠勤控除, 遅刻早退控除) and of
// computed deductions and taxes, each rounded by its own mode of the settings.
std::int32_t RoundPayment(const SysOption& option, double a, double b);
std::int32_t RoundReduction(const SysOption& option, double a, double b);
std::int32_t RoundDeduction(const SysOption& option, double a, double b);

// Rounds a fraction above 0.50 (RoundOver50) or above 0.500 (RoundOver500) away
// from zero, and anything up to it toward zero: 10.5 gives 10, 10.51 gives 11.
// The two differ in how many decimals they see: 10.505 gives 10 and 11.
// Insurance premiums follow the same rules on their exact products (Premium.h),
// not on a binary product that may fall just below the edge.
std::int32_t RoundOver50(double x);
std::int32_t RoundOver500(double x);

}  // namespace ledger
