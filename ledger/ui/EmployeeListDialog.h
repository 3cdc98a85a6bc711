#pragma once
#include <QDialog>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QHeaderView;
class QListWidget;
class QPushButton;
class QStatusBar;
class QStandardItemModel;

namespace ledger {
struct Ledger;
struct WindowPlacement;
}  // namespace ledger

// The employee list "社員一覧リスト" of the open period, one fixed-width row per
// employee, sorted by clicking a column heading.
//
// What the main window uses:
// - ShowList(mode): sets MembListMode (0 maintenance: add, change, delete and the
//   roster; 1 choose employees for pay slips; 2 for the annual ledger) and shows
//   the list modally. True when a choosing mode ended with OK.
// - chosenSlots() / chosenRows(): after OK in mode 1 or 2, the slots of the
//   selected rows in displayed order, and those rows as CP932 bytes (printing
//   reads the slot from bytes 1-3 and the name from bytes 6-21). The selection
//   stays until the next show.
// - printRoster: runs the print dialog for the roster ("社員名簿一覧表", Tag 100);
//   to be set once printing exists. Without it "名簿印刷" does nothing.
// The list's size is kept in the placement the main window writes to [Window]
// (MembList_X, MembList_Y) when the program closes.
// Changes happen in the open period in memory; the main window rebuilds its grid
// after the list closes and saves as usual.
namespace ledger::ui {

struct PayrollWindows;

class EmployeeListDialog : public QDialog {
    Q_OBJECT
public:
    EmployeeListDialog(ledger::Ledger& ledger, const std::filesystem::path& iniFile,
                       ledger::WindowPlacement& placement, QWidget* parent = nullptr);

    bool ShowList(int mode);
    std::vector<int> chosenSlots() const;
    std::vector<std::string> chosenRows() const;

    // The editor for a slot (-1: a new employee); true when it ended with OK.
    // By default the program's employee editor; tests give their own.
    std::function<bool(int editSlot)> editEmployee;
    std::function<void()> printRoster;
    // Runs the list modally; tests give their own.
    std::function<int()> runModal;
    void setForms(PayrollWindows* forms) { forms_ = forms; }

    int MembListMode = 0;
    int LastOrder = 1;
    int DesignWidth = 0;
    int DesignHeight = 0;

    void FormCreate(const std::filesystem::path& iniFile);
    void FormShow();
    void FormActivate();
    void BuildList(int order);
    void UpdateButtons();
    void sbNewEnterClick();
    void sbModifyClick();
    void sbDeleteClick();
    void sbMeiboPrintClick();
    void sbAllOnOffClick();
    void bbOkClick();
    void ListBoxDblClick();
    void HeadCtrlSectionClick(int section);

    QHeaderView* HeadCtrl;
    QListWidget* ListBox;
    QWidget* pnMaintenance;
    QWidget* pnSelect;
    QPushButton* sbNewEnter;
    QPushButton* sbModify;
    QPushButton* sbDelete;
    QPushButton* sbMeiboPrint;
    QPushButton* sbClose;
    QPushButton* sbAllOnOff;
    QPushButton* bbOk;
    QPushButton* bbCancel;
    QStatusBar* StatusBar;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool runEditor(int editSlot);
    int currentSlot() const;
    // Rebuilds the rows in the last order and restores the current and top rows.
    void rebuildKeeping(int currentRow, int topRow);
    int topRow() const;

    ledger::Ledger& ledger_;
    ledger::WindowPlacement& placement_;
    PayrollWindows* forms_ = nullptr;
    QStandardItemModel* headModel_;
};

}  // namespace ledger::ui
