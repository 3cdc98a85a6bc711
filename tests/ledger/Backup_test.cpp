#include "ledger/Backup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <utility>

#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "support/OtherAccount.h"
#include "support/TempDir.h"

namespace {
using namespace ledger;
using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;
namespace fs = std::filesystem;

// The files of a folder (not its subfolders, not hidden ones) with their bytes.
std::map<std::string, std::string> contents(const fs::path& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.is_regular_file()) out[e.path().filename().string()] = readText(e.path());
    return out;
}

bool runningAsRoot() {
    return ::geteuid() == 0;
}

class BackupTest : public ::testing::Test {
protected:
    TempDir tmp;
    fs::path settings = tmp / "Tolvane4";
    fs::path data = settings / "Data";
    fs::path ini = settings / "Tolvane.ini";
    fs::path target = tmp / "usb";
    MessageLog log;

    void SetUp() override {
        fs::create_directories(data);
        fs::create_directories(target);
        writeText(ini, "[Option]\r\nCorpName=now\r\n");
        writeText(data / "令和8年給与･賞与.dat", "year8");
        writeText(data / "システムログ.dat", "log");
        writeText(data / "社員情報.dat", "template");
        writeText(data / "源泉徴収(令和8年).dat", "withholding");
        writeText(data / "YubinNo.dat", "postal");
        writeText(data / "YUBINNO.DAT", "postal2");
        writeText(data / "memo.txt", "memo");
    }
};

TEST_F(BackupTest, CopiesTheDataFilesAndSettingsButNotWithholdingOrPostalFiles) {
    writeText(target / "システムログ.dat", "older log");
    EXPECT_TRUE(DataBackup(data, ini, target, log));
    const std::map<std::string, std::string> expected{
        {"令和8年給与･賞与.dat", "year8"},
        {"システムログ.dat", "log"},
        {"社員情報.dat", "template"},
        {"Tolvane.ini", readText(target / "Tolvane.ini")}};
    EXPECT_EQ(contents(target), expected);
    // The copy holds the settings as they were before the folder was remembered.
    EXPECT_EQ(readText(target / "Tolvane.ini"), "[Option]\r\nCorpName=now\r\n");
    EXPECT_EQ(platform::IniFile(ini).readString("Option", "BackupPath"), target.string());
    EXPECT_NE(readText(ini).find("BackupPath=" + target.string() + "\r\n"), std::string::npos)
        << "written unquoted";
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].second, kBackupDone);
}

TEST_F(BackupTest, AFailedCopyIsReportedAndTheFolderIsNotRemembered) {
    if (runningAsRoot()) {
        // Root writes into read-only folders; a folder that is a file fails for anyone.
        fs::remove_all(target);
        writeText(target, "not a folder");
    } else {
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_exec);
    }
    EXPECT_FALSE(DataBackup(data, ini, target, log));
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].first, MessageLog::Kind::Error);
    // The fixed text, then what failed (the folder that is none, or the first
    // copy in the read-only one) and why.
    const fs::path failed = runningAsRoot() ? target : target / "システムログ.dat";
    EXPECT_EQ(
        log.entries[0].second.rfind(std::string(kBackupFailed) + "\r" + failed.string() + "\r", 0),
        0u)
        << log.entries[0].second;
    EXPECT_FALSE(platform::IniFile(ini).valueExists("Option", "BackupPath"));
    fs::permissions(target, fs::perms::owner_all, fs::perm_options::add);
}

// The message names the file the backup could not read (a data file gone since
// the listing, a missing settings file) or write, under the fixed text.
TEST_F(BackupTest, AFailedBackupNamesTheFileItCouldNotReadOrWrite) {
    const struct Row {
        const char* what;
        std::function<void()> before;
        std::function<void()> afterFirstCopy;
        fs::path named;
    } rows[] = {
        {"settings file missing", [&] { fs::remove(ini); }, {}, ini},
        {"data file gone since the listing",
         {},
         [&] { fs::remove(data / "社員情報.dat"); },
         data / "社員情報.dat"},
        {"folder in place of a copy",
         [&] { fs::create_directory(target / "社員情報.dat"); },
         {},
         target / "社員情報.dat"},
    };
    for (const Row& row : rows) {
        SetUp();
        if (row.before) row.before();
        bool first = true;
        std::string failure;
        EXPECT_FALSE(BackupData(data, ini, target, &failure, [&] {
            if (first && row.afterFirstCopy) row.afterFirstCopy();
            first = false;
        })) << row.what;
        EXPECT_EQ(failure.rfind(row.named.string() + "\r", 0), 0u) << row.what << ": " << failure;
        fs::remove_all(tmp.path() / "Tolvane4");
        fs::remove_all(target);
    }
}

