#pragma once
#include <QDialog>

#include "ledger/GradeTable.h"

class QLabel;
class QListWidget;
class QPushButton;

// The health-insurance grade table to choose an employee's grade from.
//
// Use: set SelectedGrade (0 = none), show it modally (FormShow runs on every
// show); after OK, SelectedGrade is the grade chosen (1..the table's count),
// after cancel it is unchanged.
namespace ledger::ui {

class GradeTableDialog : public QDialog {
    Q_OBJECT
public:
    // The table is read at start-up and does not change while the program runs.
    explicit GradeTableDialog(const GradeTable& table, QWidget* parent = nullptr);

    int SelectedGrade = 0;

    void FormShow();
    void ListBoxClick();
    void bbOkClick();

    QLabel* lbSelToKyu;
    QListWidget* ListBox;
    QPushButton* bbOk;
    QPushButton* bbCancel;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const GradeTable& table_;
    bool filled_ = false;
};

}  // namespace ledger::ui
