#include "ledger/ui/MainWindow.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "ledger/Ledger.h"
#include "ledger/SysLog.h"
#include "platform/IniFile.h"
#include "platform/Sjis.h"
#include "platform/ui/MessageBox.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"

namespace {
using namespace ledger::ui;
namespace fs = std::filesystem;
using platform::ui::Answer;
using testing_support::BoxRecorder;
using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;

struct MainWindowTest : ::testing::Test {
    TempDir drive;
    ledger::FixedClock clock{{2026, 11, 1, 9, 5, 0}};
    BoxRecorder box;
    fs::path settings = drive / "Quenby/Tolvane4";

    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false);
        fs::create_directories(settings);
    }

    // A main window over the temporary folders, with the generated tables.
    std::unique_ptr<MainWindow> makeMain(ledger::Ledger& ledger) {
        auto w = std::make_unique<MainWindow>(ledger);
        w->ProgramPath = TOLVANE_BINARY_DIR;
        w->IniFileName = settings / "Tolvane.ini";
        w->DataPath = settings / "Data";
        w->PreviousVersionPath = drive / "Quenby/Tolvane3";
        return w;
    }
};

TEST_F(MainWindowTest, StartOpensTodaysMonthAndLogsTheStart) {
    ledger::Ledger ledger(clock);
    auto w = makeMain(ledger);
    ASSERT_TRUE(w->FormCreate());
    EXPECT_EQ(fs::file_size(settings / "Data/令和8年給与･賞与.dat"), 1426928u);
    EXPECT_EQ(w->lifecycle().tablesLoaded, 3);
    w->show();
    w->FormActivate();
    EXPECT_TRUE(w->lifecycle().activated());
    EXPECT_FALSE(w->lifecycle().noPeriodYet);
    // Until the period selection exists, the start opens the current month.
    EXPECT_EQ(ledger.CurData.Period, 11);
    EXPECT_EQ(w->versionText(), "1.10");
    // The title alone, whatever the application object is called.
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Pembrel Tolvane4　　【令和8年11月分給与】"));
    EXPECT_EQ(readText(settings / "Data/システムログ.dat"),
              sjis::fromUtf8("2026/11/01 09:05  Pembrel Tolvane4を起動\r\n"));
    // No [Window] section: maximised.
    EXPECT_TRUE(w->isMaximized());
    EXPECT_TRUE(box.boxes.isEmpty());

    box.answer = Answer::No;
    EXPECT_FALSE(w->close());
    EXPECT_EQ(box.boxes, QStringList{QStringLiteral("プログラムを終了しますか？")});
    box.answer = Answer::Yes;
    EXPECT_TRUE(w->close());
    EXPECT_EQ(platform::IniFile(settings / "Tolvane.ini").readString("Window", "State"),
              "wsMaximized");
}

TEST_F(MainWindowTest, PlacementIsWrittenOnCloseAndRestoredOnTheNextStart) {
    writeText(settings / "Tolvane.ini",
              "[Window]\r\nState=wsNormal\r\nPos_X=10\r\nPos_Y=20\r\nWidth=1000\r\nHeight=700\r\n"
              "MembList_X=420\r\nMembList_Y=380\r\n");
    {
        ledger::Ledger ledger(clock);
        auto w = makeMain(ledger);
        ASSERT_TRUE(w->FormCreate());
        w->show();
        w->FormActivate();
        EXPECT_FALSE(w->isMaximized());
        EXPECT_EQ(w->pos(), QPoint(10, 20));
        EXPECT_EQ(w->size(), QSize(1000, 700));
        w->move(30, 40);
        w->resize(900, 650);
        EXPECT_TRUE(w->close());
    }
    platform::IniFile ini(settings / "Tolvane.ini");
    EXPECT_EQ(ini.readString("Window", "State"), "wsNormal");
    EXPECT_EQ(ini.readInteger("Window", "Pos_X", 0), 30);
    EXPECT_EQ(ini.readInteger("Window", "Pos_Y", 0), 40);
    EXPECT_EQ(ini.readInteger("Window", "Width", 0), 900);
    EXPECT_EQ(ini.readInteger("Window", "Height", 0), 650);
    EXPECT_EQ(ini.readInteger("Window", "MembList_X", 0), 420);
    {
        ledger::Ledger ledger(clock);
        auto w = makeMain(ledger);
        ASSERT_TRUE(w->FormCreate());
        w->show();
        w->FormActivate();
        EXPECT_EQ(QRect(w->pos(), w->size()), QRect(30, 40, 900, 650));
        // Below the minimum size the window keeps the minimum.
        w->resize(100, 100);
        EXPECT_EQ(w->size(), QSize(800, 570));
        w->close();
    }
}

TEST_F(MainWindowTest, CorruptPlacementFallsBackToDefaults) {
    writeText(settings / "Tolvane.ini",
              "[Window]\r\nState=wsNormal\r\nPos_X=1e9\r\nPos_Y=\r\nWidth=abc\r\nHeight=-3\r\n");
    ledger::Ledger ledger(clock);
    auto w = makeMain(ledger);
    ASSERT_TRUE(w->FormCreate());
    w->show();
    w->FormActivate();
    EXPECT_EQ(QRect(w->pos(), w->size()), QRect(0, 0, 800, 570));
    EXPECT_TRUE(box.boxes.isEmpty());
    w->close();
}

TEST_F(MainWindowTest, MissingTablesEndTheStartAndKeepTheStoredPlacement) {
    const std::string ini = "[Window]\r\nState=wsNormal\r\nPos_X=10\r\n";
    writeText(settings / "Tolvane.ini", ini);
    ledger::Ledger ledger(clock);
    auto w = makeMain(ledger);
    w->ProgramPath = drive.path();
    ASSERT_TRUE(w->FormCreate());
    w->show();
    w->FormActivate();
    EXPECT_EQ(box.boxes, QStringList{QStringLiteral("必要な表データファイルが足りません。")});
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(fs::exists(settings / "Data/システムログ.dat"));
    EXPECT_EQ(readText(settings / "Tolvane.ini"), ini);
}

TEST_F(MainWindowTest, AStartEventThatCannotBeLoggedIsReportedAndTheProgramGoesOn) {
    ledger::Ledger ledger(clock);
    auto w = makeMain(ledger);
    ASSERT_TRUE(w->FormCreate());
    // A folder in place of the log file.
    fs::create_directory(settings / "Data/システムログ.dat");
    w->show();
    w->FormActivate();
    ASSERT_EQ(box.boxes.size(), 1);
    EXPECT_FALSE(w->lifecycle().noPeriodYet);
    EXPECT_TRUE(w->isVisible());
    w->FormActivate();
    EXPECT_EQ(box.boxes.size(), 1);
    w->close();
}

}  // namespace
