#include "ledger/SysLog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <functional>

#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Sjis.h"
#include "support/TempDir.h"

namespace {
using namespace ledger;
using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;

const DateTime kNov1{2026, 11, 1, 9, 5, 42};

TEST(SysLog, AppendsOneCp932LinePerEventAndKeepsEarlierLines) {
    TempDir dir;
    FixedClock clock(kNov1);
    WriteSysLog(dir.path(), clock, kLogPayrollStarted);
    const std::string first = sjis::fromUtf8("2026/11/01 09:05  Pembrel Tolvane4を起動") + "\r\n";
    EXPECT_EQ(readText(dir / "システムログ.dat"), first);
    EXPECT_EQ(first.size(), 42u);

    clock.set({2026, 12, 31, 23, 59, 0});
    WriteSysLog(dir.path(), clock, 99);
    EXPECT_EQ(readText(dir / "システムログ.dat"), first + "2026/12/31 23:59  \r\n");
}

TEST(SysLog, EventTexts) {
    struct Case {
        int code;
        const char* text;
    };
    const Case cases[] = {
        {11, "従業員情報の登録"},
        {12, "従業員情報の更新"},
        {13, "従業員情報の削除"},
        {20, "Pembrel Tolvane4・Ostrevinを起動"},
        {21, "源泉徴収票の印刷"},
        {22, "給与支払報告書の印刷"},
        {0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SysLogLine(kNov1, c.code), "2026/11/01 09:05  " + sjis::fromUtf8(c.text) + "\r\n")
            << c.code;
    }
    // The year-end program's title keeps its full-width middle dot.
    EXPECT_NE(SysLogLine(kNov1, 20).find("\x81\x45"), std::string::npos);
}

TEST(SysLog, AFolderThatCannotBeWrittenIsAnIoErrorAndLeavesNoFile) {
    TempDir dir;
    FixedClock clock(kNov1);
    EXPECT_THROW(WriteSysLog(dir / "missing", clock, 10), platform::IoError);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
    // A log that is a folder cannot be opened for writing either.
    std::filesystem::create_directory(dir / "システムログ.dat");
    EXPECT_THROW(WriteSysLog(dir.path(), clock, 10), platform::IoError);
}

// The log and the settings lock are used only as regular files: whatever else
// has their name (a link, a pipe, a device, a folder) takes nothing, and the
// message says which file it is.
TEST(SysLog, TheLogAndTheSettingsLockAreUsedOnlyAsRegularFilesAndNamedOtherwise) {
    namespace fs = std::filesystem;
    struct Case {
        const char* what;
        bool lock;  // the settings lock, else the event log
        bool needsRoot;
        std::function<void(const fs::path& name, const fs::path& mine)> plant;
    };
    const auto link = [](const fs::path& name, const fs::path& mine) {
        fs::create_symlink(mine, name);
    };
    const auto fifo = [](const fs::path& name, const fs::path&) {
        ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
    };
    const auto device = [](const fs::path& name, const fs::path&) {
        ASSERT_EQ(::mknod(name.c_str(), S_IFCHR | 0600, makedev(1, 3)), 0);  // as /dev/null
    };
    const auto folder = [](const fs::path& name, const fs::path&) { fs::create_directory(name); };
    const Case cases[] = {
        {"a link at the log's name", false, false, link},
        {"a dangling link at the log's name", false, false,
         [](const fs::path& name, const fs::path& mine) { fs::create_symlink(mine / "x", name); }},
        {"a pipe at the log's name", false, false, fifo},
        {"a device at the log's name", false, true, device},
        {"a folder at the log's name", false, false, folder},
        {"a link at the lock's name", true, false, link},
        {"a pipe at the lock's name", true, false, fifo},
        {"a folder at the lock's name", true, false, folder},
    };
    for (const Case& c : cases) {
        if (c.needsRoot && ::geteuid() != 0) continue;
        TempDir dir;
        const fs::path ini = dir / "Tolvane.ini";
        const fs::path name =
            c.lock ? platform::FileLock::lockFileOf(ini) : dir / "システムログ.dat";
        const fs::path mine = dir / "mine.txt";
        writeText(mine, "keep");
        c.plant(name, mine);
        FixedClock clock(kNov1);
        try {
            if (c.lock)
                platform::IniFile(ini).writeString("Option", "Key", "1");
            else
                WriteSysLog(dir.path(), clock, kLogPayrollStarted);
            ADD_FAILURE() << c.what << ": used";
        } catch (const platform::IoError& e) {
            EXPECT_EQ(std::string(e.what()), "通常のファイルではありません\n" + name.string())
                << c.what;
        }
        EXPECT_EQ(readText(mine), "keep") << c.what;
        EXPECT_FALSE(fs::exists(ini)) << c.what;
    }
}

TEST(SysLog, ReadsLinesWithOrWithoutFinalLineEnd) {
    TempDir dir;
    writeText(dir / "log", "a\r\nb\r\nc");
    EXPECT_EQ(ReadSysLogLines(dir / "log"), (std::vector<std::string>{"a", "b", "c"}));
    writeText(dir / "log", "a\r\n\r\nb\r\n");
    EXPECT_EQ(ReadSysLogLines(dir / "log"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_THROW(ReadSysLogLines(dir / "none"), platform::IoError);
}

TEST(SysLog, CsvHasHeaderAndTwoQuotedFields) {
    const std::vector<std::string> lines{
        sjis::fromUtf8("2026/11/01 09:05  Pembrel Tolvane4を起動"),
        "2026/11/01 09:06  ",
        "short",
    };
    const std::string expected = sjis::fromUtf8(
        "日時, 内容\r\n"
        "\"2026/11/01 09:05\", \"Pembrel Tolvane4を起動\"\r\n"
        "\"2026/11/01 09:06\", \"\"\r\n"
        "\"short\", \"\"\r\n");
    EXPECT_EQ(SysLogCsv(lines), expected);
}

TEST(SysLog, CsvCutsLongTextAt99BytesWithoutSplittingACharacter) {
    const std::string time = "2026/11/01 09:05  ";
    // 100 single-byte characters: cut to 99.
    std::string csv = SysLogCsv({time + std::string(100, 'x')});
    EXPECT_NE(csv.find("\"" + std::string(99, 'x') + "\"\r\n"), std::string::npos);
    // One single-byte character, then double-byte ones: byte 99 would be the
    // first half of a character, so the text ends after 98 bytes.
    std::string text = "x";
    for (int i = 0; i < 60; ++i) text += sjis::fromUtf8("あ");
    csv = SysLogCsv({time + text});
    std::string kept = "x";
    for (int i = 0; i < 49; ++i) kept += sjis::fromUtf8("あ");
    EXPECT_NE(csv.find("\"" + kept + "\"\r\n"), std::string::npos);

    // A line not laid out as the log writes it: a double-byte character across
    // the end of the time or the start of the text stays whole or is left out.
    const std::string fun = sjis::fromUtf8("分");
    const std::string started = sjis::fromUtf8("起動");
    const std::string heading = sjis::fromUtf8("日時, 内容") + "\r\n";
    EXPECT_EQ(SysLogCsv({"2026/11/01 09:0" + fun + " " + started}),
              heading + "\"2026/11/01 09:0\", \"" + started + "\"\r\n");
    EXPECT_EQ(SysLogCsv({"2026/11/01 09:05 " + fun + started}),
              heading + "\"2026/11/01 09:05\", \"" + started + "\"\r\n");
}

}  // namespace