// The chosen folder is opened once: a folder renamed and replaced by a link
// between two copies takes every later copy (or read) still, and nothing goes
// through the link.
TEST_F(BackupTest, AFolderSwappedForALinkDuringTheWorkRedirectsNothing) {
    const fs::path elsewhere = tmp / "elsewhere";
    const fs::path moved = tmp / "moved";
    fs::create_directories(elsewhere);
    writeText(elsewhere / "Tolvane.ini", "elsewhere");
    writeText(elsewhere / "令和8年給与･賞与.dat", "elsewhere");
    auto swap = [&](const fs::path& folder) {
        fs::rename(folder, moved);
        fs::create_directory_symlink(elsewhere, folder);
    };
    {
        SCOPED_TRACE("backup");
        bool swapped = false;
        ASSERT_TRUE(BackupData(data, ini, target, nullptr, [&] {
            if (!std::exchange(swapped, true)) swap(target);
        }));
        EXPECT_EQ(readText(elsewhere / "Tolvane.ini"), "elsewhere");
        EXPECT_EQ(readText(elsewhere / "令和8年給与･賞与.dat"), "elsewhere");
        EXPECT_EQ(contents(elsewhere).size(), 2u);
        EXPECT_EQ(contents(moved).size(), 4u);
        EXPECT_EQ(readText(moved / "Tolvane.ini"), "[Option]\r\nCorpName=now\r\n");
    }
    fs::remove_all(moved);
    {
        SCOPED_TRACE("restore");
        const fs::path backup = tmp / "backup";
        fs::create_directory(backup);
        ASSERT_TRUE(BackupData(data, ini, backup));
        writeText(backup / "Tolvane.ini", "[Option]\r\nCorpName=backup\r\n");
        bool swapped = false;
        ASSERT_EQ(RestoreData(data, ini, backup,
                              [&] {
                                  if (!std::exchange(swapped, true)) swap(backup);
                              }),
                  RestoreResult::Restored);
        EXPECT_EQ(readText(ini), "[Option]\r\nCorpName=backup\r\n");
        EXPECT_EQ(readText(data / "令和8年給与･賞与.dat"), "year8");
    }
}

TEST_F(BackupTest, BackupIntoTheDataFolderItselfLosesNothing) {
    const auto before = contents(data);
    EXPECT_TRUE(BackupData(data, ini, data));
    auto after = contents(data);
    after.erase("Tolvane.ini");
    EXPECT_EQ(after, before);
    EXPECT_TRUE(BackupData(data, ini, settings));
    EXPECT_EQ(readText(ini), "[Option]\r\nCorpName=now\r\n");
}

TEST_F(BackupTest, ReadBackupPathFallsBackWhenNoneIsStored) {
    EXPECT_EQ(ReadBackupPath(platform::IniFile(ini), "/home/x"), "/home/x");
    platform::IniFile(ini).writeString("Option", "BackupPath", "/media/usb");
    EXPECT_EQ(ReadBackupPath(platform::IniFile(ini), "/home/x"), "/media/usb");
}

class RestoreTest : public BackupTest {
protected:
    fs::path backup = tmp / "backup";
    void SetUp() override {
        BackupTest::SetUp();
        fs::create_directories(backup);
        writeText(backup / "Tolvane.ini", "[Option]\r\nCorpName=backup\r\n");
        writeText(backup / "令和8年給与･賞与.dat", "year8 backup");
        writeText(backup / "YubinNo.dat", "postal backup");
        writeText(backup / "源泉徴収(令和8年).dat", "withholding backup");
        writeText(backup / "notes.txt", "not data");
    }
};

