#include "platform/ui/MessageBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <vector>

namespace {

using platform::ui::Answer;
using platform::ui::Buttons;
using platform::ui::Icon;
using platform::ui::MessageBox;
using platform::ui::MessageRequest;
using platform::ui::ScopedResponder;

// Records every box and gives one fixed answer.
struct Recorder {
    std::vector<MessageRequest> seen;
    Answer answer = Answer::Ok;
    MessageBox::Responder responder() {
        return [this](const MessageRequest& r) {
            seen.push_back(r);
            return answer;
        };
    }
};

TEST(MessageBox, EveryKindOfBoxReachesTheResponder) {
    Recorder rec;
    ScopedResponder scope(rec.responder());
    MessageBox::error(nullptr, "ファイルが見つかりません");
    MessageBox::information(nullptr, "指定ファイルに出力しました。", "ｼｽﾃﾑﾛｸﾞ");
    MessageBox::warning(nullptr, "w");
    rec.answer = Answer::Yes;
    EXPECT_TRUE(MessageBox::confirm(nullptr, "プログラムを終了しますか？"));
    rec.answer = Answer::No;
    EXPECT_FALSE(MessageBox::confirm(nullptr, "q", Icon::Warning));
    rec.answer = Answer::Cancel;
    EXPECT_EQ(MessageBox::yesNoCancel(nullptr, "データが変更されています。保存しますか？"),
              Answer::Cancel);
    EXPECT_EQ(MessageBox::show(nullptr, "t", Icon::Information, Buttons::OkCancel), Answer::Cancel);

    struct Expected {
        QString text;
        Icon icon;
        Buttons buttons;
    };
    const Expected expected[] = {
        {"ファイルが見つかりません", Icon::Error, Buttons::Ok},
        {"指定ファイルに出力しました。", Icon::Information, Buttons::Ok},
        {"w", Icon::Warning, Buttons::Ok},
        {"プログラムを終了しますか？", Icon::Question, Buttons::YesNo},
        {"q", Icon::Warning, Buttons::YesNo},
        {"データが変更されています。保存しますか？", Icon::Warning, Buttons::YesNoCancel},
        {"t", Icon::Information, Buttons::OkCancel},
    };
    ASSERT_EQ(rec.seen.size(), std::size(expected));
    for (std::size_t i = 0; i < rec.seen.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rec.seen[i].text, expected[i].text);
        EXPECT_EQ(rec.seen[i].icon, expected[i].icon);
        EXPECT_EQ(rec.seen[i].buttons, expected[i].buttons);
    }
    EXPECT_EQ(rec.seen[1].caption, "ｼｽﾃﾑﾛｸﾞ");
}

TEST(MessageBox, TheCaptionIsTheApplicationNameUnlessGiven) {
    const QString old = QApplication::applicationDisplayName();
    QApplication::setApplicationDisplayName("Pembrel Tolvane4");
    Recorder rec;
    {
        ScopedResponder scope(rec.responder());
        MessageBox::error(nullptr, "x");
    }
    QApplication::setApplicationDisplayName(old);
    ASSERT_EQ(rec.seen.size(), 1u);
    EXPECT_EQ(rec.seen[0].caption, "Pembrel Tolvane4");
}

TEST(MessageBox, ScopedRespondersNestAndRestore) {
    Recorder outer, inner;
    {
        ScopedResponder a(outer.responder());
        {
            ScopedResponder b(inner.responder());
            MessageBox::information(nullptr, "inner");
        }
        MessageBox::information(nullptr, "outer");
    }
    ASSERT_EQ(inner.seen.size(), 1u);
    EXPECT_EQ(inner.seen[0].text, "inner");
    ASSERT_EQ(outer.seen.size(), 1u);
    EXPECT_EQ(outer.seen[0].text, "outer");

    // With the scopes gone no responder is left behind.
    MessageBox::Responder none = MessageBox::setResponder({});
    EXPECT_FALSE(none);
}

// A responder that swaps itself out while answering must not pull the ground
// from under its own call.
TEST(MessageBox, AResponderMayReplaceItselfWhileAnswering) {
    Recorder next;
    int calls = 0;
    ScopedResponder scope([&calls, &next](const MessageRequest&) {
        MessageBox::setResponder(next.responder());
        ++calls;  // the captures must still be there
        return Answer::Yes;
    });
    EXPECT_TRUE(MessageBox::confirm(nullptr, "first"));
    MessageBox::information(nullptr, "second");
    EXPECT_EQ(calls, 1);
    ASSERT_EQ(next.seen.size(), 1u);
    EXPECT_EQ(next.seen[0].text, "second");
}

}  // namespace

