#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ledger/Ledger.h"
#include "reports/LedgerRows.h"
#include "reports/ListHead.h"
#include "reports/PrnCanvas.h"

// The monthly list (月別給与/賞与一覧) of the period held in memory: A4
// landscape, ten active employees a sheet as columns, a totals column after
// the last one; printed as one list or grouped by employee kind or by
// department, each group on sheets of its own with its own totals.
//
// What the print dialog passes to DrawMonthlyListPage:
//   - the 1-based page number;
//   - a MonthlyListJob: the period (the Tag's target, 1..15), the grouping of
//     its buttons (通常 / 社員区分別 / 部署別), the row flags it read from
//     [Option] DaichoAdd / DaichoDel at show, and the page plan it built with
//     BuildMonthlyPagePlan when shown or when a grouping button was clicked;
//     the plan also gives the dialog its people and sheet counts.
namespace reports {

enum class MonthlyGrouping { Normal = 0, ByKind = 1, ByDept = 2 };

inline constexpr int kMonthlyPerPage = 10;

// One sheet of a grouped list.
struct MonthlySheet {
    std::string group;
    std::string firstKey;  // Key of the sheet's first employee; empty: totals only
    bool lastOfGroup = false;
    bool operator==(const MonthlySheet&) const = default;
};

struct MonthlyPagePlan {
    MonthlyGrouping grouping = MonthlyGrouping::Normal;
    std::vector<std::string> groups;   // grouped modes: every group name, in order
    std::vector<MonthlySheet> sheets;  // grouped modes: one entry per sheet
    int targetCount = 0;               // active employees the list covers
    int pageCount = 1;
};

// The group names of a grouping: by kind the five standard kinds, then every
// other kind text of the employees in slot order; by department every
// department in slot order (up to the first free slot, retired ones included).
std::vector<std::string> MonthlyGroupNames(const ledger::Ledger& l, MonthlyGrouping grouping);

// The group an employee belongs to under a grouping (kind text or department).
std::string MonthlyGroupOf(const ledger::Ledger& l, int slot, MonthlyGrouping grouping);

// The active employees up to the first free slot, slot order.
std::vector<int> MonthlyActiveSlots(const ledger::Ledger& l);

// Normal: one list, active div 10 + 1 sheets (the totals column always has a
// place). Grouped: each group with members gets members div 10 + 1 sheets.
MonthlyPagePlan BuildMonthlyPagePlan(const ledger::Ledger& l, MonthlyGrouping grouping);

// A row of the list (and a column of its CSV form).
struct MonthlyRow {
    enum Kind { Attendance, Payment, Deduction, NetPay };
    Kind kind = Payment;
    int index = 0;  // attendance position 0..14, or the record's amount index
    std::string caption;
    bool bold = false;
    bool boxed = false;      // a box across the table around the row
    bool lineBelow = false;  // a thin rule across the table under the row
};

// The rows in order: the added attendance items, the payments, 支給項目合計,
// the deductions, 控除項目合計, 社保算定合計, the その他 items, 差引支給額; the
// removed free items left out. Every row keeps its place even when the user's
// label is empty, so captions and values never drift apart.
std::vector<MonthlyRow> MonthlyRows(const LedgerRowFlags& flags, const ledger::SysOption& option);

// The attendance value of a row's label: the entry of the last settings label
// equal to it; 0 when none is.
double AttendanceByLabel(const std::string& label, const ledger::TAttendanceRec& att,
                         const ledger::SysOption& option);
// FmtHours for a time item, else "%6.2f".
std::string FormatAttendance(const std::string& label, double value, int timeStyle);

// The amount of a money row for an employee; net pay takes its その他 amounts
// from `source`.
std::int64_t MonthlyAmount(const MonthlyRow& row, const ledger::Ledger& l, int slot,
                           OtherSource source);

// The sheet title: "令和8年  4 月 分 給 与 一 覧", "… 夏 期 賞 与 一 覧",
// "… 冬 季 賞 与 一 覧", or the third bonus's name spaced out.
std::string MonthlyListTitle(const ledger::Ledger& l, int period);

struct MonthlyListJob {
    int period = 0;
    LedgerRowFlags flags;
    MonthlyPagePlan plan;
};

// The employees shown on a page, at most ten, in column order.
std::vector<int> MonthlyPageSlots(const ledger::Ledger& l, const MonthlyPagePlan& plan, int page);

void DrawMonthlyListPage(PrnCanvas& c, const ledger::Ledger& l, const MonthlyListJob& job,
                         int page);

}  // namespace reports
