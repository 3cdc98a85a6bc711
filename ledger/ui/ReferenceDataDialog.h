#pragma once
#include <QDialog>
#include <vector>

#include "ledger/CarryOver.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace ledger {
struct Ledger;
}

// "参照するデータの選択": offers every saved salary month of the era's year files as
// the source of a new period's company record and employees. Shown by the period
// selection only, with LaterDataExist set before exec(). Accepted: the chosen
// month's company record and employees are in memory, the other tables zero.
// Rejected: no company record was taken over.
namespace ledger::ui {

class ReferenceDataDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReferenceDataDialog(ledger::Ledger& ledger, QWidget* parent = nullptr);

    // Chooses the hint: the previous month was there, but a later one too.
    bool LaterDataExist = false;

    // Empties the period in memory, lists the saved months and gives the hint; an
    // empty list closes the dialog by itself 50 ms later.
    void FormShow();
    void bbOkClick();
    void reject() override;

    const std::vector<ledger::ReferenceItem>& items() const { return items_; }

    QListWidget* ListBox;
    QPushButton* bbOk;
    QPushButton* bbCancel;
    QTimer* Timer1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    ledger::Ledger& ledger_;
    std::vector<ledger::ReferenceItem> items_;
};

}  // namespace ledger::ui
