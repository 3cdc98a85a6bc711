#include "platform/ui/Ime.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>

namespace platform::ui {
namespace {

TEST(ImeTest, KanaBecomesHalfWidth) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"やまだ たろう", "ﾔﾏﾀﾞ ﾀﾛｳ"},    // hiragana, ASCII blank kept
        {"ガッコウ", "ｶﾞｯｺｳ"},            // voiced and small kana
        {"パーク　ヴィラ", "ﾊﾟｰｸ ｳﾞｨﾗ"},  // handakuten, long mark, full-width blank
        {"ＡＢＣ１２３", "ABC123"},       // full-width letters and digits
        {"「ヲ」・。", "｢ｦ｣･｡"},
        {"山田ﾀﾛｳ", "山田ﾀﾛｳ"},  // no half-width form, or already half-width
    };
    for (const Case& c : cases)
        EXPECT_EQ(toHalfWidthKana(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(ImeTest, ModesOpenCloseAndConvertCommittedText) {
    QLineEdit kana, number;
    setImeMode(&kana, ImeMode::HalfKatakana);
    setImeMode(&number, ImeMode::Off);
    EXPECT_TRUE(imeOpen(&kana));
    EXPECT_FALSE(imeOpen(&number));

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("すずき"));
    QApplication::sendEvent(&kana, &commit);
    EXPECT_EQ(kana.text(), QStringLiteral("ｽｽﾞｷ"));

    // Back to plain hiragana: committed text stays as it is.
    setImeMode(&kana, ImeMode::Hiragana);
    kana.clear();
    QInputMethodEvent again;
    again.setCommitString(QStringLiteral("すずき"));
    QApplication::sendEvent(&kana, &again);
    EXPECT_EQ(kana.text(), QStringLiteral("すずき"));
}

TEST(ImeTest, ReadingIsTheKanaComposedBeforeTheConversion) {
    QLineEdit name;
    ImeReading reading(&name);
    auto preedit = [&](const QString& text) {
        QInputMethodEvent e(text, {});
        QApplication::sendEvent(&name, &e);
    };
    auto commit = [&](const QString& text) {
        QInputMethodEvent e;
        e.setCommitString(text);
        QApplication::sendEvent(&name, &e);
    };
    preedit(QStringLiteral("y"));
    preedit(QStringLiteral("やまd"));
    preedit(QStringLiteral("やまだ"));
    preedit(QStringLiteral("山田"));
    commit(QStringLiteral("山田"));
    EXPECT_EQ(name.text(), QStringLiteral("山田"));
    EXPECT_EQ(reading.lastReading(), QStringLiteral("やまだ"));

    // Typed without composing: no reading.
    commit(QStringLiteral("X"));
    EXPECT_EQ(reading.lastReading(), QString());
}

}  // namespace
}  // namespace platform::ui
