#include "ledger/ui/EditHelper.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>
#include <vector>

#include "platform/ui/MessageBox.h"
#include "support/PersonTyping.h"

namespace {

using ledger::ui::EditHelper;
using platform::ui::Answer;
using platform::ui::MessageRequest;
using platform::ui::ScopedResponder;
using testing_support::clickAtEnd;
using testing_support::pressAtPace;
using testing_support::typeAtPace;

void press(QWidget* w, int key, const QString& text = {},
           Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent down(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &up);
}

void type(QWidget* w, const QString& text) {
    for (QChar c : text) press(w, c.unicode() < 0x80 ? c.toUpper().unicode() : 0, QString(c));
}

void commit(QWidget* w, const QString& text) {
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(w, &e);
}

void waitMs(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class EditHelperTest : public ::testing::Test {
protected:
    void SetUp() override {
        options.inputOverN = false;
        options.autoSelect = false;
        auto* layout = new QVBoxLayout(&window);
        for (auto*& e : edits) {
            e = new QLineEdit(&window);
            layout->addWidget(e);
        }
        check = new QCheckBox("check", &window);
        layout->addWidget(check);
        combo = new QComboBox(&window);
        combo->setEditable(true);
        layout->addWidget(combo);
        last = new QLineEdit(&window);
        layout->addWidget(last);
        window.show();
        window.activateWindow();
        QApplication::processEvents();
    }

    void focus(QWidget* w) {
        w->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), w);
    }

    ledger::SysOption options;
    QWidget window;
    QLineEdit* edits[3] = {};
    QCheckBox* check = nullptr;
    QComboBox* combo = nullptr;
    QLineEdit* last = nullptr;
    std::vector<QString> messages;
    ScopedResponder responder{[this](const MessageRequest& r) {
        messages.push_back(r.text);
        return Answer::Ok;
    }};
};

TEST_F(EditHelperTest, NumberFieldsTakeOnlyDigitsAndTheirSeparators) {
    QLineEdit* amount = edits[0];
    QLineEdit* hours = edits[1];
    QLineEdit* days = edits[2];
    EditHelper::attachNumber(amount, 70, options);
    EditHelper::attachNumber(hours, 62, options, QStringLiteral("-.:"));
    EditHelper::attachNumber(days, 52, options);

    focus(amount);
    type(amount, "1a2-.");
    EXPECT_EQ(amount->text(), "12");
    type(amount, "345678");  // six digits at most
    EXPECT_EQ(amount->text(), "123456");
    press(amount, Qt::Key_Backspace);
    EXPECT_EQ(amount->text(), "12345");

    focus(hours);
    type(hours, "1:30x");
    EXPECT_EQ(hours->text(), "1:30");
    focus(days);
    type(days, "1:5");
    EXPECT_EQ(days->text(), "15");
}

TEST_F(EditHelperTest, LeavingANumberFieldNormalisesItAndReportsARefusal) {
    EditHelper::attachNumber(edits[0], 62, options);
    EditHelper::attachNumber(edits[1], 70, options)->setReformat(EditHelper::amountReformat(7));

    focus(edits[0]);
    type(edits[0], "1234");
    focus(edits[1]);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "入力した数値が上限を超えました。");
    EXPECT_EQ(edits[0]->text(), "");

    type(edits[1], "1234");
    focus(edits[2]);
    EXPECT_EQ(edits[1]->text(), "  1,234");
    EXPECT_EQ(messages.size(), 1u);

    // A formatted amount keeps its value when the field is entered and left again.
    focus(edits[1]);
    focus(edits[2]);
    EXPECT_EQ(edits[1]->text(), "  1,234");
    // Pasted letters are reported, not passed on as a broken value.
    edits[1]->setText("12x");
    focus(edits[1]);
    focus(edits[2]);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], "｢12x｣は正しい数値ではありません。");
    EXPECT_EQ(edits[1]->text(), "      0");
}

TEST_F(EditHelperTest, ADestroyedOrHiddenFieldIsNotNormalised) {
    EditHelper::attachNumber(edits[0], 62, options);
    EditHelper::attachNumber(edits[1], 62, options);
    focus(edits[0]);
    edits[0]->setText("1234");
    delete edits[0];
    edits[0] = nullptr;
    focus(edits[1]);
    edits[1]->setText("1234");
    window.hide();
    QApplication::processEvents();
    EXPECT_TRUE(messages.empty());
}

