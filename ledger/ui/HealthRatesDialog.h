#pragma once
#include <QDialog>
#include <filesystem>
#include <vector>

#include "ledger/HealthRates.h"

class QListWidget;
class QPushButton;

// The list of health-insurance rates by prefecture; hands back the employee's
// half of the chosen rate.
namespace ledger::ui {

class HealthRatesDialog : public QDialog {
    Q_OBJECT
public:
    // Reads the rates file once, now.
    explicit HealthRatesDialog(const std::filesystem::path& ratesFile, QWidget* parent = nullptr);

    void lbKenRituClick();
    void bbOkClick();

    // The result after OK: half of the chosen rate, in percent.
    double Rate = 0;

    QListWidget* lbKenRitu;
    QPushButton* bbOk;
    QPushButton* bbCancel;

private:
    // The row the user picked, or -1.
    int chosenRow() const;

    std::vector<HealthRateLine> lines_;
};

}  // namespace ledger::ui
