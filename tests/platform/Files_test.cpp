#include "platform/Files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>

#include "platform/Errors.h"
#include "support/OtherAccount.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> out;
    for (auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

mode_t modeOf(const fs::path& file) {
    struct stat st {};
    EXPECT_EQ(::stat(file.c_str(), &st), 0);
    return st.st_mode & 07777;
}

// Sets the umask for one test and restores it.
struct ScopedUmask {
    explicit ScopedUmask(mode_t m) : old(::umask(m)) {}
    ~ScopedUmask() { ::umask(old); }
    mode_t old;
};

TEST(Files, AtomicWriteCreatesAndReplacesLeavingNoTemporaryFile) {
    TempDir dir;
    ScopedUmask mask(027);
    const fs::path file = dir / "令和8年給与･賞与.dat";
    platform::writeFileAtomic(file, std::string("first\0", 6));
    EXPECT_EQ(readText(file), std::string("first\0", 6));
    EXPECT_EQ(modeOf(file), 0600u);  // pay data: for its owner only, whatever the umask

    std::string big(300000, 'x');  // more than one write() may take
    platform::writeFileAtomic(file, big);
    EXPECT_EQ(platform::readFile(file), big);
    platform::writeFileAtomic(file, "");
    EXPECT_EQ(platform::readFile(file), "");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"令和8年給与･賞与.dat"});
}

TEST(Files, AtomicWriteKeepsThePermissionsOfTheFileItReplaces) {
    TempDir dir;
    const fs::path file = dir / "Tolvane.ini";
    writeText(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    platform::writeFileAtomic(file, "new");
    EXPECT_EQ(modeOf(file), 0640u);
    EXPECT_EQ(readText(file), "new");
    // A mode given is taken by a new and an old file alike, whatever the umask.
    ScopedUmask mask(077);
    for (const fs::path& f : {file, dir / "new.dat"}) {
        platform::writeFileAtomic(f, "table", 0644);
        EXPECT_EQ(modeOf(f), 0644u) << f;
    }
}

TEST(Files, AFailedAtomicWriteLeavesTheOldFileAndNoTemporaryFile) {
    TempDir dir;
    // The rename fails: the target is a folder that is not empty.
    fs::create_directory(dir / "target");
    writeText(dir / "target" / "inside", "keep");
    EXPECT_THROW(platform::writeFileAtomic(dir / "target", "data"), platform::IoError);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"target"});
    EXPECT_EQ(readText(dir / "target" / "inside"), "keep");

    // The temporary file cannot even be made: the folder is a regular file.
    writeText(dir / "plain", "keep");
    try {
        platform::writeFileAtomic(dir / "plain" / "x.dat", "data");
        ADD_FAILURE() << "no IoError";
    } catch (const platform::IoError& e) {
        EXPECT_EQ(e.code(), ENOTDIR);
        EXPECT_STREQ(e.what(), "ファイルが見つかりません");
    }
    EXPECT_EQ(readText(dir / "plain"), "keep");
}

TEST(Files, AtomicWriteIntoAReadOnlyFolderFails) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    TempDir dir;
    writeText(dir / "a.dat", "old");
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    try {
        platform::writeFileAtomic(dir / "a.dat", "new");
        ADD_FAILURE() << "no IoError";
    } catch (const platform::IoError& e) {
        EXPECT_STREQ(e.what(), "ファイルへのアクセスが拒否されました");
    }
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(readText(dir / "a.dat"), "old");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"a.dat"});
}

TEST(Files, ReadingAMissingFileOrAFolderThrows) {
    TempDir dir;
    try {
        platform::readFile(dir / "missing.dat");
        ADD_FAILURE() << "no IoError";
    } catch (const platform::IoError& e) {
        EXPECT_EQ(e.code(), ENOENT);
        EXPECT_STREQ(e.what(), "ファイルが見つかりません");
    }
    EXPECT_THROW(platform::readFile(dir.path()), platform::IoError);
}

