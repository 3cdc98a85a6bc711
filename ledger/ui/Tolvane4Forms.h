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

class TfmMain;
class TfmDataEdit;
class TfmMembEdit;
class TfmKenhoHyo;
class TfmNotice;
class TfmInpPass;
class TfmSetPass;
class TfmVersion;
class TfmShowLog;
class TfmConfig;
class TfmPrnFormK;
class TfmPrnFormS;
class TfmKenRitu;
class TfmSelData;
class TfmRefData;
class TfmInpDlg;
class TfmMembList;
class TfmFolder;

struct Tolvane4Forms {
    // Creates the main window (running its FormCreate) and, when that succeeded,
    // the other windows as children of it.
    explicit Tolvane4Forms(ledger::Ledger& ledger);
    ~Tolvane4Forms();
    Tolvane4Forms(const Tolvane4Forms&) = delete;
    Tolvane4Forms& operator=(const Tolvane4Forms&) = delete;

    // False when the main window's creation ended the program.
    bool created = false;

    std::unique_ptr<TfmMain> fmMain;
    TfmSelData* fmSelData = nullptr;
    TfmMembList* fmMembList = nullptr;
    // fmInji
    TfmConfig* fmConfig = nullptr;
    // fmPreView
    TfmPrnFormK* fmPrnFormK = nullptr;
    TfmMembEdit* fmMembEdit = nullptr;
    TfmNotice* fmNotice = nullptr;
    TfmPrnFormS* fmPrnFormS = nullptr;
    TfmDataEdit* fmDataEdit = nullptr;
    TfmFolder* fmFolder = nullptr;
    TfmKenhoHyo* fmKenhoHyo = nullptr;
    TfmInpPass* fmInpPass = nullptr;
    TfmSetPass* fmSetPass = nullptr;
    TfmVersion* fmVersion = nullptr;
    TfmRefData* fmRefData = nullptr;
    TfmKenRitu* fmKenRitu = nullptr;
    // fmPrnItem
    TfmInpDlg* fmInpDlg = nullptr;
    TfmShowLog* fmShowLog = nullptr;
};

}  // namespace ledger::ui
