#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QString>
#include <QTest>
#include <QWidget>
#include <algorithm>

// Typing as a person does: one key at a time into whichever widget has the
// focus when the key comes, with the event loop running between the keys so
// that the programs' timers fire as they would.
namespace testing_support {

// The widget a key typed now would reach.
inline QWidget* keyTarget() {
    QWidget* w = QApplication::focusWidget();
    return w ? w : QApplication::activeWindow();
}

// One key (with modifiers), then a pause.
inline void pressAtPace(Qt::Key key, int msAfter, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(keyTarget(), key, mods);
    QTest::qWait(msAfter);
}

// Printable ASCII keys; "\n" is Enter, "\t" Tab. msPerKey is the pause after each.
inline void typeAtPace(const QString& keys, int msPerKey) {
    for (QChar c : keys) {
        if (c == QLatin1Char('\n')) {
            QTest::keyClick(keyTarget(), Qt::Key_Return);
        } else if (c == QLatin1Char('\t')) {
            QTest::keyClick(keyTarget(), Qt::Key_Tab);
        } else {
            QTest::keyClick(keyTarget(), c.toLatin1());
        }
        QTest::qWait(msPerKey);
    }
}

// A click with the mouse at the end of a line edit's text, as a person places
// the caret there.
template <class LineEdit>
inline void clickAtEnd(LineEdit* edit) {
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier,
                      QPoint(edit->width() - 3, edit->height() / 2));
}

// How the caret is placed in a number field before typing: a click on the
// blank margin left of the right-aligned figure, a click on one character of
// it (its left half, so the caret goes before that character, or its right
// half, so it goes after), a double-click on a character, a drag from the left
// half of one character to the right half of another, or a click beside the
// figure followed by Home.
struct ClickAt {
    enum How { LeftHalf, RightHalf, DoubleClick, Drag, Home };
    int character = -1;  // -1: beside the figure
    How how = LeftHalf;
    int to = -1;  // the last character a drag covers
};
inline constexpr ClickAt kBesideFigure{};
inline constexpr ClickAt kHome{-1, ClickAt::Home};
inline constexpr ClickAt rightHalfOf(int character) {
    return {character, ClickAt::RightHalf};
}
inline constexpr ClickAt doubleClickOn(int character) {
    return {character, ClickAt::DoubleClick};
}
inline constexpr ClickAt dragOver(int from, int to) {
    return {from, ClickAt::Drag, to};
}

// The point a quarter (or three quarters) into a character, from the field's
// own font: where the caret before it stands, plus that share of its width.
inline QPoint intoCharacter(QLineEdit* edit, int character, int quarters) {
    const int caret = edit->cursorPosition();
    edit->setCursorPosition(character);
    // The caret's rectangle is centred on it.
    const int x = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    edit->setCursorPosition(caret);
    const int width = edit->fontMetrics().horizontalAdvance(edit->text().at(character));
    return QPoint(x + std::max(1, width * quarters / 4), edit->height() / 2);
}

inline void clickInto(QLineEdit* edit, ClickAt at) {
    const QPoint beside(3, edit->height() / 2);
    switch (at.how) {
        case ClickAt::LeftHalf:
        case ClickAt::RightHalf:
            QTest::mouseClick(
                edit, Qt::LeftButton, Qt::NoModifier,
                at.character < 0
                    ? beside
                    : intoCharacter(edit, at.character, at.how == ClickAt::LeftHalf ? 1 : 3));
            break;
        case ClickAt::DoubleClick:
            QTest::mouseDClick(edit, Qt::LeftButton, Qt::NoModifier,
                               intoCharacter(edit, at.character, 1));
            break;
        case ClickAt::Drag: {
            const QPoint end = intoCharacter(edit, at.to, 3);
            QTest::mousePress(edit, Qt::LeftButton, Qt::NoModifier,
                              intoCharacter(edit, at.character, 1));
            QMouseEvent move(QEvent::MouseMove, end, edit->mapToGlobal(end), Qt::LeftButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(edit, &move);
            QTest::mouseRelease(edit, Qt::LeftButton, Qt::NoModifier, end);
            break;
        }
        case ClickAt::Home:
            QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, beside);
            QTest::keyClick(edit, Qt::Key_Home);
            break;
    }
}

// The paces a figure is typed at after the click, in ms per key (the first key
// follows the click after the same pause; 0 types it at once).
inline constexpr int kTypingPaces[] = {0, 50, 200};

// A click into a number field that either had the focus already (brought there
// by Enter) or is entered by the click from `elsewhere`, then the keys at a pace.
inline void clickAndType(QLineEdit* edit, QWidget* elsewhere, bool hadFocus, ClickAt at,
                         const QString& keys, int msPerKey) {
    if (hadFocus) {
        edit->setFocus(Qt::TabFocusReason);
    } else {
        elsewhere->setFocus(Qt::TabFocusReason);
    }
    QTest::qWait(250);
    clickInto(edit, at);
    QTest::qWait(msPerKey);
    typeAtPace(keys, msPerKey);
}

// Runs `body(hadFocus, msPerKey)` for every way into a field a click-and-type
// test covers: fresh or focused already, at each pace.
template <class Body>
inline void forEachWayIn(Body body) {
    for (bool hadFocus : {false, true}) {
        for (int pace : kTypingPaces) {
            SCOPED_TRACE(testing::Message()
                         << (hadFocus ? "focused, " : "fresh, ") << pace << " ms a key");
            body(hadFocus, pace);
        }
    }
}

}  // namespace testing_support
