#include "platform/ui/TestHooks.h"

#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QTimer>

#include "platform/ui/MessageBox.h"

namespace platform::ui::testhooks {

namespace {

// Ends the process once the first dialog of the run has been painted. Nothing is
// torn down: what is measured is the way to the first dialog, and a lock file
// left behind is taken over by the next start as that of a dead copy.
class FirstDialogWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            // Its widgets are painted in the same pass; the next turn of the loop
            // comes after all of them.
            if (auto* dialog = qobject_cast<QDialog*>(watched); dialog && dialog->isVisible())
                QTimer::singleShot(0, [] { ::_exit(0); });
        }
        return false;
    }
};

}  // namespace

void install() {
    if (qEnvironmentVariable("TOLVANE_TEST_QUIT_AT_FIRST_DIALOG") == "1")
        qApp->installEventFilter(new FirstDialogWatch(qApp));
    const QString log = qEnvironmentVariable("TOLVANE_TEST_MESSAGES");
    if (log.isEmpty()) return;
    MessageBox::setResponder([log](const MessageRequest& m) {
        QFile f(log);
        if (f.open(QIODevice::Append)) f.write(m.text.toUtf8() + '\n');
        return m.buttons == Buttons::Ok || m.buttons == Buttons::OkCancel ? Answer::Ok
                                                                          : Answer::Yes;
    });
}

bool acceptDialogs() {
    return qEnvironmentVariable("TOLVANE_TEST_ACCEPT_DIALOGS") == "1";
}

bool quitAfterStart() {
    return qEnvironmentVariable("TOLVANE_TEST_QUIT_AFTER_START") == "1";
}

}  // namespace platform::ui::testhooks