// A year file is read in one piece sized from the file; files whose size the
// system does not report (under /proc) are still read to their end.
TEST(Files, ReadingGivesEveryByteWhateverSizeTheFileReports) {
    TempDir dir;
    std::string bytes(1426928 + 7, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7919 % 251);
    writeText(dir / "year.dat", bytes);
    EXPECT_TRUE(platform::readFile(dir / "year.dat") == bytes);
    writeText(dir / "empty.dat", "");
    EXPECT_EQ(platform::readFile(dir / "empty.dat"), "");
    const std::string status = platform::readFile("/proc/self/status");
    EXPECT_NE(status.find("Name:"), std::string::npos);
    EXPECT_NE(status.find("VmRSS:"), std::string::npos);
}

TEST(Files, CopyReplacingReplacesTheTarget) {
    TempDir dir;
    writeText(dir / "from.dat", "new contents");
    writeText(dir / "to.dat", "old contents that are longer");
    platform::copyReplacing(dir / "from.dat", dir / "to.dat");
    EXPECT_EQ(readText(dir / "to.dat"), "new contents");
    EXPECT_EQ(readText(dir / "from.dat"), "new contents");

    EXPECT_THROW(platform::copyReplacing(dir / "missing.dat", dir / "to.dat"), platform::IoError);
    EXPECT_EQ(readText(dir / "to.dat"), "new contents");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"from.dat", "to.dat"}));
}

TEST(Files, RemoveFileToleratesAFileAlreadyGone) {
    TempDir dir;
    writeText(dir / "Write.chk", "");
    platform::removeFile(dir / "Write.chk");
    EXPECT_FALSE(fs::exists(dir / "Write.chk"));
    EXPECT_NO_THROW(platform::removeFile(dir / "Write.chk"));
    fs::create_directory(dir / "folder");
    EXPECT_THROW(platform::removeFile(dir / "folder"), platform::IoError);
}

TEST(Files, ListByPatternMatchesWithoutRegardToCase) {
    TempDir dir;
    for (const char* name : {"b.DAT", "a.dat", "c.txt", "x.data", "dat", "令和8年給与･賞与.dat"})
        writeText(dir / name, "");
    fs::create_directory(dir / "d.dat");              // folders are never listed
    fs::create_symlink(dir / "gone", dir / "e.dat");  // nor dangling links

    std::vector<std::string> names;
    for (auto& p : platform::listByPattern(dir.path(), "*.dat"))
        names.push_back(p.filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{"a.dat", "b.DAT", "令和8年給与･賞与.dat"}));

    EXPECT_EQ(platform::listByPattern(dir.path(), "令和?年*.dat").size(), 1u);
    EXPECT_THROW(platform::listByPattern(dir / "missing", "*.dat"), platform::IoError);
}

