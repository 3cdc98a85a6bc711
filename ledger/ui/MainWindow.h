#pragma once
#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "ledger/MainCommands.h"
#include "ledger/MainLifecycle.h"
#include "ledger/PeriodChoice.h"
#include "ledger/Startup.h"
#include "ledger/ui/MessageBoxSink.h"

namespace ledger {
struct Ledger;
}

class QAction;
class QDialog;
class QMenu;
class QToolButton;

// The payroll program's main window: the open period as a grid of the typed
// items (one column per active employee), the tool tray of commands, and the
// window's creation, first activation and close.
namespace ledger::ui {

struct PayrollWindows;
class ItemGridView;

// The dialogs of the reports, which live in the printing part of the program.
// Until they are handed in, their commands stay disabled.
struct ReportDialogs {
    // 給与台帳/月別一覧の印刷項目 (the ledger rows); true after OK.
    std::function<bool()> showPrnItem;
    // The print dialog with its caption and Tag, shown modally.
    std::function<void(const ledger::PrintRequest&)> showPrintDialog;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(ledger::Ledger& ledger, QWidget* parent = nullptr);
    ~MainWindow() override;

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

    // Shows the period the selection left in memory (ledger.CurData).
    void OpenPeriod();
    // Recalculates and saves the open period (the close request's save).
    void SaveCommand();

    // The commands of the tool tray.
    void imFileSaveClick();
    // With sender: the employee list; without: refills the columns and rebuilds.
    void imSyainEdit_Click(bool sender);
    void imDataEditClick();
    void imReturnClick();
    void imVersionClick();
    // The settings drop-down.
    void sbConfigClick();
    void sbPrnFormKClick();
    void sbPrnFormSClick();
    void sbDaichoClick();
    void sbShowLogClick();
    // The print drop-down.
    void sbMeisaihyoClick();
    void sbKyuyoDaichoClick();
    void sbKyuyoIchiranClick();
    void sbFuriListClick();
    void sbKinsyuListClick();
    // With sender the slip layout dialog is shown first and the grid is rebuilt
    // only after its OK.
    void BuildSalaryGrid(bool sender);
    void BuildBonusGrid(bool sender);
    // Moves to the cell remembered when the period was opened.
    void Timer2Timer();

    // The report dialogs (printing); their commands are enabled once set.
    void setReportDialogs(ReportDialogs dialogs);

    // Runs a dialog modally and tells whether it ended with OK (tests replace it).
    std::function<bool(QDialog&)> runModal;

    ItemGridView* StrGrid = nullptr;
    QToolButton* imFileSave = nullptr;
    QToolButton* imSyainEdit = nullptr;
    QToolButton* imSetup = nullptr;
    QToolButton* imPrint = nullptr;
    QToolButton* imDataEdit = nullptr;
    QToolButton* imReturn = nullptr;
    QToolButton* imVersion = nullptr;
    QMenu* pnSetup = nullptr;
    QMenu* pnPrint = nullptr;
    QAction* sbConfig = nullptr;
    QAction* sbPrnFormK = nullptr;
    QAction* sbPrnFormS = nullptr;
    QAction* sbDaicho = nullptr;
    QAction* sbShowLog = nullptr;
    QAction* sbMeisaihyo = nullptr;
    QAction* sbKyuyoDaicho = nullptr;
    QAction* sbKyuyoIchiran = nullptr;
    QAction* sbFuriList = nullptr;
    QAction* sbKinsyuList = nullptr;

    void setForms(PayrollWindows* forms) { forms_ = forms; }
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
    void createTray();
    // Commits the cell being edited, then RecalcAll with its question.
    void recalc();
    void rebuildGrid();
    void printCommand(ledger::PrintCommand command);
    bool showEmployeeList(ledger::MembListMode mode);
    void showDetailEntry(int col);

    ledger::Ledger& ledger_;
    PayrollWindows* forms_ = nullptr;
    MessageBoxSink prompter_;
    std::unique_ptr<ledger::MainLifecycle> lifecycle_;
    ledger::CurrentMonthChooser todaysMonth_;
    ledger::PeriodChooser* chooser_ = &todaysMonth_;
    ledger::WindowPlacement placement_;
    std::string versionText_;
    bool activationQueued_ = false;
    bool returnMark_ = false;
    ReportDialogs reports_;
};

}  // namespace ledger::ui
