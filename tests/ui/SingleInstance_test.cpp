#include "platform/ui/SingleInstance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>

#include "support/TempDir.h"

namespace {
using platform::ui::SingleInstance;
using testing_support::TempDir;

TEST(SingleInstance, ASecondCopyOfTheSameFolderIsRefusedAndRaisesTheFirst) {
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path().string());
    SingleInstance first(QStringLiteral("TolvaneTest"), folder);
    ASSERT_TRUE(first.tryStart());
    QWidget window;
    window.showMinimized();
    first.setWindow(&window);

    SingleInstance second(QStringLiteral("TolvaneTest"), folder);
    EXPECT_FALSE(second.tryStart());
    EXPECT_TRUE(second.askRunningCopyToRaise());
    QElapsedTimer t;
    t.start();
    while (window.isMinimized() && t.elapsed() < 5000) QCoreApplication::processEvents();
    EXPECT_FALSE(window.isMinimized());

    // Another program, or the same program on another folder, runs beside it.
    EXPECT_TRUE(SingleInstance(QStringLiteral("TolvaneOther"), folder).tryStart());
    EXPECT_TRUE(SingleInstance(QStringLiteral("TolvaneTest"), folder + "/x").tryStart());
}

TEST(SingleInstance, TheLockGoesWithTheFirstCopy) {
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path().string());
    {
        SingleInstance first(QStringLiteral("TolvaneTest"), folder);
        ASSERT_TRUE(first.tryStart());
    }
    SingleInstance again(QStringLiteral("TolvaneTest"), folder);
    EXPECT_TRUE(again.tryStart());
}

}  // namespace
