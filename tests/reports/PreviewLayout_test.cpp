#include "reports/PreviewLayout.h"

#include <gtest/gtest.h>

namespace reports {
namespace {

// A4 landscape at 600 dpi with a 104 x 118 dot unprintable corner.
PrinterGeometry a4Landscape() {
    return {7016, 4961, 104, 118, 6808, 4725, 600, 600};
}

TEST(PreviewLayout, WideScreenFitsTheHeightAndCentresThePaper) {
    auto l = LayoutPreview(1920, 1080, 1600, 1000, a4Landscape(), 96, 1);
    EXPECT_EQ(l.panelW, 1414);
    EXPECT_EQ(l.panelH, 1000);
    EXPECT_EQ(l.panelLeft, 93);
    EXPECT_EQ(l.zoom, 126);
    EXPECT_DOUBLE_EQ(l.scale, 0.2016);
    EXPECT_EQ(l.boxX, 21);
    EXPECT_EQ(l.boxY, 24);
    EXPECT_EQ(l.boxW, 1372);
    EXPECT_EQ(PreviewPixelsPerInch(96, l.zoom), 121);

    auto big = LayoutPreview(1920, 1080, 1600, 1000, a4Landscape(), 96, 2);
    EXPECT_EQ(big.panelW, 2828);
    EXPECT_EQ(big.panelH, 2000);
    EXPECT_EQ(big.zoom, 252);
    EXPECT_EQ(big.panelLeft, 0);
}

TEST(PreviewLayout, UnusualScreenFitsLandscapePaperToTheWidth) {
    auto l = LayoutPreview(1280, 1024, 1260, 900, a4Landscape(), 96, 1);
    EXPECT_EQ(l.panelW, 1260);
    EXPECT_EQ(l.panelH, 891);
    EXPECT_EQ(l.zoom, 112);

    PrinterGeometry portrait{4961, 7016, 118, 104, 4725, 6808, 600, 600};
    auto p = LayoutPreview(1280, 1024, 1260, 900, portrait, 96, 1);
    EXPECT_EQ(p.panelH, 900);
    EXPECT_EQ(p.panelW, 636);
}

TEST(PreviewLayout, AspectTextsOfCommonScreens) {
    struct Case {
        int w, h;
        const char* text;
    } cases[] = {{1366, 768, "1.78"},
                 {1440, 900, "1.60"},
                 {1024, 600, "1.71"},
                 {1024, 768, "1.33"},
                 {1280, 1024, "1.25"}};
    for (auto k : cases) EXPECT_EQ(ScreenAspectText(k.w, k.h), k.text) << k.w << "x" << k.h;
}

TEST(PreviewLayout, NoPrinterGeometryGivesAnEmptyLayoutRatherThanADivisionByZero) {
    auto l = LayoutPreview(1920, 1080, 1600, 1000, PrinterGeometry{0, 0, 0, 0, 0, 0, 0, 0}, 96, 1);
    EXPECT_EQ(l.panelW, 0);
    EXPECT_EQ(l.boxW, 0);
}

}  // namespace
}  // namespace reports