TEST(Files, WildcardPatterns) {
    struct Case {
        const char* name;
        const char* pattern;
        bool match;
    };
    const Case cases[] = {
        {"", "*", true},
        {"", "?", false},
        {"Write.chk", "*.*", true},
        {"noextension", "*.*", true},
        {"abc", "a?c", true},
        {"給.dat", "?.dat", true},
        {"ac", "a?c", false},
        {"ABC.Dat", "*.dAT", true},
        {"a.dat.bak", "*.dat", false},
        {"a.b.dat", "*.dat", true},
        {"aXbXb", "a*b", true},
        {"aXbXc", "a*b", false},
        {"a*xb", "a*b", true},  // a "*" in the name is just a character
        {"abc", "*?*?*?*?", false},
        {"令和8年給与･賞与.dat", "令和?年*.dat", true},  // "?" is one character
        {"令和10年給与･賞与.dat", "令和?年*.dat", false},
        {"令和10年給与･賞与.dat", "令和??年*･*.dat", true},
        {"平成30年x.dat", "令和*.dat", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::matchesPattern(c.name, c.pattern), c.match)
            << c.name << " ~ " << c.pattern;
}

TEST(Files, ErrorTextsForTheCommonCauses) {
    EXPECT_STREQ(platform::IoError::fromErrno(ENOSPC).what(), "ディスクがいっぱいです");
    EXPECT_STREQ(platform::IoError::fromErrno(EACCES).what(),
                 "ファイルへのアクセスが拒否されました");
    EXPECT_STREQ(platform::IoError::fromErrno(EIO).what(), "I/O エラー (5)");
    EXPECT_EQ(platform::IoError::fromErrno(EIO).code(), EIO);
}

// A name that is a link is saved through: the link stays and the file it names
// takes the bytes. A dangling link (an unmounted share) or a name that is no
// regular file is refused and left as it is.
TEST(Files, ASaveWritesThroughALinkAndRefusesWhatIsNoRegularFile) {
    TempDir dir;
    fs::create_directory(dir / "share");
    writeText(dir / "share/令和8年給与･賞与.dat", "old");
    ASSERT_EQ(::chmod((dir / "share/令和8年給与･賞与.dat").c_str(), 0640), 0);
    const fs::path link = dir / "令和8年給与･賞与.dat";
    fs::create_symlink("share/令和8年給与･賞与.dat", link);
    platform::writeFileAtomic(link, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readText(dir / "share/令和8年給与･賞与.dat"), "new");
    EXPECT_EQ(modeOf(dir / "share/令和8年給与･賞与.dat"), 0640u);
    EXPECT_EQ(namesIn(dir / "share"), std::vector<std::string>{"令和8年給与･賞与.dat"});
    EXPECT_TRUE(platform::regularFileExists(link));

    const fs::path dangling = dir / "Tolvane.ini";
    fs::create_symlink("unmounted/Tolvane.ini", dangling);
    try {
        platform::writeFileAtomic(dangling, "new");
        ADD_FAILURE() << "a dangling link was replaced";
    } catch (const platform::IoError& e) {
        EXPECT_STREQ(e.what(), "リンク先のファイルが見つかりません");
    }
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_THROW(platform::regularFileExists(dangling), platform::IoError);

    const fs::path fifo = dir / "源泉徴収(令和8年).dat";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_THROW(platform::writeFileAtomic(fifo, "x"), platform::IoError);
    EXPECT_TRUE(fs::is_fifo(fifo));
    // Read without waiting for a writer that never comes.
    EXPECT_THROW(platform::readFile(fifo), platform::IoError);
    EXPECT_THROW(platform::regularFileExists(fifo), platform::IoError);
    EXPECT_THROW(platform::writeFileAtomic(dir / "share", "x"), platform::IoError);
    EXPECT_TRUE(fs::is_directory(dir / "share"));
    EXPECT_FALSE(platform::regularFileExists(dir / "missing.dat"));
}

// Whose file a save leaves, with which mode: the user's own file keeps its mode;
// a new file and one in place of another account's file or link are private files
// of ours, and the file at the link's end stays as it was. In a shared folder
// whose sticky bit keeps another account's file theirs, the save fails and says
// why. Rows of another account need a second uid and are skipped without one.
TEST(Files, ASaveKeepsTheModeOfTheUsersOwnFileOnlyAndNeverWritesAnotherAccounts) {
    using namespace testing_support;
    enum class Planted { Nothing, Ours, Theirs, TheirLink, TheirsInSticky, TheirLinkInSticky };
    const struct Row {
        Planted planted;
        mode_t mode;      // of the planted file
        mode_t expected;  // of the file saved
    } rows[] = {
        {Planted::Nothing, 0, 0600},        {Planted::Ours, 0640, 0640},
        {Planted::Ours, 0666, 0666},        {Planted::Theirs, 0666, 0600},
        {Planted::TheirLink, 0, 0600},      {Planted::TheirsInSticky, 0666, 0},
        {Planted::TheirLinkInSticky, 0, 0},
    };
    for (const Row& row : rows) {
        for (const bool parts : {false, true}) {
            SCOPED_TRACE(testing::Message() << "row " << int(row.planted) << " parts " << parts);
            const bool other = row.planted != Planted::Nothing && row.planted != Planted::Ours;
            const bool link =
                row.planted == Planted::TheirLink || row.planted == Planted::TheirLinkInSticky;
            const bool sticky =
                row.planted == Planted::TheirsInSticky || row.planted == Planted::TheirLinkInSticky;
            if (other && !canActAsOtherAccount()) continue;
            if (parts && row.planted == Planted::Nothing) continue;  // replaces only
            TempDir dir;
            const fs::path folder = makeSharedFolder(dir.path(), sticky);
            const fs::path file = folder / "令和8年給与･賞与.dat";
            if (link) fs::create_symlink(dir / "private.txt", file);
            if (row.mode) {
                writeText(file, "theirs");
                ASSERT_EQ(::chmod(file.c_str(), row.mode), 0);
            }
            // In a sticky folder root is bound by nothing: there the save runs as
            // the other account over root's file or link instead.
            if (other && !sticky) giveToOtherAccount(file);
            auto save = [&] {
                if (parts)
                    platform::writeFilePartsAtomic(file, 3, {{0, "new"}});
                else
                    platform::writeFileAtomic(file, "new");
            };
            if (sticky) {
                const int outcome = runAsOtherAccount([&] {
                    try {
                        save();
                    } catch (const platform::IoError& e) {
                        return e.what() == std::string(platform::IoError::foreignFile().what()) ? 0
                                                                                                : 1;
                    }
                    return 2;
                });
                // A link is not even read through for a change of parts.
                if (!(link && parts)) {
                    EXPECT_EQ(outcome, 0);
                }
                EXPECT_EQ(fs::is_symlink(file), link);
                if (!link) {
                    EXPECT_EQ(readText(file), "theirs");
                }
            } else if (link && parts) {
                EXPECT_THROW(save(), platform::IoError);
                EXPECT_TRUE(fs::is_symlink(file));
            } else {
                save();
                struct stat st {};
                ASSERT_EQ(::lstat(file.c_str(), &st), 0);
                EXPECT_TRUE(S_ISREG(st.st_mode));
                EXPECT_EQ(st.st_uid, ::geteuid());
                EXPECT_EQ(st.st_mode & 07777, row.expected);
                EXPECT_EQ(readText(file), parts && row.mode ? "newirs" : "new");
            }
            EXPECT_EQ(readText(dir / "private.txt"), "mine");
            EXPECT_EQ(namesIn(folder), std::vector<std::string>{"令和8年給与･賞与.dat"});
        }
    }
}

// Under a file-size limit the kernel would end the process in the middle of the
// write; the save must fail and say so like a full disk instead.
TEST(Files, AWriteOverTheFileSizeLimitFailsLikeAFullDisk) {
    TempDir dir;
    writeText(dir / "a.dat", "old");
    pid_t pid = ::fork();
    if (pid == 0) {
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            platform::writeFileAtomic(dir / "a.dat", std::string(100000, 'x'));
        } catch (const platform::IoError& e) {
            ::_exit(std::string(e.what()) == "ディスクがいっぱいです" ? 0 : 2);
        }
        ::_exit(3);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readText(dir / "a.dat"), "old");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"a.dat"});
}

