#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "ledger/Ledger.h"
#include "reports/PrnCanvas.h"

// What the A4-landscape lists (roster, transfer list, denomination table,
// monthly list) share: the page head, the period name, net pay and paging.
namespace reports {

// Today as the lists print it: 'ggg e"年 "m"月 "d"日"' ("令和 8年 4月 1日").
std::string TodayLongText(const ledger::Clock& clock);

// Starts a list page: "ＭＳ 明朝", black, flags off; the title in 16 points at
// (titleX, titleY); then 10 points for the company name (12, 22), today's date
// (220, 22) and "Page %d / %d" (260, 22). Leaves the font at 10 points.
void DrawListHead(PrnCanvas& c, const ledger::Ledger& l, std::string_view title, float titleX,
                  float titleY, int page, int pageCount);

// The period as the transfer list and the denomination table name it:
// "4月分給与", "夏期賞与", "冬期賞与" or the third bonus's name.
std::string ListPeriodName(int period, const ledger::SysOption& option);

// "[%s%d年 %s]" of the open year and period, 12 points at (150, 21); the font
// goes back to 10 points for the table.
void DrawListPeriodLine(PrnCanvas& c, const ledger::Ledger& l);

// Where the その他 amounts added to net pay are taken from: the payment record
// and the deduction record each hold a copy.
enum class OtherSource { Payment, Deduction };

// 差引支給額: PayTotal + the three その他 amounts − DeductionTotal.
std::int64_t NetPay(const ledger::TPaymentRec& pay, const ledger::TDeductionRec& ded,
                    OtherSource source);

// Sheets of a list of `targets` rows or columns, `perPage` to a sheet; an empty
// list still has one sheet.
int ListPageCount(int targets, int perPage);

// printf into a std::string.
std::string Fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace reports
