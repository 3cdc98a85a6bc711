#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ledger {
struct Ledger;
}

// 会社情報の設定: the company address and telephone printed on the year-end
// forms. They are stored in the withholding file's header in memory; the file
// is written when the main window saves.
namespace withholding {
struct WithholdingData;
}

namespace withholding::ui {

class CompanyInfoDialog : public QDialog {
    Q_OBJECT
public:
    CompanyInfoDialog(const ledger::Ledger& ledger, WithholdingData& data,
                      QWidget* parent = nullptr);

    // Shows the company name and the header's texts; the focus goes to the
    // first address line.
    void FormShow();
    // Stores the fitted and trimmed texts and closes with OK; a text without a
    // Shift-JIS form is reported and nothing is stored.
    void bbOkClick();

    QLabel* pnSyamei;
    QLineEdit* edJusyo1;
    QLineEdit* edJusyo2;
    QLineEdit* edTelNo;
    QPushButton* bbOk;
    QPushButton* bbCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    const ledger::Ledger& ledger_;
    WithholdingData& data_;
};

}  // namespace withholding::ui
