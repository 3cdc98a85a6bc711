#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <ctime>

#include "ledger/Messages.h"
#include "platform/Sjis.h"
#include "support/TempDir.h"
#include "withholding/PostalCodes.h"
#include "withholding/YearEndOption.h"

namespace {
namespace fs = std::filesystem;
using ledger::MessageLog;
using testing_support::TempDir;
using testing_support::writeText;
using namespace withholding;

// Writes UTF-8 lines as the Shift-JIS file with CR LF.
void writePostalData(const fs::path& folder, std::initializer_list<std::string> lines) {
    std::string bytes;
    for (const auto& l : lines) bytes += sjis::fromUtf8(l) + "\r\n";
    writeText(folder / "YubinNo.dat", bytes);
}

YearEndOption fileLookup() {
    YearEndOption o;
    o.YubinDat = kPostalLookupDataFile;
    return o;
}

TEST(PostalCodes, KeyDropsTheHyphenAndFillsFiveDigitCodes) {
    const struct {
        const char* code;
        const char* key;
    } cases[] = {
        {"123-4567", "1234567"}, {"123-45", "1234500"}, {"123", "123"}, {"123-4", "1234"}, {"", ""},
        {"1234567", "123567"},
    };
    for (const auto& c : cases) EXPECT_EQ(PostalLookupKey(c.code), c.key) << c.code;
}

TEST(PostalCodes, FirstMatchingLineGivesItsAddress) {
    TempDir dir;
    const std::string longAddress(120, 'A');
    writePostalData(dir.path(),
                    {"0600000 北海道札幌市中央区", "1000001 東京都千代田区千代田", "1000001 第二行",
                     "1000002　皇居外苑", "1000003 " + longAddress, "100000", "1000004"});
    const auto file = dir / "YubinNo.dat";
    EXPECT_EQ(FindPostalAddress(file, "1000001").address, "東京都千代田区千代田");
    // A double-byte separator counts as one character.
    EXPECT_EQ(FindPostalAddress(file, "1000002").address, "皇居外苑");
    // Characters 9-107.
    EXPECT_EQ(FindPostalAddress(file, "1000003").address, std::string(99, 'A'));
    EXPECT_EQ(FindPostalAddress(file, "1000004").status, PostalSearch::Found);
    EXPECT_EQ(FindPostalAddress(file, "1000004").address, "");
    for (const char* key : {"9999999", "100000", "1000", ""})
        EXPECT_EQ(FindPostalAddress(file, key).status, PostalSearch::NoMatch) << key;
}

TEST(PostalCodes, LookupFillsOnlyAnEmptyAddressAndCutsItToTheField) {
    TempDir dir;
    writePostalData(dir.path(),
                    {"1000001 東京都千代田区千代田",
                     "1000100 東京都千代田区永田町一丁目二番三号国会議事堂", "1230000 短い"});
    MessageLog log;
    const auto o = fileLookup();
    EXPECT_EQ(LookupAddress(o, dir.path(), "100-0001", "", log), "東京都千代田区千代田");
    EXPECT_EQ(LookupAddress(o, dir.path(), "123", "", log), std::nullopt);
    EXPECT_EQ(LookupAddress(o, dir.path(), "123-", "", log), std::nullopt);
    // Three digits and two: the two are followed by "00".
    EXPECT_EQ(LookupAddress(o, dir.path(), "100-01", "", log), "東京都千代田区永田町一丁目二番三");
    EXPECT_EQ(sjis::byteLength(*LookupAddress(o, dir.path(), "100-01", "", log)), 32u);
    EXPECT_TRUE(log.entries.empty());
}

TEST(PostalCodes, LookupWithoutWorkIsSilent) {
    TempDir dir;
    writePostalData(dir.path(), {"1000001 東京都千代田区千代田"});
    YearEndOption off;
    YearEndOption ime;
    ime.YubinDat = kPostalLookupImeDictionary;
    YearEndOption other;
    other.YubinDat = 3;
    const struct {
        YearEndOption option;
        const char* code;
        const char* address;
    } cases[] = {
        {fileLookup(), "100-0001", "既に入力"},  // already filled
        {fileLookup(), "", ""},
        {fileLookup(), "999-9999", ""},
        {off, "100-0001", ""},
        {ime, "100-0001", ""},
        {other, "100-0001", ""},
    };
    for (const auto& c : cases) {
        MessageLog log;
        EXPECT_EQ(LookupAddress(c.option, dir.path(), c.code, c.address, log), std::nullopt)
            << c.code << " " << c.option.YubinDat;
        EXPECT_TRUE(log.entries.empty());
    }
}

TEST(PostalCodes, MissingDataIsSilentAndDamagedDataIsReported) {
    TempDir dir;
    MessageLog log;
    // No data installed: the address simply stays empty.
    EXPECT_EQ(LookupAddress(fileLookup(), dir.path(), "100-0001", "", log), std::nullopt);
    EXPECT_TRUE(log.entries.empty());

    // A matching line whose address is not Shift-JIS.
    writeText(dir / "YubinNo.dat", std::string("1000001 \xFF\xFE\x81\r\n1000002 ok\r\n"));
    log.entries.clear();
    EXPECT_EQ(LookupAddress(fileLookup(), dir.path(), "100-0001", "", log), std::nullopt);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].second, kPostalDataDamaged);
    // Damage elsewhere does not stop other codes.
    EXPECT_EQ(LookupAddress(fileLookup(), dir.path(), "100-0002", "", log), "ok");

    // A folder in the file's place.
    TempDir other;
    fs::create_directory(other / "YubinNo.dat");
    log.entries.clear();
    EXPECT_EQ(LookupAddress(fileLookup(), other.path(), "100-0001", "", log), std::nullopt);
    EXPECT_EQ(log.entries.size(), 1u);

    // A pipe in the file's place is refused, not waited on.
    TempDir pipeDir;
    ASSERT_EQ(::mkfifo((pipeDir / "YubinNo.dat").c_str(), 0600), 0);
    log.entries.clear();
    EXPECT_EQ(LookupAddress(fileLookup(), pipeDir.path(), "100-0001", "", log), std::nullopt);
    EXPECT_EQ(log.entries.size(), 1u);
}

TEST(PostalCodes, DataDateIsTheFilesLocalModificationDay) {
    TempDir dir;
    EXPECT_FALSE(ShowPostalDataDate(dir.path()).exists);
    EXPECT_EQ(ShowPostalDataDate(dir.path()).text, "(郵便番号データ無し)");

    writePostalData(dir.path(), {"1000001 東京都"});
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 5;
    local.tm_hour = 23;
    local.tm_min = 30;
    local.tm_isdst = -1;
    const auto sys = std::chrono::system_clock::from_time_t(std::mktime(&local));
    fs::last_write_time(dir / "YubinNo.dat", std::chrono::file_clock::from_sys(sys));
    const auto date = ShowPostalDataDate(dir.path());
    EXPECT_TRUE(date.exists);
    EXPECT_EQ(date.text, "(2024年3月5日データ)");
}

}  // namespace
