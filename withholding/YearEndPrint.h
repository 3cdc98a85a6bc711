#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "reports/PrintJob.h"

namespace platform {
class IniFile;
class PrinterPort;
}  // namespace platform
namespace reports {
class PrnCanvas;
}

// What a print job of the year-end program covers, free of any window: the
// document named by the print dialog's Tag, its paper, its sheets, where each
// copy sits on a sheet, the cut lines, the printer remembered per document and
// the log line a finished job leaves.
namespace withholding {

// Document kind = Tag div 100; the caller's Tag is kind × 100 + 99 (the
// checked employees).
enum YearEndDocKind : int {
    kDocWithholdingSlip = 1,  // 源泉徴収票
    kDocRefundNotice = 2,     // 還付金通知書
    kDocPaymentReport = 5,    // 給与支払報告書
};
inline constexpr int kTagWithholdingSlip = 199;
inline constexpr int kTagRefundNotice = 299;
inline constexpr int kTagPaymentReport = 599;

bool IsYearEndDocKind(int docKind);

// The paper set when no printer is remembered for the kind: B5 portrait for
// the refund notice, A4 landscape for the others.
reports::PaperChoice YearEndPaper(int docKind);
// The paper panel's text of a kind.
std::string_view YearEndPaperText(int docKind);

// The preview's pens in pixels: the forms' thick rules must stay apart from
// their thin ones on the screen too.
inline constexpr int kPreviewThinPenWidth = 1;
inline constexpr int kPreviewThickPenWidth = 2;

// Sheets of a job: one employee a sheet, two refund notices a sheet.
int YearEndPageCount(int docKind, int targets);
// The information panel: " 2枚 [3名]".
std::string YearEndPrnInfoText(int pages, int targets);

// The sheets of a job as DrawYearEndPage takes them, in list order (at most 80
// employees): (slot, 0), or the slot pairs of the refund notices.
std::vector<reports::SlipSheet> YearEndSheets(int docKind, const std::vector<int>& slots);

// The page drawers of the documents. An unset drawer leaves its copy blank, so
// the sheet still gets its cut lines.
struct YearEndPageDrawers {
    // New layout: copy type 1 recipient's, 2 tax office's, 3 municipality's.
    std::function<void(reports::PrnCanvas&, int slot, int copyType)> withholdingSlip;
    // Old layout: copies 1..4.
    std::function<void(reports::PrnCanvas&, int slot, int copy)> withholdingSlipOld;
    // newLayout: which record table holds the notice's figures.
    std::function<void(reports::PrnCanvas&, int slot, bool newLayout)> refundNotice;
};

struct YearEndPageJob {
    int docKind = kDocWithholdingSlip;
    bool newLayout = true;  // the open year keeps the 1500-byte records
    bool printLine = true;  // [Option] PrintLine: the dashed cut lines
    YearEndPageDrawers drawers;
};

// One sheet. Kinds 1 and 5: first is the employee's slot, second 0. Kind 2:
// the slots of the upper and the lower notice (0 = none). Every copy sets its
// own place on the sheet, so a sheet never inherits the last one's offsets.
void DrawYearEndPage(reports::PrnCanvas& canvas, const YearEndPageJob& job, int first, int second);

// The settings section of a kind's printer: "PrintInfo1", "PrintInfo2", "PrintInfo5".
std::string YearEndPrintInfoSection(int docKind);

// Restores the printer last used for the kind; false when none is remembered
// or it is no longer installed (the caller then sets the kind's paper).
bool LoadYearEndPrintInfo(const platform::IniFile& ini, platform::PrinterPort& printer,
                          int docKind);
// Stores the current printer for the kind and the print-position correction
// (shared with the payroll program, tenths of a millimetre, halves to even),
// in one write. Throws platform::IoError when the file cannot be written.
void SaveYearEndPrintInfo(platform::IniFile& ini, const platform::PrinterPort& printer, int docKind,
                          double prAdjustH, double prAdjustV);

// The event-log code a finished job of the kind writes; 0 for none.
int YearEndLogCode(int docKind);

}  // namespace withholding
