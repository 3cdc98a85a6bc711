#include "ledger/ui/EventLogViewer.h"

#include <gtest/gtest.h>

#include <QListWidget>

#include "platform/Errors.h"
#include "platform/Sjis.h"
#include "platform/ui/MessageBox.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "ui/Screenshot.h"

namespace {
using namespace ledger::ui;
using platform::ui::Answer;
using testing_support::BoxRecorder;
using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;

struct EventLogViewerTest : ::testing::Test {
    TempDir dir;
    BoxRecorder box;
    EventLogViewer viewer{dir.path()};

    void writeLog() {
        writeText(dir / "システムログ.dat",
                  sjis::fromUtf8("2026/11/01 09:05  Pembrel Tolvane4を起動\r\n"
                                 "2026/11/01 09:07  Pembrel Tolvane4・Ostrevinを起動\r\n"
                                 "2026/11/01 09:12  従業員情報の登録\r\n"));
    }
};

TEST_F(EventLogViewerTest, ListsTheLogOldestFirstAtEachActivation) {
    writeLog();
    viewer.FormActivate();
    ASSERT_EQ(viewer.ListBox1->count(), 3);
    EXPECT_EQ(viewer.ListBox1->item(0)->text(),
              QStringLiteral("2026/11/01 09:05  Pembrel Tolvane4を起動"));
    EXPECT_EQ(viewer.ListBox1->item(2)->text(),
              QStringLiteral("2026/11/01 09:12  従業員情報の登録"));
    writeText(dir / "システムログ.dat", "2026/11/02 10:00  \r\n");
    viewer.FormActivate();
    EXPECT_EQ(viewer.ListBox1->count(), 1);
}

TEST_F(EventLogViewerTest, AMissingLogIsReportedWhenShown) {
    viewer.show();
    EXPECT_EQ(box.boxes, QStringList{QStringLiteral("ファイルが見つかりません")});
    EXPECT_EQ(viewer.ListBox1->count(), 0);
    EXPECT_EQ(viewer.width(), 550);
    EXPECT_GE(viewer.height(), 600);
    viewer.hide();
}

TEST_F(EventLogViewerTest, ExportsCsvAfterConfirmationReplacingTheFile) {
    writeLog();
    viewer.FormActivate();
    writeText(dir / "out.csv", "old content that is longer than the new one ...........");
    viewer.chooseCsvFile = [&] { return QString::fromStdString((dir / "out.csv").string()); };
    viewer.mnCsvExportClick();
    EXPECT_EQ(box.boxes, (QStringList{QStringLiteral("システムログをＣＳＶファイルに出力します。"),
                                      QStringLiteral("指定ファイルに出力しました。")}));
    EXPECT_EQ(readText(dir / "out.csv"),
              sjis::fromUtf8("日時, 内容\r\n"
                             "\"2026/11/01 09:05\", \"Pembrel Tolvane4を起動\"\r\n"
                             "\"2026/11/01 09:07\", \"Pembrel Tolvane4・Ostrevinを起動\"\r\n"
                             "\"2026/11/01 09:12\", \"従業員情報の登録\"\r\n"));
}

TEST_F(EventLogViewerTest, NoOrNoFileChosenWritesNothing) {
    writeLog();
    viewer.FormActivate();
    int asked = 0;
    viewer.chooseCsvFile = [&] {
        ++asked;
        return QString();
    };
    box.answer = Answer::No;
    viewer.mnCsvExportClick();
    EXPECT_EQ(asked, 0);
    box.answer = Answer::Yes;
    viewer.mnCsvExportClick();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(box.boxes.size(), 2);  // the two questions, no "written" note
}

TEST_F(EventLogViewerTest, ACsvFileThatCannotBeWrittenIsAnErrorAndNotAnnounced) {
    writeLog();
    viewer.FormActivate();
    viewer.chooseCsvFile = [&] { return QString::fromStdString((dir / "no/out.csv").string()); };
    EXPECT_THROW(viewer.mnCsvExportClick(), platform::IoError);
    EXPECT_EQ(box.boxes.size(), 1);
}

TEST_F(EventLogViewerTest, Screenshot) {
    writeLog();
    viewer.show();
    testing_support::screenshot(&viewer, QStringLiteral("ShowLog"));
    viewer.hide();
}

}  // namespace
