#pragma once
#include <QDialog>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QListWidget;

// The event-log viewer of both programs, with its CSV export.
namespace ledger::ui {

class EventLogViewer : public QDialog {
    Q_OBJECT
public:
    explicit EventLogViewer(std::filesystem::path dataPath, QWidget* parent = nullptr);

    // Loads the whole log into the list, oldest first.
    void FormActivate();
    // ファイル → CSVファイルに出力.
    void mnCsvExportClick();

    // The save dialog of the export; returns the chosen file or an empty text.
    // Tests replace it.
    std::function<QString()> chooseCsvFile;

    QListWidget* ListBox1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString askCsvFile();

    std::filesystem::path dataPath_;
    std::vector<std::string> lines_;  // CP932, as in the file
};

}  // namespace ledger::ui
