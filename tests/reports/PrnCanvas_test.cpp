#include <gtest/gtest.h>

#include "reports/PrnCanvas.h"
#include "reports/RecordingSurface.h"

namespace reports {
namespace {

struct Engine {
    RecordingSurface rec;
    PrnCanvas c;
    explicit Engine(int dpi, int offX = 0, int offY = 0) {
        c.prepare(PrnCanvas::printerMetrics(dpi, dpi, offX, offY), &rec);
        c.thinPen();
    }
    std::vector<RecordedOp> chars() const { return rec.ofKind(RecordedOp::Char); }
};

TEST(PrnCanvasMetrics, PensFollowResolutionRoundingHalvesToEven) {
    struct Case {
        int dpi, thin, thick;
    } cases[] = {{300, 2, 4}, {360, 2, 5}, {600, 3, 8}, {1200, 7, 17}, {254, 1, 4}};
    for (auto k : cases) {
        auto m = PrnCanvas::printerMetrics(k.dpi, k.dpi, 0, 0);
        EXPECT_EQ(m.ThinPenWidth, k.thin) << k.dpi;
        EXPECT_EQ(m.ThickPenWidth, k.thick) << k.dpi;
    }
    auto p = PrnCanvas::previewMetrics(600, 600, 0, 0, 96, 126);
    EXPECT_EQ(p.ThinPenWidth, 1);
    EXPECT_EQ(p.ThickPenWidth, 1);
    EXPECT_FLOAT_EQ(p.DotsPerMmY, 121 / 25.4f);  // MulDiv(96, 126, 100) = 121 (120.96)
}

TEST(PrnCanvasMetrics, PhysicalOffsetsAreWholeMillimetres) {
    auto m = PrnCanvas::printerMetrics(600, 600, 104, 118);  // 4.40 mm and 4.99 mm
    EXPECT_EQ(m.PhysOffsetX, 4);
    EXPECT_EQ(m.PhysOffsetY, 5);
    EXPECT_FLOAT_EQ(m.DotsPerMmX, 23.622047f);
}

TEST(PrnCanvasMapping, CorrectionPageOffsetAndMarginShiftEveryPoint) {
    Engine e(600);
    e.c.metrics.PhysOffsetX = 4;
    e.c.metrics.PhysOffsetY = 5;
    e.c.PageOffsetY = -0.5f;
    e.c.DrawLine(10, 20, 10, 168);
    EXPECT_TRUE(e.rec.hasLine(142, 343, 142, 3839)) << e.rec.dump();

    e.c.PrAdjustH = 1.5;
    EXPECT_EQ(e.c.deviceX(10), 177);
    e.c.PageOffsetY = 148.0f;  // the second slip of a sheet
    EXPECT_EQ(e.c.deviceY(20), 3850);
}

TEST(PrnCanvasMapping, HalvesRoundToEven) {
    Engine e(254);  // exactly 10 dots per millimetre
    e.c.DrawLine(0.25f, 0.75f, 10, 10);
    EXPECT_TRUE(e.rec.hasLine(2, 8, 100, 100)) << e.rec.dump();
}

TEST(PrnCanvasMapping, CoordinatesBeyondTheDeviceRangeAreRefused) {
    Engine e(600);
    EXPECT_THROW(e.c.DrawLine(0, 0, 1e9f, 0), ReportError);
    EXPECT_THROW(e.c.deviceY(-1e9f), ReportError);
    PrnCanvas unprepared;
    EXPECT_THROW(unprepared.DrawBox(0, 0, 1, 1), ReportError);
}

TEST(PrnCanvasShapes, BoxIsHollowWithCurrentPenAndShadeIsFilledLightBlue) {
    Engine e(254);
    e.c.thickPen();
    e.c.DrawBox(10, 29, 288, 188.5f);
    e.c.ShadeBox(10, 29, 288, 188.5f);
    EXPECT_EQ(e.rec.dump(), "R 100,290 2880,1885 w4\nF 100,290 2880,1885 #BBDDFF\n");
}

TEST(PrnCanvasText, MixedWidthTextUsesTheFixedPitchAndUnderlineEndsAfterTheRun) {
    Engine e(600);
    e.c.resetFont("ＭＳ 明朝");
    e.c.SetFontPoints(10);
    EXPECT_NEAR(e.c.FontInfo.Height, 3.5714286f, 1e-6);
    e.c.FontInfo.Underline = true;
    e.c.thickPen();
    e.c.DrawText("全A", 20, 30);

    auto chars = e.chars();
    ASSERT_EQ(chars.size(), 2u);
    EXPECT_EQ(chars[0].text, "全");
    EXPECT_EQ(chars[0].x1, 472);
    EXPECT_EQ(chars[0].y1, 709);
    EXPECT_EQ(chars[1].text, "A");
    EXPECT_EQ(chars[1].x1, 557);  // 20 + 3.571 mm
    EXPECT_EQ(chars[0].font.height, 84);
    EXPECT_EQ(chars[0].font.width, 0);
    EXPECT_EQ(chars[0].font.name, "ＭＳ 明朝");

    auto lines = e.rec.ofKind(RecordedOp::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].x1, 472);
    EXPECT_EQ(lines[0].x2, 599);  // 20 + 5.357 mm
    EXPECT_EQ(lines[0].y1, 793);  // 30 + 3.571 mm
    EXPECT_EQ(lines[0].pen, 4);   // from the thin pen 3, whatever pen is current
    // The canvas pen is untouched by the underline.
    EXPECT_EQ(e.c.PenWidth, 8);
    e.c.DrawLine(0, 0, 1, 0);
    EXPECT_EQ(e.rec.ofKind(RecordedOp::Line).back().pen, 8);
    EXPECT_EQ(e.rec.textAt(472, 709), "全A");
}

TEST(PrnCanvasText, NarrowTextIsThreeSeventhsOfTheHeight) {
    struct Case {
        int points, cell, width;
    } cases[] = {{10, 84, 36}, {9, 76, 33}};
    for (auto k : cases) {
        Engine e(600);
        e.c.SetFontPoints(k.points);
        e.c.FontInfo.Narrow = true;
        e.c.DrawText("全AB", 20, 30);
        auto chars = e.chars();
        ASSERT_EQ(chars.size(), 3u);
        EXPECT_EQ(chars[0].font.height, k.cell) << k.points;
        EXPECT_EQ(chars[0].font.width, k.width) << k.points;
        if (k.points == 10) {
            EXPECT_EQ(chars[1].x1, e.c.deviceX(20 + 3.0612245f));
            EXPECT_EQ(chars[2].x1, e.c.deviceX(20 + 3.0612245f + 1.5306122f));
        }
    }
}

TEST(PrnCanvasText, CellsComeFromTheShiftJisByteClass) {
    Engine e(254);
    e.c.SetFontPoints(28);  // 10 mm cells, 5 mm per byte
    // Half-width katakana is one byte; kanji, full-width digits and "～" two.
    e.c.DrawText("ｱ漢１～x", 0, 0);
    auto chars = e.chars();
    ASSERT_EQ(chars.size(), 5u);
    int expected[] = {0, 50, 150, 250, 350};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(chars[i].x1, expected[i]) << chars[i].text;
}

TEST(PrnCanvasText, CharactersWithoutShiftJisFormStillTakeACell) {
    Engine e(254);
    e.c.SetFontPoints(28);
    e.c.DrawText("A😀B", 0, 0);
    auto chars = e.chars();
    ASSERT_EQ(chars.size(), 3u);
    EXPECT_EQ(chars[2].x1, 150);
}

TEST(PrnCanvasText, ShiftJisBytesWithALoneTrailingLeadByte) {
    Engine e(254);
    e.c.SetFontPoints(28);
    e.c.FontInfo.Underline = true;
    // "漢" (8A BF), "A", then a lead byte with nothing after it.
    e.c.DrawSjis(std::string("\x8A\xBF"
                             "A\x8A",
                             4),
                 0, 0);
    auto chars = e.chars();
    ASSERT_EQ(chars.size(), 2u);
    EXPECT_EQ(chars[0].text, "漢");
    EXPECT_EQ(chars[1].text, "A");
    EXPECT_EQ(chars[1].x1, 100);
    EXPECT_EQ(e.rec.ofKind(RecordedOp::Line)[0].x2, 200);  // the stray byte takes one cell
}

TEST(PrnCanvasText, ResetFontKeepsTheHeightAndClearsTheFlags) {
    PrnCanvas c;
    c.SetFontPoints(12);
    c.FontInfo.Bold = c.FontInfo.Narrow = c.FontInfo.Underline = c.FontInfo.Italic = true;
    c.resetFont("ＭＳ ゴシック");
    EXPECT_EQ(c.FontInfo.Name, "ＭＳ ゴシック");
    EXPECT_FALSE(c.FontInfo.Bold || c.FontInfo.Narrow || c.FontInfo.Underline || c.FontInfo.Italic);
    EXPECT_FLOAT_EQ(c.FontInfo.Height, 12 / 2.8f);
}

TEST(RecordingSurface, FindsRunsByPositionTextAndRow) {
    Engine e(254);
    e.c.SetFontPoints(28);
    e.c.DrawText("支給", 10, 20);
    e.c.DrawText("1,000", 50, 20);
    e.c.DrawText("控除", 10, 40);
    EXPECT_EQ(e.rec.allTexts(), (std::vector<std::string>{"支給", "1,000", "控除"}));
    EXPECT_EQ(e.rec.textAt(500, 200), "1,000");
    EXPECT_EQ(e.rec.textAt(501, 200), "");
    EXPECT_EQ(e.rec.textAt(501, 200, 1), "1,000");
    ASSERT_TRUE(e.rec.findText("控除"));
    EXPECT_EQ(e.rec.findText("控除")->y, 400);
    EXPECT_FALSE(e.rec.findText("控"));
    EXPECT_TRUE(e.rec.findContaining("控"));
    auto row = e.rec.textsOnRow(200);
    ASSERT_EQ(row.size(), 2u);
    EXPECT_EQ(row[1].text, "1,000");
}

}  // namespace
}  // namespace reports
