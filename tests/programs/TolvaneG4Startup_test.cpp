#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <sys/wait.h>
#include <unistd.h>

#include "ledger/Backup.h"
#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/YearFileName.h"
#include "platform/Sjis.h"
#include "support/TempDir.h"

namespace {
namespace fs = std::filesystem;
using testing_support::readText;
using testing_support::TempDir;

const fs::path kBuild = TOLVANE_BINARY_DIR;

// Starts of the real year-end program on a fresh drive folder, with every
// message box written to a file and answered with its default, and the year
// chosen without the open dialog.
struct YearEndRun {
    TempDir drive;
    fs::path messages = drive / "messages.txt";
    fs::path settings = drive / "Quenby/Tolvane4";
    fs::path data = settings / "Data";
    fs::path yearFile = data / "令和7年給与･賞与.dat";

    // A pay-data year with one employee; December saved when asked.
    void makeYear(bool decemberSaved) {
        fs::create_directories(data);
        ledger::FixedClock clock({2025, 12, 20, 9, 0, 0});
        ledger::Ledger l(clock);
        l.dataPath = data;
        l.CurData = {yearFile, "令和", 7, 12};
        ledger::CreateDataFile(l, yearFile);
        if (!decemberSaved) return;
        l.BasicInfo().CorpName.set("株式会社テスト");
        l.Employee(1).Key.set("251201_090000");
        l.Employee(1).Name.set("山田太郎");
        l.Employee(1).Kana.set("ﾔﾏﾀﾞﾀﾛｳ");  // becomes the record's 振り仮名: a change
        l.Employee(1).Status = 1;
        l.Employee(1).PayForm = 1;
        ledger::SavePeriod(l, yearFile);
    }

    void start(QProcess& p, bool quitAfterStart, const fs::path& messageFile) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TOLVANE_DRIVE", QString::fromStdString(drive.path().string()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TOLVANE_TEST_MESSAGES", QString::fromStdString(messageFile.string()));
        if (quitAfterStart) env.insert("TOLVANE_TEST_QUIT_AFTER_START", "1");
        env.insert("TOLVANE_TEST_ACCEPT_DIALOGS", "1");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QString::fromStdString((kBuild / "TolvaneG4").string()), {});
    }

    bool run() {
        QProcess p;
        start(p, true, messages);
        if (p.waitForFinished(30000)) return p.exitStatus() == QProcess::NormalExit;
        p.kill();
        p.waitForFinished();
        return false;
    }

    QStringList shown(const fs::path& file) const {
        QFile f(QString::fromStdString(file.string()));
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
        if (!lines.isEmpty() && lines.back().isEmpty()) lines.pop_back();
        return lines;
    }
    QStringList shown() const { return shown(messages); }
    fs::path log() const { return data / "システムログ.dat"; }
};

TEST(TolvaneG4Startup, AYearWithDecemberSavedReachesTheMainWindow) {
    YearEndRun r;
    r.makeYear(true);
    ASSERT_TRUE(r.run());
    const std::string log = readText(r.log());
    EXPECT_EQ(log.substr(18), sjis::fromUtf8("Pembrel Tolvane4・Ostrevinを起動") + "\r\n");
    // No settings file yet; closing asks to save the freshly loaded records.
    EXPECT_EQ(r.shown(), (QStringList{QStringLiteral("基本設定の各項目を設定して下さい。"),
                                      QStringLiteral("データが変更されています。保存しますか？")}));
    // Yes saved the year's withholding file (new layout) and the window's place.
    EXPECT_EQ(fs::file_size(r.data / "源泉徴収(令和7年).dat"), 120300u);
    EXPECT_NE(readText(r.settings / "Tolvane.ini").find("MainFormSX=656"), std::string::npos);
}

TEST(TolvaneG4Startup, FailedStartsCloseWithoutQuestionOrTrace) {
    struct Case {
        bool makeYear;
        bool decemberSaved;
        const char* message;
    } cases[] = {
        {true, false, "12月分の給与が入力されていません。"},
        {false, false, "給与･賞与データファイルが無いので起動できません。"},
    };
    for (const auto& c : cases) {
        YearEndRun r;
        if (c.makeYear) r.makeYear(c.decemberSaved);
        ASSERT_TRUE(r.run()) << c.message;
        EXPECT_EQ(r.shown(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_FALSE(fs::exists(r.log()));
        EXPECT_FALSE(fs::exists(r.data / "源泉徴収(令和7年).dat"));
        EXPECT_FALSE(fs::exists(r.settings / "Tolvane.ini"));
    }
}

// The year-end program may be the first to start after a restore was killed: it
// finishes the restore before it reads the year.
TEST(TolvaneG4Startup, AStartFinishesAnInterruptedRestore) {
    YearEndRun r;
    r.makeYear(true);
    testing_support::writeText(r.settings / "Tolvane.ini", "[Option]\r\nSyubetu=old\r\n");
    const fs::path backup = r.drive / "usb";
    fs::create_directories(backup);
    fs::copy_file(r.yearFile, backup / r.yearFile.filename());
    testing_support::writeText(backup / "Tolvane.ini", "[Option]\r\nSyubetu=new\r\n");
    fs::remove(r.yearFile);  // the restore brings it back
    pid_t pid = ::fork();
    if (pid == 0) {
        int steps = 0;
        // Two files staged, the journal, then the first rename.
        ledger::RestoreData(r.data, r.settings / "Tolvane.ini", backup, [&] {
            if (++steps == 4) ::_exit(9);
        });
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 9);
    ASSERT_TRUE(r.run());
    EXPECT_EQ(r.shown().value(0), QString::fromUtf8(ledger::kRestoreCompleted.data()));
    EXPECT_EQ(fs::file_size(r.yearFile), 1426928u);
    EXPECT_NE(readText(r.settings / "Tolvane.ini").find("Syubetu=new"), std::string::npos);
}

TEST(TolvaneG4Startup, ASecondStartEndsByItself) {
    YearEndRun r;
    r.makeYear(true);
    QProcess first;
    r.start(first, false, r.messages);
    ASSERT_TRUE(first.waitForStarted());
    for (int i = 0; i < 300 && !fs::exists(r.log()); ++i) QThread::msleep(50);
    ASSERT_TRUE(fs::exists(r.log()));

    const fs::path second = r.drive / "second.txt";
    QProcess p;
    r.start(p, false, second);
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(r.shown(second), QStringList{QStringLiteral("このプログラムは二重起動できません。")});
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(readText(r.log()).size(), readText(r.log()).find("\r\n") + 2);

    first.terminate();
    if (!first.waitForFinished(5000)) {
        first.kill();
        first.waitForFinished();
    }
}

}  // namespace
