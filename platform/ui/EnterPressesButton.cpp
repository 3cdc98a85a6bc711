#include "platform/ui/EnterPressesButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace platform::ui {
namespace {

bool isPlainEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<const QKeyEvent*>(event);
    return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
           !(k->modifiers() & ~Qt::KeypadModifier);
}

// Push and tool buttons; check boxes and radio buttons keep Enter for moving on.
QAbstractButton* focusedButton(QObject* watched) {
    QAbstractButton* b = qobject_cast<QPushButton*>(watched);
    if (!b) b = qobject_cast<QToolButton*>(watched);
    if (!b || b->window()->focusWidget() != b || !b->isEnabled() || !b->isVisible()) return nullptr;
    return b;
}

}  // namespace

bool EnterPressesButton::eventFilter(QObject* watched, QEvent* event) {
    if (!isPlainEnter(event)) {
        if (event->type() == QEvent::KeyRelease) pending_ = nullptr;
        return false;
    }
    if (QAbstractButton* b = focusedButton(watched)) {
        // First the button and whatever watches it; back here if nobody took it.
        pending_ = event;
        pressed_ = b;
        return false;
    }
    auto* parent = qobject_cast<QWidget*>(watched);
    if (event != pending_ || !pressed_ || !parent || !parent->isAncestorOf(pressed_)) {
        pending_ = nullptr;
        return false;
    }
    pending_ = nullptr;
    pressed_->click();
    return true;
}

void installEnterPressesButton(QCoreApplication& app) {
    app.installEventFilter(new EnterPressesButton(&app));
}

}  // namespace platform::ui
