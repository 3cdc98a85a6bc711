#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/ItemTables.h"
#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "reports/PrnCanvas.h"

// Pay slips (給与明細書 / 賞与明細書) of the open period, and the pieces both slip
// layouts share: the header texts, the remark lines, which layout slot prints,
// the amount shown beside a label, and the year-to-date sums.
//
// What the print dialog passes to a slip drawer:
//   - the canvas, prepared for its target, with PageOffsetX/PageOffsetY placing
//     the slip on the sheet (the lower slip of a two-slip sheet 148.5 mm lower)
//     and PrintEra/PrintMonth/PrintDay holding the payment date typed in the
//     dialog (PrintDay also decides whether a bonus of the salary's own month
//     counts toward the year-to-date totals);
//   - the ledger: the open period, its file header, CurData, SysOption (labels,
//     TimeStyle, PrnRuikei, Kazei, TokuSyoyo), PrnLayout and the working item
//     tables of the period's slip kind;
//   - SlipOptions below: the form type, the comment, the memo switch and the
//     reader of the year file;
//   - the slot (1..80) of the employee.
// The slip layout follows the form type: 0..3 the GB1150 layout
// (DrawSlipGB1150 here), 4..7 the GB1172 layout (DrawSlipGB1172 in
// reports/PaySlipGB1172.h). Each drawer prints its own frame on plain paper.
namespace reports {

struct SlipOptions {
    int FormType = 3;      // the form-type box's index 0..7
    std::string EditMemo;  // the comment typed in the dialog (UTF-8, lines by "\n")
    bool BikoPrn = false;  // print each employee's own memo instead of the comment
    // Reads the stored periods for the year-to-date totals; nullptr = the real
    // files. A print job or preview may hand in a caching reader.
    const ledger::SavedBlockReader* Reader = nullptr;
};

// ---- Shared by both layouts ----------------------------------------------

// The remark box holds five lines of 34 bytes (17 double-byte characters).
inline constexpr int kRemarkLineBytes = 34;
inline constexpr int kRemarkLines = 5;

// The remark of a slip: the employee's memo when BikoPrn is on, else the comment.
std::string SlipRemark(const ledger::Ledger& ledger, const SlipOptions& options, int slot);
// The remark as printed: split at line breaks (CR LF, LF or CR), each line wrapped
// at 34 Shift-JIS bytes without splitting a character, at most five lines (a
// sixth would run over the box into the payment date).
std::vector<std::string> RemarkLines(std::string_view text);

// "山田太郎  様", cut to 21 bytes.
std::string SlipNameText(const ledger::Ledger& ledger, int slot);
// "営業部・一般社員"; the department with its "・" cut to 19 bytes, then the kind;
// only the kind when there is no department.
std::string SlipDeptText(const ledger::Ledger& ledger, int slot);

// The label of a layout code as the slips print it (the user's label without the
// "F"/"V" prefix); empty for an empty slot.
std::string SlipItemLabel(std::string_view code, const ledger::SysOption& options);

// Whether slot k of a layout group prints for the employee: the layout code has
// a label and the working table's entry of the same slot is used for the pay
// type. A pay type outside 1..3 (a damaged record) prints nothing.
bool SlipSlotPrinted(const ledger::Ledger& ledger, ledger::ItemGroup group, int slotIndex,
                     int payForm);

// The attendance value shown beside a label: the last of the fifteen attendance
// labels that equals it wins; no match is 0.
double SlipAttendanceByLabel(std::string_view label, const ledger::SysOption& options,
                             const ledger::TAttendanceRec& attendance);
// The amount shown beside a payment, deduction or その他 label: compared with the
// fixed names and the user's labels in a fixed order, the last match winning, so
// two items with the same label show the same amount; no match is 0.
std::int32_t SlipAmountByLabel(ledger::ItemGroup group, std::string_view label,
                               const ledger::SysOption& options, const ledger::TPaymentRec& pay,
                               const ledger::TDeductionRec& ded);

// Attendance as printed: h:mm (or decimal, by TimeStyle) for hours items,
// "%6.2f" for the rest.
std::string SlipAttendanceText(std::string_view label, double value, int timeStyle);
// Amounts are right-aligned in ten characters with thousands separators.
std::string SlipAmountText(std::int64_t amount);

// ---- Year-to-date totals ---------------------------------------------------

struct YearToDate {
    std::int64_t TaxablePay = 0;  // TaxablePayTotal
    std::int64_t SocialIns = 0;   // SocialInsTotal
    std::int64_t IncomeTax = 0;   // IncomeTax
    bool operator==(const YearToDate&) const = default;
};

// The stored periods (1..15, in reading order) that count toward the totals of a
// slip of the open period: every payment of the calendar year made before this
// one. A bonus counts the salaries paid before it (the salary of its own month
// when the bonus is paid on or after the pay day) and the earlier bonuses; a
// salary counts the earlier months and the bonuses of earlier months, and a bonus
// of its own month paid on or before the printed day. An unset bonus month (0)
// counts as the earliest.
std::vector<int> YearToDatePeriods(const ledger::TPayrollFileHeader& header, int period, int payDay,
                                   int printDay);

// The totals of the employee in the slot: the periods above read from the year
// file (every slot with the same Key counts) plus the open period's own figures.
// Throws platform::IoError when the year file is missing or too short.
YearToDate ComputeYearToDate(const ledger::Ledger& ledger, int slot, std::string_view printDay,
                             const ledger::SavedBlockReader& reader);

// ---- The GB1150 layout (form types 0..3) -----------------------------------

// The printed-form part of the slip: boxes, shading and captions; cash = the
// employee is paid in cash.
void DrawSlipFrameGB1150(PrnCanvas& c, bool cash);

// One slip; the frame too on form types 1..3. The year-to-date totals (when
// PrnRuikei is on) are read before anything is drawn, so a failing year file
// throws platform::IoError and leaves the slip untouched.
void DrawSlipGB1150(PrnCanvas& c, const ledger::Ledger& ledger, const SlipOptions& options,
                    int slot);

}  // namespace reports
