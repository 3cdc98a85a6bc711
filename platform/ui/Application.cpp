#include "platform/ui/Application.h"

#include <QtGlobal>
#include <exception>

#include "platform/ui/EnterPressesButton.h"
#include "platform/ui/MessageBox.h"

namespace platform::ui {
namespace {

// The text of the exception being handled. Anything that is not a
// std::exception still gets a box rather than ending the program.
QString currentErrorText() {
    try {
        throw;
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("予期しないエラーが発生しました。");
    }
}

}  // namespace

bool guarded(QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (...) {
        MessageBox::error(parent, currentErrorText());
    }
    return false;
}

bool EventBoundary::deliver(QObject* receiver, QEvent* event, const Deliver& send) {
    try {
        return send(receiver, event);
    } catch (...) {
        QString text = currentErrorText();
        if (reporting_) {
            qWarning("%s", qUtf8Printable(text));
            return false;
        }
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{reporting_};
        reporting_ = true;
        MessageBox::error(nullptr, text);
    }
    return false;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    installEnterPressesButton(*this);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    return boundary_.deliver(receiver, event,
                             [this](QObject* r, QEvent* e) { return QApplication::notify(r, e); });
}

}  // namespace platform::ui
