#include "ledger/ui/Tolvane4Forms.h"

#include "ledger/Ledger.h"
#include "ledger/ui/BackupCommands.h"
#include "ledger/ui/Config.h"
#include "ledger/ui/DataEdit.h"
#include "ledger/ui/Folder.h"
#include "ledger/ui/InpDlg.h"
#include "ledger/ui/InpPass.h"
#include "ledger/ui/KenRitu.h"
#include "ledger/ui/KenhoHyo.h"
#include "ledger/ui/Main.h"
#include "ledger/ui/MembEdit.h"
#include "ledger/ui/MembList.h"
#include "ledger/ui/Notice.h"
#include "ledger/ui/PrnFormK.h"
#include "ledger/ui/PrnFormS.h"
#include "ledger/ui/RefData.h"
#include "ledger/ui/SelData.h"
#include "ledger/ui/SetPass.h"
#include "ledger/ui/ShowLog.h"
#include "ledger/ui/Version.h"

namespace ledger::ui {

Tolvane4Forms::Tolvane4Forms(ledger::Ledger& ledger) {
    fmMain = std::make_unique<TfmMain>(ledger);
    fmMain->setForms(this);
    if (!fmMain->FormCreate()) return;
    TfmMain* owner = fmMain.get();
    fmSelData = new TfmSelData(ledger, owner->IniFileName, owner);
    fmMembList = new TfmMembList(ledger, owner->IniFileName, owner->placement(), owner);
    fmMembList->setForms(this);
    // Creating the settings dialog reads the settings into the ledger.
    fmConfig = new TfmConfig(ledger, owner->IniFileName, owner);
    fmPrnFormK = new TfmPrnFormK(ledger, owner->IniFileName, owner);
    fmMembEdit = new TfmMembEdit(ledger, owner);
    fmNotice = new TfmNotice(owner);
    fmPrnFormS = new TfmPrnFormS(ledger, owner->IniFileName, owner);
    fmDataEdit = new TfmDataEdit(ledger, owner);
    fmFolder = new TfmFolder(owner->IniFileName, owner);
    // Opened from the employee editor, and placed over it.
    fmKenhoHyo = new TfmKenhoHyo(ledger.tables.grades, fmMembEdit);
    fmInpPass = new TfmInpPass(owner->IniFileName, owner);
    fmSetPass = new TfmSetPass(owner->IniFileName, owner);
    fmVersion = new TfmVersion(QString::fromStdString(ledger::ProgramVersionText()), owner);
    fmRefData = new TfmRefData(ledger, owner);
    fmKenRitu = new TfmKenRitu(owner->ProgramPath / "健康保険料率.dat", owner);
    fmInpDlg = new TfmInpDlg(ledger, owner);
    fmShowLog = new TfmShowLog(ledger.dataPath, owner);
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
Tolvane4Forms::~Tolvane4Forms() = default;

}  // namespace ledger::ui
