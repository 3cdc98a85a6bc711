#pragma once
#include <QDialog>
#include <map>

#include "ledger/Calculator.h"

class QLabel;
class QPushButton;
class QTimer;
class QToolButton;

// The calculator "簡易電卓" an entry dialog opens over a numeric field. The
// caller creates it for each use, shows it modally and on OK reads CalcValue:
//
//     CalculatorDialog calc(this);
//     if (calc.exec() == QDialog::Accepted) use(calc.CalcValue);
//
// Its buttons never take the focus; the keys reach it wherever the focus is
// (Enter is "＝"; Esc never closes it). The payroll program's calculator clears
// with Esc and opens centred on the main window the first time in a run and
// where it was last closed afterwards; the year-end program's clears with the
// letter C and opens centred on the main window every time.
namespace ledger::ui {

class CalculatorDialog : public QDialog {
    Q_OBJECT
public:
    explicit CalculatorDialog(QWidget* parent = nullptr,
                              ledger::CalcVariant variant = ledger::CalcVariant::Payroll);

    // The value shown; what the caller reads after OK.
    double CalcValue = 0;

    // Places the window (centred on the main window, or where it was last closed).
    void FormShow();
    // Every use starts at "0." with value 0.
    void FormActivate();
    // Remembers where the payroll calculator was closed.
    void FormClose();
    // A typed character ('\r' Enter, 0x1B Esc): presses the button it stands for.
    // Returns false for a key that is not one of the calculator's.
    bool FormKeyPress(char key);
    // Digits and the point (codes below 100), the other buttons.
    void sbNumClick(int code);
    void sbFuncClick(int code);

    QString displayText() const;
    QToolButton* button(int code) const { return buttons_.at(code); }

    QLabel* pnDisp = nullptr;
    QPushButton* btOk = nullptr;
    QPushButton* btCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void run(int code);
    void refresh();
    QWidget* mainWindow() const;

    ledger::CalcVariant variant_;
    ledger::Calculator calc_;
    std::map<int, QToolButton*> buttons_;
    QToolButton* pressed_ = nullptr;
    QTimer* release_ = nullptr;
};

}  // namespace ledger::ui
