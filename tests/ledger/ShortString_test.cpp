#include "ledger/ShortString.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/Errors.h"

namespace ledger {
namespace {

TEST(ShortStringTest, AssignmentKeepsTheTail) {
    ShortString<17> s{};
    s.set("山田太郎");
    s.set("林");
    EXPECT_EQ(s.str(), "林");
    EXPECT_EQ(s.len, 2);
    // "田太郎" of the earlier name still follows the new text.
    EXPECT_EQ(std::string(s.text + 2, 6), sjis::fromUtf8("田太郎"));

    s.clearTail();
    EXPECT_EQ(s.str(), "林");
    for (std::size_t i = 2; i < 17; ++i) EXPECT_EQ(s.text[i], 0) << i;
}

TEST(ShortStringTest, DamagedLengthIsReadAsTheMaximum) {
    ShortString<8> s{};
    std::memcpy(s.text, "12345678", 8);
    s.len = 200;
    EXPECT_EQ(s.length(), 8u);
    EXPECT_EQ(s.str(), "12345678");
    s.clearTail();  // nothing past the field is touched
    EXPECT_EQ(s.str(), "12345678");
}

TEST(ShortStringTest, CuttingNeverSplitsADoubleByteCharacter) {
    struct Case {
        const char* in;
        const char* out;
    };
    ShortString<5> s{};
    for (const Case& c : {Case{"あいう", "あい"}, Case{"abcdあ", "abcd"}, Case{"abｱｲｳ", "abｱｲｳ"},
                          Case{"abcdefg", "abcde"}}) {
        s.set(c.in);
        EXPECT_EQ(s.str(), c.out) << c.in;
    }
}

TEST(ShortStringTest, TextWithoutShiftJisFormIsRefusedAndNothingChanges) {
    ShortString<13> s{};
    s.set("ヤマダ");
    EXPECT_THROW(s.set("😀"), platform::ConvertError);
    EXPECT_EQ(s.str(), "ヤマダ");
}

TEST(ShortStringTest, SameTextIgnoresTails) {
    ShortString<14> a{}, b{};
    a.set("250401_101500X");
    a.set("250401_101500");
    b.set("250401_101500");
    EXPECT_TRUE(a.sameText(b));
    b.set("250401_10150");
    EXPECT_FALSE(a.sameText(b));
}

}  // namespace
}  // namespace ledger
