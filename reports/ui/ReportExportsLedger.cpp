#include <QFileDialog>

#include "ledger/ui/MessageBoxSink.h"
#include "reports/LedgerCsv.h"
#include "reports/ui/ReportExports.h"

namespace reports::ui {

bool ExportLedgerCsvCommand(const ledger::Ledger& ledger, const LedgerRowFlags& flags,
                            const std::vector<int>& chosen,
                            const std::filesystem::path& settingsFolder, QWidget* parent) {
    const QString file = QFileDialog::getSaveFileName(
        parent, QString::fromUtf8(kLedgerCsvSaveTitle.data(), int(kLedgerCsvSaveTitle.size())),
        QString::fromStdString(LedgerCsvDefaultName(settingsFolder).string()),
        QString::fromUtf8(kLedgerCsvFilter.data(), int(kLedgerCsvFilter.size())), nullptr,
        QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
    if (file.isEmpty()) return false;
    ledger::ui::MessageBoxSink user(parent);
    return LedgerCsvExport(ledger, flags, chosen, std::filesystem::path(file.toStdString()), user);
}

}  // namespace reports::ui
