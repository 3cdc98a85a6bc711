#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <functional>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ledger/Backup.h"
#include "ledger/Era.h"
#include "ledger/YearFileName.h"
#include "platform/InstanceLock.h"
#include "platform/Sjis.h"
#include "support/OtherAccount.h"
#include "support/TempDir.h"

namespace {
namespace fs = std::filesystem;
using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;

const fs::path kBuild = TOLVANE_BINARY_DIR;
const char* const kTables[] = {"税額表(給与).dat", "税額表(賞与).dat", "健康保険料額表.dat"};

// One start of the real program on a fresh drive folder, with every message box
// written to a file and answered with its default.
struct ProgramRun {
    TempDir drive;
    fs::path messages = drive / "messages.txt";
    fs::path settings = drive / "Quenby/Tolvane4";
    fs::path exe = kBuild / "Tolvane4";
    bool locksAsNfs = false;  // local locks made to behave as on a home over NFS

    QProcess* start(QProcess& p, bool quitAfterStart = true,
                    const fs::path* messageFile = nullptr) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TOLVANE_DRIVE", QString::fromStdString(drive.path().string()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TOLVANE_TEST_MESSAGES",
                   QString::fromStdString((messageFile ? *messageFile : messages).string()));
        if (quitAfterStart) env.insert("TOLVANE_TEST_QUIT_AFTER_START", "1");
        if (locksAsNfs) {
            env.insert("LD_PRELOAD",
                       QString::fromStdString((kBuild / "tests/nfs_flock.so").string()));
            // A sanitizer build wants its runtime first; the model only wraps flock.
            env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        }
        env.insert("TOLVANE_TEST_ACCEPT_DIALOGS", "1");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QString::fromStdString(exe.string()), {});
        return &p;
    }

    // Runs to the end; false when the program did not end by itself.
    bool run(bool quitAfterStart = true) {
        QProcess p;
        start(p, quitAfterStart);
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

    // The program copied into a folder of its own with the given table files.
    void useCopyWithTables(std::initializer_list<const char*> tables) {
        fs::path dir = drive / "program";
        fs::create_directories(dir);
        fs::copy_file(exe, dir / "Tolvane4");
        for (const char* t : tables) fs::copy_file(kBuild / t, dir / t);
        exe = dir / "Tolvane4";
    }
};

std::string todaysYearFile() {
    ledger::SystemClock clock;
    return ledger::TodayYearFileName(clock);
}

// Neither program needs the network: the module would load Kerberos, GSSAPI
// and libproxy into every start for nothing.
TEST(Tolvane4Startup, NeitherProgramLoadsTheNetworkModule) {
    for (const char* program : {"Tolvane4", "TolvaneG4"}) {
        const std::string bytes = testing_support::readText(kBuild / program);
        ASSERT_GT(bytes.size(), 100000u) << program;
        EXPECT_EQ(bytes.find("libQt6Network"), std::string::npos) << program;
    }
}

// What a start costs is measured to the first dialog: with the hook the program
// ends by itself once the period selection is on screen (without it, that dialog
// would wait for a person), before anything of the chosen period was opened or
// the start was logged.
TEST(Tolvane4Startup, MeasuredToItsFirstDialogAStartEndsWithThePeriodSelectionShown) {
    ProgramRun r;
    ASSERT_TRUE(r.run());
    const fs::path log = r.settings / "Data/システムログ.dat";
    const std::string logBefore = readText(log);

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TOLVANE_DRIVE", QString::fromStdString(r.drive.path().string()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TOLVANE_TEST_MESSAGES", QString::fromStdString(r.messages.string()));
    env.insert("TOLVANE_TEST_QUIT_AT_FIRST_DIALOG", "1");
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QString::fromStdString(r.exe.string()), {});
    const bool ended = p.waitForFinished(20000);
    if (!ended) {
        p.kill();
        p.waitForFinished();
    }
    ASSERT_TRUE(ended);
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(readText(log), logBefore);
    // The next start finds the copy gone, whatever it left behind.
    EXPECT_TRUE(r.run());
}

TEST(Tolvane4Startup, FreshStartCreatesFoldersYearFileAndLogsTheStart) {
    ProgramRun r;
    ASSERT_TRUE(r.run());
    EXPECT_TRUE(fs::is_directory(r.settings / "Data"));
    EXPECT_FALSE(fs::exists(r.settings / "Write.chk"));
    EXPECT_EQ(fs::file_size(r.settings / "Data" / todaysYearFile()), 1426928u);
    const std::string log = readText(r.settings / "Data/システムログ.dat");
    EXPECT_EQ(log.size(), 42u);
    EXPECT_EQ(log.substr(18), sjis::fromUtf8("Pembrel Tolvane4を起動") + "\r\n");
    // The only box is the exit question of the closing hook.
    EXPECT_EQ(r.shown(), QStringList{QStringLiteral("プログラムを終了しますか？")});
    EXPECT_NE(readText(r.settings / "Tolvane.ini").find("State=wsMaximized"), std::string::npos);
}

