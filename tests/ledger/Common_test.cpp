#include "ledger/Common.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using ledger::DateTime;
using ledger::FixedClock;
using ledger::Ledger;

TEST(ItemLabelTest, EveryStandardCodeTakesTheUserLabelOfItsKey) {
    ledger::SysOption options;
    std::set<std::string_view> codes;
    std::set<std::string_view> keys;
    for (const auto& item : ledger::kStandardItems) {
        std::string* label = options.labelForKey(item.optionKey);
        ASSERT_NE(label, nullptr) << item.optionKey;
        *label = "名" + std::string(item.optionKey);
        codes.insert(item.code);
        keys.insert(item.optionKey);
    }
    EXPECT_EQ(codes.size(), 41u);
    EXPECT_EQ(keys.size(), 41u);
    for (const auto& item : ledger::kStandardItems) {
        std::string expected =
            std::string(item.code.substr(0, 1)) + "名" + std::string(item.optionKey);
        EXPECT_EQ(ledger::ItemLabel(item.code, options), expected) << item.code;
    }
}

TEST(ItemLabelTest, SameNamesWithOtherPrefixesAreDifferentItems) {
    ledger::SysOption options;
    EXPECT_EQ(ledger::ItemLabel("F基本給", options), "F基本給");
    *options.labelForKey("inKihon") = "基本給与";
    *options.labelForKey("inKyuZanF") = "休日残業(時間)";
    *options.labelForKey("inKyFuTea") = "休日残業手当";
    *options.labelForKey("Sonota2") = "立替金";
    EXPECT_EQ(ledger::ItemLabel("F基本給", options), "F基本給与");
    EXPECT_EQ(ledger::ItemLabel("V休日普通残業", options), "V休日残業(時間)");
    EXPECT_EQ(ledger::ItemLabel("F休日普通残業", options), "F休日残業手当");
    EXPECT_EQ(ledger::ItemLabel("Vその他２", options), "V立替金");
    for (const char* fixed :
         {"F課税支給合計", "F健康保険料", "F所得税", "V賞与", "V役員報酬", "F", "", "V基本給"})
        EXPECT_EQ(ledger::ItemLabel(fixed, options), fixed);
}

TEST(ItemLabelTest, TimeItemsAreThoseAboutHoursOrOvertime) {
    EXPECT_TRUE(ledger::IsTimeItem("実働時間"));
    EXPECT_TRUE(ledger::IsTimeItem("休日深夜残業"));
    EXPECT_FALSE(ledger::IsTimeItem("出勤日数"));
    EXPECT_FALSE(ledger::IsTimeItem("遅刻早退回数"));
}

TEST(CommonTest, ByteHelpers) {
    struct {
        unsigned char byte;
        bool lead;
    } leads[] = {{0x80, false}, {0x81, true}, {0x9F, true}, {0xA0, false},
                 {0xDF, false}, {0xE0, true}, {0xFC, true}, {0xFD, false}};
    for (auto l : leads) EXPECT_EQ(ledger::IsSJISLead(l.byte), l.lead) << int(l.byte);

    char a[4] = {1, 2, 3, 4};
    char b[4] = {1, 2, 9, 4};
    EXPECT_TRUE(ledger::SameBytes(a, b, 2));
    EXPECT_FALSE(ledger::SameBytes(a, b, 3));
    EXPECT_TRUE(ledger::SameBytes(a, b, 0));
    EXPECT_TRUE(ledger::SameBytes(a, b, -1));
    ledger::FillBytes(b, 7, 3);
    ledger::FillBytes(b, 0, -5);
    EXPECT_EQ(b[2], 7);
    EXPECT_EQ(b[3], 4);
}

class CommonLedgerTest : public ::testing::Test {
protected:
    FixedClock clock{DateTime{2026, 11, 1}};
    Ledger ledger{clock};

    void open(const char* era, int year, int period) {
        ledger.CurData.Era = era;
        ledger.CurData.Year = year;
        ledger.CurData.Period = period;
    }
    ledger::PayDate payDate(int payDay, int nextMonth = 0) {
        ledger.BasicInfo().PayDay = payDay;
        ledger.BasicInfo().PayNextMonth = nextMonth;
        return ledger::PayDateParts(ledger);
    }
};

