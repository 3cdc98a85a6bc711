#include "platform/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>

#include "platform/Errors.h"
#include "platform/Sjis.h"
#include "support/TempDir.h"

namespace {

using platform::IniFile;
using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;

class IniFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path file = dir / "Tolvane.ini";
    IniFile ini{file};

    // The raw bytes of the file after `change`, which must equal the bytes before
    // it with `from` replaced by `to` and nothing else touched.
    void expectOnlyChange(const std::string& before, const std::string& from,
                          const std::string& to) {
        std::string expected = before;
        auto at = expected.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        expected.replace(at, from.size(), to);
        EXPECT_EQ(readText(file), expected);
    }

    std::size_t entriesInFolder() const {
        std::size_t n = 0;
        // The lock file stays beside the settings file for good.
        for (auto& e : std::filesystem::directory_iterator(dir.path()))
            if (e.path().filename() != ".Tolvane.ini.lock") ++n;
        return n;
    }
};

// A sample written by hand, as a user or an older version might leave it: keys
// before any section, comments, a line with no "=", bytes that are no CP932, a
// section header with no closing bracket, blanks around "=", "=" inside a value.
const std::string kSample =
    "Orphan=1\r\n"
    "; settings of Tolvane\r\n"
    "[Window]\r\n"
    "State=wsNormal\r\n"
    "Pos_X = 12 \r\n"
    "\r\n"
    "[Option]\r\n"
    "TimeStyle=1\r\n"
    "this line has no equals sign\r\n"
    "; Old=commented out\r\n"
    "Broken=\x81\x20\xFF\r\n"
    "[never closed\r\n"
    "  Url  =  http://example.invalid/?a=b  \r\n"
    "FixTeate1=\"  " +
    sjis::fromUtf8("固定手当１") +
    " \"\r\n"
    "Memo='x'\r\n"
    "\r\n"
    "[PrintInfo]\r\n"
    "Printer=\x83\x76\x83\x8A\x83\x93\x83\x5E\r\n";  // "プリンタ"

TEST_F(IniFileTest, ReadsTheWindowsProfileSyntax) {
    writeText(file, kSample);
    EXPECT_EQ(ini.readString("Window", "State"), "wsNormal");
    EXPECT_EQ(ini.readInteger("Window", "Pos_X", -1), 12);
    EXPECT_EQ(ini.readString("Option", "Url"), "http://example.invalid/?a=b");
    EXPECT_EQ(ini.readString("Option", "FixTeate1"), "  固定手当１ ");
    EXPECT_EQ(ini.readString("Option", "Memo"), "x");
    EXPECT_EQ(ini.readString("PrintInfo", "Printer"), "プリンタ");
    // Sections and keys match without regard to case and to blanks around them.
    EXPECT_EQ(ini.readInteger("OPTION", "timestyle", -1), 1);
    EXPECT_EQ(ini.readInteger(" option ", " TimeStyle ", -1), 1);
    // A key above the first section belongs to none.
    EXPECT_FALSE(ini.valueExists("Window", "Orphan"));
    EXPECT_FALSE(ini.valueExists("Option", "Orphan"));
    // Bad bytes in one value harm neither it nor its neighbours.
    EXPECT_EQ(ini.readString("Option", "Broken"), "\uFFFD \uFFFD");
    EXPECT_TRUE(ini.sectionExists("printinfo"));
    EXPECT_FALSE(ini.sectionExists("never closed"));
    EXPECT_EQ(ini.readSectionKeys("Option"),
              (std::vector<std::string>{"TimeStyle", "Broken", "Url", "FixTeate1", "Memo"}));
}

