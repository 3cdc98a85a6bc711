#pragma once
#include <cstdint>
#include <string>

#include "reports/PrnCanvas.h"
#include "withholding/WithholdingRecords.h"

namespace ledger {
struct Ledger;
}

// The withholding slip (給与所得の源泉徴収票) and the salary payment report
// (給与支払報告書) of the new record layout: one copy of one employee, drawn in
// the copy's own millimetre frame at the canvas's current page offsets. The
// print dialog's page dispatcher draws two copies per A4 landscape sheet: the
// slip as copy type 1 at page offset x -5 and type 2 at 138, the report as type
// 3 at both places; it also draws the cut line.
//
// What the print dialog passes (SlipSources): the pay data's period 12 in the
// ledger (the employee's Name and MyNumber, TBasicInfo.CorpName and CorpNumber,
// CurData.Era and Year), the withholding file (its header's company address and
// telephone, the records as stored), the setting Syubetu, and the canvas
// prepared for the target (metrics, surface, PrAdjust). Figures are printed as
// they are stored; nothing is computed here.
namespace withholding {

struct WithholdingData;

struct SlipSources {
    const ledger::Ledger& ledger;
    const WithholdingData& data;
    std::string Syubetu;  // the 種別 text, e.g. "給与･賞与"
    // The refund notice reads the old record when this is false.
    bool NewLayout = true;
};

// Copy types.
inline constexpr int kCopyRecipient = 1;     // 受給者交付用
inline constexpr int kCopyTaxOffice = 2;     // 税務署提出用
inline constexpr int kCopyMunicipality = 3;  // 市区町村提出用 (the payment report)

// One copy for slot 1..80; slot 0 (or out of range) draws nothing.
void DrawWithholdingSlip(reports::PrnCanvas& canvas, const SlipSources& src, int slot,
                         int copyType);

// Trimmed of bytes up to a blank at both ends, as the empty-name tests of the
// forms read a stored text (a full-width blank is text).
bool BlankText(std::string_view cp932);

}  // namespace withholding
