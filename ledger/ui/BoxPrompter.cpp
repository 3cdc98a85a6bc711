#include "ledger/ui/BoxPrompter.h"

#include "platform/ui/MessageBox.h"

namespace ledger::ui {
using platform::ui::MessageBox;

void BoxPrompter::error(const std::string& text) {
    MessageBox::error(parent_, QString::fromStdString(text));
}
void BoxPrompter::warning(const std::string& text) {
    MessageBox::warning(parent_, QString::fromStdString(text));
}
void BoxPrompter::information(const std::string& text) {
    MessageBox::information(parent_, QString::fromStdString(text));
}
bool BoxPrompter::confirm(const std::string& text) {
    return MessageBox::confirm(parent_, QString::fromStdString(text));
}

}  // namespace ledger::ui
