#pragma once

class QWidget;

namespace ledger {
struct Ledger;
}

namespace ledger::ui {

// Recalculates the open period; when the income tax of some employees could not
// be computed (a bonus without a usable previous month, a salary beyond the tax
// table), asks whether to switch them to typed tax and does so on Yes.
void RunRecalcAll(ledger::Ledger& ledger, QWidget* parent);

}  // namespace ledger::ui
