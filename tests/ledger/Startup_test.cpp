#include "ledger/Startup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/PeriodChoice.h"
#include "platform/IniFile.h"
#include "support/OtherAccount.h"
#include "support/TempDir.h"

namespace {
using namespace ledger;
namespace fs = std::filesystem;
using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;

struct Recorder : Prompter {
    std::vector<std::string> errors, infos, questions;
    bool answer = true;
    void error(const std::string& t) override { errors.push_back(t); }
    void warning(const std::string& t) override { errors.push_back(t); }
    void information(const std::string& t) override { infos.push_back(t); }
    bool confirm(const std::string& t) override {
        questions.push_back(t);
        return answer;
    }
};

const DateTime kNov1{2026, 11, 1, 9, 5, 0};
const char* const kTodayFile = "令和8年給与･賞与.dat";

TEST(CheckSettingsFolder, CreatesTheFolderAndLeavesNoProbe) {
    TempDir drive;
    Recorder r;
    const fs::path settings = drive / "Quenby/Tolvane4", old = drive / "Quenby/Tolvane3";
    EXPECT_TRUE(CheckSettingsFolder(settings, settings / "Tolvane.ini", settings / "Data", old, r));
    EXPECT_TRUE(fs::is_directory(settings));
    EXPECT_FALSE(fs::exists(settings / "Write.chk"));
    EXPECT_TRUE(r.errors.empty());
}

TEST(CheckSettingsFolder, ReadOnlySettingsFileStopsTheStartWithErrorZero) {
    TempDir drive;
    Recorder r;
    writeText(drive / "Tolvane.ini", "[Option]\r\n");
    fs::permissions(drive / "Tolvane.ini", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(
        CheckSettingsFolder(drive.path(), drive / "Tolvane.ini", drive / "Data", drive / "old", r));
    EXPECT_EQ(r.errors, (std::vector<std::string>{"設定ファイルに書き込み出来ません。",
                                                  "プログラム起動不可[0]"}));
    EXPECT_FALSE(fs::exists(drive / "Write.chk"));
}

TEST(CheckSettingsFolder, AFolderThatCannotBeMadeReportsItsErrno) {
    TempDir drive;
    Recorder r;
    writeText(drive / "file", "");
    // A settings folder below a plain file: ENOTDIR, not one of the "cannot
    // write" causes, so only the number is shown.
    EXPECT_FALSE(CheckSettingsFolder(drive / "file/Tolvane4", drive / "file/Tolvane4/x.ini",
                                     drive / "file/Tolvane4/Data", drive / "file/Tolvane3", r));
    EXPECT_EQ(r.errors,
              (std::vector<std::string>{"プログラム起動不可[" + std::to_string(ENOTDIR) + "]"}));
}

TEST(CheckSettingsFolder, MessagesByProbeError) {
    struct Case {
        int err;
        bool cannotWrite;
    };
    for (Case c : {Case{ENOENT, true}, Case{EROFS, true}, Case{EACCES, true}, Case{EIO, false},
                   Case{ENOSPC, false}}) {
        std::vector<std::string> expected;
        if (c.cannotWrite) expected.push_back("設定ファイルに書き込み出来ません。");
        expected.push_back("プログラム起動不可[" + std::to_string(c.err) + "]");
        EXPECT_EQ(SettingsFolderFailureMessages(c.err), expected) << c.err;
    }
    EXPECT_EQ(ProbeWritable("/nonexistent-folder/x"), ENOENT);
}

// Run in a child with an alarm, so that a probe that waits fails the test
// instead of hanging it.
int probeInChild(const fs::path& folder) {
    pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(5);
        ::_exit(ProbeWritable(folder) == 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CheckSettingsFolder, TheProbeNeitherWaitsOnAPipeNorWritesThroughALink) {
    struct Case {
        const char* what;
        int result;  // 0 written, 1 refused
    };
    for (Case c : {Case{"nothing", 0}, Case{"pipe", 1}, Case{"dangling link", 1},
                   Case{"link to a file", 1}}) {
        TempDir dir;
        const fs::path probe = dir / "Write.chk";
        const fs::path target = dir / "elsewhere";
        const std::string what = c.what;
        if (what == "pipe") {
            ASSERT_EQ(::mkfifo(probe.c_str(), 0600), 0);
        }
        if (what == "link to a file") writeText(target, "keep");
        if (what.find("link") != std::string::npos) fs::create_symlink(target, probe);
        EXPECT_EQ(probeInChild(dir.path()), c.result) << what;
        EXPECT_EQ(fs::exists(fs::symlink_status(probe)), what != "nothing") << what;
        EXPECT_EQ(fs::exists(target), what == "link to a file") << what;
        if (what == "link to a file") {
            EXPECT_EQ(readText(target), "keep");
        }
    }
}

TEST(CheckSettingsFolder, AFolderOfAnotherAccountOrOpenToOthersIsRefusedByName) {
    struct Case {
        const char* folder;  // the settings folder or its data folder
        bool otherOwner;     // else writable by all
    };
    for (Case c : {Case{"", false}, Case{"Data", false}, Case{"", true}, Case{"Data", true}}) {
        if (c.otherOwner && ::geteuid() != 0) continue;  // needs a second account's files
        TempDir drive;
        Recorder r;
        const fs::path settings = drive / "Tolvane4", old = drive / "Tolvane3";
        const fs::path folder = *c.folder ? settings / c.folder : settings;
        fs::create_directories(settings / "Data");
        if (c.otherOwner)
            ASSERT_EQ(::chown(folder.c_str(), 12345, 12345), 0);
        else
            ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
        EXPECT_FALSE(
            CheckSettingsFolder(settings, settings / "Tolvane.ini", settings / "Data", old, r));
        EXPECT_EQ(r.errors,
                  std::vector<std::string>{std::string(kFolderNotOwn) + "\n" + folder.string()})
            << folder;
    }
}

// Our folders are only as safe as the folders on the way to them: whoever owns
// one, or may write into it, can rename ours away after any check and put their
// own in its place. Another account's folders and links need a second uid.
TEST(CheckSettingsFolder, EveryFolderOnTheWayToOursOrToTheOldVersionMustBeSafe) {
    using testing_support::canActAsOtherAccount;
    using testing_support::giveToOtherAccount;
    struct Case {
        const char* what;
        bool needsOtherAccount;
        std::function<void(const fs::path& top, const fs::path& drive)> plant;
        const char* refused;  // under the test's folder; "" when the start goes on
    };
    auto mode = [](mode_t m) {
        return [m](const fs::path& top, const fs::path&) { ::chmod(top.c_str(), m); };
    };
    // The drive as a link (ours unless handed over) to a folder inside `holder`.
    auto driveLinkedInto = [](const char* holder, mode_t holderMode, bool othersLink) {
        return [=](const fs::path& top, const fs::path& drive) {
            const fs::path elsewhere = top.parent_path() / holder;
            fs::create_directory(elsewhere);
            ::chmod(elsewhere.c_str(), holderMode);
            fs::rename(drive, elsewhere / "drive");
            fs::create_directory_symlink(elsewhere / "drive", drive);
            if (othersLink) giveToOtherAccount(drive);
        };
    };
    const Case cases[] = {
        {"every folder closed to others", false, mode(0755), ""},
        {"a folder on the way all may write", false, mode(0777), "shared"},
        {"a folder on the way a group unknown to the system may write", true,
         [](const fs::path& top, const fs::path&) {
             ASSERT_EQ(::chown(top.c_str(), uid_t(-1), 54398), 0);
             ::chmod(top.c_str(), 0775);
         },
         "shared"},
        {"Quenby open to all", false,
         [](const fs::path&, const fs::path& drive) { ::chmod((drive / "Quenby").c_str(), 0777); },
         "shared/drive/Quenby"},
        {"our link to a drive in a folder all may write", false,
         driveLinkedInto("open", 0777, false), "open"},
        {"the old version's folder open to all", false,
         [](const fs::path&, const fs::path& drive) {
             ::chmod((drive / "Quenby/Tolvane3").c_str(), 0777);
         },
         "shared/drive/Quenby/Tolvane3"},
        {"root's sticky folder, as /tmp", true, mode(01777), ""},
        {"another account's sticky folder", true,
         [](const fs::path& top, const fs::path&) {
             giveToOtherAccount(top);
             ::chmod(top.c_str(), 01777);
         },
         "shared"},
        {"another account's closed folder", true,
         [](const fs::path& top, const fs::path&) { giveToOtherAccount(top); }, "shared"},
        {"another account's link as the drive", true, driveLinkedInto("mine", 0755, true),
         "shared/drive"},
        {"another account's data folder of the old version", true,
         [](const fs::path&, const fs::path& drive) {
             giveToOtherAccount(drive / "Quenby/Tolvane3/Data");
         },
         "shared/drive/Quenby/Tolvane3/Data"},
    };
    for (const Case& c : cases) {
        if (c.needsOtherAccount && !canActAsOtherAccount()) continue;
        TempDir t;
        const fs::path top = t / "shared", drive = top / "drive";
        const fs::path settings = drive / "Quenby/Tolvane4", old = drive / "Quenby/Tolvane3";
        fs::create_directories(old / "Data");
        for (const fs::path& f : {top, drive, drive / "Quenby", old, old / "Data"})
            ::chmod(f.c_str(), 0755);
        writeText(old / "Data/a.dat", "A");
        c.plant(top, drive);

        Recorder r;
        FixedClock clock(kNov1);
        Ledger ledger(clock);
        const bool started =
            CheckSettingsFolder(settings, settings / "Tolvane.ini", settings / "Data", old, r) &&
            PrepareDataFolder(ledger, settings / "Data", old, settings / "Tolvane.ini", r);
        if (!*c.refused) {
            EXPECT_TRUE(started) << c.what;
            EXPECT_TRUE(r.errors.empty()) << c.what;
            EXPECT_TRUE(fs::exists(settings / "Data/a.dat")) << c.what;
            continue;
        }
        EXPECT_FALSE(started) << c.what;
        EXPECT_EQ(r.errors, std::vector<std::string>{std::string(kFolderNotOwn) + "\n" +
                                                     (t / c.refused).string()})
            << c.what;
        // Refused before anything of ours was made there, the previous version's
        // way included.
        EXPECT_FALSE(fs::exists(settings)) << c.what;
    }
}

TEST(CheckSettingsFolder, ASettingsFileTooLargeIsReportedAndLeftAsItIs) {
    TempDir drive;
    Recorder r;
    const std::string huge = "[Option]\r\n" + std::string(platform::IniFile::kMaxSize, ';');
    writeText(drive / "Tolvane.ini", huge);
    EXPECT_TRUE(
        CheckSettingsFolder(drive.path(), drive / "Tolvane.ini", drive / "Data", drive / "old", r));
    EXPECT_EQ(r.errors, std::vector<std::string>{std::string(kSettingsTooLarge) + "\n" +
                                                 (drive / "Tolvane.ini").string()});
    EXPECT_EQ(readText(drive / "Tolvane.ini"), huge);
}

TEST(HasReadOnlyAttribute, LooksAtThePermissionBitsOnly) {
    TempDir dir;
    writeText(dir / "f", "");
    EXPECT_FALSE(HasReadOnlyAttribute(dir / "f"));
    fs::permissions(dir / "f", fs::perms::others_write, fs::perm_options::replace);
    EXPECT_FALSE(HasReadOnlyAttribute(dir / "f"));
    fs::permissions(dir / "f", fs::perms::owner_read | fs::perms::others_read);
    EXPECT_TRUE(HasReadOnlyAttribute(dir / "f"));
    EXPECT_FALSE(HasReadOnlyAttribute(dir / "none"));
}

struct MigrationTest : ::testing::Test {
    TempDir drive;
    fs::path old = drive / "Quenby/Tolvane3";
    fs::path data = drive / "Quenby/Tolvane4/Data";
    fs::path ini = drive / "Quenby/Tolvane4/Tolvane.ini";
    Recorder r;
    void SetUp() override {
        fs::create_directories(old / "Data");
        fs::create_directories(data);
        writeText(old / "Data/a.dat", "A");
        writeText(old / "Data/b.DAT", "B");
        writeText(old / "Data/c.txt", "C");
    }
};

TEST_F(MigrationTest, CopiesDataFilesAndSettingsAndSaysSo) {
    writeText(old / "Tolvane.ini", "[Option]\r\nold=1\r\n");
    writeText(ini, "[Option]\r\nnew=1\r\n");
    MigrateOldData(old, data, ini, r);
    EXPECT_EQ(readText(data / "a.dat"), "A");
    EXPECT_EQ(readText(data / "b.DAT"), "B");
    EXPECT_FALSE(fs::exists(data / "c.txt"));
    EXPECT_EQ(readText(ini), "[Option]\r\nold=1\r\n");
    EXPECT_EQ(r.infos, std::vector<std::string>{"｢Pembrel Tolvane3｣のデータを移行しました。"});
    EXPECT_TRUE(r.errors.empty());
}

TEST_F(MigrationTest, WithoutOldSettingsTheDataIsCopiedSilently) {
    MigrateOldData(old, data, ini, r);
    EXPECT_EQ(readText(data / "a.dat"), "A");
    EXPECT_FALSE(fs::exists(ini));
    EXPECT_TRUE(r.infos.empty());
    EXPECT_TRUE(r.errors.empty());
}

TEST_F(MigrationTest, AFailedCopyIsReportedAndThereIsNoSuccessNote) {
    writeText(old / "Tolvane.ini", "[Option]\r\n");
    // A folder where a.dat should go: that copy cannot replace it.
    fs::create_directory(data / "a.dat");
    MigrateOldData(old, data, ini, r);
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_NE(r.errors[0].find("a.dat"), std::string::npos);
    EXPECT_EQ(readText(data / "b.DAT"), "B");
    EXPECT_TRUE(r.infos.empty());
}

TEST_F(MigrationTest, NoOldFolderMeansNothingToDo) {
    fs::remove_all(old);
    MigrateOldData(old, data, ini, r);
    EXPECT_TRUE(r.errors.empty());
    EXPECT_TRUE(r.infos.empty());
}

TEST(PrepareDataFolder, FirstRunMakesTheFolderMigratesAndCreatesTodaysFile) {
    TempDir drive;
    FixedClock clock(kNov1);
    Ledger ledger(clock);
    Recorder r;
    const fs::path old = drive / "Quenby/Tolvane3", data = drive / "Quenby/Tolvane4/Data";
    fs::create_directories(old / "Data");
    writeText(old / "Data/令和7年給与･賞与.dat", "last year");
    ASSERT_TRUE(PrepareDataFolder(ledger, data, old, drive / "Quenby/Tolvane4/Tolvane.ini", r));
    EXPECT_EQ(ledger.dataPath, data);
    EXPECT_EQ(ledger.CurData.FileName, data / kTodayFile);
    EXPECT_EQ(fs::file_size(data / kTodayFile), 1426928u);
    EXPECT_EQ(readText(data / "令和7年給与･賞与.dat"), "last year");

    // Later starts leave the folder alone and keep an existing year file.
    writeText(old / "Data/x.dat", "x");
    writeText(data / kTodayFile, "kept");
    ASSERT_TRUE(PrepareDataFolder(ledger, data, old, drive / "Quenby/Tolvane4/Tolvane.ini", r));
    EXPECT_FALSE(fs::exists(data / "x.dat"));
    EXPECT_EQ(readText(data / kTodayFile), "kept");
    EXPECT_TRUE(r.errors.empty());
}

TEST(PrepareDataFolder, AMigratedYearFileOfTodayIsKept) {
    TempDir drive;
    FixedClock clock(kNov1);
    Ledger ledger(clock);
    Recorder r;
    const fs::path old = drive / "Quenby/Tolvane3", data = drive / "Quenby/Tolvane4/Data";
    fs::create_directories(old / "Data");
    writeText(old / "Data" / kTodayFile, "migrated");
    ASSERT_TRUE(PrepareDataFolder(ledger, data, old, drive / "x.ini", r));
    EXPECT_EQ(readText(data / kTodayFile), "migrated");
}

TEST(PrepareDataFolder, ADataFolderThatCannotBeMadeEndsTheStart) {
    TempDir drive;
    FixedClock clock(kNov1);
    Ledger ledger(clock);
    Recorder r;
    writeText(drive / "Data", "a file in the way");
    EXPECT_FALSE(PrepareDataFolder(ledger, drive / "Data/Data", drive / "old", drive / "x.ini", r));
    EXPECT_EQ(r.errors, std::vector<std::string>{"データ用フォルダーが作成できません。"});
}

TEST(LoadTables, MissingFilesAreSilentShortOnesAreReported) {
    TempDir dir;
    FixedClock clock(kNov1);
    Ledger ledger(clock);
    Recorder r;
    EXPECT_EQ(LoadTables(ledger, dir.path(), r), 0);
    EXPECT_TRUE(r.errors.empty());

    writeText(dir / "税額表(賞与).dat", std::string(100, '\0'));
    EXPECT_EQ(LoadTables(ledger, dir.path(), r), 0);
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].rfind("税額表(賞与).dat", 0), 0u);
}

TEST(LoadTables, TheGeneratedTablesAllLoad) {
    FixedClock clock(kNov1);
    Ledger ledger(clock);
    Recorder r;
    EXPECT_EQ(LoadTables(ledger, TOLVANE_BINARY_DIR, r), 3);
    EXPECT_TRUE(r.errors.empty());
}

TEST(MainWindowCreateSteps, AShortTableEndsThemBeforeTheDataFolder) {
    TempDir drive;
    FixedClock clock(kNov1);
    const fs::path program = drive / "program";
    fs::create_directories(program);
    for (const char* name : {"税額表(給与).dat", "税額表(賞与).dat", "健康保険料額表.dat"})
        writeText(program / name, readText(fs::path(TOLVANE_BINARY_DIR) / name));
    const std::string grades = readText(program / "健康保険料額表.dat");
    writeText(program / "健康保険料額表.dat", grades.substr(0, grades.size() - 1));
    fs::create_directories(drive / "old/Data");
    writeText(drive / "old/Data/平成30年給与･賞与.dat", "old year");

    Ledger ledger(clock);
    Recorder r;
    int tables = -1;
    // The window still comes up: its first activation ends the program.
    EXPECT_TRUE(MainWindowCreateSteps(ledger, program, drive / "Data", drive / "old",
                                      drive / "Tolvane.ini", r, tables));
    EXPECT_EQ(tables, 2);
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].rfind("健康保険料額表.dat", 0), 0u);
    EXPECT_FALSE(fs::exists(drive / "Data"));

    // Whole tables: the data folder, the migration and today's year file follow.
    writeText(program / "健康保険料額表.dat", grades);
    r.errors.clear();
    EXPECT_TRUE(MainWindowCreateSteps(ledger, program, drive / "Data", drive / "old",
                                      drive / "Tolvane.ini", r, tables));
    EXPECT_EQ(tables, 3);
    EXPECT_TRUE(r.errors.empty());
    EXPECT_TRUE(fs::exists(drive / "Data/平成30年給与･賞与.dat"));
    EXPECT_TRUE(fs::exists(drive / "Data" / kTodayFile));
}

