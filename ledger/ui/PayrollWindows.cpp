#include "ledger/ui/PayrollWindows.h"

#include "ledger/Ledger.h"
#include "ledger/ui/AboutBox.h"
#include "ledger/ui/BackupCommands.h"
#include "ledger/ui/BonusSlipItemsDialog.h"
#include "ledger/ui/DetailEntryDialog.h"
#include "ledger/ui/EmployeeEditor.h"
#include "ledger/ui/EmployeeListDialog.h"
#include "ledger/ui/EventLogViewer.h"
#include "ledger/ui/FolderChooser.h"
#include "ledger/ui/GradeTableDialog.h"
#include "ledger/ui/HealthRatesDialog.h"
#include "ledger/ui/MainWindow.h"
#include "ledger/ui/NewYearFileDialog.h"
#include "ledger/ui/NoticeWindow.h"
#include "ledger/ui/PasswordDialog.h"
#include "ledger/ui/PasswordPrompt.h"
#include "ledger/ui/PeriodSelectionDialog.h"
#include "ledger/ui/ReferenceDataDialog.h"
#include "ledger/ui/SalarySlipItemsDialog.h"
#include "ledger/ui/SettingsDialog.h"

namespace ledger::ui {

PayrollWindows::PayrollWindows(ledger::Ledger& ledger) {
    fmMain = std::make_unique<MainWindow>(ledger);
    fmMain->setForms(this);
    if (!fmMain->FormCreate()) return;
    MainWindow* owner = fmMain.get();
    fmSelData = new PeriodSelectionDialog(ledger, owner->IniFileName, owner);
    fmMembList = new EmployeeListDialog(ledger, owner->IniFileName, owner->placement(), owner);
    fmMembList->setForms(this);
    // Creating the settings dialog reads the settings into the ledger.
    fmConfig = new SettingsDialog(ledger, owner->IniFileName, owner);
    fmPrnFormK = new SalarySlipItemsDialog(ledger, owner->IniFileName, owner);
    fmMembEdit = new EmployeeEditor(ledger, owner);
    fmNotice = new NoticeWindow(owner);
    fmPrnFormS = new BonusSlipItemsDialog(ledger, owner->IniFileName, owner);
    fmDataEdit = new DetailEntryDialog(ledger, owner);
    fmFolder = new FolderChooser(owner->IniFileName, owner);
    // Opened from the employee editor, and placed over it.
    fmKenhoHyo = new GradeTableDialog(ledger.tables.grades, fmMembEdit);
    fmInpPass = new PasswordPrompt(owner->IniFileName, owner);
    fmSetPass = new PasswordDialog(owner->IniFileName, owner);
    fmVersion = new AboutBox(QString::fromStdString(ledger::ProgramVersionText()), owner);
    fmRefData = new ReferenceDataDialog(ledger, owner);
    fmKenRitu = new HealthRatesDialog(owner->ProgramPath / "健康保険料率.dat", owner);
    fmInpDlg = new NewYearFileDialog(ledger, owner);
    fmShowLog = new EventLogViewer(ledger.dataPath, owner);
    // The settings dialog uses the one password and rate dialog of the program.
    fmConfig->fmSetPass = fmSetPass;
    fmConfig->fmKenRitu = fmKenRitu;
    fmSelData->fmRefData = fmRefData;
    fmSelData->fmInpDlg = fmInpDlg;
    // The period selection's backup and restore run in the program's folder chooser.
    fmSelData->onBackup = [this, &ledger, owner] {
        DataBackupCommand(fmSelData, *fmFolder, ledger.dataPath, owner->IniFileName);
    };
    fmSelData->onRestore = [this, &ledger, owner] {
        return DataRestoreCommand(fmSelData, *fmFolder, ledger.dataPath, owner->IniFileName,
                                  owner->lifecycle());
    };
    owner->setPeriodChooser(fmSelData);
    // The employee editor uses the program's grade dialog and notice window.
    fmMembEdit->fmKenhoHyo = fmKenhoHyo;
    fmMembEdit->fmNotice = fmNotice;
    created = true;
}

// The other windows are children of the main window and go with it.
PayrollWindows::~PayrollWindows() = default;

}  // namespace ledger::ui
