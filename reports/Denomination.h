#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ledger/Ledger.h"
#include "reports/PrnCanvas.h"

// The cash denomination table (給与/賞与支払金種表) of the open period: A4
// landscape, thirty employees a page as rows, each net pay split into notes and
// coins, with the column totals on the last page.
//
// The print dialog passes the 1-based page number and its check box
// "振込支給者も印刷する" (cbAllPrint: every active employee, not only those paid
// in cash); it takes the page count and the people count from
// DenominationSlots with the same flag. The 2,000-yen note is used when the
// setting [Option] Use2kSatu is on (SysOption::use2kSatu).
namespace reports {

// 10,000 .. 1 yen, in the table's column order.
inline constexpr std::array<int, 10> kDenominations{10000, 5000, 2000, 1000, 500,
                                                    100,   50,   10,   5,    1};
inline constexpr int kTwoThousandColumn = 2;

using DenominationCounts = std::array<std::int64_t, 10>;

// Notes and coins of an amount, largest first, each count the quotient and the
// remainder passed on; the 2,000-yen count stays 0 unless use2k. A negative
// amount needs none.
DenominationCounts SplitDenominations(std::int64_t amount, bool use2k);

// The employees of the table, every slot in use, slot order: active, and paid in
// cash (PayMethod 1) unless allPrint.
std::vector<int> DenominationSlots(const ledger::Ledger& l, bool allPrint);
int DenominationPageCount(const ledger::Ledger& l, bool allPrint);

// The column totals and the pay total of a whole table; net pays below zero add
// nothing to either.
struct DenominationTotals {
    DenominationCounts counts{};
    std::int64_t pay = 0;
};
DenominationTotals SumDenominations(const ledger::Ledger& l, const std::vector<int>& slots);

void DrawDenominationPage(PrnCanvas& c, const ledger::Ledger& l, int page, bool allPrint);

}  // namespace reports
