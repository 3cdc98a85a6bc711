#pragma once
#include <QApplication>
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

}  // namespace testing_support
