#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ledger/Era.h"
#include "platform/Files.h"
#include "support/TempDir.h"
#include "withholding/YearEndStartup.h"

namespace {
using namespace withholding;
using testing_support::TempDir;
using testing_support::writeText;

TEST(ChosenPayDataYear, ReadsEraAndYearByCharacters) {
    struct Case {
        const char* name;
        bool ok;
        const char* era;
        int year;
    } cases[] = {
        {"/data/平成28年給与･賞与.dat", true, "平成", 28},
        {"令和7年給与･賞与.dat", true, "令和", 7},
        {"平成9年給与･賞与.dat", true, "平成", 9},
        {"平成28年賃金.dat", false, "", 0},
        {"平成28年給与･賞与.dat.bak", false, "", 0},
        {"28年給与･賞与.dat", false, "", 0},
        {"令和0年給与･賞与.dat", false, "", 0},
        {"令和08年給与･賞与.dat", false, "", 0},
        {"源泉徴収(令和7年).dat", false, "", 0},
    };
    for (const auto& c : cases) {
        auto y = ChosenPayDataYear(c.name);
        ASSERT_EQ(y.has_value(), c.ok) << c.name;
        if (!c.ok) continue;
        EXPECT_EQ(y->era, c.era);
        EXPECT_EQ(y->year, c.year);
    }
}

TEST(HasPayDataFiles, NeedsAFolderWithAPayDataFile) {
    TempDir dir;
    EXPECT_FALSE(HasPayDataFiles(dir / "Data"));
    std::filesystem::create_directories(dir / "Data");
    EXPECT_FALSE(HasPayDataFiles(dir / "Data"));
    writeText(dir / "Data/システムログ.dat", "x");
    EXPECT_FALSE(HasPayDataFiles(dir / "Data"));
    writeText(dir / "Data/令和8年給与･賞与.dat", "x");
    EXPECT_TRUE(HasPayDataFiles(dir / "Data"));
}

// Today's era first, then every earlier one: a 平成 year opens by choosing it.
TEST(PayDataFilter, OffersThePayDataOfEveryEra) {
    ledger::FixedClock clock({2026, 3, 1, 9, 0, 0});
    const auto f = PayDataFilter(clock);
    EXPECT_EQ(f.label,
              "給与･賞与ﾃﾞｰﾀﾌｧｲﾙ(令和*年給与･賞与.dat 平成*年給与･賞与.dat "
              "昭和*年給与･賞与.dat 大正*年給与･賞与.dat 明治*年給与･賞与.dat)");
    ASSERT_EQ(f.patterns.size(), 5u);

    TempDir dir;
    for (const char* name :
         {"令和8年給与･賞与.dat", "平成27年給与･賞与.dat", "平成9年給与･賞与.dat",
          "源泉徴収(令和8年).dat", "源泉徴収(平成27年).dat", "システムログ.dat", "令和8年給与.dat"})
        writeText(dir / name, "x");
    std::set<std::string> listed;
    for (const auto& pattern : f.patterns)
        for (const auto& file : platform::listByPattern(dir.path(), pattern))
            listed.insert(file.filename().string());
    EXPECT_EQ(listed, (std::set<std::string>{"令和8年給与･賞与.dat", "平成27年給与･賞与.dat",
                                             "平成9年給与･賞与.dat"}));
    EXPECT_EQ(StatusBarText("株式会社テスト", "令和", 8), "株式会社テスト 令和8年分");
}

}  // namespace
