#include "ledger/ui/AboutBox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
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

TEST(Version, EscapeCloses) {
    AboutBox about(QStringLiteral("1.10"));
    about.show();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&about, &esc);
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
