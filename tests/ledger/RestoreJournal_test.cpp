#include "ledger/RestoreJournal.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <stdexcept>

#include "ledger/Backup.h"
#include "platform/Files.h"
#include "support/TempDir.h"

namespace {
using namespace ledger;
using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;
namespace fs = std::filesystem;

// Every entry under a folder, hidden ones and subfolders included, with the bytes
// of each file ("<dir>" for a folder).
std::map<std::string, std::string> tree(const fs::path& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(e.path(), folder).string();
        if (name.ends_with(".lock")) continue;  // the lock file stays, by design
        out[name] = e.is_directory() ? "<dir>" : readText(e.path());
    }
    return out;
}

// A settings folder with its data folder holding the old set, and a backup
// folder holding the new one: the same names with other bytes, and one file the
// data folder does not have yet.
class RestoreCrashTest : public ::testing::Test {
protected:
    TempDir tmp;
    fs::path settings = tmp / "Tolvane4";
    fs::path data = settings / "Data";
    fs::path ini = settings / "Tolvane.ini";
    fs::path backup = tmp / "usb";
    std::map<std::string, std::string> oldSet, newSet;

    void SetUp() override {
        fs::create_directories(data);
        fs::create_directories(backup);
        writeText(ini, "[Option]\r\nCorpName=old\r\n");
        writeText(data / "令和8年給与･賞与.dat", "old year");
        writeText(data / "社員情報.dat", "old template");
        writeText(data / "システムログ.dat", "old log");
        writeText(data / "源泉徴収(令和8年).dat", "withholding");
        oldSet = tree(settings);

        writeText(backup / "Tolvane.ini", "[Option]\r\nCorpName=new\r\n");
        writeText(backup / "令和8年給与･賞与.dat", "new year");
        writeText(backup / "令和7年給与･賞与.dat", "new last year");
        writeText(backup / "社員情報.dat", "new template");
        writeText(backup / "システムログ.dat", "new log");
        newSet = oldSet;
        newSet["Tolvane.ini"] = "[Option]\r\nCorpName=new\r\n";
        newSet["Data/令和8年給与･賞与.dat"] = "new year";
        newSet["Data/令和7年給与･賞与.dat"] = "new last year";
        newSet["Data/社員情報.dat"] = "new template";
        newSet["Data/システムログ.dat"] = "new log";
    }

    // Runs the restore in a child that ends itself after `killAt` steps (or, with
    // failAt, first fails the step failAt as a refused rename would). True when
    // the child was ended before the restore was over.
    bool restoreInChild(int killAt, int failAt = 0) {
        pid_t pid = ::fork();
        if (pid == 0) {
            int steps = 0;
            RestoreResult r = RestoreData(data, ini, backup, [&] {
                ++steps;
                if (steps == killAt) ::_exit(9);
                if (steps == failAt) throw std::runtime_error("refused");
            });
            ::_exit(r == RestoreResult::Restored ? 0 : 1);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status));
        return WEXITSTATUS(status) == 9;
    }

    void resetToOldSet() {
        fs::remove_all(settings);
        fs::create_directories(data);
        for (const auto& [name, bytes] : oldSet) {
            if (bytes == "<dir>")
                fs::create_directories(settings / name);
            else
                writeText(settings / name, bytes);
        }
    }

    RestoreRecovery nextStart() { return RecoverUnfinishedRestore(RestorePlaces{data, ini}); }
};

TEST_F(RestoreCrashTest, AKillAtAnyStepEndsWithTheWholeOldOrTheWholeNewSet) {
    int killAt = 1;
    bool sawOld = false, sawNew = false;
    for (; killAt < 100; ++killAt) {
        SCOPED_TRACE(killAt);
        resetToOldSet();
        const bool killed = restoreInChild(killAt);
        const RestoreRecovery r = nextStart();
        const auto now = tree(settings);
        if (now == oldSet) {
            sawOld = true;
            EXPECT_EQ(r, RestoreRecovery::NothingToDo);
        } else {
            EXPECT_EQ(now, newSet);
            sawNew = true;
            if (killed) {
                EXPECT_NE(r, RestoreRecovery::Failed);
            }
        }
        if (!killed) break;
    }
    // Staging, the journal, five renames and the journal's removal were all hit.
    EXPECT_GE(killAt, 12);
    EXPECT_TRUE(sawOld);
    EXPECT_TRUE(sawNew);
}

TEST_F(RestoreCrashTest, AFailedRenameIsUndoneEvenWhenTheUndoIsKilled) {
    // The journal is written after the five files are staged (step 6); the third
    // rename (step 9) fails. Then the undo is killed at each of its steps.
    for (int killAfter = 1; killAfter < 12; ++killAfter) {
        SCOPED_TRACE(killAfter);
        resetToOldSet();
        const bool killed = restoreInChild(9 + killAfter, 9);
        const RestoreRecovery r = nextStart();
        EXPECT_EQ(tree(settings), oldSet);
        EXPECT_NE(r, RestoreRecovery::Failed);
        EXPECT_NE(r, RestoreRecovery::Completed);
        if (!killed) break;
    }
}