TEST_F(IniFileTest, GivesTheDefaultForWhatIsAbsentOrNoNumber) {
    EXPECT_EQ(ini.readString("Option", "Key", "def"), "def");  // no file at all
    EXPECT_EQ(ini.readInteger("Option", "Key", 7), 7);
    writeText(file,
              "[Option]\r\nText=abc\r\nEmpty=\r\nHalf=12abc\r\nBig=99999999999\r\nHex=$1F\r\n"
              "Neg=-5\r\nZero=0\r\n");
    EXPECT_EQ(ini.readString("Option", "Missing", "def"), "def");
    EXPECT_EQ(ini.readString("Nowhere", "Text", "def"), "def");
    EXPECT_EQ(ini.readString("Option", "Empty", "def"), "");  // present but empty
    EXPECT_EQ(ini.readInteger("Option", "Text", 7), 7);
    EXPECT_EQ(ini.readInteger("Option", "Empty", 7), 7);
    EXPECT_EQ(ini.readInteger("Option", "Half", 7), 7);
    EXPECT_EQ(ini.readInteger("Option", "Big", 7), 7);
    EXPECT_EQ(ini.readInteger("Option", "Hex", 7), 31);
    EXPECT_EQ(ini.readInteger("Option", "Neg", 7), -5);
    EXPECT_TRUE(ini.readBool("Option", "Text", true));
    EXPECT_FALSE(ini.readBool("Option", "Zero", true));
    EXPECT_TRUE(ini.readBool("Option", "Neg", false));
    // A key name that cannot even be written in CP932 is simply absent.
    EXPECT_EQ(ini.readString("Option", "😀", "def"), "def");
}

