#include "ledger/EditRules.h"

#include <gtest/gtest.h>

#include "platform/Sjis.h"

namespace {

std::string sj(const char* utf8) {
    return sjis::fromUtf8(utf8);
}

TEST(EditRulesTest, FittingNeverSplitsADoubleByteCharacter) {
    struct Case {
        const char* text;
        int max;
        const char* result;
        bool cut;
        bool filled;
    } cases[] = {
        {"ABあ", 3, "AB", true, false},    {"あいう", 5, "あい", true, false},
        {"あいう", 4, "あい", true, true}, {"ABCD", 3, "ABC", true, true},
        {"AB", 3, "AB", false, false},     {"ABC", 3, "ABC", false, true},
        {"ｱｲｳｴ", 3, "ｱｲｳ", true, true},    {"あいう", 0, "あいう", false, false},
    };
    for (const auto& c : cases) {
        ledger::FitResult r = ledger::FitEditText(c.text, c.max);
        EXPECT_EQ(r.text, c.result) << c.text << " " << c.max;
        EXPECT_EQ(r.cut, c.cut) << c.text << " " << c.max;
        EXPECT_EQ(r.filled, c.filled) << c.text << " " << c.max;
    }
}

TEST(EditRulesTest, OvertypeReplacesCharactersByTheirBytes) {
    struct Case {
        const char* text;
        int caret;
        const char* key;
        const char* result;
        int newCaret;
    } cases[] = {
        {"12345", 1, "9", "19345", 2},
        {"あいう", 0, "1", "1 いう", 1},  // the freed half becomes a blank
        {"あいう", 2, "え", "あえう", 4},
        {"1あ", 0, "え", "え ", 2},  // the trail byte takes half of あ
        {"12", 1, "え", "1え", 3},   // grows by the trail byte at the end
        {"123", 0, "え", "え3", 2},
        {"あ", 1, "1", "1 ", 1},  // a caret inside a character writes at its start
    };
    for (const auto& c : cases) {
        std::string text = sj(c.text);
        ledger::OvertypeResult r = ledger::OvertypeKey(text, c.caret, 0, 0, sj(c.key));
        EXPECT_TRUE(r.handled) << c.text;
        EXPECT_EQ(sjis::toUtf8(r.text), c.result) << c.text << " " << c.key;
        EXPECT_EQ(r.caret, c.newCaret) << c.text << " " << c.key;
    }
}

TEST(EditRulesTest, OvertypeLeavesTheUsualInsertAtTheEndAndForAnySelection) {
    std::string text = sj("123");
    EXPECT_FALSE(ledger::OvertypeKey(text, 3, 0, 10, "4").handled);
    EXPECT_FALSE(ledger::OvertypeKey("", 0, 0, 10, "4").handled);
    EXPECT_FALSE(ledger::OvertypeKey(text, 0, 3, 3, "4").handled);
    // A selection shorter than the maximum, or than the text, is replaced too.
    EXPECT_FALSE(ledger::OvertypeKey(text, 0, 3, 5, "4").handled);
    EXPECT_FALSE(ledger::OvertypeKey(text, 1, 1, 5, "4").handled);
}

TEST(EditRulesTest, OvertypeDropsACharacterThatDoesNotFit) {
    ledger::OvertypeResult r = ledger::OvertypeKey("12", 1, 0, 2, sj("え"));
    EXPECT_TRUE(r.handled);
    EXPECT_EQ(r.text, "12");
    EXPECT_EQ(r.caret, 1);
}

}  // namespace
