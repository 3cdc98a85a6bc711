#pragma once
#include <QListWidget>
#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "withholding/MainList.h"
#include "withholding/YearEndStartup.h"

namespace ledger {
struct Ledger;
}

class QAction;
class QDialog;
class QFileDialog;
class QHeaderView;
class QLabel;
class QStandardItemModel;
class QToolButton;

// The year-end program's main window: the start sequence (password, choice of
// the year's pay-data file, loading), the employee list with its processing
// states and check marks, the commands, saving and closing.
namespace ledger::ui {
class PasswordPrompt;
class NoticeWindow;
class EventLogViewer;
class AboutBox;
}  // namespace ledger::ui

namespace withholding::ui {

class CompanyInfoDialog;
class LoadNoticeDialog;

// Lists the pay-data files of the filter in an open dialog (one not native to
// the desktop), under the filter's label.
void SetPayDataFilter(QFileDialog& dlg, const OpenFilter& filter);

// The print job's request: the document (Tag 199 源泉徴収票, 299 還付金通知書,
// 599 給与支払報告書) and the checked employees.
struct YearEndPrintRequest {
    int tag = 0;
    QString caption;
    bool newLayout = true;
    std::vector<int> checked;  // slots of the checked lines
};

// Dialogs of later stages of the program. A command whose dialog is not set
// stays disabled.
struct YearEndDialogs {
    // The record editor of the open year's layout on a slot.
    std::function<void(int slot, bool newLayout)> editRecord;
    std::function<void()> showOptions;
    std::function<void(const YearEndPrintRequest&)> print;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // iniFile: the settings file; its folder's "Data" is the data folder.
    MainWindow(ledger::Ledger& ledger, WithholdingData& data, std::filesystem::path iniFile,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    const std::filesystem::path IniFileName;
    const std::filesystem::path DataPath;

    // Hooks of the start sequence that tests and the program replace.
    // The password gate; true when the program may go on.
    std::function<bool()> passwordGate;
    // The open dialog; nothing when cancelled.
    std::function<std::optional<std::filesystem::path>()> chooseFile;
    // Runs a dialog modally and tells whether it ended with OK.
    std::function<bool(QDialog&)> runModal;

    // The start sequence; it runs once, at the first activation.
    void FormActivate();
    bool FormCloseQuery();
    void FormClose();

    void btDataInputClick();
    void mnAllOnOffPClick();
    void HeadCtrlSectionClick(int section);
    void mnTaisyokuClick();
    void mnSaveFileClick();
    void mnCorpInfoClick();
    void mnShowLogClick();
    void mnConfigClick();
    // tag: 199, 299 or 599.
    void mnPrintClick(int tag);
    void mnQuitClick();
    void mnVerInfoClick();

    void FillEmployeeList(int key);
    void UpdateInputCommands();
    void setDialogs(YearEndDialogs dialogs);
    void setCorpInfo(CompanyInfoDialog* dialog) { corpInfo_ = dialog; }
    ledger::ui::NoticeWindow* notice() { return fmNotice_; }
    // What loading the year had to tell, shown once the list is filled.
    LoadNoticeDialog* loadNotice() { return loadNotice_; }
    ledger::ui::AboutBox* aboutBox() { return fmVersion_; }

    bool starting() const { return starting_; }
    // Whether the print preview shows its tool bar: read from the settings when a
    // year is opened, written back when the program closes.
    bool previewButtons() const { return previewButtons_; }
    EmployeeList& list() { return list_; }
    QString statusText() const;
    // The open year's layout.
    bool newLayout() const;

    QListWidget* ListBox = nullptr;
    QHeaderView* HeadCtrl = nullptr;
    QAction* mnDataInput = nullptr;
    QAction* mnAllOnOffP = nullptr;
    QAction* mnTaisyoku = nullptr;
    QAction* mnSaveFile = nullptr;
    QAction* mnCorpInfo = nullptr;
    QAction* mnConfig = nullptr;
    QAction* mnShowLog = nullptr;
    QAction* mnPrnGensen = nullptr;
    QAction* mnPrnKanpukin = nullptr;
    QAction* mnPrnSiharai = nullptr;
    QAction* mnQuit = nullptr;
    QAction* mnVerInfo = nullptr;
    QToolButton* btDataInput = nullptr;
    QToolButton* sbWrite = nullptr;
    QToolButton* sbGensen = nullptr;
    QToolButton* sbKanpukin = nullptr;
    QToolButton* sbPrnSiharai = nullptr;

signals:
    // The start sequence has run (whatever its outcome).
    void startSequenceFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runStart();
    void createMenus();
    void createList();
    // Puts the model's lines into the list widget, and back.
    void showLines();
    // Puts the model's check marks on the lines shown, leaving the selection.
    void showChecks();
    void takeChecks();
    void refillKeeping(bool reapplyAutoCheck);
    // Sizes the header's sections so that each heading stands over its column.
    void alignHeadings();
    void restorePlacement();
    void closeNow();

    ledger::Ledger& ledger_;
    WithholdingData& data_;
    EmployeeList list_;
    std::vector<ListEmployee> employees_;
    YearEndDialogs dialogs_;
    CompanyInfoDialog* corpInfo_ = nullptr;
    ledger::ui::PasswordPrompt* fmInpPass_ = nullptr;
    ledger::ui::NoticeWindow* fmNotice_ = nullptr;
    LoadNoticeDialog* loadNotice_ = nullptr;
    ledger::ui::EventLogViewer* fmShowLog_ = nullptr;
    ledger::ui::AboutBox* fmVersion_ = nullptr;
    QLabel* status_ = nullptr;
    // The tool bar's slot of sbPrnSiharai: a widget on a tool bar is shown and
    // hidden through it, never through the widget itself.
    QAction* sbPrnSiharaiSlot_ = nullptr;
    bool previewButtons_ = true;
    bool starting_ = true;
    bool activated_ = false;
    bool loaded_ = false;
};

}  // namespace withholding::ui
