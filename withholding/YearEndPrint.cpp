#include "withholding/YearEndPrint.h"

#include <algorithm>

#include "ledger/SysLog.h"
#include "platform/IniFile.h"
#include "reports/PrintInfo.h"
#include "reports/PrnCanvas.h"
#include "withholding/SlipCanvas.h"

namespace withholding {

namespace {

constexpr std::size_t kMaxTargets = 80;

void at(reports::PrnCanvas& c, float x, float y) {
    c.PageOffsetX = x;
    c.PageOffsetY = y;
}

void cutLine(reports::PrnCanvas& c, double x1, double y1, double x2, double y2) {
    at(c, 0, 0);
    SlipCanvas slip(c);
    slip.ThinPen();
    slip.DrawDashedLine(x1, y1, x2, y2);
}

}  // namespace

bool IsYearEndDocKind(int docKind) {
    return docKind == kDocWithholdingSlip || docKind == kDocRefundNotice ||
           docKind == kDocPaymentReport;
}

reports::PaperChoice YearEndPaper(int docKind) {
    if (docKind == kDocRefundNotice) return {13, 1};
    return {9, 2};
}

std::string_view YearEndPaperText(int docKind) {
    if (docKind == kDocRefundNotice) return " Ｂ５用紙・縦  [182mm×257mm]";
    return " Ａ４用紙・横  [297mm×210mm]";
}

int YearEndPageCount(int docKind, int targets) {
    if (targets <= 0) return 0;
    if (docKind == kDocRefundNotice) return (targets - 1) / 2 + 1;
    return targets;
}

std::string YearEndPrnInfoText(int pages, int targets) {
    return " " + std::to_string(pages) + "枚 [" + std::to_string(targets) + "名]";
}

std::vector<reports::SlipSheet> YearEndSheets(int docKind, const std::vector<int>& slots) {
    const std::size_t n = std::min(slots.size(), kMaxTargets);
    std::vector<reports::SlipSheet> sheets;
    if (docKind == kDocRefundNotice) {
        for (std::size_t i = 0; i < n; i += 2)
            sheets.push_back({slots[i], i + 1 < n ? slots[i + 1] : 0});
    } else {
        for (std::size_t i = 0; i < n; ++i) sheets.push_back({slots[i], 0});
    }
    return sheets;
}

void DrawYearEndPage(reports::PrnCanvas& c, const YearEndPageJob& job, int first, int second) {
    const YearEndPageDrawers& d = job.drawers;
    auto slip = [&](float x, float y, int copy) {
        at(c, x, y);
        if (d.withholdingSlip) d.withholdingSlip(c, first, copy);
    };
    auto slipOld = [&](float x, float y, int copy) {
        at(c, x, y);
        if (d.withholdingSlipOld) d.withholdingSlipOld(c, first, copy);
    };
    switch (job.docKind) {
        case kDocWithholdingSlip:
            if (job.newLayout) {
                slip(-5, 0, 1);
                slip(138, 0, 2);
            } else {
                slipOld(-18, 0, 1);
                slipOld(-18, 105, 2);
                slipOld(130.5f, 0, 3);
                slipOld(130.5f, 105, 4);
            }
            break;
        case kDocPaymentReport:
            slip(-5, 0, 3);
            slip(138, 0, 3);
            break;
        case kDocRefundNotice:
            at(c, 0, 0);
            if (d.refundNotice && first != 0) d.refundNotice(c, first, job.newLayout);
            if (second != 0) {
                at(c, 0, 130);
                if (d.refundNotice) d.refundNotice(c, second, job.newLayout);
            }
            // Also on a sheet whose lower half is empty.
            if (job.printLine) cutLine(c, 10, 128.5, 172, 128.5);
            return;
        default:
            return;
    }
    if (!job.printLine) return;
    cutLine(c, 148.5, 10, 148.5, 200);
    if (job.docKind == kDocWithholdingSlip && !job.newLayout) cutLine(c, 10, 105, 287, 105);
}

std::string YearEndPrintInfoSection(int docKind) {
    return std::string(reports::kPrintInfoSection) + std::to_string(docKind);
}

bool LoadYearEndPrintInfo(const platform::IniFile& ini, platform::PrinterPort& printer,
                          int docKind) {
    return reports::LoadPrintInfo(ini, printer, YearEndPrintInfoSection(docKind));
}

void SaveYearEndPrintInfo(platform::IniFile& ini, const platform::PrinterPort& printer, int docKind,
                          double prAdjustH, double prAdjustV) {
    reports::PrintOptions options;
    options.PrAdjustH = prAdjustH;
    options.PrAdjustV = prAdjustV;
    reports::SavePrintInfo(ini, printer, options, YearEndPrintInfoSection(docKind),
                           /*withFormType=*/false);
}

int YearEndLogCode(int docKind) {
    if (docKind == kDocWithholdingSlip) return ledger::kLogWithholdingPrinted;
    if (docKind == kDocPaymentReport) return ledger::kLogPaymentReportPrinted;
    return 0;
}

}  // namespace withholding
