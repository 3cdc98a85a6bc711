#include "platform/ui/TestHooks.h"

#include <QFile>

#include "platform/ui/MessageBox.h"

namespace platform::ui::testhooks {

void install() {
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