TEST_F(RestoreTest, BringsBackDataFilesAndSettingsAndKeepsFilesTheBackupLacks) {
    writeText(data / "令和9年給与･賞与.dat", "year9");
    EXPECT_TRUE(DataRestore(data, ini, backup, log));
    const auto now = contents(data);
    EXPECT_EQ(now.at("令和8年給与･賞与.dat"), "year8 backup");
    EXPECT_EQ(now.at("YubinNo.dat"), "postal backup");
    EXPECT_EQ(now.at("源泉徴収(令和8年).dat"), "withholding");
    EXPECT_EQ(now.at("令和9年給与･賞与.dat"), "year9");
    EXPECT_EQ(now.count("notes.txt"), 0u);
    EXPECT_EQ(readText(ini), "[Option]\r\nCorpName=backup\r\n");
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].second, kRestoreDone);
    // No staging folder is left behind.
    for (const auto& e : fs::directory_iterator(data)) EXPECT_FALSE(e.is_directory()) << e.path();
    for (const auto& e : fs::directory_iterator(settings)) {
        if (e.is_directory()) {
            EXPECT_EQ(e.path(), data);
        }
    }
}

// A link in the settings file's place is none: it would make any file the settings.
TEST_F(RestoreTest, AFolderWithoutSettingsFileIsRefusedBeforeAnyCopy) {
    writeText(tmp / "unrelated.txt", "[Option]\r\nCorpName=unrelated\r\n");
    fs::remove(backup / "Tolvane.ini");
    const auto before = contents(data);
    for (const bool link : {false, true}) {
        SCOPED_TRACE(link ? "a link" : "no file");
        if (link) fs::create_symlink(tmp / "unrelated.txt", backup / "Tolvane.ini");
        log.entries.clear();
        EXPECT_FALSE(DataRestore(data, ini, backup, log));
        EXPECT_EQ(contents(data), before);
        EXPECT_EQ(readText(ini), "[Option]\r\nCorpName=now\r\n");
        ASSERT_EQ(log.entries.size(), 1u);
        EXPECT_EQ(log.entries[0].second, kRestoreNoData);
    }
}

TEST_F(RestoreTest, AFailedCopyLeavesDataFolderAndSettingsAsTheyWere) {
    // A data file that cannot be put aside, by root neither: a folder stands at
    // its name. It sorts after the year file, which is staged first and must not
    // reach the data folder.
    writeText(backup / "ﾝ.dat", "restored");
    fs::create_directory(data / "ﾝ.dat");
    const auto before = contents(data);
    EXPECT_FALSE(DataRestore(data, ini, backup, log));
    EXPECT_EQ(contents(data), before);
    EXPECT_EQ(readText(ini), "[Option]\r\nCorpName=now\r\n");
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].second, kRestoreFailed);
    for (const fs::path& folder : {data, settings})
        for (const auto& e : fs::directory_iterator(folder))
            EXPECT_NE(e.path().filename().string().rfind(".restore", 0), 0u)
                << "staging left behind";
}

// A backup medium may hold anything. Only regular files are restored, under
// names of any length the file system allows; links and pipes are named in a
// warning before the closing message.
TEST_F(RestoreTest, RestoresRegularFilesOnlyAndReportsWhatItSkipped) {
    fs::create_directories(tmp / "elsewhere");
    writeText(tmp / "elsewhere/private.dat", "someone's private file");
    fs::create_symlink(tmp / "elsewhere/private.dat", backup / "令和7年給与･賞与.dat");
    fs::create_symlink(tmp / "elsewhere/gone.dat", backup / "dangling.dat");
    ASSERT_EQ(::mkfifo((backup / "pipe.dat").c_str(), 0600), 0);
    const std::string name242 = std::string(238, 'm') + ".dat";
    const std::string name255 = std::string(251, 'n') + ".dat";
    writeText(data / name242, "old long");
    writeText(backup / name242, "restored 242");
    writeText(backup / name255, "restored 255");

    EXPECT_TRUE(DataRestore(data, ini, backup, log));
    const auto now = contents(data);
    EXPECT_EQ(now.at("令和8年給与･賞与.dat"), "year8 backup");
    EXPECT_EQ(now.at(name242), "restored 242");
    EXPECT_EQ(now.at(name255), "restored 255");
    for (const char* skipped : {"令和7年給与･賞与.dat", "dangling.dat", "pipe.dat"})
        EXPECT_FALSE(fs::exists(fs::symlink_status(data / skipped))) << skipped;
    EXPECT_EQ(readText(tmp / "elsewhere/private.dat"), "someone's private file");
    ASSERT_EQ(log.entries.size(), 2u);
    EXPECT_EQ(log.entries[0].first, MessageLog::Kind::Warning);
    EXPECT_EQ(log.entries[0].second,
              std::string(kRestoreSkipped) + "\rdangling.dat\rpipe.dat\r令和7年給与･賞与.dat");
    EXPECT_EQ(log.entries[1].second, kRestoreDone);
}