// Replacing parts of a file carries the rest over unread: a year file with a huge
// tail is saved without that tail ever being in memory.
TEST(Files, ReplacingPartsCarriesTheRestWithoutHoldingIt) {
    TempDir dir;
    const fs::path file = dir / "y.dat";
    constexpr std::int64_t kTail = 32 << 20;
    {
        writeText(file, "0123456789");
        ASSERT_EQ(::truncate(file.c_str(), kTail), 0);
        int fd = ::open(file.c_str(), O_WRONLY);
        ASSERT_EQ(::pwrite(fd, "END", 3, kTail - 3), 3);
        ::close(fd);
    }
    pid_t pid = ::fork();
    if (pid == 0) {
        // Far less address space than the file's size.
        rlimit limit{};
        ::getrlimit(RLIMIT_AS, &limit);
        long pages = 0, resident = 0;
        if (FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) pages = 0;
            std::fclose(f);
        }
        limit.rlim_cur = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + (16 << 20);
        ::setrlimit(RLIMIT_AS, &limit);
        try {
            platform::writeFilePartsAtomic(file, 20, {{2, "ab"}, {8, "XYZ"}});
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string bytes = platform::readFile(file);
    ASSERT_EQ(std::int64_t(bytes.size()), kTail);
    EXPECT_EQ(bytes.substr(0, 12), std::string("01ab4567XYZ\0", 12));
    EXPECT_EQ(bytes.substr(bytes.size() - 3), "END");

    // A short file is lengthened with zeros; a missing one is an error.
    writeText(file, "abc");
    platform::writeFilePartsAtomic(file, 8, {{1, "Z"}});
    EXPECT_EQ(readText(file), std::string("aZc\0\0\0\0\0", 8));
    EXPECT_THROW(platform::writeFilePartsAtomic(dir / "none.dat", 8, {}), platform::IoError);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"y.dat"});
}