TEST(VersionText, TakesCharactersOneThreeAndFive) {
    EXPECT_EQ(VersionText("1.1.0.0"), "1.10");
    EXPECT_EQ(VersionText("4.0.2.0"), "4.02");
    EXPECT_EQ(VersionText(""), "");
    EXPECT_EQ(VersionText("2"), "2");
    EXPECT_EQ(ProgramVersionText(), "1.10");
    EXPECT_FALSE(IsWindows6x());
}

TEST(WindowPlacement, ReadsWhatIsStoredAndDefaultsWhatIsNot) {
    struct Case {
        const char* ini;
        bool maximized;
        int x, y, w, h;  // as shown
    };
    const Case cases[] = {
        {"", true, 0, 0, 800, 570},
        {"[Window]\r\nState=wsNormal\r\n", false, 0, 0, 800, 570},
        {"[Window]\r\nState=wsNormal\r\nPos_X=10\r\nPos_Y=20\r\nWidth=1000\r\nHeight=700\r\n",
         false, 10, 20, 1000, 700},
        {"[Window]\r\nState=wsMaximized\r\nPos_X=10\r\n", true, 10, 0, 800, 570},
        // Damaged values take their defaults.
        {"[Window]\r\nState=wsNormal\r\nPos_X=abc\r\nPos_Y=-5\r\nWidth=9999999\r\nHeight=x\r\n",
         false, 0, -5, 800, 570},
        // Only "wsMaximized" maximises: any other stored State places the window.
        {"[Window]\r\nState=garbage\r\nPos_X=30\r\n", false, 30, 0, 800, 570},
        {"[Window]\r\nState=\r\n", false, 0, 0, 800, 570},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeText(dir / "Tolvane.ini", c.ini);
        const WindowPlacement p = ReadWindowPlacement(platform::IniFile(dir / "Tolvane.ini"));
        EXPECT_EQ(p.maximized, c.maximized) << c.ini;
        EXPECT_EQ(p.x, c.x) << c.ini;
        EXPECT_EQ(p.y, c.y) << c.ini;
        EXPECT_EQ(p.shownWidth(), c.w) << c.ini;
        EXPECT_EQ(p.shownHeight(), c.h) << c.ini;
    }
}