TEST_F(CommonLedgerTest, StatusAndKindOfAnEmployee) {
    ledger.Employee(1).Status = 1;
    ledger.Employee(2).Status = 2;
    ledger.Employee(3).Status = 3;
    EXPECT_TRUE(ledger::IsActive(ledger, 1));
    EXPECT_FALSE(ledger::IsRetired(ledger, 1));
    EXPECT_FALSE(ledger::IsActive(ledger, 2));
    EXPECT_FALSE(ledger::IsRetired(ledger, 2));
    EXPECT_TRUE(ledger::IsRetired(ledger, 3));
    EXPECT_FALSE(ledger::IsActive(ledger, 0));
    EXPECT_FALSE(ledger::IsRetired(ledger, 81));

    ledger.Employee(1).Kind = 3;
    ledger.Employee(1).KindText.set("古い種別");
    ledger.Employee(2).Kind = 0;
    ledger.Employee(2).KindText.set("嘱託");
    EXPECT_EQ(ledger::EmployeeKindText(ledger, 1), "臨時社員");
    EXPECT_EQ(ledger::EmployeeKindText(ledger, 2), "嘱託");
}

TEST_F(CommonLedgerTest, PayDayThirtyOneIsTheLastDayOfTheMonthInEveryEra) {
    open("令和", 6, 2);
    EXPECT_EQ(payDate(31).day, "29");  // 2024
    open("令和", 7, 2);
    EXPECT_EQ(payDate(31).day, "28");
    open("平成", 28, 2);
    ledger::PayDate d = payDate(31);
    EXPECT_EQ(d.year, "28");
    EXPECT_EQ(d.month, " 2");
    EXPECT_EQ(d.day, "29");
    open("令和", 7, 4);
    EXPECT_EQ(payDate(31).day, "30");
    open("令和", 7, 5);
    EXPECT_EQ(payDate(31).day, "31");
    open("令和", 7, 2);
    EXPECT_EQ(payDate(30).day, "28");  // no 30 February on a slip
    EXPECT_EQ(payDate(25).day, "25");
}

TEST_F(CommonLedgerTest, PayNextMonthRollsIntoTheNextYear) {
    open("令和", 7, 12);
    ledger::PayDate d = payDate(25, 1);
    EXPECT_EQ(d.year, " 8");
    EXPECT_EQ(d.month, " 1");
    EXPECT_EQ(d.day, "25");
    open("令和", 6, 1);
    d = payDate(31, 1);
    EXPECT_EQ(d.year, " 6");
    EXPECT_EQ(d.month, " 2");
    EXPECT_EQ(d.day, "29");
    open("令和", 7, 3);
    EXPECT_EQ(payDate(31, 1).day, "30");  // paid in April
}

TEST_F(CommonLedgerTest, NoCalculationOnlyForOldHeiseiYears) {
    struct {
        const char* era;
        int year;
        bool noCalc;
    } cases[] = {{"平成", 24, true},  {"平成", 16, true},  {"平成", 25, false},
                 {"平成", 15, false}, {"令和", 16, false}, {"令和", 8, false}};
    for (auto c : cases) {
        open(c.era, c.year, 1);
        EXPECT_EQ(ledger::IsNoCalcYear(ledger), c.noCalc) << c.era << c.year;
    }
    clock.set(DateTime{2012, 12, 31});
    open("平成", 24, 1);
    EXPECT_FALSE(ledger::IsNoCalcYear(ledger));
}

TEST(CommonTest, IndividualNumberFromTwelveDigits) {
    EXPECT_EQ(ledger::MyNumberFromText("012345678901"), 12345678901LL);
    EXPECT_EQ(ledger::MyNumberFromText("999999999999"), 999999999999LL);
    EXPECT_EQ(ledger::MyNumberFromText(""), 0);
    EXPECT_EQ(ledger::MyNumberFromText("123"), 123000000LL);
    for (const char* bad : {"12345a789012", "-12345678901", "12345-678901", "１２３"})
        EXPECT_THROW(ledger::MyNumberFromText(bad), platform::ConvertError) << bad;
}

}  // namespace
