#pragma once
#include <QString>
#include <QWidget>

#include "ledger/Messages.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {

// Shows the messages of the logic in the program's message boxes, over a widget.
class MessageBoxSink : public ledger::MessageSink {
public:
    explicit MessageBoxSink(QWidget* parent) : parent_(parent) {}

    void error(const std::string& text) override {
        platform::ui::MessageBox::error(parent_, QString::fromStdString(text));
    }
    void warning(const std::string& text) override {
        platform::ui::MessageBox::warning(parent_, QString::fromStdString(text));
    }
    void information(const std::string& text) override {
        platform::ui::MessageBox::information(parent_, QString::fromStdString(text));
    }

private:
    QWidget* parent_;
};

}  // namespace ledger::ui
