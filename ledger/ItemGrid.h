#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/ItemTables.h"
#include "ledger/Messages.h"
#include "ledger/PayrollRecords.h"
#include "ledger/PayrollYearFile.h"

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

// The employee column of a slot as the grid was built (one column per active
// employee in slot order). A slot without a column (not active then, or added
// since) gets a column past the grid, whose cells read as empty: a change of
// status before the next rebuild never reads another employee's figures.
int GridColumnOfSlot(const Ledger& ledger, int slot);

// Refills the title row with the names of the active employees and rebuilds the
// item rows from the slip layout of the open period: for a salary period the
// attendance, payment, deduction and その他 items, for a bonus period the same
// without attendance. A layout slot gets a row when some pay type types it
// ('V' code on its layout); the cells show the figures held in the records.
void BuildItemGrid(Ledger& ledger);

// Refills the cells of a slot's column from its records (after the records were
// changed elsewhere, so that the next copy from the grid does not undo it).
void RefreshGridColumn(Ledger& ledger, int slot);

// The pay type whose rows a column may edit: the PayForm of its employee, 0 for
// a column without one.
int GridPayType(const Ledger& ledger, int col);

// Whether typing into a cell is allowed: the column shows an employee whose slot
// is in use and the row is typed for that employee's pay type.
bool GridCellEditable(const Ledger& ledger, int col, int row);

// The format code (digits × 10 + decimals) a cell is normalised to: 90 for
// amounts, 52 for the day counts 出勤日数 .. 特別休暇日数, 62 for the other
// attendance figures.
int GridFormatCode(const ItemGrid& grid, int row);

// The keys besides digits a row takes: "-" for amounts, "-." for attendance
// figures, "-.:" for attendance rows whose label names hours (時間, 残業).
std::string GridExtraKeys(const ItemGrid& grid, int row);
bool GridAcceptsChar(const ItemGrid& grid, int row, char32_t ch);

// The row Enter moves to: the next row below typed for the pay type, wrapping
// to row 1; the same row when no row is typed for it.
int NextEditableRow(const ItemGrid& grid, int row, int payType);

// Normalises the typed text of a cell of an employee column as leaving it does:
// checked against the row's format (a refused value is reported and becomes 0),
// read as hours or a number, and shown again as an amount, h:mm hours (実働時間
// .. 休日深夜残業 and 遅刻早退時間) or a figure with two decimals. Cells of
// columns without an employee and title cells are left alone.
void CommitGridCell(Ledger& ledger, int col, int row, MessageSink& messages);

// After the 有休日数 cell of an employee was left: when the previous period
// (December of last year's file for January) holds the employee's remaining
// days, every 有休残日数 cell of the column that reads 0 gets those days less
// the days typed. Returns whether a cell was written.
bool FillPaidLeaveRemainder(Ledger& ledger, int col, int rowLeft, MessageSink& messages,
                            const SavedBlockReader& reader = fileBlockReader());

}  // namespace ledger
