#include "platform/ui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace platform::ui {
namespace {

// The test responder is the one piece of process-wide state here: message boxes
// are called from everywhere, and a test must be able to answer all of them.
MessageBox::Responder& responder() {
    static MessageBox::Responder r;
    return r;
}

QMessageBox::Icon toQt(Icon icon) {
    switch (icon) {
        case Icon::Error:
            return QMessageBox::Critical;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// A Qt label breaks lines at blanks and between Japanese characters only, so a
// long path or file name would run past the box's edge: it gets invisible break
// opportunities after each folder separator, and a run without any every few
// characters.
QString wrappable(const QString& text) {
    constexpr int kLongestRun = 24;
    constexpr QChar kBreak(0x200B);  // zero width space
    QString out;
    out.reserve(text.size() + text.size() / 8);
    int run = 0;
    for (const QChar c : text) {
        out += c;
        if (c.isSpace() || c.unicode() >= 0x3000) {  // blanks and Japanese break already
            run = 0;
        } else if (c == QChar('/') || ++run >= kLongestRun) {
            out += kBreak;
            run = 0;
        }
    }
    return out;
}

}  // namespace

MessageBox::Responder MessageBox::setResponder(Responder r) {
    Responder previous = std::move(responder());
    responder() = std::move(r);
    return previous;
}

Answer MessageBox::show(QWidget* parent, const QString& text, Icon icon, Buttons buttons,
                        const QString& caption) {
    MessageRequest req{text, caption.isEmpty() ? QApplication::applicationDisplayName() : caption,
                       icon, buttons};
    // A copy: the responder may install another one while it answers.
    if (Responder answer = responder()) return answer(req);

    if (icon == Icon::Warning || icon == Icon::Error) QApplication::beep();
    // The system's texts break their lines with a lone CR, which a Qt label does
    // not show as a break.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    QMessageBox box(toQt(icon), req.caption, wrappable(shown), QMessageBox::NoButton, parent);
    QPushButton* ok = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* cancel = nullptr;
    switch (buttons) {
        case Buttons::Ok:
            ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            break;
        case Buttons::OkCancel:
            ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
            break;
        case Buttons::YesNoCancel:
            yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
            no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
            cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
            break;
        case Buttons::YesNo:
            yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
            no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
            break;
    }
    if (cancel)
        box.setEscapeButton(cancel);
    else if (no)
        box.setEscapeButton(no);
    box.exec();
    auto* pressed = box.clickedButton();
    if (pressed && pressed == yes) return Answer::Yes;
    if (pressed && pressed == no) return Answer::No;
    if (pressed && pressed == ok) return Answer::Ok;
    if (buttons == Buttons::YesNo) return Answer::No;
    if (buttons == Buttons::Ok) return Answer::Ok;
    return Answer::Cancel;
}

void MessageBox::error(QWidget* parent, const QString& text, const QString& caption) {
    show(parent, text, Icon::Error, Buttons::Ok, caption);
}

void MessageBox::information(QWidget* parent, const QString& text, const QString& caption) {
    show(parent, text, Icon::Information, Buttons::Ok, caption);
}

void MessageBox::warning(QWidget* parent, const QString& text, const QString& caption) {
    show(parent, text, Icon::Warning, Buttons::Ok, caption);
}

bool MessageBox::confirm(QWidget* parent, const QString& text, Icon icon, const QString& caption) {
    return show(parent, text, icon, Buttons::YesNo, caption) == Answer::Yes;
}

Answer MessageBox::yesNoCancel(QWidget* parent, const QString& text, Icon icon,
                               const QString& caption) {
    return show(parent, text, icon, Buttons::YesNoCancel, caption);
}

}  // namespace platform::ui