TEST_F(IniFileTest, TakesOneSignOnlyInAWholeNumber) {
    writeText(file,
              "[Option]\r\nA=--5\r\nB=+-7\r\nC=-0x-5\r\nD=--9223372036854775808\r\n"
              "E=-+1\r\nF=$-3\r\nG=+12\r\nH=-0x1f\r\nI=-2147483648\r\n");
    for (const char* key : {"A", "B", "C", "D", "E", "F"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(ini.readInteger("Option", key, 99), 99);
    }
    EXPECT_EQ(ini.readInteger("Option", "G", 99), 12);
    EXPECT_EQ(ini.readInteger("Option", "H", 99), -31);
    EXPECT_EQ(ini.readInteger("Option", "I", 99), -2147483647 - 1);
}

TEST_F(IniFileTest, AQuotedValueKeepsItsBlanks) {
    ini.writeQuoted("Option", "FixTeate1", "  abc ");
    ini.writeString("Option", "Plain", "  abc ");
    EXPECT_EQ(ini.readString("Option", "FixTeate1"), "  abc ");
    EXPECT_EQ(ini.readString("Option", "Plain"), "abc");
    EXPECT_EQ(readText(file), "[Option]\r\nFixTeate1=\"  abc \"\r\nPlain=  abc \r\n");
    // Only one pair of quotes goes.
    ini.writeQuoted("Option", "Q", "\"x\"");
    EXPECT_EQ(ini.readString("Option", "Q"), "\"x\"");
}

TEST_F(IniFileTest, WritesCp932WithCrLfAndNoByteOrderMark) {
    ini.writeString("Option", "CorpName", "山田");
    ini.writeQuoted("Option", "Label", "表ソ");  // trail bytes 0x5C
    EXPECT_EQ(readText(file),
              "[Option]\r\nCorpName=\x8E\x52\x93\x63\r\nLabel=\"\x95\x5C\x83\x5C\"\r\n");
    EXPECT_EQ(ini.readString("option", "corpname"), "山田");
    EXPECT_EQ(ini.readString("Option", "Label"), "表ソ");
}

TEST_F(IniFileTest, AWriteChangesOneLineAndKeepsEveryOtherByte) {
    writeText(file, kSample);
    ini.writeInteger("option", "TIMESTYLE", 2);  // the existing line, whatever its case
    expectOnlyChange(kSample, "TimeStyle=1\r\n", "TIMESTYLE=2\r\n");

    const std::string before = readText(file);
    ini.writeString("Window", "Pos_X", "40");  // a line written with blanks around "="
    expectOnlyChange(before, "Pos_X = 12 \r\n", "Pos_X=40\r\n");
}

TEST_F(IniFileTest, ANewKeyGoesAfterTheLastLineOfItsSection) {
    writeText(file, kSample);
    ini.writeString("Window", "Width", "800");
    expectOnlyChange(kSample, "Pos_X = 12 \r\n", "Pos_X = 12 \r\nWidth=800\r\n");

    const std::string before = readText(file);
    ini.writeString("KyuyoKeitai1", "Kintai", "1111011111001111");
    EXPECT_EQ(readText(file), before + "\r\n[KyuyoKeitai1]\r\nKintai=1111011111001111\r\n");
    EXPECT_EQ(ini.readString("KyuyoKeitai1", "Kintai"), "1111011111001111");
}

// Only the first of a repeated section counts, for reading and for writing.
TEST_F(IniFileTest, RepeatedSectionsAndKeys) {
    const std::string text =
        "[Option]\r\nA=1\r\nA=2\r\n[Other]\r\nX=0\r\n[OPTION]\r\nA=3\r\nB=4\r\n";
    writeText(file, text);
    EXPECT_EQ(ini.readInteger("Option", "A", 0), 1);
    EXPECT_FALSE(ini.valueExists("Option", "B"));
    ini.writeInteger("Option", "A", 9);
    expectOnlyChange(text, "A=1\r\n", "A=9\r\n");

    ini.eraseSection("option");
    EXPECT_EQ(readText(file), "[Other]\r\nX=0\r\n");
    EXPECT_FALSE(ini.sectionExists("Option"));
}

// Writing into a file written with bare LF (edited on Linux) still finds its keys.
TEST_F(IniFileTest, ReadsAndRewritesAFileWithBareLineFeeds) {
    writeText(file, "[Option]\nA=1\nB=2");
    EXPECT_EQ(ini.readInteger("Option", "B", 0), 2);
    ini.writeInteger("Option", "A", 5);
    EXPECT_EQ(readText(file), "[Option]\r\nA=5\r\nB=2\r\n");
}

// Closing writes the window placement every time; a value that is already
// there is not written again, so nothing is flushed to disk for it.
TEST_F(IniFileTest, WritingTheValueAKeyAlreadyHasLeavesTheFileAlone) {
    writeText(file, "[Window]\nWidth=800\n");
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    ini.writeInteger("Window", "Width", 800);
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // a save would have renamed a new file over it
    EXPECT_EQ(readText(file), "[Window]\nWidth=800\n");
    ini.writeInteger("Window", "Width", 801);
    EXPECT_EQ(readText(file), "[Window]\r\nWidth=801\r\n");
}

// The second byte of a double-byte character is no letter: "ア" (83 41) and
// "ヂ" (83 61) differ only in the case bit of that byte. "ゾ" ends in "]".
TEST_F(IniFileTest, DoubleByteNamesAreComparedByCharacter) {
    ini.writeString("ゾ項目", "ア", "1");
    EXPECT_EQ(ini.readString("ゾ項目", "ア"), "1");
    EXPECT_FALSE(ini.valueExists("ゾ項目", "ヂ"));
    ini.writeString("ゾ項目", "ヂ", "2");
    EXPECT_EQ(ini.readString("ゾ項目", "ア"), "1");
    EXPECT_EQ(ini.readString("ゾ項目", "ヂ"), "2");
}

TEST_F(IniFileTest, BadValuesAndNamesAreRefusedAndLeaveTheFileAlone) {
    writeText(file, kSample);
    EXPECT_THROW(ini.writeString("Option", "Memo", "two\r\nlines"), platform::ConvertError);
    EXPECT_THROW(ini.writeString("Option", "Memo", "one\nInjected=1"), platform::ConvertError);
    EXPECT_THROW(ini.writeQuoted("Option", "Memo", std::string("nul\0", 4)),
                 platform::ConvertError);
    EXPECT_THROW(ini.writeBytes("Option", "Memo", "a\rb"), platform::ConvertError);
    try {
        ini.writeString("Option", "CorpName", "𠮷野家");
        ADD_FAILURE() << "no ConvertError";
    } catch (const platform::ConvertError& e) {
        EXPECT_NE(std::string(e.what()).find("𠮷"), std::string::npos);
    }
    EXPECT_THROW(ini.writeString("Option", "a=b", "1"), std::invalid_argument);
    EXPECT_THROW(ini.writeString("Option", " ", "1"), std::invalid_argument);
    EXPECT_THROW(ini.writeString("Opt]ion", "A", "1"), std::invalid_argument);
    EXPECT_THROW(ini.writeString("Option", "[A]", "1"), std::invalid_argument);
    EXPECT_EQ(readText(file), kSample);
    EXPECT_EQ(entriesInFolder(), 1u);
}

// A failure that also stops root: the folder of the file is a regular file.
TEST_F(IniFileTest, AWriteThatCannotReachTheFolderThrowsIoError) {
    writeText(dir / "notafolder", "x");
    IniFile bad(dir / "notafolder" / "Tolvane.ini");
    EXPECT_THROW(bad.writeString("Option", "A", "1"), platform::IoError);
    EXPECT_EQ(bad.readString("Option", "A", "def"), "def");
    EXPECT_EQ(readText(dir / "notafolder"), "x");
    EXPECT_EQ(entriesInFolder(), 1u);
}

TEST_F(IniFileTest, AReadOnlyFolderMakesAWriteThrowAndKeepsTheFile) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    writeText(file, kSample);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    EXPECT_THROW(ini.writeString("Option", "TimeStyle", "2"), platform::IoError);
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(readText(file), kSample);
    EXPECT_EQ(entriesInFolder(), 1u);
}

