#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMouseEvent>
#include <QString>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cmath>

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
// half, so it goes after), a double- or triple-click on a character, a drag
// from the left half of one character to the right half of another, Shift+Left
// from after one character back over another, a click beside the figure
// followed by Home, Home and Shift+Right over the first characters, or a click
// on a character's ink (its first, its middle or its last drawn column).
struct ClickAt {
    enum How {
        LeftHalf,
        RightHalf,
        DoubleClick,
        TripleClick,
        Drag,
        ShiftLeft,
        Home,
        HomeShiftRight,
        InkLeft,
        InkMiddle,
        InkRight
    };
    int character = -1;  // -1: beside the figure
    How how = LeftHalf;
    int to = -1;  // the last character a drag or Shift+arrows cover
};
inline constexpr ClickAt kBesideFigure{};
inline constexpr ClickAt kHome{-1, ClickAt::Home};
inline constexpr ClickAt rightHalfOf(int character) {
    return {character, ClickAt::RightHalf};
}
inline constexpr ClickAt doubleClickOn(int character) {
    return {character, ClickAt::DoubleClick};
}
inline constexpr ClickAt tripleClickOn(int character) {
    return {character, ClickAt::TripleClick};
}
inline constexpr ClickAt dragOver(int from, int to) {
    return {from, ClickAt::Drag, to};
}
inline constexpr ClickAt shiftLeftOver(int from, int to) {
    return {from, ClickAt::ShiftLeft, to};
}
// Home, then Shift+Right as far as character `to`, the figure starting at `first`.
inline constexpr ClickAt homeShiftRightTo(int first, int to) {
    return {first, ClickAt::HomeShiftRight, to};
}
inline constexpr ClickAt inkLeftOf(int character) {
    return {character, ClickAt::InkLeft};
}
inline constexpr ClickAt inkMiddleOf(int character) {
    return {character, ClickAt::InkMiddle};
}
inline constexpr ClickAt inkRightOf(int character) {
    return {character, ClickAt::InkRight};
}

// The point a quarter (or three quarters) into a character, from the field's
// own font: where the caret before it stands, plus that share of its width.
inline int caretX(QLineEdit* edit, int character) {
    const int caret = edit->cursorPosition();
    edit->setCursorPosition(character);
    // The caret's rectangle is centred on it.
    const QRect around = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int x = around.x() + around.width() / 2;
    edit->setCursorPosition(caret);
    return x;
}

inline QPoint intoCharacter(QLineEdit* edit, int character, int quarters) {
    const int width = edit->fontMetrics().horizontalAdvance(edit->text().at(character));
    return QPoint(caretX(edit, character) + std::max(1, width * quarters / 4), edit->height() / 2);
}

// The first, the middle or the last pixel column of what is drawn of a
// character, from the ink bounds of the field's own font.
inline QPoint onInk(QLineEdit* edit, int character, ClickAt::How how) {
    const QRectF ink = QFontMetricsF(edit->font()).tightBoundingRect(edit->text().at(character));
    const qreal at = how == ClickAt::InkLeft    ? ink.left() + 0.5
                     : how == ClickAt::InkRight ? ink.right() - 0.5
                                                : (ink.left() + ink.right()) / 2;
    return QPoint(int(std::floor(caretX(edit, character) + at)), edit->height() / 2);
}

inline void clickInto(QLineEdit* edit, ClickAt at) {
    const QPoint beside(3, edit->height() / 2);
    const auto figureEnd = [edit] {
        const QString t = edit->text();
        qsizetype end = t.size();
        while (end > 0 && t.at(end - 1) == QLatin1Char(' ')) --end;
        return int(end);
    };
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
        case ClickAt::TripleClick:
            QTest::mouseDClick(edit, Qt::LeftButton, Qt::NoModifier,
                               intoCharacter(edit, at.character, 1));
            if (at.how == ClickAt::TripleClick)
                QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier,
                                  intoCharacter(edit, at.character, 1));
            break;
        case ClickAt::ShiftLeft:
            // The caret after `to`: before the next character, or at the end.
            if (at.to + 1 < figureEnd()) {
                QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier,
                                  intoCharacter(edit, at.to + 1, 1));
            } else {
                QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier,
                                  intoCharacter(edit, at.character, 1));
                QTest::keyClick(edit, Qt::Key_End);
            }
            for (int i = at.character; i <= at.to; ++i)
                QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
            break;
        case ClickAt::HomeShiftRight:
            QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier,
                              intoCharacter(edit, at.character, 1));
            QTest::keyClick(edit, Qt::Key_Home);
            for (int i = at.character; i <= at.to; ++i)
                QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
            break;
        case ClickAt::InkLeft:
        case ClickAt::InkMiddle:
        case ClickAt::InkRight:
            QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier,
                              onInk(edit, at.character, at.how));
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
