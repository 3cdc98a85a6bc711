#pragma once
#include <cmath>
#include <cstring>
#include <string>

#include "ledger/Ledger.h"
#include "reports/PrnCanvas.h"
#include "reports/RecordingSurface.h"
#include "withholding/WithholdingFile.h"
#include "withholding/WithholdingSlip.h"

// One employee's year-end figures and a canvas recording at 100 dots/mm with
// no offsets, so a device point is a millimetre position times 100.
namespace withholding::slipfixture {

struct SlipFixture {
    SlipFixture() {
        data.clear();
        std::memset(static_cast<void*>(l.block.get()), 0, sizeof(ledger::TPeriodBlock));
        l.CurData.Era = "平成";
        l.CurData.Year = 28;
        l.Employee(kSlot).Name.set("鈴木一郎");
        l.BasicInfo().CorpName.set("東海商事株式会社");
        data.Header.Address1.set("静岡市葵区1-2-3");
        data.Header.Telephone.set("054-111-2222");
        reports::TargetMetrics m;
        m.DotsPerMmX = m.DotsPerMmY = 100;
        m.ThinPenWidth = 3;
        m.ThickPenWidth = 8;
        canvas.prepare(m, &rec);
    }
    static constexpr int kSlot = 5;
    TWithholdingRec& r() { return data.Record(kSlot); }
    TWithholdingRecOld& old() { return data.OldRecord(kSlot); }
    SlipSources src(bool newLayout = true) { return SlipSources{l, data, "給与･賞与", newLayout}; }

    // The text of the run starting at a millimetre point (±0.01 mm).
    // Empty runs (a blank field) are skipped.
    std::string at(float x, float y) const {
        for (const auto& t : rec.texts())
            if (!t.text.empty() && near(t.x, x) && near(t.y, y)) return t.text;
        return {};
    }
    // Every non-empty text run, for "nothing printed" checks.
    bool printed(std::string_view text) const { return rec.findText(text).has_value(); }
    // A line between the two points (either direction), with its pen.
    int line(float x1, float y1, float x2, float y2) const {
        for (const auto& op : rec.ops()) {
            if (op.kind != reports::RecordedOp::Line) continue;
            if ((near(op.x1, x1) && near(op.y1, y1) && near(op.x2, x2) && near(op.y2, y2)) ||
                (near(op.x1, x2) && near(op.y1, y2) && near(op.x2, x1) && near(op.y2, y1)))
                return op.pen;
        }
        return -1;
    }
    // A rectangle outline with these corners, with its pen.
    int box(float x1, float y1, float x2, float y2) const {
        for (const auto& op : rec.ops())
            if (op.kind == reports::RecordedOp::Rect && near(op.x1, x1) && near(op.y1, y1) &&
                near(op.x2, x2) && near(op.y2, y2))
                return op.pen;
        return -1;
    }
    static bool near(int dots, float mm) { return std::abs(dots - mm * 100) <= 1.5f; }

    ledger::FixedClock clock{ledger::DateTime{2017, 1, 20}};
    ledger::Ledger l{clock};
    WithholdingData data;
    reports::RecordingSurface rec;
    reports::PrnCanvas canvas;
};

}  // namespace withholding::slipfixture
