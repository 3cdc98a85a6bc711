#pragma once
#include <QMainWindow>
#include <filesystem>
#include <memory>
#include <string>

#include "ledger/MainLifecycle.h"
#include "ledger/PeriodChoice.h"
#include "ledger/Startup.h"
#include "ledger/ui/MessageBoxSink.h"

namespace ledger {
struct Ledger;
}

// The payroll program's main window: its creation, first activation and close.
// Its contents and commands come with the main window's own code.
namespace ledger::ui {

struct Tolvane4Forms;

class TfmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfmMain(ledger::Ledger& ledger, QWidget* parent = nullptr);
    ~TfmMain() override;

    // Where the program's files lie; tests point them elsewhere before FormCreate.
    std::filesystem::path ProgramPath;
    std::filesystem::path IniFileName;
    std::filesystem::path DataPath;
    std::filesystem::path PreviousVersionPath;

    // Tables, data folder (first run: migration), today's year file. False when
    // the program must end without showing the window (the reason was shown).
    bool FormCreate();
    // The start sequence; it runs once, at the first activation.
    void FormActivate();
    // Whether the window may close now (change check, return, exit question).
    bool FormCloseQuery();
    // Writes the [Window] keys.
    void FormClose();

    // Opens the chosen period (ledger.CurData).
    void OpenPeriod();
    // Saves the open period.
    void SaveCommand();

    void setForms(Tolvane4Forms* forms) { forms_ = forms; }
    // The period selection; until one is set, the current month of today's file.
    void setPeriodChooser(ledger::PeriodChooser* chooser);

    ledger::MainLifecycle& lifecycle() { return *lifecycle_; }
    ledger::Ledger& ledger() { return ledger_; }
    const std::string& versionText() const { return versionText_; }
    // The placement as read at the start (with the employee list's size).
    ledger::WindowPlacement& placement() { return placement_; }

signals:
    // The start sequence has run (whatever its outcome).
    void startSequenceFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void restorePlacement();

    ledger::Ledger& ledger_;
    Tolvane4Forms* forms_ = nullptr;
    MessageBoxSink prompter_;
    std::unique_ptr<ledger::MainLifecycle> lifecycle_;
    ledger::CurrentMonthChooser todaysMonth_;
    ledger::PeriodChooser* chooser_ = &todaysMonth_;
    ledger::WindowPlacement placement_;
    std::string versionText_;
    bool activationQueued_ = false;
};

}  // namespace ledger::ui
