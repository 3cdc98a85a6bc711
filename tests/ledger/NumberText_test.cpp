#include "ledger/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using ledger::MessageLog;

namespace {

TEST(NumberTextTest, AmountsRoundHalfAwayWithSeparatorsAndAreNeverCut) {
    struct Case {
        int width;
        double value;
        const char* text;
    } cases[] = {
        {10, 1234567, " 1,234,567"},
        {7, -5000, " -5,000"},
        {7, 0, "      0"},
        {7, 12345678, "12,345,678"},
        {5, 2.5, "    3"},
        {5, -2.5, "   -3"},
        {7, -0.4, "      0"},
        {7, 999.5, "  1,000"},
        {3, 999, "999"},
        {0, -1234, "-1,234"},
        {11, 2147483647.0, "2,147,483,647"},
    };
    for (const auto& c : cases) EXPECT_EQ(ledger::FmtAmount(c.width, c.value), c.text) << c.value;
}

TEST(NumberTextTest, FixedTextRoundsTheDecimalFormNotTheBinaryOne) {
    EXPECT_EQ(ledger::fixedText(0.125, 2), "0.13");
    EXPECT_EQ(ledger::fixedText(1.005, 2), "1.01");  // 1.00499999... in binary
    EXPECT_EQ(ledger::fixedText(0.1 + 0.2, 2), "0.30");
    EXPECT_EQ(ledger::fixedText(-0.004, 2), "0.00");
    EXPECT_EQ(ledger::fixedText(9.995, 2), "10.00");
    EXPECT_EQ(ledger::fixedText(0.0004, 3), "0.000");
    EXPECT_EQ(ledger::fixedText(0.0005, 3), "0.001");
    EXPECT_EQ(ledger::fixedText(1e20, 0, true), "100,000,000,000,000,000,000");
}

TEST(NumberTextTest, IntegerConversionsDifferInWhenTheyStripSeparators) {
    EXPECT_EQ(ledger::StripNum("1, 234 "), "1234");
    EXPECT_EQ(ledger::StrToIntNum(""), 0);
    EXPECT_EQ(ledger::StrToIntNum("  "), 0);
    EXPECT_EQ(ledger::StrToIntNum("1,234"), 1234);
    EXPECT_EQ(ledger::StrToIntNum("  -1,234 "), -1234);
    EXPECT_EQ(ledger::StrToIntDef0(" , "), 0);
    EXPECT_EQ(ledger::StrToIntDef0("2147483647"), 2147483647);
    EXPECT_EQ(ledger::StrToIntDef0("-2147483648"), INT32_MIN);

    // Only the blank test comes before stripping in StrToIntNum.
    EXPECT_THROW(ledger::StrToIntNum(" , "), platform::ConvertError);
    for (const char* bad : {"12a", "1.5", "--1", "2147483648", "1-2"}) {
        EXPECT_THROW(ledger::StrToIntNum(bad), platform::ConvertError) << bad;
        EXPECT_THROW(ledger::StrToIntDef0(bad), platform::ConvertError) << bad;
    }
    try {
        ledger::StrToIntNum("12a");
    } catch (const platform::ConvertError& e) {
        EXPECT_STREQ(e.what(), "｢12a｣は正しい数値ではありません。");
    }
}

TEST(NumberTextTest, StrToNumReadsWhatCanBeReadAndReportsDoubledSigns) {
    struct Case {
        const char* text;
        double value;
        bool inputError;
    } cases[] = {
        {"1,234", 1234, false},  {"-", 0, false},      {"+", 0, false},  {"12-", 12, false},
        {"3.5kg", 3.5, false},   {"1:30", 1.5, false}, {"", 0, false},   {" 1 2 ", 12, false},
        {"-12.5", -12.5, false}, {".5", 0.5, false},   {"5.", 5, false}, {"+7", 7, false},
        {"1.2.3", 0, true},      {"+-1", 0, true},     {"-1-", 0, true}, {"1:2:3", 0, true},
    };
    for (const auto& c : cases) {
        MessageLog log;
        EXPECT_DOUBLE_EQ(ledger::StrToNum(c.text, log), c.value) << c.text;
        ASSERT_EQ(log.entries.size(), c.inputError ? 1u : 0u) << c.text;
        if (c.inputError) {
            EXPECT_EQ(log.entries[0].first, MessageLog::Kind::Error);
            EXPECT_EQ(log.entries[0].second, "入力エラー");
        }
    }
    MessageLog log;
    EXPECT_THROW(ledger::StrToNum("1-2", log), platform::ConvertError);
    EXPECT_THROW(ledger::StrToNum(".", log), platform::ConvertError);
    EXPECT_THROW(ledger::StrToNum("-.", log), platform::ConvertError);
    EXPECT_TRUE(log.entries.empty());
}

TEST(NumberTextTest, StrToNumKeepsAtMostThirtyTwoCharacters) {
    MessageLog log;
    std::string longText(40, '1');
    EXPECT_DOUBLE_EQ(ledger::StrToNum(longText, log), std::stod(std::string(32, '1')));
}

TEST(NumberTextTest, TimeTextsGiveHoursWithTheSignOnTheWholeValue) {
    struct Case {
        const char* text;
        double hours;
    } cases[] = {{"1:30", 1.5},   {"-0:15", -0.25}, {"0:45", 0.75}, {"2.5", 2.5},
                 {"-1:30", -1.5}, {":30", 0.5},     {"1:", 1.0},    {" 12:06 ", 12.1}};
    for (const auto& c : cases) {
        MessageLog log;
        EXPECT_DOUBLE_EQ(ledger::TimeStrToHours(c.text, log), c.hours) << c.text;
        EXPECT_TRUE(log.entries.empty()) << c.text;
    }
    MessageLog log;
    EXPECT_EQ(ledger::TimeStrToHours("1:2:3", log), 0);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].second, "入力エラー");
    EXPECT_THROW(ledger::TimeStrToHours("x:30", log), platform::ConvertError);
}