TEST(WindowPlacement, WritesEveryKeyAndReadsThemBack) {
    TempDir dir;
    platform::IniFile ini(dir / "Tolvane.ini");
    writeText(ini.path(), "[Window]\r\nMembList_X=420\r\nMembList_Y=380\r\n");
    WindowPlacement p = ReadWindowPlacement(ini);
    p.maximized = false;
    p.x = 12;
    p.y = 34;
    p.width = 900;
    p.height = 650;
    WriteWindowPlacement(ini, p);
    EXPECT_EQ(readText(ini.path()),
              "[Window]\r\nMembList_X=420\r\nMembList_Y=380\r\nState=wsNormal\r\nPos_X=12\r\n"
              "Pos_Y=34\r\nWidth=900\r\nHeight=650\r\n");
    const WindowPlacement back = ReadWindowPlacement(ini);
    EXPECT_FALSE(back.maximized);
    EXPECT_EQ(back.x, 12);
    EXPECT_EQ(back.height, 650);
    EXPECT_EQ(back.membListWidth, 420);
}

TEST(CurrentMonthChooser, StandsInForTheSelectionWithTodaysMonth) {
    // Until the period selection dialog exists, the start opens the current month
    // of today's year file without asking, reading its header as the selection does.
    TempDir dir;
    FixedClock clock(kNov1);
    Ledger ledger(clock);
    ledger.dataPath = dir.path();
    CreateDataFile(ledger, dir / kTodayFile);
    {
        auto bytes = testing_support::readBytes(dir / kTodayFile);
        bytes[24] = 7;  // a bonus payment month in the stored header
        testing_support::writeBytes(dir / kTodayFile, bytes);
    }
    CurrentMonthChooser chooser;
    EXPECT_TRUE(chooser.choose(ledger));
    EXPECT_EQ(ledger.FileHeader.BonusPayMonth[0], 7);
    EXPECT_EQ(ledger.CurData.FileName, dir / kTodayFile);
    EXPECT_EQ(ledger.CurData.Era, "令和");
    EXPECT_EQ(ledger.CurData.Year, 8);
    EXPECT_EQ(ledger.CurData.Period, 11);
    EXPECT_FALSE(chooser.returnRequested());
}

}  // namespace
