#include "withholding/SlipCanvas.h"

#include <gtest/gtest.h>

#include "SlipFixture.h"
#include "withholding/WithholdingSlipOld.h"

namespace withholding {
namespace {

struct Prims : ::testing::Test, slipfixture::SlipFixture {
    SlipCanvas p{canvas};
    std::vector<reports::RecordedOp> lines() const { return rec.ofKind(reports::RecordedOp::Line); }
};

TEST_F(Prims, DashedLineAlternatesFourTenthsAndClampsTheLastDash) {
    p.ThinPen();
    p.DrawDashedLine(10, 10, 11, 10);
    auto ls = lines();
    ASSERT_EQ(ls.size(), 2u);
    EXPECT_EQ(ls[0].x1, 1000);
    EXPECT_EQ(ls[0].x2, 1040);
    EXPECT_EQ(ls[1].x1, 1080);
    EXPECT_EQ(ls[1].x2, 1100);
    EXPECT_EQ(ls[0].pen, 3);

    rec.clear();
    p.DrawDashedLine(5, 5, 5, 5);
    EXPECT_TRUE(rec.ops().empty());

    // A falling diagonal walks from its left end upwards; reversed ends draw the same.
    p.DrawDashedLine(0, 10, 10, 0);
    auto a = lines();
    rec.clear();
    p.DrawDashedLine(10, 0, 0, 10);
    auto b = lines();
    ASSERT_FALSE(a.empty());
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(a[0].x1, 0);
    EXPECT_EQ(a[0].y1, 1000);
    EXPECT_LT(a[0].y2, 1000);
    EXPECT_EQ(a.back().x2, b.back().x2);
}

TEST_F(Prims, ThickVerticalRulesEndShort) {
    p.ThickPen();
    p.DrawLine(30, 10, 30, 20);
    p.DrawLine(10, 10, 20, 10);
    p.ThinPen();
    p.DrawLine(40, 10, 40, 20);
    EXPECT_EQ(line(30, 10, 30, 19.8f), 8);
    EXPECT_EQ(line(10, 10, 20, 10), 8);
    EXPECT_EQ(line(40, 10, 40, 20), 3);
}

TEST_F(Prims, NarrowWidthsSetPitchAndFontWidth) {
    p.SetFontPoints(5);
    p.Narrow = 2;
    p.DrawText("(フリガナ)", 96, 0);
    auto chars = rec.ofKind(reports::RecordedOp::Char);
    const float expected[] = {96, 96.595f, 97.786f, 98.976f, 100.167f, 101.357f};
    ASSERT_EQ(chars.size(), 6u);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(chars[i].x1 / 100.0, expected[i], 0.011) << i;
    const int h = int(std::lround(5 / 2.8 * 100));
    EXPECT_EQ(chars[0].font.width, std::lround(h / 9.0 * 3));

    rec.clear();
    p.Narrow = 1;
    p.DrawText("ab", 0, 0);
    chars = rec.ofKind(reports::RecordedOp::Char);
    EXPECT_NEAR(chars[1].x1 / 100.0, 5 / 2.8 / 7 * 3, 0.011);
    EXPECT_FALSE(canvas.FontInfo.Narrow);  // the engine's flag is not left set
}

TEST_F(Prims, CircleArrowsAndVerticalText) {
    p.SetFontPoints(12);
    p.ThickPen();
    p.DrawCircledText("29", 16, 22);
    EXPECT_EQ(at(16, 22), "29");
    EXPECT_EQ(canvas.PenWidth, 3);
    int minX = 1 << 30, maxX = 0, minY = 1 << 30, maxY = 0;
    for (const auto& l : lines()) {
        minX = std::min({minX, l.x1, l.x2}), maxX = std::max({maxX, l.x1, l.x2});
        minY = std::min({minY, l.y1, l.y2}), maxY = std::max({maxY, l.y1, l.y2});
    }
    EXPECT_NEAR(minX, 1530, 2);
    EXPECT_NEAR(maxX, 2080, 2);
    EXPECT_NEAR(minY, 2150, 2);
    EXPECT_NEAR(maxY, 2700, 2);

    rec.clear();
    const float height = canvas.FontInfo.Height;
    p.DrawArrowLine(3, 69, 10, 16);
    EXPECT_EQ(at(68.3f, 9.8f), "▽");
    EXPECT_EQ(at(68.3f, 14.6f), "△");
    EXPECT_EQ(canvas.FontInfo.Height, height);
    rec.clear();
    p.DrawArrowLine(1, 69, 10, 16);
    EXPECT_EQ(rec.ops().size(), 1u);

    // Downwards from y, cells left of x; brackets are turned.
    rec.clear();
    p.SetFontPoints(5);
    p.DrawVerticalText("(税務)", 33.5f, 81);
    auto chars = rec.ofKind(reports::RecordedOp::Char);
    ASSERT_EQ(chars.size(), 2u);
    const int h = int(std::lround(5 / 2.8 * 100));
    EXPECT_EQ(chars[0].text, "税");
    EXPECT_NEAR(chars[0].x1, 3350 - h, 1);
    EXPECT_NEAR(chars[0].y1, 8100 + h, 1);
    EXPECT_NEAR(chars[1].y1, 8100 + 2 * h, 1);
    // The brackets are arcs inside their own cells, above and below the text.
    auto arcs = lines();
    ASSERT_FALSE(arcs.empty());
    for (const auto& a : arcs) {
        EXPECT_GE(std::min(a.x1, a.x2), 3350 - h);
        EXPECT_LE(std::max(a.x1, a.x2), 3350);
        const bool first = a.y1 < 8100 + h;
        EXPECT_TRUE(first ? a.y1 >= 8100 : a.y1 >= 8100 + 3 * h);
    }
}

// Which drawer a year's slips take follows the layout of its withholding file.
TEST_F(Prims, LayoutOfTheYearChoosesTheSlip) {
    const struct {
        const char* era;
        int year;
        bool newLayout;
        const char* heading;
    } years[] = {{"平成", 27, false, "平成27年分"},
                 {"平成", 28, true, "平成 28 年分"},
                 {"令和", 2, true, "令和 2 年分"}};
    for (const auto& y : years) {
        l.CurData.Era = y.era;
        l.CurData.Year = y.year;
        const bool isNew = IsNewLayoutYear(WithholdingFileName("/d", y.era, y.year));
        EXPECT_EQ(isNew, y.newLayout) << y.year;
        rec.clear();
        if (isNew)
            DrawWithholdingSlip(canvas, src(true), kSlot, kCopyTaxOffice);
        else
            DrawWithholdingSlipOld(canvas, src(false), kSlot, 1);
        EXPECT_TRUE(printed(y.heading)) << y.year;
    }
}

}  // namespace
}  // namespace withholding
