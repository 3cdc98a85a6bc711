#pragma once
#include "ledger/Ledger.h"
#include "reports/LedgerRows.h"
#include "reports/MonthlyList.h"
#include "reports/PaySlip.h"
#include "reports/PrintJob.h"
#include "reports/PrnCanvas.h"

// The page dispatcher of every payroll document: sets the page's date and the
// slip's place on the sheet, then hands the page to the document's drawer. The
// print job, the preview and the slip images all draw through it.
namespace reports {

// Everything a page needs beyond the open period, fixed when the job starts.
struct PageJob {
    int docKind = 0;    // Tag div 100
    int docTarget = 0;  // Tag mod 100 (the monthly list's period)
    // Pay slips: form type, comment, memo switch. Its reader of the year file
    // (nullptr: the real file) also serves the annual ledger.
    SlipOptions slip;
    PrintDate slipDate;  // pay slips: the payment date typed in the dialog
    // Monthly list: its sheets (normal or grouped), built when the dialog counted.
    MonthlyPagePlan plan;
    LedgerRowFlags rows;    // ledger and monthly list: the rows added and removed
    bool allPrint = false;  // denomination table: every active employee, not only cash
    // The preview at its normal size draws the lower slip 1 mm lower still.
    bool smallPreview = false;
};

// One sheet. Kinds 1, 5, 6, 7: first is the page number (1-based), second 0.
// Kind 4: first is the employee's slot. Kind 2: the slots of the upper and the
// lower slip (0 = none). Drawer failures (a year file that cannot be read) reach
// the caller as exceptions.
void DrawPage(PrnCanvas& c, const ledger::Ledger& ledger, const PageJob& job, int first,
              int second);

// The pre-printed forms of one sheet (form types 0 and 4, two slips a sheet),
// which the preview shows under the values of the slips of `upper` and `lower`
// (0 = none). The forms belong to the paper: the print-position correction, which
// moves only what the printer prints, leaves them in place, and the lower form is
// there also when no slip goes into it. The canvas's correction is kept.
void DrawSlipFormSheet(PrnCanvas& c, const ledger::Ledger& ledger, int formType, int upper,
                       int lower, bool smallPreview);

}  // namespace reports
