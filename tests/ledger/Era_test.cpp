#include "ledger/Era.h"

#include <gtest/gtest.h>

namespace ledger {
namespace {

TEST(EraTest, EraOfADateChangesOnTheFirstDayOfTheNewEra) {
    struct Case {
        DateTime day;
        const char* era;
        int year;
    };
    for (const Case& c : {
             Case{{2019, 4, 30}, "平成", 31},
             Case{{2019, 5, 1}, "令和", 1},
             Case{{2026, 11, 1}, "令和", 8},
             Case{{1989, 1, 7}, "昭和", 64},
             Case{{1989, 1, 8}, "平成", 1},
             Case{{1926, 12, 25}, "昭和", 1},
         }) {
        EraYear e = eraOf(c.day);
        EXPECT_EQ(e.era, c.era) << c.day.year << "-" << c.day.month << "-" << c.day.day;
        EXPECT_EQ(e.year, c.year) << c.day.year << "-" << c.day.month << "-" << c.day.day;
    }
}

TEST(EraTest, WesternYearsAndEraYearsConvertBothWays) {
    EXPECT_EQ(westernYear("令和", 8), 2026);
    EXPECT_EQ(westernYear("平成", 31), 2019);
    EXPECT_EQ(westernYear("昭和", 64), 1989);
    EXPECT_EQ(eraYearOf("平成", 2019), 31);
    EXPECT_EQ(eraYearOf("令和", 2019), 1);
    EXPECT_FALSE(westernYear("天保", 1));
    EXPECT_EQ(previousEra("令和"), "平成");
    EXPECT_EQ(previousEra("平成"), "昭和");
    EXPECT_FALSE(previousEra("明治"));
    EXPECT_FALSE(previousEra("天保"));
}

TEST(EraTest, MonthLengthsFollowTheWesternYear) {
    EXPECT_EQ(daysInMonth(*westernYear("令和", 6), 2), 29);
    EXPECT_EQ(daysInMonth(*westernYear("令和", 7), 2), 28);
    EXPECT_EQ(daysInMonth(*westernYear("平成", 12), 2), 29);  // 2000
    EXPECT_EQ(daysInMonth(2100, 2), 28);
    EXPECT_EQ(daysInMonth(2026, 4), 30);
    EXPECT_EQ(daysInMonth(2026, 12), 31);
    EXPECT_EQ(heiseiYearNow(FixedClock({2026, 11, 1})), 38);
}

}  // namespace
}  // namespace ledger
