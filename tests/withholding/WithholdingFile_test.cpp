#include "withholding/WithholdingFile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/Errors.h"
#include "support/TempDir.h"

namespace withholding {
namespace {

using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

TEST(IsNewLayoutYear, FollowsHeiseiYearsAndEveryOtherEra) {
    struct Case {
        const char* name;
        bool isNew;
    } cases[] = {
        {"源泉徴収(平成27年).dat", false},
        {"源泉徴収(平成28年).dat", true},
        {"源泉徴収(平成9年).dat", false},  // one-digit 平成 years are old
        {"源泉徴収(平成31年).dat", true},
        {"源泉徴収(令和1年).dat", true},
        {"源泉徴収(令和8年).dat", true},
        {"源泉徴収(昭和20年).dat", true},
        {"平成27年給与･賞与.dat", false},
        {"平成28年給与･賞与.dat", true},
        {"令和8年給与･賞与.dat", true},
        {"/data/平成27年/源泉徴収(令和8年).dat", true},  // the folder does not count
        {"/data/令和/源泉徴収(平成20年).dat", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsNewLayoutYear(c.name), c.isNew) << c.name;
}

TEST(WithholdingFileName, PlainDecimalYearInTheDataFolder) {
    EXPECT_EQ(WithholdingFileName("/d", "令和", 8),
              std::filesystem::path("/d/源泉徴収(令和8年).dat"));
    EXPECT_EQ(WithholdingFileName("/d", "平成", 28),
              std::filesystem::path("/d/源泉徴収(平成28年).dat"));
    EXPECT_EQ(WithholdingFileSize("源泉徴収(平成27年).dat"), 40300);
    EXPECT_EQ(WithholdingFileSize("源泉徴収(令和8年).dat"), 120300);
}

std::int32_t int32At(const std::vector<unsigned char>& b, std::size_t at) {
    std::int32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

TEST(WithholdingFile, SavesHeaderAndTheLiveTableOnlyAtTheirOffsets) {
    TempDir dir;
    WithholdingData data;
    data.Header.Telephone.set("03-1234-5678");
    data.Header.Reserved[0] = 0x5A;  // reserved bytes are carried as they are
    data.Record(3).PaidAmount = 4100000;
    data.Record(80).Status = kStatusComputed;
    data.Record(1).Reserved5[132] = 0x77;
    data.Record(1).HasDependantUnder23 = 1;
    data.Record(1).SpecificRelativeDeduction = 410000;
    data.OldRecord(3).PaidAmount = 999;

    auto newFile = WithholdingFileName(dir.path(), "令和", 8);
    SaveWithholdingFile(newFile, data);
    auto b = readBytes(newFile);
    ASSERT_EQ(b.size(), 120300u);
    EXPECT_EQ(b[130], 12);  // Telephone length byte
    EXPECT_EQ(b[147], 0x5A);
    EXPECT_EQ(int32At(b, 300 + 2 * 1500 + 140), 4100000);
    EXPECT_EQ(b[300 + 79 * 1500 + 1362], kStatusComputed);
    EXPECT_EQ(b[300 + 1499], 0x77);
    EXPECT_EQ(b[300 + 163], 1);                 // 23歳未満の扶養親族あり
    EXPECT_EQ(int32At(b, 300 + 1363), 410000);  // 特定親族特別控除の額

    auto oldFile = WithholdingFileName(dir.path(), "平成", 27);
    SaveWithholdingFile(oldFile, data);
    auto o = readBytes(oldFile);
    ASSERT_EQ(o.size(), 40300u);
    EXPECT_EQ(int32At(o, 300 + 2 * 500 + 120), 999);

    // Reading each file back gives the same live table and header.
    WithholdingData back;
    ReadWithholdingFile(newFile, back);
    EXPECT_EQ(std::memcmp(back.Records.get(), data.Records.get(), 80 * 1500), 0);
    EXPECT_EQ(std::memcmp(&back.Header, &data.Header, 300), 0);
    EXPECT_EQ(back.OldRecord(3).PaidAmount, 0);  // the other table is not touched
    ReadWithholdingFile(oldFile, back);
    EXPECT_EQ(back.OldRecord(3).PaidAmount, 999);
    EXPECT_EQ(back.Record(3).PaidAmount, 4100000);
}

TEST(WithholdingFile, MissingShortOrWrongSizedFilesAreReportedAndChangeNothing) {
    TempDir dir;
    auto file = WithholdingFileName(dir.path(), "令和", 8);
    WithholdingData data;
    data.Record(1).PaidAmount = 123;
    data.Header.Address1.set("東京都");

    EXPECT_THROW(ReadWithholdingFile(file, data), platform::IoError);

    struct Case {
        std::size_t size;
        const char* what;
    } cases[] = {{0, "empty"},
                 {299, "header cut"},
                 {120299, "one byte short"},
                 {40300, "old-layout file under a new-layout name"},
                 {120301, "one byte long"}};
    for (const auto& c : cases) {
        writeBytes(file, std::vector<unsigned char>(c.size, 0xEE));
        try {
            ReadWithholdingFile(file, data);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const platform::IoError& e) {
            if (c.size < 120300) {
                EXPECT_STREQ(e.what(), "ファイルの末尾以降を読み込みました") << c.what;
            }
        }
        EXPECT_EQ(data.Record(1).PaidAmount, 123) << c.what;
        EXPECT_EQ(data.Header.Address1.str(), "東京都") << c.what;
    }
}

TEST(WithholdingFile, ChangeCheckComparesTheLiveTableWithDiskOrZeros) {
    TempDir dir;
    auto file = WithholdingFileName(dir.path(), "令和", 8);
    WithholdingData data;

    // No file: only a non-zero byte counts.
    EXPECT_FALSE(WithholdingChanged(file, data));
    data.Record(80).TaxWithheld = 1;
    EXPECT_TRUE(WithholdingChanged(file, data));

    // Saved and unchanged: no question on closing.
    SaveWithholdingFile(file, data);
    EXPECT_FALSE(WithholdingChanged(file, data));

    // The other layout's table is never written, so it does not count.
    data.OldRecord(5).PaidAmount = 7;
    EXPECT_FALSE(WithholdingChanged(file, data));

    // Any byte of the header or of a record, even one after a short string's text.
    data.Header.Reserved[152] = 1;
    EXPECT_TRUE(WithholdingChanged(file, data));
    data.Header.Reserved[152] = 0;
    data.Record(2).Remarks[4].text[80] = 'x';
    EXPECT_TRUE(WithholdingChanged(file, data));
    data.Record(2).Remarks[4].text[80] = 0;
    EXPECT_FALSE(WithholdingChanged(file, data));

    // A damaged file cannot vouch for the data: closing asks.
    writeBytes(file, std::vector<unsigned char>(1000, 0));
    EXPECT_TRUE(WithholdingChanged(file, data));
}

TEST(WithholdingFile, FailedSaveKeepsTheOldFile) {
    TempDir dir;
    WithholdingData data;
    EXPECT_THROW(SaveWithholdingFile(dir / "missing-folder/源泉徴収(令和8年).dat", data),
                 platform::IoError);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing-folder"));
}

TEST(WithholdingData, CopiesAreDeep) {
    WithholdingData a;
    a.Record(1).PaidAmount = 5;
    WithholdingData b = a;
    b.Record(1).PaidAmount = 6;
    EXPECT_EQ(a.Record(1).PaidAmount, 5);
    a = b;
    EXPECT_EQ(a.Record(1).PaidAmount, 6);
}

}  // namespace
}  // namespace withholding