// A file that cannot be read must not be replaced by one built from nothing.
TEST_F(IniFileTest, AnUnreadableFileIsNotOverwritten) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    writeText(file, kSample);
    ASSERT_EQ(::chmod(file.c_str(), 0200), 0);
    EXPECT_EQ(ini.readString("Window", "State", "def"), "def");
    EXPECT_THROW(ini.writeString("Option", "TimeStyle", "2"), platform::IoError);
    ::chmod(file.c_str(), 0644);
    EXPECT_EQ(readText(file), kSample);
}

// Values kept as bytes: the start-up password is stored with every byte lowered
// by 16, which gives quotes inside the value and bytes that are no CP932.
TEST_F(IniFileTest, ByteValuesPassUnconverted) {
    ini.writeBytes("Option", "ListFile", "\"!\"#$\"");  // "1234" lowered
    EXPECT_EQ(readText(file), "[Option]\r\nListFile=\"!\"#$\"\r\n");
    EXPECT_EQ(ini.readBytes("Option", "ListFile"), "!\"#$");

    const std::string odd = "\"\xF2\x11\x81\"";
    ini.writeBytes("Option", "ListFile", odd);
    EXPECT_EQ(ini.readBytes("option", "listfile"), "\xF2\x11\x81");
    EXPECT_EQ(ini.readBytes("Option", "Absent", "def"), "def");
}

}  // namespace

// The keys of one dialog's OK reach the file together or not at all.
TEST_F(IniFileTest, AGroupOfWritesLandsWholeOrNotAtAll) {
    writeText(file, kSample);
    ini.writeAll([](IniFile& w) {
        w.writeInteger("Option", "TimeStyle", 0);
        w.writeQuoted("Option", "Sonota1", " その他 ");
        w.writeString("Window", "State", "wsMaximized");
    });
    EXPECT_EQ(ini.readInteger("Option", "TimeStyle", 1), 0);
    EXPECT_EQ(ini.readString("Option", "Sonota1"), " その他 ");
    EXPECT_EQ(ini.readString("Window", "State"), "wsMaximized");
    EXPECT_EQ(entriesInFolder(), 1u);

    const std::string before = readText(file);
    EXPECT_THROW(ini.writeAll([](IniFile& w) {
        w.writeInteger("Option", "TimeStyle", 1);
        w.writeString("Option", "Memo", "two\nlines");
    }),
                 platform::ConvertError);
    EXPECT_EQ(readText(file), before);
    EXPECT_EQ(entriesInFolder(), 1u);
}

