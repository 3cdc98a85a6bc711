#pragma once
#include <QDialog>
#include <array>
#include <filesystem>

#include "reports/LedgerRows.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace ledger {
struct SysOption;
}

// 給与台帳/月別一覧の印刷項目: which attendance items the annual ledger and the
// monthly list add as rows and which free items they leave out. Stored in
// [Option] DaichoAdd / DaichoDel on OK; the print dialog reads them at its show.
namespace reports::ui {

class LedgerRowsDialog : public QDialog {
    Q_OBJECT
public:
    // The labels are read at every show (they may change in the settings dialog).
    LedgerRowsDialog(const ledger::SysOption& options, std::filesystem::path iniFile,
                     QWidget* parent = nullptr);

    void FormShow();
    void sbDefaultClick();
    void bbOkClick();

    // The boxes' state as flags.
    LedgerRowFlags checkedFlags() const;

    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    std::array<QCheckBox*, kLedgerRowItems> cbAddItem{};  // [i - 1] = cbAddItem<i>
    std::array<QCheckBox*, kLedgerRowItems> cbDelItem{};
    QPushButton* sbDefault;
    QPushButton* bbOk;
    QPushButton* bbCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    const ledger::SysOption& options_;
    std::filesystem::path iniFile_;
};

}  // namespace reports::ui
