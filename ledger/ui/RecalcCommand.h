#pragma once

class QWidget;

namespace ledger {
struct Ledger;
}

namespace ledger::ui {

// Recalculates the open period; for a bonus period whose income tax could not be
// computed for some employees, asks whether to switch them to typed tax and does
// so on Yes.
void RunRecalcAll(ledger::Ledger& ledger, QWidget* parent);

}  // namespace ledger::ui