TEST(NumberTextTest, HoursShowAsHoursAndMinutesOrDecimals) {
    struct Case {
        double hours;
        int style;
        const char* text;
    } cases[] = {
        {1.5, 1, "  1:30"},     {-0.25, 1, " -0:15"},   {-1.5, 1, " -1:30"},
        {0.875, 1, "  0:52"},   {1.125, 1, "  1:08"},   {1.9999, 1, "  2:00"},
        {-1.9999, 1, " -2:00"}, {-0.9999, 1, " -1:00"}, {0, 1, "  0:00"},
        {-0.0001, 1, "  0:00"}, {123.5, 1, "123:30"},   {1234.5, 1, "1234:30"},
        {1.5, 0, "  1.50"},     {-0.25, 0, " -0.25"},   {0.125, 0, "  0.13"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ledger::FmtHours(c.hours, c.style), c.text) << c.hours << " style " << c.style;
}

// A damaged year file or setting can hold hours no integer can; they show as the
// decimal style shows them instead of a wrapped-around count.
TEST(NumberTextTest, HoursBeyondAnyIntegerShowAsDecimals) {
    for (double h : {1e300, -1e300, 9.3e18, -9223372036854775808.0}) {
        SCOPED_TRACE(h);
        EXPECT_EQ(ledger::FmtHours(h, 1), ledger::FmtHours(h, 0));
        EXPECT_EQ(ledger::FmtHours(h, 1).find("9223372036854775808:"), std::string::npos);
    }
    EXPECT_EQ(ledger::FmtHours(9.2e18, 1), "9200000000000000000:00");
}

TEST(NumberTextTest, CheckNumEditNormalisesToTheFieldFormat) {
    struct Case {
        int code;
        const char* text;
        const char* result;
        const char* message;
    } cases[] = {
        {62, "123.45", "123.45", ""},
        {62, "1234", "", "入力した数値が上限を超えました。"},
        {62, "1.234", "1.23", ""},
        {62, "1:30", "1:30", ""},
        {62, "1:75", "", "分の入力が59を超えています。"},
        {62, "1:59", "1:59", ""},
        {62, ".5", "0.5", ""},
        {62, "-1.5", "-1.5", ""},
        {62, "12.", "12", ""},
        {52, "12.5", "12.5", ""},
        {52, "123", "", "入力した数値が上限を超えました。"},
        {90, "1,234,567", "1234567", ""},
        {90, "12345678", "", "入力した数値が上限を超えました。"},
        {70, "123456", "123456", ""},
        {70, "1234567", "", "入力した数値が上限を超えました。"},
        {70, "-12,345", "-12345", ""},
        {70, "123.7", "123", ""},
        {100, "999999999", "999999999", ""},
        {20, " 5 ", "5", ""},
        {10, "12", "", "入力した数値が上限を超えました。"},
        {62, "", "", ""},
        {62, " , ", "", ""},
        {62, "-", "0", ""},
        {62, "1.2.3", "", "．や：又は符号(－)が重複しています。"},
        {62, "1:2.3", "", "．や：又は符号(－)が重複しています。"},
        {62, "--1", "", "．や：又は符号(－)が重複しています。"},
        {62, "5-", "", "符号(－)の位置が不正です。"},
        // Only the first failing test is reported.
        {62, "1.2-3-", "", "．や：又は符号(－)が重複しています。"},
        {62, "5-:75", "", "分の入力が59を超えています。"},
        {52, "123-", "", "符号(－)の位置が不正です。"},
        {70, "12a", "", "｢12a｣は正しい数値ではありません。"},
        {62, "1:x", "", "｢1:x｣は正しい数値ではありません。"},
    };
    for (const auto& c : cases) {
        ledger::NumEditResult r = ledger::CheckNumEdit(c.text, c.code);
        EXPECT_EQ(r.text, c.result) << c.code << " '" << c.text << "'";
        EXPECT_EQ(r.message, c.message) << c.code << " '" << c.text << "'";
    }
}

TEST(NumberTextTest, TotalsOfTenDigitsAreRefusedRatherThanSilentlyShortened) {
    // A ten-digit total cannot be held by the 32-bit amounts; it used to lose its
    // last digit without a word.
    ledger::NumEditResult r = ledger::CheckNumEdit("1234567890", 100);
    EXPECT_EQ(r.text, "");
    EXPECT_EQ(r.message, "入力した数値が上限を超えました。");
}

TEST(NumberTextTest, EveryNormalisedAmountConvertsBack) {
    for (int code : {52, 62, 70, 90, 100, 10, 20}) {
        for (const char* text : {"0", "-0", ".", "-.", "1.", "01", "-5", "9.99", "1:05", "42"}) {
            ledger::NumEditResult r = ledger::CheckNumEdit(text, code);
            if (!r.message.empty()) continue;
            MessageLog log;
            EXPECT_NO_THROW(ledger::StrToNum(r.text, log)) << code << " " << text;
            if (code % 10 == 0 && r.text.find(':') == std::string::npos) {
                EXPECT_NO_THROW(ledger::StrToIntNum(r.text)) << code << " " << text;
            }
        }
    }
}

}  // namespace
