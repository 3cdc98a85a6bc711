#include "ledger/ui/AboutBox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>

#include "ui/Screenshot.h"

namespace {
using ledger::ui::AboutBox;

TEST(Version, FittedPointSizeIsTheLargestUpToTwelveWithin96Pixels) {
    EXPECT_EQ(AboutBox::FittedPointSize([](int s) { return 8 * s; }), 12);
    EXPECT_EQ(AboutBox::FittedPointSize([](int s) { return 10 * s; }), 9);
    EXPECT_EQ(AboutBox::FittedPointSize([](int s) { return 97 + s; }), 1);
}

TEST(Version, ShowsTheVersionAndFitsItsLines) {
    AboutBox about(QStringLiteral("1.10"));
    EXPECT_EQ(about.versionLine(), QStringLiteral("Version 1.10"));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("バージョン情報"));
    // IPA Gothic is fixed-pitch: twelve half-width characters at 12 pt are 96 px.
    EXPECT_EQ(about.pointSize(), 12);
    about.show();
    testing_support::screenshot(&about, QStringLiteral("Version"));
    about.hide();
}

// The year-end program paints its name at the top left of the text, in bold
// ＭＳ Ｐゴシック of 16 points; the payroll program's box has no name.
TEST(Version, ProgramNameIsPaintedAboveTheVersion) {
    EXPECT_EQ(AboutBox(QStringLiteral("1.10")).PaintBox, nullptr);
    AboutBox about(QStringLiteral("1.10"), nullptr, QStringLiteral("Ostrevin"));
    ASSERT_TRUE(about.PaintBox);
    about.show();
    EXPECT_LT(about.PaintBox->y(), about.pbVersion->y());
    // Ink within the box's top left corner, on a box as high as 16 points.
    const QImage painted = about.PaintBox->grab().toImage();
    EXPECT_GE(painted.height(), 16 * about.logicalDpiY() / 72);
    bool inked = false;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) inked = inked || qGray(painted.pixel(x, y)) < 96;
    EXPECT_TRUE(inked);
    testing_support::screenshot(&about, QStringLiteral("Version_Ostrevin"));
}

TEST(Version, EscapeCloses) {
    AboutBox about(QStringLiteral("1.10"));
    about.show();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&about, &esc);
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
