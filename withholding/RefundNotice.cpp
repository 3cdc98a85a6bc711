#include "withholding/RefundNotice.h"

#include <string>

#include "ledger/Ledger.h"
#include "ledger/NumberText.h"
#include "withholding/SlipCanvas.h"
#include "withholding/WithholdingFile.h"

namespace withholding {

void DrawRefundNotice(reports::PrnCanvas& canvas, const SlipSources& src, int slot) {
    if (slot < 1 || slot > kRecords) return;
    std::int64_t paid, withheld, annual;
    if (src.NewLayout) {
        const TWithholdingRec& r = src.data.Record(slot);
        paid = r.PaidAmount, withheld = r.TaxWithheld, annual = r.AnnualTax;
    } else {
        const TWithholdingRecOld& r = src.data.OldRecord(slot);
        paid = r.PaidAmount, withheld = r.TaxWithheld, annual = r.AnnualTax;
    }
    const auto& cur = src.ledger.CurData;
    SlipCanvas p(canvas);
    p.Face("ＭＳ 明朝");
    p.SetFontPoints(20);
    p.DrawText("還付金通知書", 50, 20);
    p.SetFontPoints(16);
    p.DrawText("(" + cur.Era + std::to_string(cur.Year) + "年分)", 95, 21);

    p.Face("ＭＳ ゴシック");
    p.SetFontPoints(10);
    p.DrawText("会社名", 40, 34);
    p.DrawText("氏  名", 40, 42);
    p.DrawText("殿", 100, 42);
    p.Face("ＭＳ 明朝");
    p.DrawText(src.ledger.BasicInfo().CorpName.str(), 55, 34);
    p.DrawText(src.ledger.Employee(slot).Name.str(), 55, 42);

    p.ThinPen();
    p.DrawBox(30, 55, 150, 69);
    p.DrawLine(30, 62, 150, 62);
    for (float x : {60.0f, 90.0f, 120.0f}) p.DrawLine(x, 55, x, 69);

    p.DrawText("総 支 給 額", 35, 57);
    p.DrawText("徴 収 税 額", 65, 57);
    p.DrawText("確 定 税 額", 95, 57);
    p.DrawText("過不足税額", 127, 57);
    // Wide sums: the difference of two stored 32-bit figures may not fit in one.
    p.DrawText(ledger::FmtAmount(11, double(paid)), 38, 64);
    p.DrawText(ledger::FmtAmount(11, double(withheld)), 68, 64);
    p.DrawText(ledger::FmtAmount(11, double(annual)), 98, 64);
    p.DrawText(ledger::FmtAmount(11, double(annual - withheld)), 128, 64);
}

}  // namespace withholding
