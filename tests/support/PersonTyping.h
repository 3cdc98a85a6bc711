#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QWidget>

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

// Where a click lands in a number field: on the blank margin left of the
// right-aligned figure, or on one character of it (its left half, so the caret
// goes before that character).
struct ClickAt {
    int character = -1;  // -1: beside the figure
};
inline constexpr ClickAt kBesideFigure{};

inline void clickInto(QLineEdit* edit, ClickAt at) {
    QPoint point(3, edit->height() / 2);
    if (at.character >= 0) {
        const int caret = edit->cursorPosition();
        edit->setCursorPosition(at.character);
        // The caret's rectangle is centred on it; a little right of that is the
        // character's left half.
        point.setX(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x() + 2);
        edit->setCursorPosition(caret);
    }
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, point);
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
