#include "ledger/YearFileName.h"

#include <gtest/gtest.h>

#include "ledger/Ledger.h"
#include "ledger/PeriodText.h"
#include "platform/Sjis.h"

namespace ledger {
namespace {

TEST(YearFileNameTest, TodaysFileFollowsTheDateAndEra) {
    struct Case {
        DateTime day;
        const char* name;
    };
    for (const Case& c : {
             Case{{2026, 11, 1}, "令和8年給与･賞与.dat"},
             Case{{2019, 4, 30}, "平成31年給与･賞与.dat"},
             Case{{2019, 5, 1}, "令和1年給与･賞与.dat"},
             Case{{2028, 1, 1}, "令和10年給与･賞与.dat"},
         })
        EXPECT_EQ(TodayYearFileName(FixedClock(c.day)), c.name);

    // The "･" is the half-width middle dot (one byte 0xA5 in CP932).
    EXPECT_EQ(sjis::fromUtf8(TodayYearFileName(FixedClock({2026, 11, 1}))),
              "\x97\xdf\x98\x61"
              "8"
              "\x94\x4e\x8b\x8b\x97\x5e\xa5\x8f\xdc\x97\x5e.dat");
}

TEST(YearFileNameTest, EraAndYearAreParsedFromTheName) {
    auto r8 = ParseYearFileName("/data/令和8年給与･賞与.dat");
    ASSERT_TRUE(r8);
    EXPECT_EQ(r8->era, "令和");
    EXPECT_EQ(r8->year, 8);
    auto h28 = ParseYearFileName("平成28年給与･賞与.dat");
    ASSERT_TRUE(h28);
    EXPECT_EQ(h28->era, "平成");
    EXPECT_EQ(h28->year, 28);
    for (const char* bad : {"給与･賞与.dat", "8年給与･賞与.dat", "令和年給与･賞与.dat",
                            "令和8給与.dat", "令和8", "令和123456年.dat"})
        EXPECT_FALSE(ParseYearFileName(bad)) << bad;
}

TEST(YearFileNameTest, LastYearIsNamedFromTheOpenYear) {
    // Today's date must not matter: the open year decides.
    FixedClock clock({2031, 6, 1});
    Ledger ledger(clock);
    ledger.dataPath = "/data";
    struct Case {
        const char* era;
        int year;
        const char* prev;
        const char* carryOver;
    };
    for (const Case& c : {
             Case{"令和", 8, "令和7年給与･賞与.dat", "令和7年給与･賞与.dat"},
             Case{"令和", 5, "令和4年給与･賞与.dat", "令和4年給与･賞与.dat"},
             Case{"令和", 2, "平成31年給与･賞与.dat", "令和1年給与･賞与.dat"},
             Case{"令和", 1, "平成30年給与･賞与.dat", "平成30年給与･賞与.dat"},
             Case{"平成", 28, "平成27年給与･賞与.dat", "平成27年給与･賞与.dat"},
             Case{"平成", 11, "平成10年給与･賞与.dat", "平成10年給与･賞与.dat"},
         }) {
        ledger.CurData.Era = c.era;
        ledger.CurData.Year = c.year;
        EXPECT_EQ(PrevYearFile(ledger), std::filesystem::path("/data") / c.prev) << c.year;
        EXPECT_EQ(CarryOverYearFile(ledger), std::filesystem::path("/data") / c.carryOver)
            << c.year;
    }
}

TEST(PeriodTextTest, ListLabelsAndTitleSuffixes) {
    SysOption option;
    option.tokuSyoyo = "決算賞与";
    struct Case {
        int period;
        const char* label;
        const char* title;
    };
    for (const Case& c : {
             Case{1, "１月分給与", "1月分給与"},
             Case{9, "９月分給与", "9月分給与"},
             Case{10, "10月分給与", "10月分給与"},
             Case{12, "12月分給与", "12月分給与"},
             Case{13, "夏期賞与", "・夏期賞与"},
             Case{14, "冬期賞与", "・冬季賞与"},
             Case{15, "決算賞与", "・決算賞与"},
             Case{0, "", ""},
             Case{16, "", ""},
         }) {
        EXPECT_EQ(PeriodListLabel(c.period, option), c.label) << c.period;
        EXPECT_EQ(PeriodTitleSuffix(c.period, option), c.title) << c.period;
    }
    EXPECT_EQ(PeriodListLabel(15, SysOption{}), "特別賞与");
}

}  // namespace
}  // namespace ledger