TEST_F(EditHelperTest, TextFieldsKeepTheirByteLimitAndRefuseWhatShiftJisCannotHold) {
    QLineEdit* name = edits[0];
    EditHelper::attachText(name, 5, options);
    name->setText("あいう");
    EXPECT_EQ(name->text(), "あい");
    focus(name);
    name->setText("");
    type(name, "ab");
    commit(name, "かき");  // would need 6 bytes
    EXPECT_EQ(name->text(), "abか");
    EXPECT_EQ(name->cursorPosition(), 3);

    name->setText("ab");
    type(name, QString::fromUtf8("😀"));
    commit(name, QString::fromUtf8("鷗😀"));
    EXPECT_EQ(name->text(), "ab");
    name->insert(QString::fromUtf8("😀"));  // as a paste would
    EXPECT_EQ(name->text(), "ab");
}

TEST_F(EditHelperTest, EnterMovesOnAndCtrlDeleteEmpties) {
    EditHelper::attachText(edits[0], 10, options);
    EditHelper::attachNumber(edits[1], 90, options);
    EditHelper::attachEnter(check);
    edits[2]->setEnabled(false);  // skipped on the way
    EditHelper::attachText(combo, 10, options);

    focus(edits[0]);
    press(edits[0], Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), edits[1]);
    press(edits[1], Qt::Key_Enter, {}, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), check);
    press(check, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), combo);
    press(combo, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), last);
    EXPECT_EQ(combo->count(), 0);  // Enter did not add an item

    edits[0]->setText("山田");
    focus(edits[0]);
    press(edits[0], Qt::Key_Delete, {}, Qt::ControlModifier);
    EXPECT_EQ(edits[0]->text(), "");
    combo->setEditText("abc");
    focus(combo);
    press(combo, Qt::Key_Delete, {}, Qt::ControlModifier);
    EXPECT_EQ(combo->currentText(), "");
}

TEST_F(EditHelperTest, OvertypeWritesOverTheCharacterAtTheCaret) {
    options.inputOverN = true;
    EditHelper::attachNumber(edits[0], 70, options);
    EditHelper::attachDigits(edits[1], 8, options)->setOvertypes(true);

    focus(edits[0]);
    edits[0]->setText("12345");
    edits[0]->setCursorPosition(1);
    type(edits[0], "9");
    EXPECT_EQ(edits[0]->text(), "19345");
    EXPECT_EQ(edits[0]->cursorPosition(), 2);
    edits[0]->end(false);
    type(edits[0], "6");  // at the end it inserts
    EXPECT_EQ(edits[0]->text(), "193456");
    // A whole formatted amount selected is replaced as a whole.
    edits[0]->setText(" 12,345");
    edits[0]->selectAll();
    type(edits[0], "5");
    EXPECT_EQ(edits[0]->text(), "5");

    // A digit field made to overtype never splits what stands in it.
    focus(edits[1]);
    edits[1]->setText("あいう");
    edits[1]->setCursorPosition(0);
    type(edits[1], "1");
    EXPECT_EQ(edits[1]->text(), "1 いう");
}

TEST_F(EditHelperTest, AutoSelectSelectsTheWholeTextAfterAShortDelay) {
    EditHelper::attachNumber(edits[0], 70, options);
    edits[0]->setText("123");
    options.autoSelect = true;
    focus(edits[1]);
    edits[0]->setFocus(Qt::MouseFocusReason);
    edits[0]->deselect();
    EXPECT_EQ(edits[0]->selectedText(), "");
    waitMs(200);
    EXPECT_EQ(edits[0]->selectedText(), "123");

    options.autoSelect = false;  // read at each entry
    focus(edits[1]);
    edits[0]->setFocus(Qt::MouseFocusReason);
    edits[0]->deselect();
    waitMs(200);
    EXPECT_EQ(edits[0]->selectedText(), "");
}

TEST_F(EditHelperTest, DigitFieldsTakeDigitsAndTheirExtraKeysUpToTheirLength) {
    EditHelper::attachDigits(last, 4, options, QStringLiteral("-"));
    focus(last);
    type(last, "1-2a345");
    EXPECT_EQ(last->text(), "1-23");
}

TEST_F(EditHelperTest, ComboBoxTextKeepsItsByteLimit) {
    EditHelper::attachText(combo, 4, options);
    focus(combo);
    type(combo, "ab");
    commit(combo, "あい");
    EXPECT_EQ(combo->currentText(), "abあ");
    type(combo, "c");
    EXPECT_EQ(combo->currentText(), "abあ");
}

