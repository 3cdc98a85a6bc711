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
    const char* const names[] = {"", "Ostrevin"};
    for (const char* name : names) {
        AboutBox about(QStringLiteral("1.10"), nullptr, QString::fromUtf8(name));
        EXPECT_EQ(about.PaintBox != nullptr, *name != 0) << name;
        if (!about.PaintBox) continue;
        about.show();
        EXPECT_LT(about.PaintBox->y(), about.pbVersion->y());
        EXPECT_EQ(about.PaintBox->x(), about.pbVersion->x());
        const QImage painted = about.PaintBox->grab().toImage();
        int inkTop = -1, inkLeft = painted.width();
        for (int y = 0; y < painted.height(); ++y)
            for (int x = 0; x < painted.width(); ++x)
                if (qGray(painted.pixel(x, y)) < 96) {
                    if (inkTop < 0) inkTop = y;
                    inkLeft = std::min(inkLeft, x);
                }
        // 16 points of bold text from the top left corner.
        EXPECT_GE(inkTop, 0);
        EXPECT_LE(inkTop, 8);
        EXPECT_LE(inkLeft, 3);
        EXPECT_GE(painted.height(), 16 * about.logicalDpiY() / 72);
        testing_support::screenshot(&about, QStringLiteral("Version_%1").arg(name));
    }
}

TEST(Version, EscapeCloses) {
    AboutBox about(QStringLiteral("1.10"));
    about.show();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&about, &esc);
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