// A temporary name has the same short length whatever the file's name: a file
// named as long as the file system allows is saved, whole or in parts.
TEST(Files, AFileWithTheLongestNameAllowedCanBeSaved) {
    TempDir dir;
    for (const std::size_t length :
         {std::size_t(5), std::size_t(245), std::size_t(246), std::size_t(NAME_MAX)}) {
        const fs::path file = dir / (std::string(length - 4, 'x') + ".dat");
        EXPECT_NO_THROW(platform::writeFileAtomic(file, "whole")) << length;
        EXPECT_NO_THROW(platform::writeFilePartsAtomic(file, 5, {{0, "parts"}})) << length;
        EXPECT_EQ(readText(file), "parts") << length;
        fs::remove(file);
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// What a killed save left behind goes at the next start, in the naming of today
// and of earlier versions; a save under way (its temporary file locked) and
// names that are not ours stay.
TEST(Files, StaleTemporaryFilesOfOurNamingAreRemoved) {
    TempDir dir;
    const struct {
        const char* name;
        bool locked;
        bool removed;
    } rows[] = {
        {"a.dat", false, false},
        {".tolvane.0123456789ab", false, true},
        {".tolvane.0123456789ac", true, false},
        {".tolvane.0123456789AB", false, false},
        {".tolvane.0123456789a", false, false},
        {".tolvane.0123456789abc", false, false},
        {".a.dat.0badf00d", false, true},
        {".令和8年給与･賞与.dat.12345678", false, true},
        {".a.dat.89abcdef", true, false},
        {".notes.txt.12345678", false, false},
        {".a.dat.0BADF00D", false, false},
        {".a.dat.123", false, false},
        {"a.dat.12345678", false, false},
    };
    std::vector<int> held;
    for (const auto& row : rows) {
        writeText(dir / row.name, "x");
        if (!row.locked) continue;
        held.push_back(::open((dir / row.name).c_str(), O_RDONLY));
        ASSERT_EQ(::flock(held.back(), LOCK_EX), 0);
    }
    EXPECT_EQ(platform::removeStaleTemporaries(dir.path(), "*.dat"), 3);
    for (int fd : held) ::close(fd);
    for (const auto& row : rows) EXPECT_NE(fs::exists(dir / row.name), row.removed) << row.name;
}

// A save's temporary file stays locked until it has its real name: the start-up
// clean-up of the other program, run at the last moment before the rename,
// leaves it, and the save succeeds.
TEST(Files, TheCleanUpNeverRemovesTheTemporaryFileOfASaveUnderWay) {
    TempDir dir;
    for (const bool existing : {false, true}) {
        const fs::path file = dir / "令和8年給与･賞与.dat";
        if (existing) writeText(file, "old");
        platform::PendingReplacement save(file);
        ASSERT_EQ(::write(save.fd(), "new", 3), 3);
        int removed = -1;
        EXPECT_NO_THROW(save.commit(std::nullopt, [&] {
            removed = platform::removeStaleTemporaries(dir.path(), "*.dat");
        })) << existing;
        EXPECT_EQ(removed, 0) << existing;
        EXPECT_EQ(readText(file), "new") << existing;
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"令和8年給与･賞与.dat"});
        fs::remove(file);
    }
}

}  // namespace
