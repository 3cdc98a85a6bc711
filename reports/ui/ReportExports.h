#pragma once
#include <filesystem>
#include <vector>

#include "ledger/Ledger.h"
#include "reports/LedgerRows.h"
#include "reports/MonthlyList.h"

class QWidget;

// The CSV commands of the print dialog: the save dialog (which must not ask
// before replacing a file: the export asks itself), the export, its messages.
// True when a file was written.
namespace reports::ui {

bool ExportLedgerCsvCommand(const ledger::Ledger& ledger, const LedgerRowFlags& flags,
                            const std::vector<int>& chosen,
                            const std::filesystem::path& settingsFolder, QWidget* parent);

bool ExportMonthlyCsvCommand(const ledger::Ledger& ledger, int period, MonthlyGrouping grouping,
                             const LedgerRowFlags& flags,
                             const std::filesystem::path& settingsFolder, QWidget* parent);

}  // namespace reports::ui
