#pragma once
#include "ledger/Startup.h"

class QWidget;

namespace ledger::ui {

// Shows the start and close steps' messages in the program's message boxes.
class BoxPrompter : public ledger::Prompter {
public:
    explicit BoxPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void error(const std::string& text) override;
    void warning(const std::string& text) override;
    void information(const std::string& text) override;
    bool confirm(const std::string& text) override;

private:
    QWidget* parent_;
};

}  // namespace ledger::ui