TEST_F(RestoreTest, RestoringFromTheDataFolderItselfLosesNothing) {
    writeText(data / "Tolvane.ini", "[Option]\r\nCorpName=in data\r\n");
    const auto before = contents(data);
    EXPECT_EQ(RestoreData(data, ini, data), RestoreResult::Restored);
    EXPECT_EQ(contents(data), before);
    EXPECT_EQ(readText(ini), "[Option]\r\nCorpName=in data\r\n");
}

// A backup holds every employee's pay: the copies it creates are for their
// owner only under the usual umask; a file it replaces keeps the mode it had.
TEST_F(BackupTest, BackupCopiesAreForTheirOwnerOnly) {
    writeText(target / "社員情報.dat", "older");
    ASSERT_EQ(::chmod((target / "社員情報.dat").c_str(), 0644), 0);
    const mode_t old = ::umask(022);
    const bool done = BackupData(data, ini, target);
    ::umask(old);
    ASSERT_TRUE(done);
    for (const auto& e : fs::directory_iterator(target)) {
        struct stat st {};
        ASSERT_EQ(::stat(e.path().c_str(), &st), 0);
        const mode_t expected = e.path().filename() == "社員情報.dat" ? 0644 : 0600;
        EXPECT_EQ(st.st_mode & 0777, expected) << e.path();
    }
}

// A backup into a folder other accounts share leaves copies of ours, private,
// whatever another account planted there: its open files and its links are
// replaced, the file at a link's end untouched. Where the folder's sticky bit
// keeps its file theirs the backup stops and names the file and the cause.
// Needs a second uid (BackupCopiesAreForTheirOwnerOnly is the variant without).
TEST_F(BackupTest, ABackupOverAnotherAccountsFilesLeavesPrivateFilesOfOurs) {
    using namespace testing_support;
    if (!canActAsOtherAccount()) GTEST_SKIP() << "needs a second account";
    for (const bool sticky : {false, true}) {
        SCOPED_TRACE(sticky ? "sticky folder" : "folder open to all");
        TempDir shared;
        const fs::path folder = makeSharedFolder(shared.path(), sticky);
        for (const char* name : {"Tolvane.ini", "令和8年給与･賞与.dat"}) {
            writeText(folder / name, "planted");
            ASSERT_EQ(::chmod((folder / name).c_str(), 0666), 0);
        }
        fs::create_symlink(shared / "private.txt", folder / "社員情報.dat");
        if (!sticky) {
            for (const auto& e : fs::directory_iterator(folder)) giveToOtherAccount(e.path());
            ASSERT_TRUE(DataBackup(data, ini, folder, log));
            for (const auto& e : fs::directory_iterator(folder)) {
                struct stat st {};
                ASSERT_EQ(::lstat(e.path().c_str(), &st), 0);
                EXPECT_TRUE(S_ISREG(st.st_mode)) << e.path();
                EXPECT_EQ(st.st_uid, ::geteuid()) << e.path();
                EXPECT_EQ(st.st_mode & 07777, 0600u) << e.path();
            }
            EXPECT_EQ(readText(folder / "Tolvane.ini"), "[Option]\r\nCorpName=now\r\n");
            EXPECT_EQ(readText(folder / "令和8年給与･賞与.dat"), "year8");
        } else {
            // Root is bound by no sticky bit: the other account backs up its own
            // data there, over root's files.
            for (const auto& e : fs::recursive_directory_iterator(tmp.path()))
                giveToOtherAccount(e.path());
            giveToOtherAccount(tmp.path());
            const std::string expected = std::string(kBackupFailed) + "\r" +
                                         (folder / "令和8年給与･賞与.dat").string() + "\r" +
                                         platform::IoError::foreignFile().what();
            EXPECT_EQ(runAsOtherAccount([&] {
                          MessageLog log;
                          return !DataBackup(data, ini, folder, log) && log.entries.size() == 1 &&
                                         log.entries[0].second == expected
                                     ? 0
                                     : 1;
                      }),
                      0);
            EXPECT_EQ(readText(folder / "令和8年給与･賞与.dat"), "planted");
            EXPECT_EQ(readText(folder / "Tolvane.ini"), "planted");
        }
        EXPECT_EQ(readText(shared / "private.txt"), "mine");
    }
}

}  // namespace
