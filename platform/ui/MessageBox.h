#pragma once
#include <QString>
#include <functional>

class QWidget;

// Every message box of the programs goes through here, with the fixed Japanese
// texts. Tests install a responder that records each box and answers it, so no
// test ever blocks on a modal box.
namespace platform::ui {

enum class Answer { Ok, Yes, No, Cancel };
enum class Icon { Error, Information, Warning, Question };
enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };

struct MessageRequest {
    QString text;
    QString caption;
    Icon icon = Icon::Information;
    Buttons buttons = Buttons::Ok;
};

class MessageBox {
public:
    using Responder = std::function<Answer(const MessageRequest&)>;

    // Shows a modal box (caption: the application's display name unless given)
    // and returns the button pressed.
    static Answer show(QWidget* parent, const QString& text, Icon icon, Buttons buttons,
                       const QString& caption = {});

    static void error(QWidget* parent, const QString& text, const QString& caption = {});
    static void information(QWidget* parent, const QString& text, const QString& caption = {});
    static void warning(QWidget* parent, const QString& text, const QString& caption = {});
    // A Yes/No question; true on Yes.
    static bool confirm(QWidget* parent, const QString& text, Icon icon = Icon::Question,
                        const QString& caption = {});
    static Answer yesNoCancel(QWidget* parent, const QString& text, Icon icon = Icon::Warning,
                              const QString& caption = {});

    // Replaces the real boxes (tests); an empty responder restores them. Returns
    // the previous one.
    static Responder setResponder(Responder r);
};

// Installs a responder for the lifetime of a test and restores the previous one.
class ScopedResponder {
public:
    explicit ScopedResponder(MessageBox::Responder r)
        : previous_(MessageBox::setResponder(std::move(r))) {}
    ~ScopedResponder() { MessageBox::setResponder(std::move(previous_)); }
    ScopedResponder(const ScopedResponder&) = delete;
    ScopedResponder& operator=(const ScopedResponder&) = delete;

private:
    MessageBox::Responder previous_;
};

}  // namespace platform::ui