// With the programs' default settings (select on entry and overtype both on),
// typed at a person's pace.
TEST_F(EditHelperTest, TextFieldsInsertAtTheCaretAndNeverSelectOnEntry) {
    options.autoSelect = true;
    options.inputOverN = true;
    EditHelper::attachText(edits[0], 32, options);
    EditHelper::attachText(edits[1], 14, options);

    edits[0]->setText("abc");
    clickAtEnd(edits[0]);
    QTest::qWait(250);
    EXPECT_EQ(edits[0]->selectedText(), "");
    typeAtPace("de", 100);
    EXPECT_EQ(edits[0]->text(), "abcde");

    // Before a kanji: inserted, the kanji kept whole.
    edits[0]->setText("x東京都港区芝公園");
    pressAtPace(Qt::Key_Home, 100);
    typeAtPace("yz", 100);
    EXPECT_EQ(edits[0]->text(), "yzx東京都港区芝公園");
    pressAtPace(Qt::Key_Right, 100);
    pressAtPace(Qt::Key_Right, 100);
    typeAtPace("1", 100);
    EXPECT_EQ(edits[0]->text(), "yzx東1京都港区芝公園");

    // Tab in, then quickly: every key stays where it was typed.
    typeAtPace("\t03-1234", 60);
    EXPECT_EQ(QApplication::focusWidget(), edits[1]);
    EXPECT_EQ(edits[1]->text(), "03-1234");
    edits[1]->clear();
    focus(edits[0]);
    typeAtPace("\tBldg 5F", 100);
    EXPECT_EQ(edits[1]->text(), "Bldg 5F");
}

TEST_F(EditHelperTest, KeysTypedBeforeTheDelayedSelectAllKeepTheirPlace) {
    options.autoSelect = true;
    options.inputOverN = true;
    EditHelper::attachText(edits[0], 10, options);
    EditHelper::attachNumber(edits[1], 70, options)->setReformat(EditHelper::amountReformat(7));
    edits[1]->setText("  1,234");
    focus(edits[0]);
    typeAtPace("\t5678", 60);
    EXPECT_EQ(edits[1]->text(), "5678");
    typeAtPace("\n", 60);
    EXPECT_EQ(edits[1]->text(), "  5,678");

    // Nothing typed: the whole figure is selected once the delay has run out.
    focus(edits[0]);
    typeAtPace("\t", 250);
    EXPECT_EQ(edits[1]->selectedText(), "  5,678");
}

TEST_F(EditHelperTest, OvertypeMovesOnPastACharacterEqualToTheKey) {
    options.autoSelect = true;
    options.inputOverN = true;
    EditHelper::attachNumber(edits[0], 90, options)->setReformat(EditHelper::amountReformat(9));
    edits[0]->setText("  300,000");
    focus(edits[0]);
    QTest::qWait(250);
    pressAtPace(Qt::Key_Home, 100);
    pressAtPace(Qt::Key_Right, 100);  // before the first 0
    typeAtPace("05", 100);
    EXPECT_EQ(edits[0]->text(), "  305,000");
    EXPECT_EQ(edits[0]->cursorPosition(), 5);
    focus(edits[1]);
    EXPECT_EQ(edits[0]->text(), "  305,000");
}

TEST_F(EditHelperTest, EnterPressesAFocusedButtonAndMovesOnFromACheckBox) {
    auto* ok = new QPushButton("OK", &window);
    ok->setAutoDefault(false);
    auto* tool = new QToolButton(&window);
    window.layout()->addWidget(ok);
    window.layout()->addWidget(tool);
    int okPressed = 0;
    int toolPressed = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++okPressed; });
    QObject::connect(tool, &QToolButton::clicked, [&] { ++toolPressed; });
    EditHelper::attachEnter(check);
    EditHelper::attachEnter(ok);  // a button Enter would otherwise only move on from

    focus(ok);
    QTest::keyClick(ok, Qt::Key_Return);
    QTest::keyClick(ok, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(okPressed, 2);
    EXPECT_EQ(QApplication::focusWidget(), ok);
    focus(tool);
    QTest::keyClick(tool, Qt::Key_Return);
    EXPECT_EQ(toolPressed, 1);
    focus(check);
    QTest::keyClick(check, Qt::Key_Return);
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), combo);
}

}  // namespace
