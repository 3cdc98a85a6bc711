#include "ledger/ui/NoticeWindow.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include "ui/Screenshot.h"

namespace {
using ledger::ui::NoticeWindow;

TEST(Notice, CentresOnItsOwnerAndClosesItself) {
    QWidget owner;
    owner.setGeometry(100, 50, 1024, 768);
    owner.show();
    NoticeWindow notice(&owner);
    notice.setMessage(QStringLiteral("データファイルに保存しました。"));
    notice.durationMs = 300;

    QRect seen;
    bool visible = false;
    QTimer::singleShot(100, [&] {
        seen = notice.frameGeometry();
        visible = notice.isVisible();
        testing_support::screenshot(&notice, QStringLiteral("Notice"));
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(notice.exec(), QDialog::Accepted);
    // Timers may fire a little early (coarse timers allow 5 %).
    EXPECT_GE(clock.elapsed(), 280);
    EXPECT_TRUE(visible);
    EXPECT_EQ(seen, QRect(484, 420, 256, 28));
    EXPECT_FALSE(notice.isVisible());
    // The message fits its panel.
    EXPECT_LE(notice.pnMessage->sizeHint().width(), 256);
}

}  // namespace
