#pragma once
#include <QObject>
#include <QPointer>

class QAbstractButton;
class QCoreApplication;

// Enter on a focused push or tool button presses it, in every window of the
// programs, as on the platform they come from. Qt's buttons answer only Space
// unless they are the dialog's default, and the dialogs keep that off so that
// Enter in a field moves on instead of closing them.
//
// A window that gives Enter a meaning of its own on a button (the calculator's
// "＝") keeps it: the button is pressed only when the key comes back from it
// unhandled, on its way to the window.
namespace platform::ui {

class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QEvent* pending_ = nullptr;  // an Enter delivered to pressed_ just now
    QPointer<QAbstractButton> pressed_;
};

// Gives the application one such filter (it lives as the application's child).
void installEnterPressesButton(QCoreApplication& app);

}  // namespace platform::ui
