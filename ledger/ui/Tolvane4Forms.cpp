#include "ledger/ui/Tolvane4Forms.h"

#include "ledger/Ledger.h"
#include "ledger/ui/Config.h"
#include "ledger/ui/InpPass.h"
#include "ledger/ui/KenRitu.h"
#include "ledger/ui/Main.h"
#include "ledger/ui/Notice.h"
#include "ledger/ui/PrnFormK.h"
#include "ledger/ui/PrnFormS.h"
#include "ledger/ui/SetPass.h"
#include "ledger/ui/ShowLog.h"
#include "ledger/ui/Version.h"

namespace ledger::ui {

Tolvane4Forms::Tolvane4Forms(ledger::Ledger& ledger) {
    fmMain = std::make_unique<TfmMain>(ledger);
    fmMain->setForms(this);
    if (!fmMain->FormCreate()) return;
    TfmMain* owner = fmMain.get();
    // Creating the settings dialog reads the settings into the ledger.
    fmConfig = new TfmConfig(ledger, owner->IniFileName, owner);
    fmPrnFormK = new TfmPrnFormK(ledger, owner->IniFileName, owner);
    fmNotice = new TfmNotice(owner);
    fmPrnFormS = new TfmPrnFormS(ledger, owner->IniFileName, owner);
    fmInpPass = new TfmInpPass(owner->IniFileName, owner);
    fmSetPass = new TfmSetPass(owner->IniFileName, owner);
    fmVersion = new TfmVersion(QString::fromStdString(ledger::ProgramVersionText()), owner);
    fmKenRitu = new TfmKenRitu(owner->ProgramPath / "健康保険料率.dat", owner);
    fmShowLog = new TfmShowLog(ledger.dataPath, owner);
    // The settings dialog uses the one password and rate dialog of the program.
    fmConfig->fmSetPass = fmSetPass;
    fmConfig->fmKenRitu = fmKenRitu;
    created = true;
}

// The other windows are children of the main window and go with it.
Tolvane4Forms::~Tolvane4Forms() = default;

}  // namespace ledger::ui
