#pragma once
#include <QDialog>
#include <array>
#include <filesystem>

#include "ledger/ItemTables.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace ledger {
struct Ledger;
}

// What the salary and the bonus slip-item dialogs share: three pay-type pages,
// one grid per item list with a drag handle and the item name, selecting a name
// switches its use for the page's pay type, dragging the handle moves the item.
namespace ledger::ui {

// The colours of the item grids; the unused colour is also the one the main
// grid and the detail entry give to items a pay type does not use.
inline constexpr unsigned kUnusedItemColour = 0xCCDDDD;  // RGB
inline constexpr unsigned kUnusedItemText = 0x808080;
inline constexpr unsigned kHandleColour = 0x008080;

class SlipItemsDialog : public QDialog {
    Q_OBJECT
public:
    SlipItemsDialog(ledger::SlipKind kind, ledger::Ledger& ledger, std::filesystem::path iniFile,
                    QWidget* parent = nullptr);

    // Reads the tables from the settings; with build, PrnLayout is built from them
    // as OK does, without writing anything.
    void LoadItems(bool build);
    void FormShow();
    // The page of a pay type (1..3) becomes the active one.
    void PageControlChange(int payType);
    int activePayType() const { return payType_; }
    // A name cell selected: its use for the active pay type is switched.
    void sgSelectCell(ledger::ItemGroup group, int row);
    // A row dragged by its handle.
    void sgRowMoved(ledger::ItemGroup group, int from, int to);
    void btDefaultClick();
    void bbOkClick();
    void bbCancelClick();

    // The grid of a list; none for attendance on the bonus dialog.
    QTableWidget* grid(ledger::ItemGroup group) const {
        return grids_[static_cast<std::size_t>(group)];
    }

    std::array<QPushButton*, 3> pageButtons{};
    QPushButton* btDefault = nullptr;
    QPushButton* bbOk = nullptr;
    QPushButton* bbCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void refreshGrid(ledger::ItemGroup group);
    void refreshGrids();

    ledger::SlipKind kind_;
    ledger::Ledger& ledger_;
    std::filesystem::path iniFile_;
    int payType_ = 1;
    std::array<QTableWidget*, 4> grids_{};
};

}  // namespace ledger::ui
