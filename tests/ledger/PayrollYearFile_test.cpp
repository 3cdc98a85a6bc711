#include "ledger/PayrollYearFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>

#include "ledger/Ledger.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "support/TempDir.h"

namespace ledger {
namespace {

using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;
using Bytes = std::vector<unsigned char>;

constexpr std::size_t kFileSize = 1426928;

class YearFileTest : public testing::Test {
protected:
    YearFileTest() : clock({2026, 11, 1}), ledger(clock) {}

    std::filesystem::path file() const { return dir / "令和8年給与･賞与.dat"; }

    // A full-size file whose every byte differs from its neighbours, so a byte
    // moved, dropped or zeroed anywhere shows.
    Bytes patternFile(std::size_t size = kFileSize) const {
        Bytes b(size);
        for (std::size_t i = 0; i < size; ++i)
            b[i] = static_cast<unsigned char>(i * 7 + i / 251 + 3);
        return b;
    }

    std::string expectIoError(const std::function<void()>& f) {
        try {
            f();
        } catch (const platform::IoError& e) {
            return e.what();
        }
        ADD_FAILURE() << "no IoError";
        return {};
    }

    TempDir dir;
    FixedClock clock;
    Ledger ledger;
};

TEST(PeriodOffsetTest, BlocksFollowTheHeader) {
    EXPECT_EQ(PeriodOffset(0), 128);
    EXPECT_EQ(PeriodOffset(11), 1046448);
    EXPECT_EQ(PeriodOffset(12), 1141568);
    EXPECT_EQ(PeriodOffset(14), 1331808);
    EXPECT_EQ(PeriodOffset(14) + 95120, std::int64_t(kFileSize));
    for (std::int32_t bad : {15, -1, INT_MAX, INT_MIN})
        EXPECT_THROW(PeriodOffset(bad), platform::IoError) << bad;
}

TEST_F(YearFileTest, NewFileIsAllZeroAndClearsMemory) {
    ledger.BasicInfo().CorpName.set("株式会社");
    ledger.FileHeader.PeriodSaved[0] = 1;
    CreateDataFile(ledger, file());
    EXPECT_EQ(readBytes(file()), Bytes(kFileSize, 0));
    EXPECT_TRUE(ledger.BasicInfo().CorpName.empty());
    EXPECT_EQ(ledger.FileHeader.PeriodSaved[0], 0);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(YearFileTest, CreatingAnExistingFileChangesNothing) {
    writeBytes(file(), patternFile(1000));
    ledger.BasicInfo().PayDay = 25;
    CreateDataFile(ledger, file());
    EXPECT_EQ(readBytes(file()), patternFile(1000));
    EXPECT_EQ(ledger.BasicInfo().PayDay, 25);
}

TEST_F(YearFileTest, SavedNameLandsAtItsFileOffset) {
    CreateDataFile(ledger, file());
    ledger.CurData.Period = 3;
    LoadPeriod(ledger, file());
    ledger.Employee(2).Name.set("山田");
    SavePeriod(ledger, file());

    Bytes b = readBytes(file());
    ASSERT_EQ(b.size(), kFileSize);
    // period 3 at 128 + 2 * 95,120; slot 2's record at 400 + 700; Name at 27
    EXPECT_EQ(b[191495], 0x04);
    EXPECT_EQ(Bytes(b.begin() + 191496, b.begin() + 191500), (Bytes{0x8E, 0x52, 0x93, 0x63}));
    for (int p = 1; p <= 16; ++p) EXPECT_EQ(b[7 + p], p == 3 ? 1 : 0) << p;
}

TEST_F(YearFileTest, SavingABonusPeriodWritesTheHeaderAsHeld) {
    CreateDataFile(ledger, file());
    ledger.CurData.Period = 13;
    LoadPeriod(ledger, file());
    ledger.FileHeader.BonusPayMonth[0] = 7;
    ledger.FileHeader.BonusPayDay[0] = 10;
    ledger.Payment(1).Amounts[kPayBase] = 500000;
    SavePeriod(ledger, file());
    Bytes first = readBytes(file());
    SavePeriod(ledger, file());
    Bytes second = readBytes(file());

    EXPECT_EQ(first, second);
    EXPECT_EQ(first[20], 1);
    EXPECT_EQ(first[24], 7);
    EXPECT_EQ(first[36], 10);
    // Apart from the header, only the block of period 13 holds anything.
    for (std::size_t i = 48; i < kFileSize; ++i)
        ASSERT_TRUE(first[i] == 0 || (i >= 1141568 && i <= 1236687)) << i;
    std::int32_t pay;
    std::memcpy(&pay, &first[1141568 + 72400], 4);
    EXPECT_EQ(pay, 500000);
}

TEST_F(YearFileTest, LoadAndSaveOfAnUnchangedPeriodKeepsEveryByte) {
    // Reserved areas, string tails, other periods and bytes past the fifteenth
    // block all hold something; a longer file is used as it is.
    Bytes original = patternFile(kFileSize + 333);
    original[7 + 5] = 1;  // period 5 already saved
    writeBytes(file(), original);

    ledger.CurData.Period = 5;
    LoadFileHeader(ledger, file());
    LoadPeriod(ledger, file());
    SavePeriod(ledger, file());
    EXPECT_EQ(readBytes(file()), original);
}

TEST_F(YearFileTest, ShortFileIsReportedAndMemoryKept) {
    // one byte short of period 1's block
    writeBytes(file(), Bytes(128 + 95120 - 1, 0x55));
    ledger.CurData.Period = 1;
    ledger.BasicInfo().CorpName.set("元の会社");
    ledger.Payment(80).Amounts[kPayTotal] = 123;

    EXPECT_EQ(expectIoError([&] { LoadPeriod(ledger, file()); }),
              "ファイルの末尾以降を読み込みました");
    EXPECT_EQ(ledger.BasicInfo().CorpName.str(), "元の会社");
    EXPECT_EQ(ledger.Payment(80).Amounts[kPayTotal], 123);
    EXPECT_EQ(ledger.Employee(1).Key.len, 0);

    writeBytes(file(), Bytes(100, 0));
    EXPECT_EQ(expectIoError([&] { LoadFileHeader(ledger, file()); }),
              "ファイルの末尾以降を読み込みました");
    EXPECT_EQ(expectIoError([&] { LoadPeriod(ledger, dir / "none.dat"); }),
              "ファイルが見つかりません");
    EXPECT_EQ(ledger.BasicInfo().CorpName.str(), "元の会社");
}

TEST_F(YearFileTest, PeriodOutsideTheFileIsRefusedBeforeAnyIo) {
    CreateDataFile(ledger, file());
    for (int p : {0, 16}) {
        ledger.CurData.Period = p;
        EXPECT_THROW(LoadPeriod(ledger, file()), platform::IoError) << p;
        EXPECT_THROW(SavePeriod(ledger, file()), platform::IoError) << p;
        EXPECT_THROW(ReadPeriodBlock(file(), p), platform::IoError) << p;
    }
    EXPECT_EQ(readBytes(file()), Bytes(kFileSize, 0));
}

TEST_F(YearFileTest, SaveNeverCreatesTheFile) {
    ledger.CurData.Period = 1;
    EXPECT_EQ(expectIoError([&] { SavePeriod(ledger, file()); }), "ファイルが見つかりません");
    EXPECT_FALSE(std::filesystem::exists(file()));
}

TEST_F(YearFileTest, SaveIntoAShortFileMakesItWhole) {
    Bytes shortFile = patternFile(200000);
    writeBytes(file(), shortFile);
    ledger.CurData.Period = 15;
    ledger.Employee(1).Key.set("260101_090000");
    SavePeriod(ledger, file());

    Bytes b = readBytes(file());
    ASSERT_EQ(b.size(), kFileSize);
    EXPECT_TRUE(std::equal(shortFile.begin() + 128, shortFile.end(), b.begin() + 128));
    EXPECT_EQ(ReadPeriodBlock(file(), 15)->EmployeeTbl[0].Key.str(), "260101_090000");
}

TEST_F(YearFileTest, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind root";
    writeBytes(file(), patternFile());
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    ledger.CurData.Period = 2;
    ledger.BasicInfo().PayDay = 25;
    EXPECT_EQ(expectIoError([&] { SavePeriod(ledger, file()); }),
              "ファイルへのアクセスが拒否されました");
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(readBytes(file()), patternFile());
}

// A write that stops part-way (here: a file-size limit, which binds root too, as
// a full disk would) leaves the old file whole and no temporary file behind.
TEST_F(YearFileTest, SaveThatFailsPartWayKeepsTheOldFile) {
    writeBytes(file(), patternFile());
    ledger.CurData.Period = 14;
    ledger.BasicInfo().PayDay = 25;

    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1 << 20;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message = expectIoError([&] { SavePeriod(ledger, file()); });
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(message, "ディスクがいっぱいです");  // the limit is as final as a full disk
    EXPECT_EQ(readBytes(file()), patternFile());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    // Memory still says what the file says: the period was not saved.
    EXPECT_EQ(ledger.FileHeader.PeriodSaved[14 - 1], 0);
}

// Bytes past the fifteenth block are kept, however many: a save carries them
// over without reading them, so its cost does not grow with them.
TEST_F(YearFileTest, AHugeTailIsCarriedOverBySaves) {
    writeBytes(file(), patternFile());
    constexpr off_t kTail = 24 << 20;
    ASSERT_EQ(::truncate(file().c_str(), off_t(kFileSize) + kTail), 0);
    {
        std::FILE* f = std::fopen(file().c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        std::fseek(f, long(kFileSize) + kTail - 4, SEEK_SET);
        std::fwrite("TAIL", 1, 4, f);
        std::fclose(f);
    }
    ledger.CurData.Period = 3;
    LoadFileHeader(ledger, file());
    LoadPeriod(ledger, file());
    ledger.BasicInfo().PayDay = 17;

    pid_t pid = ::fork();
    if (pid == 0) {
        // Address space for the program but not for a copy of the tail.
        long pages = 0;
        if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
            std::fclose(f);
        }
        rlimit limit{};
        ::getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + (12 << 20);
        ::setrlimit(RLIMIT_AS, &limit);
        try {
            SavePeriod(ledger, file());
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(std::filesystem::file_size(file()), kFileSize + std::size_t(kTail));
    const std::string bytes = platform::readFile(file());
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "TAIL");
    EXPECT_EQ(ReadPeriodBlock(file(), 3)->BasicInfo.PayDay, 17);
}

// A link to the year file is saved through; a dangling link (an unmounted share)
// or a pipe under the name is reported at start-up, never replaced or waited on.
TEST_F(YearFileTest, LinksAreFollowedAndWhatIsNoFileIsRefused) {
    std::filesystem::create_directory(dir / "share");
    writeBytes(dir / "share/year.dat", patternFile());
    std::filesystem::create_symlink("share/year.dat", file());
    CreateDataFile(ledger, file());  // there already: nothing to do
    ledger.CurData.Period = 2;
    LoadFileHeader(ledger, file());
    LoadPeriod(ledger, file());
    ledger.BasicInfo().PayDay = 9;
    SavePeriod(ledger, file());
    EXPECT_TRUE(std::filesystem::is_symlink(file()));
    EXPECT_EQ(ReadPeriodBlock(dir / "share/year.dat", 2)->BasicInfo.PayDay, 9);

    std::filesystem::remove(dir / "share/year.dat");
    EXPECT_EQ(expectIoError([&] { CreateDataFile(ledger, file()); }),
              "リンク先のファイルが見つかりません");
    EXPECT_TRUE(std::filesystem::is_symlink(file()));
    EXPECT_FALSE(std::filesystem::exists(dir / "share/year.dat"));

    std::filesystem::remove(file());
    ASSERT_EQ(::mkfifo(file().c_str(), 0600), 0);
    EXPECT_EQ(expectIoError([&] { CreateDataFile(ledger, file()); }),
              "通常のファイルではありません");
    EXPECT_EQ(expectIoError([&] { LoadFileHeader(ledger, file()); }),
              "通常のファイルではありません");
    EXPECT_EQ(expectIoError([&] { SavePeriod(ledger, file()); }), "通常のファイルではありません");
    EXPECT_TRUE(std::filesystem::is_fifo(file()));
}

TEST_F(YearFileTest, EmployeesAreFoundByKeyNotBySlot) {
    CreateDataFile(ledger, file());
    ledger.CurData.Period = 1;
    ledger.Employee(5).Key.set("250401_101500");
    ledger.Payment(5).Amounts[kPayTaxableTotal] = 300000;
    SavePeriod(ledger, file());

    ledger.CurData.Period = 2;
    ledger.clearPeriod();
    ledger.Employee(3).Key.set("250401_10150099");  // longer text first: its tail stays
    ledger.Employee(3).Key.set("250401_101500");
    ledger.Employee(4).Key.set("250401_10150");
    SavePeriod(ledger, file());

    ShortString<14> key{};
    key.set("250401_101500");
    auto p1 = ReadPeriodBlock(file(), 1);
    auto p2 = ReadPeriodBlock(file(), 2);
    EXPECT_EQ(FindSlotByKey(*p1, key), 5);
    EXPECT_EQ(p1->PaymentTbl[FindSlotByKey(*p1, key) - 1].Amounts[kPayTaxableTotal], 300000);
    EXPECT_EQ(FindSlotByKey(*p2, key), 3);

    ShortString<14> other{}, empty{};
    other.set("990101_000000");
    EXPECT_EQ(FindSlotByKey(*p2, other), 0);
    EXPECT_EQ(FindSlotByKey(*p2, empty), 0);  // free slots are nobody
}

}  // namespace
}  // namespace ledger
