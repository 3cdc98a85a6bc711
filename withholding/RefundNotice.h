#pragma once
#include "reports/PrnCanvas.h"
#include "withholding/WithholdingSlip.h"

// The refund notice (還付金通知書) of one employee, in the notice's own frame at
// the canvas's current page offsets; the print dialog's page dispatcher puts two
// on a B5 portrait sheet, at page offset y 0 and 130, and draws the cut line.
// It passes the same SlipSources as for the slips; SlipSources::NewLayout says
// which record table holds the figures. The one figure worked out here is the
// difference 過不足税額 = AnnualTax - TaxWithheld, both as stored.
namespace withholding {

// Slot 1..80; anything else draws nothing.
void DrawRefundNotice(reports::PrnCanvas& canvas, const SlipSources& src, int slot);

}  // namespace withholding