// Both programs write the settings file; each write reads the file, changes one
// line and replaces it. Two processes writing keys of their own at the same time,
// one line by line and one in groups, must not lose a single key.
TEST_F(IniFileTest, TwoProcessesWritingTheirOwnKeysLoseNoUpdate) {
    constexpr int kWrites = 150;
    auto writer = [&](char who) {
        pid_t pid = ::fork();
        if (pid != 0) return pid;
        try {
            IniFile mine(file);
            for (int i = 0; i < kWrites; ++i) {
                const std::string key = std::string(1, who) + std::to_string(i);
                if (who == 'A')
                    mine.writeInteger("Option", key, i);
                else
                    mine.writeAll([&](IniFile& w) {
                        w.writeInteger("PrintInfo", key, i);
                        w.writeInteger("Window", key, i);
                    });
            }
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    };
    const pid_t a = writer('A');
    const pid_t b = writer('B');
    for (pid_t pid : {a, b}) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    int lost = 0;
    for (int i = 0; i < kWrites; ++i) {
        lost += ini.readInteger("Option", "A" + std::to_string(i), -1) != i;
        lost += ini.readInteger("PrintInfo", "B" + std::to_string(i), -1) != i;
        lost += ini.readInteger("Window", "B" + std::to_string(i), -1) != i;
    }
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(entriesInFolder(), 1u);
}

// A process of an earlier version that died in a group of writes left its
// working copy, or the temporary file of a save of it; the next start removes
// them, and only names of that making.
TEST_F(IniFileTest, LeftWorkingCopiesOfGroupedWritesAreRemoved) {
    writeText(file, kSample);
    const struct {
        const char* name;
        bool removed;
    } rows[] = {{".Tolvane.ini.4242.batch", true},
                {".Tolvane.ini.12.batch", true},
                {"..Tolvane.ini.4242.batch.0badf00d", true},
                {".Tolvane.ini.x1.batch", false},
                {"Tolvane.ini.7.batch", false},
                {"..Tolvane.ini.x1.batch.0badf00d", false},
                {"..Tolvane.ini.7.batch.0BADF00D", false},
                {".Tolvane.ini.7.batch.0badf00d", false},
                {"..Other.ini.7.batch.0badf00d", false}};
    for (const auto& row : rows) writeText(dir / row.name, "x");
    EXPECT_EQ(IniFile::removeStaleWorkingCopies(file), 3);
    for (const auto& row : rows)
        EXPECT_NE(std::filesystem::exists(dir / row.name), row.removed) << row.name;
    EXPECT_EQ(readText(file), kSample);
}

// A group of writes keeps its working copy in memory: a link planted under the
// name earlier versions used for it is never written through.
TEST_F(IniFileTest, AGroupOfWritesNeverWritesThroughAPlantedLink) {
    writeText(file, kSample);
    writeText(dir / "private.txt", "mine");
    const auto planted = dir / (".Tolvane.ini." + std::to_string(::getpid()) + ".batch");
    std::filesystem::create_symlink(dir / "private.txt", planted);
    ini.writeAll([](IniFile& w) { w.writeInteger("Option", "TimeStyle", 0); });
    EXPECT_EQ(readText(dir / "private.txt"), "mine");
    EXPECT_TRUE(std::filesystem::is_symlink(planted));
    expectOnlyChange(kSample, "TimeStyle=1", "TimeStyle=0");
}

// Bytes this process has read from files so far.
std::uint64_t bytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

// A settings file large enough that reading it shows in the process's counts.
std::string bigSample() {
    std::string big = kSample;
    for (int i = 0; big.size() < 500000; ++i)
        big += "[Filler" + std::to_string(i) + "]\r\nKey=Value\r\n";
    return big;
}

void setOld(const std::filesystem::path& file) {
    const timespec times[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

// An unchanged settings file is not read again for every value; a changed one
// is, at once, however it was changed. One too large to be a settings file
// reads as empty and is never written.
TEST_F(IniFileTest, ReadsAFileAgainOnlyWhenItChangedAndNotAtAllWhenTooLarge) {
    const std::string big = bigSample();
    writeText(file, big);
    setOld(file);
    // Seen an hour on, the file has long settled.
    const IniFile settledView(file, [] { return timespec{::time(nullptr) + 3600, 0}; });
    ASSERT_EQ(settledView.readInteger("Option", "TimeStyle", -1), 1);
    const std::uint64_t before = bytesRead();
    for (int i = 0; i < 50; ++i) ASSERT_EQ(settledView.readInteger("Option", "TimeStyle", -1), 1);
    EXPECT_LT(bytesRead() - before, big.size());

    struct Change {
        const char* how;
        std::string value;
    };
    for (const Change& c :
         {Change{"replaced by the other program", "2"}, Change{"edited in place, same size", "3"},
          Change{"edited in place, then dated back", "4"}}) {
        std::string next = big;
        next.replace(next.find("TimeStyle=1"), 11, "TimeStyle=" + c.value);
        if (c.how[0] == 'r') {
            IniFile(file).writeString("Option", "TimeStyle", c.value);
        } else {
            std::ofstream(file, std::ios::binary | std::ios::in | std::ios::out) << next;
            if (c.how == std::string("edited in place, then dated back")) setOld(file);
        }
        EXPECT_EQ(ini.readString("Option", "TimeStyle"), c.value) << c.how;
        setOld(file);
    }

    std::string huge = kSample + std::string(IniFile::kMaxSize, ';');
    writeText(file, huge);
    EXPECT_TRUE(ini.tooLarge());
    EXPECT_EQ(ini.readInteger("Option", "TimeStyle", -1), -1);
    EXPECT_THROW(ini.writeInteger("Option", "TimeStyle", 5), platform::IoError);
    EXPECT_THROW(ini.writeAll([](IniFile& w) { w.writeInteger("Option", "TimeStyle", 5); }),
                 platform::IoError);
    EXPECT_EQ(readText(file), huge);
}

// A copy that keeps the modification time (cp -p, rsync -t --inplace) changes
// only the status-change time, and within one tick of a coarse file-system clock
// not even that: a file is kept parsed only when both its times lie more than two
// seconds back, however old its modification time looks.
TEST_F(IniFileTest, KeepsAFileParsedOnlyWhenBothItsTimesLieTwoSecondsBack) {
    const std::string big = bigSample();
    writeText(file, big);
    struct Case {
        const char* what;
        time_t modified;   // seconds from now
        time_t seenAfter;  // seconds after the status change
        bool kept;
    };
    // Once kept, a file stays kept until it changes: the kept case comes last.
    for (Case c : {Case{"dated back, status changed a second before", -3600, 1, false},
                   Case{"dated back, status changed two seconds before", -3600, 2, false},
                   Case{"dated ahead of the clock", 3600, 3, false},
                   Case{"both times three seconds back or more", -3600, 3, true}}) {
        const timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) + c.modified, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        const time_t now = st.st_ctim.tv_sec + c.seenAfter;
        const IniFile seen(file, [now] { return timespec{now, 0}; });
        ASSERT_EQ(seen.readInteger("Option", "TimeStyle", -1), 1);
        const std::uint64_t before = bytesRead();
        ASSERT_EQ(seen.readInteger("Option", "TimeStyle", -1), 1);
        EXPECT_EQ(bytesRead() - before < big.size(), c.kept) << c.what;
    }
}

// A file past the limit reads as empty, every setting its default: a write that
// would take it there is refused like one to a file already past it.
TEST_F(IniFileTest, AWriteThatWouldPassTheSizeLimitIsRefusedAndLeavesTheFile) {
    std::string near = "[Option]\r\nTimeStyle=1\r\n;";
    near += std::string(IniFile::kMaxSize - 40 - near.size() - 2, 'x') + "\r\n";
    // What "K=<value>\r\n" in [Option] may take up to the limit.
    const std::string fits(40 - 4, 'v');
    struct Case {
        const char* what;
        std::function<void(IniFile&)> write;
        bool refused;
    };
    for (const Case& c : {
             Case{"up to the limit", [&](IniFile& i) { i.writeString("Option", "K", fits); },
                  false},
             Case{"one byte past it", [&](IniFile& i) { i.writeString("Option", "K", fits + "v"); },
                  true},
             Case{"a group of writes past it",
                  [&](IniFile& i) {
                      i.writeAll([&](IniFile& w) {
                          w.writeString("Option", "K", "v");
                          w.writeString("Option", "L", fits);
                      });
                  },
                  true},
         }) {
        writeText(file, near);
        if (c.refused) {
            EXPECT_THROW(c.write(ini), platform::IoError) << c.what;
            EXPECT_EQ(readText(file), near) << c.what;
        } else {
            c.write(ini);
            EXPECT_EQ(std::filesystem::file_size(file), IniFile::kMaxSize) << c.what;
        }
        EXPECT_EQ(ini.readInteger("Option", "TimeStyle", -1), 1) << c.what;
    }
}

// A settings file kept elsewhere through a link stays a link after a write.
TEST_F(IniFileTest, AWriteGoesThroughALinkedSettingsFile) {
    std::filesystem::create_directory(dir / "real");
    writeText(dir / "real/Tolvane.ini", kSample);
    std::filesystem::create_symlink("real/Tolvane.ini", file);
    ini.writeString("Option", "TimeStyle", "0");
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    expectOnlyChange(kSample, "TimeStyle=1", "TimeStyle=0");
}
