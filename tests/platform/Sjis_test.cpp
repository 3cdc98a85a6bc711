#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/Errors.h"

namespace {

struct RoundTrip {
    const char* utf8;
    std::string cp932;
};

// The characters whose mapping differs between code page 932 and plain
// Shift-JIS, plus the half-width forms and the vendor extensions the records hold.
TEST(Sjis, ConvertsBothWaysWithTheCodePage932Mapping) {
    const RoundTrip cases[] = {
        {"山田", "\x8E\x52\x93\x63"},
        {"～", "\x81\x60"},       // U+FF5E, not the wave dash
        {"－", "\x81\x7C"},       // U+FF0D, not the minus sign
        {"ｱｲｳ", "\xB1\xB2\xB3"},  // half-width katakana are single bytes
        {"･", "\xA5"},            // the half-width middle dot of "給与･賞与"
        {"令和8年給与･賞与.dat",
         "\x97\xDF\x98\x61\x38\x94\x4E\x8B\x8B\x97\x5E\xA5\x8F\xDC\x97\x5E.dat"},
        {"①", "\x87\x40"},             // NEC special characters
        {"髙", "\xFB\xFC"},            // IBM extension
        {"表ソ", "\x95\x5C\x83\x5C"},  // trail byte 0x5C, the backslash
        {"\\~", "\x5C\x7E"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(sjis::fromUtf8(c.utf8), c.cp932);
        EXPECT_EQ(sjis::tryFromUtf8(c.utf8), c.cp932);
        EXPECT_EQ(sjis::toUtf8(c.cp932), c.utf8);
        EXPECT_TRUE(sjis::encodable(c.utf8));
    }
}

// What Linux input methods type for the wave dash and the minus is stored as the
// characters Windows users see in their place.
TEST(Sjis, AcceptsTheUnicodeLookAlikesOfTheCodePage932Characters) {
    EXPECT_EQ(sjis::fromUtf8("〜"), "\x81\x60");  // U+301C
    EXPECT_EQ(sjis::fromUtf8("−"), "\x81\x7C");   // U+2212
}

TEST(Sjis, RefusesTextWithNoCodePage932FormAndNamesTheCharacter) {
    for (const char* bad : {"𠮷", "😀", "¦"}) {
        std::string text = std::string("山田") + bad + "太郎";
        SCOPED_TRACE(text);
        EXPECT_EQ(sjis::tryFromUtf8(text), std::nullopt);
        EXPECT_FALSE(sjis::encodable(text));
        try {
            sjis::fromUtf8(text);
            ADD_FAILURE() << "no ConvertError";
        } catch (const platform::ConvertError& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("｢") + bad + "｣はこのシステムで使えない文字です。");
        }
    }
}

// A broken UTF-8 sequence is refused too, and the message stays valid UTF-8
// (it is shown in a message box).
TEST(Sjis, RefusesBrokenUtf8WithAReadableMessage) {
    for (std::string bad : {std::string("a\xC3"), std::string("a\xE5\xB1z"), std::string("\xFF")}) {
        EXPECT_EQ(sjis::tryFromUtf8(bad), std::nullopt);
        try {
            sjis::fromUtf8(bad);
            ADD_FAILURE() << "no ConvertError";
        } catch (const platform::ConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "｢\uFFFD｣はこのシステムで使えない文字です。");
        }
    }
}

// Damaged record bytes still show: every undecodable byte becomes U+FFFD and
// the text after it is kept.
TEST(Sjis, DecodesBrokenBytesWithoutThrowing) {
    const std::string fffd = "\uFFFD";
    EXPECT_EQ(sjis::toUtf8("\x81"), fffd);  // lead byte at the end
    EXPECT_EQ(sjis::toUtf8("\x81\x20"
                           "A"),
              fffd + " A");  // bad trail is not swallowed
    EXPECT_EQ(sjis::toUtf8("a\xFF"
                           "b\xFD"),
              "a" + fffd + "b" + fffd);
    EXPECT_EQ(sjis::toUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

// The conversion works through a small buffer; long texts, and bad bytes that
// lie beyond the first buffer's worth, must come through whole.
TEST(Sjis, ConvertsTextsLongerThanTheConversionBuffer) {
    std::string utf8, cp932;
    for (int i = 0; i < 500; ++i) {
        utf8 += "山田ｱ";
        cp932 += "\x8E\x52\x93\x63\xB1";
    }
    EXPECT_EQ(sjis::fromUtf8(utf8), cp932);
    EXPECT_EQ(sjis::toUtf8(cp932), utf8);
    EXPECT_EQ(sjis::byteLength(utf8), cp932.size());

    std::string damaged = cp932 + "\xFF" + cp932;
    EXPECT_EQ(sjis::toUtf8(damaged), utf8 + "\uFFFD" + utf8);
    EXPECT_EQ(sjis::tryFromUtf8(utf8 + "😀"), std::nullopt);
}

TEST(Sjis, ByteLengthCountsShiftJisBytes) {
    EXPECT_EQ(sjis::byteLength(""), 0u);
    EXPECT_EQ(sjis::byteLength("abc"), 3u);
    EXPECT_EQ(sjis::byteLength("山田"), 4u);
    EXPECT_EQ(sjis::byteLength("ﾔﾏﾀﾞ"), 4u);
    EXPECT_EQ(sjis::byteLength("a😀"), 3u);  // a character with no form counts two
}

TEST(Sjis, CuttingNeverSplitsADoubleByteCharacter) {
    const std::string text = "a\x8E\x52\x93\x63";  // "a山田"
    const std::size_t expected[] = {0, 1, 1, 3, 3, 5, 5};
    for (std::size_t max = 0; max < std::size(expected); ++max)
        EXPECT_EQ(sjis::cutBytes(text, max).size(), expected[max]) << max;
    // A lead byte whose partner is missing is never kept.
    EXPECT_EQ(sjis::cutBytes("a\x8E", 5), "a");

    EXPECT_EQ(sjis::cutUtf8("a山田", 0), "");
    EXPECT_EQ(sjis::cutUtf8("a山田", 2), "a");
    EXPECT_EQ(sjis::cutUtf8("a山田", 3), "a山");
    EXPECT_EQ(sjis::cutUtf8("a山田", 4), "a山");
    EXPECT_EQ(sjis::cutUtf8("a山田", 99), "a山田");
    EXPECT_EQ(sjis::cutUtf8("ｱ山ｲ", 2), "ｱ");
    EXPECT_EQ(sjis::cutUtf8("ｱ山ｲ", 4), "ｱ山ｲ");
}

}  // namespace
