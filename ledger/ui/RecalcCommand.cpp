#include "ledger/ui/RecalcCommand.h"

#include "ledger/Ledger.h"
#include "ledger/Recalc.h"
#include "ledger/ui/MessageBoxSink.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {
using platform::ui::MessageBox;

namespace {
QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
}  // namespace

void RunRecalcAll(ledger::Ledger& ledger, QWidget* parent) {
    MessageBoxSink sink(parent);
    const std::vector<int> untaxed = ledger::RecalcAll(ledger, sink);
    if (untaxed.empty()) return;
    if (!MessageBox::confirm(parent, text(ledger::ManualTaxQuestion(ledger, untaxed)),
                             platform::ui::Icon::Warning))
        return;
    ledger::SetManualIncomeTax(ledger, untaxed);
    MessageBox::information(parent, text(ledger::kManualTaxDone));
}

}  // namespace ledger::ui