namespace {

// The real box, answered by pressing its buttons from a timer while it runs.
// `act` gets the open box; the box is also saved as a picture for a person to look at.
template <class Act>
void whenTheBoxOpens(Act act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box open";
            return;
        }
        act(box);
    });
}

void pressEscape(QMessageBox* box) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
}

QPushButton* buttonWithText(QMessageBox* box, const QString& text) {
    for (auto* b : box->buttons())
        if (b->text() == text) return qobject_cast<QPushButton*>(b);
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

TEST(MessageBox, TheRealBoxShowsTheJapaneseButtonsAndReportsThePressedOne) {
    QStringList texts;
    whenTheBoxOpens([&texts](QMessageBox* box) {
        for (auto* b : box->buttons()) texts << b->text();
        box->grab().save(QString(TOLVANE_BINARY_DIR) + "/messagebox-yesno.png");
        if (auto* no = buttonWithText(box, "いいえ(&N)")) no->click();
    });
    EXPECT_FALSE(MessageBox::confirm(nullptr, "プログラムを終了しますか？"));
    texts.sort();
    EXPECT_EQ(texts, (QStringList{"いいえ(&N)", "はい(&Y)"}));

    whenTheBoxOpens([](QMessageBox* box) {
        if (auto* yes = buttonWithText(box, "はい(&Y)")) yes->click();
    });
    EXPECT_EQ(MessageBox::yesNoCancel(nullptr, "データが変更されています。保存しますか？"),
              Answer::Yes);

    // Esc on a Yes/No/Cancel box cancels; on a Yes/No box it answers No.
    whenTheBoxOpens([](QMessageBox* box) { pressEscape(box); });
    EXPECT_EQ(MessageBox::yesNoCancel(nullptr, "データが変更されています。保存しますか？"),
              Answer::Cancel);
    whenTheBoxOpens([](QMessageBox* box) { pressEscape(box); });
    EXPECT_FALSE(MessageBox::confirm(nullptr, "q"));

    whenTheBoxOpens([](QMessageBox* box) {
        box->grab().save(QString(TOLVANE_BINARY_DIR) + "/messagebox-error.png");
        if (auto* ok = buttonWithText(box, "OK")) ok->click();
    });
    MessageBox::error(nullptr, "ファイルへのアクセスが拒否されました");
}

// A long path in a message wraps inside the box instead of running past its
// right edge; the text reads as it was given.
TEST(MessageBox, ALongPathWrapsInsideTheBox) {
    QString deep = QStringLiteral("/home/keiri");
    for (int i = 0; i < 4; ++i)
        deep +=
            QStringLiteral("/KyuyoDataBackupOfTheYear2026ForTheMainOfficeAndTheFactoryCopyNumber%1")
                .arg(i);
    const struct Row {
        const char* what;
        QString text;
    } rows[] = {
        {"deep path", QStringLiteral("容量不足､書き込み不可等のエラーにより中断しました。\r") +
                          deep + QStringLiteral("/令和8年給与･賞与.dat\rディスクがいっぱいです")},
        {"long file name", QStringLiteral("印刷に失敗しました。\r/tmp/") +
                               QString(150, QChar('a')) + QStringLiteral(".pdf")},
        {"short text", QStringLiteral("指定場所にバックアップしました。")},
    };
    for (const Row& row : rows) {
        QString shown;
        int labelNeeds = 0;
        int labelHas = 0;
        int boxWidth = 0;
        whenTheBoxOpens([&](QMessageBox* box) {
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            if (label) {
                shown = label->text();
                labelNeeds = label->minimumSizeHint().width();
                labelHas = label->width();
            }
            boxWidth = box->width();
            box->accept();
        });
        MessageBox::error(nullptr, row.text);
        QString expected = row.text;
        expected.replace(QChar('\r'), QChar('\n'));
        EXPECT_EQ(shown.remove(QChar(0x200B)), expected) << row.what;
        EXPECT_LE(labelNeeds, labelHas) << row.what;
        EXPECT_LE(boxWidth, QGuiApplication::primaryScreen()->availableGeometry().width())
            << row.what;
    }
}

}  // namespace
