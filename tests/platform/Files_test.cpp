#include "platform/Files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/Errors.h"
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
    EXPECT_EQ(modeOf(file), 0640u);  // as any new file would be

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

}  // namespace
