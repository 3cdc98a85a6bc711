#include "reports/DrawPage.h"

#include "reports/AnnualLedger.h"
#include "reports/Denomination.h"
#include "reports/PaySlipGB1172.h"
#include "reports/Roster.h"
#include "reports/TransferList.h"

namespace reports {

namespace {

void drawSlip(PrnCanvas& c, const ledger::Ledger& ledger, const PageJob& job, int slot) {
    if (slot < 1 || slot > ledger::kSlots) return;
    if (IsGB1172FormType(job.slip.FormType))
        DrawSlipGB1172(c, ledger, job.slip, slot);
    else
        DrawSlipGB1150(c, ledger, job.slip, slot);
}

}  // namespace

void DrawPage(PrnCanvas& c, const ledger::Ledger& ledger, const PageJob& job, int first,
              int second) {
    const PrintDate date =
        job.docKind == kDocPaySlips ? job.slipDate : TodayPrintDate(ledger.clock);
    c.PrintEra = date.era;
    c.PrintMonth = date.month;
    c.PrintDay = date.day;
    c.PageOffsetX = 0;
    c.PageOffsetY = 0;

    switch (job.docKind) {
        case kDocRoster:
            DrawRosterPage(c, ledger, first);
            break;
        case kDocPaySlips: {
            const int formType = job.slip.FormType;
            SlipOffset o = SlipPageOffset(formType, false, job.smallPreview);
            c.PageOffsetX = o.x;
            c.PageOffsetY = o.y;
            drawSlip(c, ledger, job, first);
            if (second != 0) {
                o = SlipPageOffset(formType, true, job.smallPreview);
                c.PageOffsetX = o.x;
                c.PageOffsetY = o.y;
                drawSlip(c, ledger, job, second);
            }
            break;
        }
        case kDocPersonalLedger:
            if (first < 1 || first > ledger::kSlots) break;
            DrawLedgerPage(c, ledger, first, job.rows,
                           job.slip.Reader ? *job.slip.Reader : ledger::fileBlockReader());
            break;
        case kDocMonthlyList:
            DrawMonthlyListPage(c, ledger, MonthlyListJob{job.docTarget, job.rows, job.plan},
                                first);
            break;
        case kDocTransferList:
            DrawTransferPage(c, ledger, first);
            break;
        case kDocDenominations:
            DrawDenominationPage(c, ledger, first, job.allPrint);
            break;
        default:
            break;
    }
}

void DrawSlipFormSheet(PrnCanvas& c, const ledger::Ledger& ledger, int formType, int upper,
                       int lower, bool smallPreview) {
    const double adjustH = c.PrAdjustH, adjustV = c.PrAdjustV;
    c.PrAdjustH = 0;
    c.PrAdjustV = 0;
    for (const bool lowerSlip : {false, true}) {
        const int slot = lowerSlip ? lower : upper;
        const SlipOffset o = SlipPageOffset(formType, lowerSlip, smallPreview);
        c.PageOffsetX = o.x;
        c.PageOffsetY = o.y;
        if (IsGB1172FormType(formType)) {
            DrawSlipFrameGB1172(c);
        } else {
            // An empty slip shows the form as a transfer payee's.
            const bool cash =
                slot >= 1 && slot <= ledger::kSlots && ledger.Employee(slot).PayMethod == 1;
            DrawSlipFrameGB1150(c, cash);
        }
    }
    c.PrAdjustH = adjustH;
    c.PrAdjustV = adjustV;
}

}  // namespace reports