// Everything a fresh start creates holds pay data or leads to it: nothing may be
// open to other accounts under the usual umask.
TEST(Tolvane4Startup, AFreshStartUnderTheUsualUmaskKeepsEverythingPrivate) {
    const mode_t old = ::umask(022);
    ProgramRun r;
    const bool ran = r.run();
    ::umask(old);
    ASSERT_TRUE(ran);
    int seen = 0;
    for (const auto& e : fs::recursive_directory_iterator(r.drive / "Quenby")) {
        struct stat st {};
        ASSERT_EQ(::lstat(e.path().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 077, 0u) << e.path();
        ++seen;
    }
    EXPECT_GE(seen, 5);  // Tolvane4, Tolvane.ini, Data, the year file, the log
    struct stat quenby {};
    ASSERT_EQ(::stat((r.drive / "Quenby").c_str(), &quenby), 0);
    EXPECT_EQ(quenby.st_mode & 077, 0u);
}

// A restore killed after its journal: the next start finishes it before it opens
// the year, says so, and removes what killed saves left behind.
TEST(Tolvane4Startup, AStartFinishesAnInterruptedRestoreAndClearsLeftovers) {
    ProgramRun r;
    const fs::path data = r.settings / "Data";
    fs::create_directories(data);
    writeText(r.settings / "Tolvane.ini", "[Option]\r\nBackupPath=old\r\n");
    writeText(data / "社員情報.dat", "old template");
    const fs::path backup = r.drive / "usb";
    fs::create_directories(backup);
    writeText(backup / "Tolvane.ini", "[Option]\r\nBackupPath=new\r\n");
    std::string year(1426928, '\0');
    year[100] = 'N';  // a reserved header byte every writer keeps
    writeText(backup / todaysYearFile(), year);
    writeText(backup / "社員情報.dat", "new template");
    const int staged = int(ledger::RestoreSourceFiles(backup).size()) + 1;
    pid_t pid = ::fork();
    if (pid == 0) {
        int steps = 0;
        ledger::RestoreData(data, r.settings / "Tolvane.ini", backup, [&] {
            if (++steps == staged + 1) ::_exit(9);  // the journal is on disk
        });
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 9);
    writeText(data / ("." + todaysYearFile() + ".0badf00d"), "left by a killed save");
    writeText(r.settings / ".Tolvane.ini.4242.batch", "left by a killed write");

    ASSERT_TRUE(r.run());
    EXPECT_EQ(r.shown().value(0), QString::fromUtf8(ledger::kRestoreCompleted.data()));
    EXPECT_EQ(readText(data / todaysYearFile()).at(100), 'N');
    EXPECT_EQ(readText(data / "社員情報.dat"), "new template");
    EXPECT_NE(readText(r.settings / "Tolvane.ini").find("BackupPath=new"), std::string::npos);
    for (const auto& e : fs::directory_iterator(data))
        EXPECT_NE(e.path().filename().string().front(), '.') << e.path();
    for (const auto& e : fs::directory_iterator(r.settings)) {
        const std::string name = e.path().filename().string();
        if (name.front() == '.') {
            EXPECT_TRUE(name == ".Tolvane.ini.lock" || name == ".Tolvane4.instance") << name;
        }
    }
}

TEST(Tolvane4Startup, FirstRunMigratesTolvane3) {
    ProgramRun r;
    const fs::path old = r.drive / "Quenby/Tolvane3";
    fs::create_directories(old / "Data");
    writeText(old / "Data/平成30年給与･賞与.dat", "old year");
    writeText(old / "Data/notes.txt", "not data");
    writeText(old / "Tolvane.ini", "[Option]\r\nCompany=1\r\n");
    ASSERT_TRUE(r.run());
    EXPECT_EQ(readText(r.settings / "Data/平成30年給与･賞与.dat"), "old year");
    EXPECT_FALSE(fs::exists(r.settings / "Data/notes.txt"));
    EXPECT_NE(readText(r.settings / "Tolvane.ini").find("Company=1"), std::string::npos);
    EXPECT_EQ(r.shown().value(0), QStringLiteral("｢Pembrel Tolvane3｣のデータを移行しました。"));
    EXPECT_EQ(fs::file_size(r.settings / "Data" / todaysYearFile()), 1426928u);
}

TEST(Tolvane4Startup, AMissingOrShortTableEndsTheProgram) {
    {
        ProgramRun r;
        r.useCopyWithTables({kTables[0], kTables[2]});
        // No closing hook: the program must end by itself.
        ASSERT_TRUE(r.run(false));
        EXPECT_EQ(r.shown(), QStringList{QStringLiteral("必要な表データファイルが足りません。")});
        EXPECT_FALSE(fs::exists(r.settings / "Data/システムログ.dat"));
    }
    {
        ProgramRun r;
        r.useCopyWithTables({kTables[1], kTables[2]});
        const fs::path salary = r.exe.parent_path() / kTables[0];
        std::string bytes = readText(kBuild / kTables[0]);
        writeText(salary, bytes.substr(0, bytes.size() - 1));
        ASSERT_TRUE(r.run(false));
        const QStringList shown = r.shown();
        ASSERT_EQ(shown.size(), 2);
        EXPECT_TRUE(shown[0].startsWith(QString::fromUtf8(kTables[0])));
        EXPECT_EQ(shown[1], QStringLiteral("必要な表データファイルが足りません。"));
        // The start stopped at the table: nothing was created on the drive.
        EXPECT_FALSE(fs::exists(r.settings / "Data"));
    }
}

TEST(Tolvane4Startup, AReadOnlySettingsFileStopsTheStart) {
    ProgramRun r;
    fs::create_directories(r.settings);
    writeText(r.settings / "Tolvane.ini", "[Option]\r\n");
    fs::permissions(r.settings / "Tolvane.ini",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ASSERT_TRUE(r.run(false));
    EXPECT_EQ(r.shown(), (QStringList{QStringLiteral("設定ファイルに書き込み出来ません。"),
                                      QStringLiteral("プログラム起動不可[0]")}));
    EXPECT_FALSE(fs::exists(r.settings / "Data"));
    EXPECT_EQ(readText(r.settings / "Tolvane.ini"), "[Option]\r\n");
}

// Only a copy that really holds the lock makes a start a second copy. A lock
// file left read-only serves as it is; one that cannot serve (a pipe, a link, a
// folder, another account's file) is named, as nothing need be running at all.
// Where locks need a writable descriptor (NFS) the start still clears the
// temporary file of a killed save.
TEST(Tolvane4Startup, ALockFileThatCannotServeIsNamedNotTakenForASecondCopy) {
    static constexpr const char* kLeftover = ".tolvane.0123456789ab";
    using testing_support::canActAsOtherAccount;
    using testing_support::giveToOtherAccount;
    struct Case {
        const char* what;
        bool needsOtherAccount;
        std::function<void(const fs::path& lock)> plant;
        bool starts;
        bool locksAsNfs = false;
    };
    const Case cases[] = {
        {"a home over NFS, with what a killed save left", false,
         [](const fs::path& lock) { writeText(lock.parent_path() / kLeftover, "x"); }, true, true},
        {"a read-only file of ours", false,
         [](const fs::path& lock) {
             writeText(lock, "");
             ::chmod(lock.c_str(), 0400);
         },
         true},
        {"a pipe", false, [](const fs::path& lock) { ::mkfifo(lock.c_str(), 0600); }, false},
        {"a link to a file of ours", false,
         [](const fs::path& lock) {
             writeText(lock.parent_path() / "mine", "");
             fs::create_symlink("mine", lock);
         },
         false},
        {"a folder", false, [](const fs::path& lock) { fs::create_directory(lock); }, false},
        {"another account's file", true,
         [](const fs::path& lock) {
             writeText(lock, "");
             giveToOtherAccount(lock);
         },
         false},
    };
    for (const Case& c : cases) {
        if (c.needsOtherAccount && !canActAsOtherAccount()) continue;
        ProgramRun r;
        r.locksAsNfs = c.locksAsNfs;
        fs::create_directories(r.settings);
        const fs::path lock = r.settings / ".Tolvane4.instance";
        c.plant(lock);
        ASSERT_TRUE(r.run()) << c.what;
        const QStringList unusable{QString::fromUtf8(platform::kInstanceLockUnusable.data()),
                                   QString::fromStdString(lock.string())};
        if (c.starts) {
            EXPECT_EQ(r.shown(), QStringList{QStringLiteral("プログラムを終了しますか？")})
                << c.what;
            EXPECT_FALSE(fs::exists(r.settings / kLeftover)) << c.what;
        } else {
            EXPECT_EQ(r.shown(), unusable) << c.what;
            EXPECT_FALSE(fs::exists(r.settings / "Data")) << c.what;
        }
    }
}

TEST(Tolvane4Startup, ASecondStartEndsByItself) {
    ProgramRun r;
    QProcess first;
    r.start(first, false);
    ASSERT_TRUE(first.waitForStarted());
    // The first copy has run its start sequence once the start is logged.
    const fs::path log = r.settings / "Data/システムログ.dat";
    for (int i = 0; i < 300 && !fs::exists(log); ++i) QThread::msleep(50);
    ASSERT_TRUE(fs::exists(log));

    const fs::path second = r.drive / "second.txt";
    QProcess p;
    r.start(p, false, &second);
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(r.shown(second), QStringList{QStringLiteral("このプログラムは二重起動できません。")});
    // The first copy still runs and started only once.
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(readText(log).size(), 42u);

    first.terminate();
    if (!first.waitForFinished(5000)) {
        first.kill();
        first.waitForFinished();
    }
}

}  // namespace
