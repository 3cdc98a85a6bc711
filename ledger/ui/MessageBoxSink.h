#pragma once
#include <QString>
#include <QWidget>

#include "ledger/Messages.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {

// Shows the messages and questions of the logic in the program's message boxes,
// over a widget.
class MessageBoxSink : public ledger::Prompter {
public:
    explicit MessageBoxSink(QWidget* parent = nullptr) : parent_(parent) {}

    void error(const std::string& text) override {
        platform::ui::MessageBox::error(parent_, QString::fromStdString(text));
    }
    void warning(const std::string& text) override {
        platform::ui::MessageBox::warning(parent_, QString::fromStdString(text));
    }
    void information(const std::string& text) override {
        platform::ui::MessageBox::information(parent_, QString::fromStdString(text));
    }

    bool confirm(const std::string& text) override {
        return platform::ui::MessageBox::confirm(parent_, QString::fromStdString(text));
    }

private:
    QWidget* parent_;
};

}  // namespace ledger::ui
