#pragma once
#include <QDialog>
#include <filesystem>
#include <functional>
#include <vector>

#include "ledger/PeriodChoice.h"
#include "ledger/PeriodSelection.h"
#include "ledger/ui/MessageBoxSink.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QAction;
class QPushButton;

namespace ledger {
struct Ledger;
}

// The period selection "給与対象月/賞与時期の選択": the year file and the period to
// work on, the scheduled days and hours of a salary month or the payment date of
// a bonus; clearing a saved period; creating another year's file.
//
// What the main window uses (through ledger::PeriodChooser):
// - choose(ledger): shows the dialog modally; true after OK, when ledger.CurData
//   names the chosen period and memory holds it whole (loaded, or started by
//   carry-over), so the main window opens it without loading anything;
// - requestReturn(): the return command's mark; choose() clears it on OK;
// - showSettingsOnOpen(): open the settings dialog right after opening the period.
// Backup and restore are offered in the menu through onBackup / onRestore; a
// restore that returns true ended the run's data: the dialog closes as cancelled
// without its question (the caller also sets the main window's
// skip-close-prompts flag), so the program ends.
namespace ledger::ui {

class ReferenceDataDialog;
class NewYearFileDialog;
class EditHelper;

class PeriodSelectionDialog : public QDialog, public ledger::PeriodChooser {
    Q_OBJECT
public:
    PeriodSelectionDialog(ledger::Ledger& ledger, std::filesystem::path iniFile,
                          QWidget* parent = nullptr);

    bool choose(ledger::Ledger& ledger) override;

    // Loads the contents; a real show also rebuilds the year list.
    void FormShow(bool realShow = false);
    // The first activation: the start hint.
    void FormActivate();
    void cbTaisyoNenChange();
    void ListBoxClick();
    void bbOkClick();
    // The Delete key on the list clears the selected period.
    void ListBoxKeyUp(int key);
    void mnCreateClick();
    // Creates the file of an era year and switches to it (the create command
    // after its dialog).
    void CreateYear(int eraYear);
    // Whether closing without OK may go ahead.
    bool FormCloseQuery();
    void reject() override;

    ledger::PeriodSelection& selection() { return selection_; }

    // The reference dialog, asked when a new period got no company record; true
    // when a month was taken. By default fmRefData is shown.
    std::function<bool(bool later)> showReference;
    ReferenceDataDialog* fmRefData = nullptr;
    NewYearFileDialog* fmInpDlg = nullptr;
    std::function<void()> onBackup;
    std::function<bool()> onRestore;
    // Test runs of the program: choose() takes the current selection (today's
    // month at the first show) without showing the dialog.
    bool acceptAtOnce = false;

    QMenuBar* menuBar;
    QAction* mnDataBackup;
    QAction* mnDataRestore;
    QAction* mnCreate;
    QComboBox* cbTaisyoNen;
    QListWidget* ListBox;
    QLabel* lbNissu;
    QLineEdit* edNissu;
    QLabel* lbNissuUnit;
    QLabel* lbJikan;
    QLineEdit* edJikan;
    QLabel* lbJikanUnit;
    QLabel* lbSikyu;
    QLineEdit* edSikyuM;
    QLabel* lbSikyuMUnit;
    QLineEdit* edSikyuD;
    QLabel* lbSikyuDUnit;
    QPushButton* bbOk;
    QPushButton* bbCancel;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillYearList();
    void refreshList();
    void normaliseFields();

    ledger::Ledger& ledger_;
    std::filesystem::path iniFile_;
    ledger::PeriodSelection selection_;
    MessageBoxSink prompter_;
    std::vector<EditHelper*> helpers_;
    // While the dialog is being shown: a load fault waits until it stands.
    bool reportFaultLater_ = false;
};

}  // namespace ledger::ui
