#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/ItemTables.h"
#include "ledger/PayrollRecords.h"

// The text of the main window's item grid, without a widget: row 0 holds the
// employee names, column 0 the item labels, and one column per active employee
// in slot order. The widget shows this model; the calculation reads the typed
// figures back from it. Every row also knows which item it shows, so two items
// that happen to share a label never read each other's figures.
namespace ledger {

struct Ledger;

// What a grid row shows. Only typed ('V') items get rows.
enum class GridItemKind {
    None,            // not a typed item the calculation reads
    Attendance,      // index = attendance entry 0..14
    Bonus,           // 賞与 (payment amount 0)
    DirectorsFee,    // 役員報酬 (payment amount 1)
    VariablePay,     // 変動手当１-３, index 0..2
    VariableDeduct,  // 変動控除１-３, index 0..2
    Other,           // その他１-３, index 0..2
};

struct GridItem {
    GridItemKind kind = GridItemKind::None;
    int index = 0;
    bool operator==(const GridItem&) const = default;
};

class ItemGrid {
public:
    static constexpr int kColumns = kSlots + 1;  // column 0 and up to 80 employees

    ItemGrid() { clear(); }

    // Only the title row stays, every cell empty.
    void clear();

    int rowCount() const { return int(rows_.size()); }
    int columnCount() const { return kColumns; }

    // Cell text; row 0 is the title row, column 0 the label column. Cells outside
    // the grid read as empty and writes to them are dropped.
    const std::string& cell(int col, int row) const;
    void setCell(int col, int row, std::string text);

    // The row's label (column 0) and item.
    const std::string& label(int row) const { return cell(0, row); }
    GridItem item(int row) const;
    // Whether the row shows an attendance item (its figures are days or hours).
    bool isAttendanceRow(int row) const;
    // Whether the row takes input for an employee of the pay type (0..3; 0 =
    // a column without an employee, always editable).
    bool editable(int row, int payType) const;

    // Adds an item row below the others and returns its number.
    int addRow(std::string label, ItemGroup group, GridItem item,
               const std::array<bool, 4>& editableByPayType);

    // The slot shown in column c (1..80), or 81 past the last active employee.
    int columnSlot(int col) const;
    // Number of employee columns.
    int employeeColumns() const { return int(columnSlots_.size()); }
    void setColumnSlots(std::vector<int> columnSlots) { columnSlots_ = std::move(columnSlots); }

private:
    struct Row {
        ItemGroup group = ItemGroup::Payment;
        GridItem item;
        std::array<bool, 4> editable{true, true, true, true};
        std::array<std::string, kColumns> cells;
    };
    std::vector<Row> rows_;
    std::vector<int> columnSlots_;
};

// The item a layout code stands for, as far as the grid and the copy from it care:
// the standard code first, then a code that carries the item's current label.
GridItem GridItemOfCode(const Ledger& ledger, ItemGroup group, std::string_view code);

// Whether a typed item is on the pay type's layout (its working entry used and
// PrnLayout naming it), found by what the item is rather than by its label.
bool IsGridItemUsed(const Ledger& ledger, int payType, const GridItem& item);

// The employee column of a slot: the number of active employees (slots in use
// whose status is 在職) among slots 1..slot, as the grid has one column per
// active employee in slot order.
int GridColumnOfSlot(const Ledger& ledger, int slot);

// Refills the title row with the names of the active employees and rebuilds the
// item rows from the slip layout of the open period: for a salary period the
// attendance, payment, deduction and その他 items, for a bonus period the same
// without attendance. A layout slot gets a row when some pay type types it
// ('V' code on its layout); the cells show the figures held in the records.
void BuildItemGrid(Ledger& ledger);

}  // namespace ledger
