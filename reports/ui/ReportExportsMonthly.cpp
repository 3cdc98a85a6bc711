#include <QFileDialog>

#include "platform/ui/MessageBox.h"
#include "reports/MonthlyListCsv.h"
#include "reports/ui/ReportExports.h"

namespace reports::ui {

namespace {

class CsvPrompts : public CsvExportPrompts {
public:
    explicit CsvPrompts(QWidget* parent) : parent_(parent) {}
    std::optional<std::filesystem::path> chooseFile(const std::filesystem::path& preset) override {
        const QString file = QFileDialog::getSaveFileName(
            parent_, QString::fromUtf8(kCsvSaveTitle.data(), int(kCsvSaveTitle.size())),
            QString::fromStdString(preset.string()),
            QString::fromUtf8(kCsvFilter.data(), int(kCsvFilter.size())), nullptr,
            QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
        if (file.isEmpty()) return std::nullopt;
        return std::filesystem::path(file.toStdString());
    }
    bool confirm(const std::string& question) override {
        return platform::ui::MessageBox::confirm(parent_, QString::fromStdString(question));
    }
    void inform(const std::string& message) override {
        platform::ui::MessageBox::information(parent_, QString::fromStdString(message));
    }

private:
    QWidget* parent_;
};

}  // namespace

bool ExportMonthlyCsvCommand(const ledger::Ledger& ledger, int period, MonthlyGrouping grouping,
                             const LedgerRowFlags& flags,
                             const std::filesystem::path& settingsFolder, QWidget* parent) {
    CsvPrompts prompts(parent);
    return ExportMonthlyCsv(ledger, period, grouping, flags, settingsFolder, prompts);
}

}  // namespace reports::ui
