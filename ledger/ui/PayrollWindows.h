#pragma once
#include <memory>

namespace ledger {
struct Ledger;
}

// Every window of the payroll program, created once at the start in this order
// and kept until the program ends (the calculator alone is made when called).
// Creation has effects (the settings, the stored password and the print settings
// are read then), so a new window takes its place in this list.
namespace ledger::ui {

class MainWindow;
class DetailEntryDialog;
class EmployeeEditor;
class GradeTableDialog;
class NoticeWindow;
class PasswordPrompt;
class PasswordDialog;
class AboutBox;
class EventLogViewer;
class SettingsDialog;
class SalarySlipItemsDialog;
class BonusSlipItemsDialog;
class HealthRatesDialog;
class PeriodSelectionDialog;
class ReferenceDataDialog;
class NewYearFileDialog;
class EmployeeListDialog;
class FolderChooser;

struct PayrollWindows {
    // Creates the main window (running its FormCreate) and, when that succeeded,
    // the other windows as children of it.
    explicit PayrollWindows(ledger::Ledger& ledger);
    ~PayrollWindows();
    PayrollWindows(const PayrollWindows&) = delete;
    PayrollWindows& operator=(const PayrollWindows&) = delete;

    // False when the main window's creation ended the program.
    bool created = false;

    std::unique_ptr<MainWindow> fmMain;
    PeriodSelectionDialog* fmSelData = nullptr;
    EmployeeListDialog* fmMembList = nullptr;
    // fmInji
    SettingsDialog* fmConfig = nullptr;
    // fmPreView
    SalarySlipItemsDialog* fmPrnFormK = nullptr;
    EmployeeEditor* fmMembEdit = nullptr;
    NoticeWindow* fmNotice = nullptr;
    BonusSlipItemsDialog* fmPrnFormS = nullptr;
    DetailEntryDialog* fmDataEdit = nullptr;
    FolderChooser* fmFolder = nullptr;
    GradeTableDialog* fmKenhoHyo = nullptr;
    PasswordPrompt* fmInpPass = nullptr;
    PasswordDialog* fmSetPass = nullptr;
    AboutBox* fmVersion = nullptr;
    ReferenceDataDialog* fmRefData = nullptr;
    HealthRatesDialog* fmKenRitu = nullptr;
    // fmPrnItem
    NewYearFileDialog* fmInpDlg = nullptr;
    EventLogViewer* fmShowLog = nullptr;
};

}  // namespace ledger::ui
