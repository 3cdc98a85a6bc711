#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ledger {
struct Ledger;
}

// "データファイル作成": asks for the era year of a new year file. Accepted:
// InputYear is an era year 1..99 of today's era whose file does not exist yet.
namespace ledger::ui {

class NewYearFileDialog : public QDialog {
    Q_OBJECT
public:
    explicit NewYearFileDialog(ledger::Ledger& ledger, QWidget* parent = nullptr);

    int InputYear = 0;

    void FormShow();
    void btOkClick();

    QLabel* lbYear;
    QLineEdit* edYear;
    QPushButton* btOk;
    QPushButton* btCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    ledger::Ledger& ledger_;
};

}  // namespace ledger::ui
