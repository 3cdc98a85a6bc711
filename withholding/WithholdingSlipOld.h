#pragma once
#include "reports/PrnCanvas.h"
#include "withholding/WithholdingSlip.h"

// The withholding slip of the old record layout (data years up to 平成27): one
// 120 x 79 mm copy of one employee in the copy's own frame at the canvas's
// current page offsets. The print dialog's page dispatcher draws four copies per
// A4 landscape sheet: copy 1 (tax office's slip) at page offsets (-18, 0), copy 2
// (recipient's slip) at (-18, 105), copies 3 and 4 (the municipality's payment
// report) at (130.5, 0) and (130.5, 105), and the cut lines. It passes the same
// SlipSources as for the new layout; the old records (WithholdingData::
// OldRecords) are read as stored.
namespace withholding {

// Slot 1..80 and copy 1..4; anything else draws nothing.
void DrawWithholdingSlipOld(reports::PrnCanvas& canvas, const SlipSources& src, int slot, int copy);

}  // namespace withholding