TEST_F(RestoreCrashTest, TheNextStartSaysWhatItDid) {
    ASSERT_TRUE(restoreInChild(8));  // after the journal and the first rename
    MessageLog log;
    EXPECT_TRUE(RecoverUnfinishedRestore(RestorePlaces{data, ini}, log));
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].second, kRestoreCompleted);
    EXPECT_EQ(tree(settings), newSet);

    // A journal that cannot be read tells nothing: the program must not go on.
    writeText(settings / ".restore.journal", "tolvane-restore 1\nphase forward\n");
    log.entries.clear();
    EXPECT_FALSE(RecoverUnfinishedRestore(RestorePlaces{data, ini}, log));
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].second, kRestoreRecoveryFailed);
}

// A journal that names what no restore of ours leaves is refused before anything
// is done: the start stops with its message, and every file and folder, the
// journal included, stays as it is.
TEST(RestoreJournalRecovery, AJournalNamingWhatIsNotOursIsRefusedAndNothingIsTouched) {
    using Place = RestoreJournal::Place;
    using Phase = RestoreJournal::Phase;
    const std::string year = "令和8年給与･賞与.dat";
    struct Row {
        const char* what;
        std::string dataStage, settingsStage;
        Phase phase;
        std::vector<RestoreJournal::File> files;
        std::function<void(const fs::path& data, const fs::path& elsewhere)> plant;
    };
    const std::string ours = ".restore-abc123", oursToo = ".restore-def456";
    const std::vector<Row> rows{
        {"the settings stage is the data folder", ours, "Data", Phase::Forward, {}, {}},
        {"the data stage is a year file", year, oursToo, Phase::Forward, {}, {}},
        {"the data stage is a folder of the user's naming",
         ".restore-mine",
         oursToo,
         Phase::Forward,
         {},
         [](const fs::path& data, const fs::path&) {
             fs::create_directory(data / ".restore-mine");
             writeText(data / ".restore-mine/keep.txt", "the user's");
         }},
        {"the data stage is a link to another folder",
         ours,
         oursToo,
         Phase::Forward,
         {{Place::Data, year, true}},
         [&](const fs::path& data, const fs::path& elsewhere) {
             fs::remove_all(data / ours);
             fs::create_directory_symlink(elsewhere, data / ours);
         }},
        {"a waiting copy is a link to another folder's file",
         ours,
         oursToo,
         Phase::Forward,
         {{Place::Data, year, true}},
         [&](const fs::path& data, const fs::path& elsewhere) {
             for (const std::string& name : {std::string("new-0"), "new-" + year})
                 fs::create_symlink(elsewhere / name, data / ours / name);
         }},
        {"an undo names a year file it did not create",
         ours,
         oursToo,
         Phase::Back,
         {{Place::Data, year, false}},
         {}},
        {"an undo names the settings file it did not create",
         ours,
         oursToo,
         Phase::Back,
         {{Place::Settings, "Tolvane.ini", false}},
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TempDir tmp;
        const fs::path settings = tmp / "Tolvane4", data = settings / "Data";
        const fs::path ini = settings / "Tolvane.ini", elsewhere = tmp / "elsewhere";
        fs::create_directories(data / ours);
        fs::create_directories(settings / oursToo);
        fs::create_directories(elsewhere);
        writeText(ini, "[Option]\r\nCorpName=now\r\n");
        writeText(data / year, "the year");
        writeText(data / "システムログ.dat", "the log");
        writeText(data / "源泉徴収(令和8年).dat", "withholding");
        // What a stage would hold, in another folder.
        writeText(elsewhere / ("new-" + year), "foreign");
        writeText(elsewhere / "new-0", "foreign");
        if (row.plant) row.plant(data, elsewhere);
        RestoreJournal j;
        j.phase = row.phase;
        j.dataStage = row.dataStage;
        j.settingsStage = row.settingsStage;
        j.files = row.files;
        writeText(settings / ".restore.journal", j.text());
        const auto before = tree(tmp.path());

        MessageLog log;
        EXPECT_FALSE(RecoverUnfinishedRestore(RestorePlaces{data, ini}, log));
        ASSERT_EQ(log.entries.size(), 1u);
        EXPECT_EQ(log.entries[0].second, kRestoreRecoveryFailed);
        EXPECT_EQ(tree(tmp.path()), before);
    }
}

TEST(RestoreJournalText, ReadsBackWhatItWritesAndRefusesDamage) {
    RestoreJournal j;
    j.phase = RestoreJournal::Phase::Back;
    j.dataStage = ".restore-abc123";
    j.settingsStage = ".restore-def456";
    j.files = {{RestoreJournal::Place::Data, "名前 with\nbreak.dat", true},
               {RestoreJournal::Place::Settings, "Tolvane.ini", false}};
    const auto back = RestoreJournal::parse(j.text());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->text(), j.text());
    EXPECT_EQ(back->files[0].name, "名前 with\nbreak.dat");

    std::string text = j.text();
    EXPECT_FALSE(RestoreJournal::parse(text.substr(0, text.size() - 4)));  // cut short
    // A name that would leave its folder.
    RestoreJournal evil = j;
    evil.files[0].name = "../../x";
    EXPECT_FALSE(RestoreJournal::parse(evil.text()));
    evil = j;
    evil.dataStage = "..";
    EXPECT_FALSE(RestoreJournal::parse(evil.text()));
}

}  // namespace
