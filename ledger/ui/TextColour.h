#pragma once
#include <QColor>
#include <QPalette>
#include <QWidget>

namespace ledger::ui {

// Text in a colour of its own, in every state of the widget. Through the
// palette rather than a style sheet: a sheet gives the widget a style of its
// own, which is dear when every dialog is made at start-up.
inline void setTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    w->setPalette(p);
}

}  // namespace ledger::ui
