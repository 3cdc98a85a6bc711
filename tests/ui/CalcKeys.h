#pragma once
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "ledger/ui/CalculatorDialog.h"

namespace testing_support {

// Types a sequence into an open calculator as key events, one key at a time as a
// person does, on its control that holds the focus: "=" is Enter, every other
// character is its own key.
inline void typeIntoCalc(ledger::ui::CalculatorDialog& calc, const char* keys) {
    for (const char* k = keys; *k; ++k) {
        QWidget* focus = QApplication::focusWidget();
        QWidget* to = focus && calc.isAncestorOf(focus) ? focus : calc.btOk;
        const bool enter = *k == '=';
        QKeyEvent press(QEvent::KeyPress,
                        enter ? int(Qt::Key_Return) : QChar(*k).toUpper().unicode(), Qt::NoModifier,
                        enter ? QStringLiteral("\r") : QString(QChar(*k)));
        QApplication::sendEvent(to, &press);
        QApplication::processEvents();
    }
}

}  // namespace testing_support
