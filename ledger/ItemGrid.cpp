#include "ledger/ItemGrid.h"

#include "ledger/Common.h"
#include "ledger/ItemLabel.h"
#include "ledger/Ledger.h"
#include "ledger/NumberText.h"
#include "ledger/PayCalcSupport.h"
#include "ledger/SalaryCalc.h"

namespace ledger {

namespace {
const std::string kEmpty;
}

void ItemGrid::clear() {
    rows_.assign(1, Row{});
    columnSlots_.clear();
}

const std::string& ItemGrid::cell(int col, int row) const {
    if (row < 0 || row >= rowCount() || col < 0 || col >= kColumns) return kEmpty;
    return rows_[std::size_t(row)].cells[std::size_t(col)];
}

void ItemGrid::setCell(int col, int row, std::string text) {
    if (row < 0 || row >= rowCount() || col < 0 || col >= kColumns) return;
    rows_[std::size_t(row)].cells[std::size_t(col)] = std::move(text);
}

GridItem ItemGrid::item(int row) const {
    if (row <= 0 || row >= rowCount()) return {};
    return rows_[std::size_t(row)].item;
}

bool ItemGrid::isAttendanceRow(int row) const {
    return row > 0 && row < rowCount() && rows_[std::size_t(row)].group == ItemGroup::Attendance;
}

bool ItemGrid::editable(int row, int payType) const {
    if (row <= 0 || row >= rowCount() || payType < 0 || payType > 3) return false;
    return rows_[std::size_t(row)].editable[std::size_t(payType)];
}

int ItemGrid::addRow(std::string label, ItemGroup group, GridItem item,
                     const std::array<bool, 4>& editableByPayType) {
    Row r;
    r.group = group;
    r.item = item;
    r.editable = editableByPayType;
    r.cells[0] = std::move(label);
    rows_.push_back(std::move(r));
    return rowCount() - 1;
}

int ItemGrid::columnSlot(int col) const {
    if (col < 1 || col > employeeColumns()) return kSlots + 1;
    return columnSlots_[std::size_t(col - 1)];
}

GridItem GridItemOfCode(const Ledger& ledger, ItemGroup group, std::string_view code) {
    if (code.size() <= 1 || code.front() != 'V') return {};
    const SysOption& o = ledger.sysOption;
    const std::string_view name = code.substr(1);
    // The standard name first, so that a label the user gave twice still finds
    // the item the layout means; then the label (a code saved as "V" + label).
    const std::string label = paycalc::shownLabel(o, code);
    auto byFree = [&](int first, GridItemKind kind) -> GridItem {
        for (int k = 0; k < 3; ++k)
            if (name == kFreeLabelDefaults[std::size_t(first + k)]) return {kind, k};
        for (int k = 0; k < 3; ++k)
            if (o.freeLabels[std::size_t(first + k)] == label) return {kind, k};
        return {};
    };
    switch (group) {
        case ItemGroup::Attendance:
            for (int j = 0; j < kAttendanceItems; ++j)
                if (name == kAttendanceLabelDefaults[std::size_t(j)])
                    return {GridItemKind::Attendance, j};
            for (int j = 0; j < kAttendanceItems; ++j)
                if (o.attendanceLabels[std::size_t(j)] == label)
                    return {GridItemKind::Attendance, j};
            return {};
        case ItemGroup::Payment:
            if (name == kBonusName) return {GridItemKind::Bonus, 0};
            if (name == kDirectorsFeeName) return {GridItemKind::DirectorsFee, 0};
            return byFree(paycalc::kFreeVarPay, GridItemKind::VariablePay);
        case ItemGroup::Deduction:
            return byFree(paycalc::kFreeVarDed, GridItemKind::VariableDeduct);
        case ItemGroup::Other:
            return byFree(paycalc::kFreeOther, GridItemKind::Other);
    }
    return {};
}

bool IsGridItemUsed(const Ledger& ledger, int payType, const GridItem& item) {
    if (payType < 1 || payType > kPayTypes) return false;
    ItemGroup group;
    switch (item.kind) {
        case GridItemKind::VariablePay:
            group = ItemGroup::Payment;
            break;
        case GridItemKind::VariableDeduct:
            group = ItemGroup::Deduction;
            break;
        case GridItemKind::Other:
            group = ItemGroup::Other;
            break;
        default:
            return false;
    }
    auto items = ledger.itemTables.items(group);
    auto codes = ledger.PrnLayout[payType].codes(group);
    const std::size_t n = std::min(items.size(), codes.size());
    for (std::size_t i = 0; i < n; ++i)
        if (items[i].Use[std::size_t(payType)] && GridItemOfCode(ledger, group, codes[i]) == item)
            return true;
    return false;
}

int GridColumnOfSlot(const Ledger& ledger, int slot) {
    const ItemGrid& grid = ledger.grid;
    for (int col = 1; col <= grid.employeeColumns(); ++col)
        if (grid.columnSlot(col) == slot) return col;
    return ItemGrid::kColumns;
}

int GridPayType(const Ledger& ledger, int col) {
    const int slot = ledger.grid.columnSlot(col);
    if (slot < 1 || slot > kSlots) return 0;
    return ledger.Employee(slot).PayForm;
}

bool GridCellEditable(const Ledger& ledger, int col, int row) {
    const int slot = ledger.grid.columnSlot(col);
    if (slot < 1 || slot > kSlots || ledger.Employee(slot).Key.empty()) return false;
    const int payType = ledger.Employee(slot).PayForm;
    // A pay type outside 1..3 (a damaged record) types nothing.
    return payType >= 1 && payType <= kPayTypes && ledger.grid.editable(row, payType);
}

namespace {

bool isDayCount(const GridItem& item) {
    return item.kind == GridItemKind::Attendance && item.index >= kAttDaysWorked &&
           item.index <= kAttSpecialLeaveDays;
}

bool isHoursShown(const GridItem& item) {
    if (item.kind != GridItemKind::Attendance) return false;
    return (item.index >= kAttHoursWorked && item.index <= kAttHolidayNight) ||
           item.index == kAttLateHours;
}

}  // namespace

int GridFormatCode(const ItemGrid& grid, int row) {
    if (!grid.isAttendanceRow(row)) return 90;
    return isDayCount(grid.item(row)) ? 52 : 62;
}

std::string GridExtraKeys(const ItemGrid& grid, int row) {
    if (!grid.isAttendanceRow(row)) return "-";
    return IsTimeItem(grid.label(row)) ? "-.:" : "-.";
}

bool GridAcceptsChar(const ItemGrid& grid, int row, char32_t ch) {
    if (ch >= U'0' && ch <= U'9') return true;
    if (ch > 0x7f) return false;
    return GridExtraKeys(grid, row).find(char(ch)) != std::string::npos;
}

int NextEditableRow(const ItemGrid& grid, int row, int payType) {
    const int rows = grid.rowCount() - 1;
    if (rows < 1) return row;
    for (int step = 1; step <= rows; ++step) {
        const int r = (row - 1 + step) % rows + 1;
        if (r == row) break;
        if (grid.editable(r, payType)) return r;
    }
    return row;
}

void CommitGridCell(Ledger& ledger, int col, int row, MessageSink& messages) {
    ItemGrid& grid = ledger.grid;
    if (col < 1 || row < 1 || row >= grid.rowCount() || grid.cell(col, 0).empty()) return;
    NumEditResult checked = CheckNumEdit(grid.cell(col, row), GridFormatCode(grid, row));
    if (!checked.message.empty()) messages.error(checked.message);
    double value = 0;
    try {
        value = TimeStrToHours(checked.text, messages);
    } catch (const platform::ConvertError& e) {
        messages.error(e.what());
    }
    const GridItem item = grid.item(row);
    std::string shown;
    if (!grid.isAttendanceRow(row))
        shown = FmtAmount(7, value);
    else if (isHoursShown(item))
        shown = FmtHours(value, ledger.sysOption.timeStyle);
    else
        shown = padLeft(fixedText(value, 2), 6);
    grid.setCell(col, row, std::move(shown));
}

namespace {
// Whether a cell reads as 0; a text that is no number does not.
bool readsZero(const std::string& text) {
    MessageLog quiet;
    try {
        return StrToNum(text, quiet) == 0 && quiet.entries.empty();
    } catch (const platform::ConvertError&) {
        return false;
    }
}
}  // namespace

bool FillPaidLeaveRemainder(Ledger& ledger, int col, int rowLeft, MessageSink& messages,
                            const SavedBlockReader& reader) {
    ItemGrid& grid = ledger.grid;
    if (grid.item(rowLeft) != GridItem{GridItemKind::Attendance, kAttPaidLeaveDays}) return false;
    const int slot = grid.columnSlot(col);
    if (slot < 1 || slot > kSlots || ledger.Employee(slot).Key.empty()) return false;
    const double previous =
        PrevPaidLeaveBalance(ledger, ledger.CurData.Period - 1, ledger.Employee(slot).Key, reader);
    if (previous == kNoPaidLeaveBalance) return false;
    double days = 0;
    try {
        days = StrToNum(grid.cell(col, rowLeft), messages);
    } catch (const platform::ConvertError& e) {
        messages.error(e.what());
        return false;
    }
    bool written = false;
    for (int r = 1; r < grid.rowCount(); ++r) {
        if (grid.item(r) != GridItem{GridItemKind::Attendance, kAttPaidLeaveLeft}) continue;
        // Only a zero remainder is filled: one the user typed stays.
        if (!readsZero(grid.cell(col, r))) continue;
        grid.setCell(col, r, padLeft(fixedText(previous - days, 2), 6));
        written = true;
    }
    return written;
}

namespace {

std::string attendanceText(const SysOption& o, std::string_view label, double value) {
    return IsTimeItem(label) ? FmtHours(value, o.timeStyle) : padLeft(fixedText(value, 2), 6);
}

// The figure a row shows for an employee, as held in the records.
std::string cellText(const Ledger& ledger, int slot, const GridItem& item, std::string_view label) {
    const TPaymentRec& pay = ledger.Payment(slot);
    const TDeductionRec& ded = ledger.Deduction(slot);
    std::int32_t amount = 0;
    switch (item.kind) {
        case GridItemKind::Attendance:
            return attendanceText(ledger.sysOption, label,
                                  ledger.Attendance(slot).Values[item.index]);
        case GridItemKind::Bonus:
            amount = pay.Amounts[kPayBase];
            break;
        case GridItemKind::DirectorsFee:
            amount = pay.Amounts[kPayPost];
            break;
        case GridItemKind::VariablePay:
            amount = pay.Amounts[kPayVariable1 + item.index];
            break;
        case GridItemKind::VariableDeduct:
            amount = ded.Amounts[kDedVariable1 + item.index];
            break;
        case GridItemKind::Other:
            amount = pay.Amounts[kPayOther1 + item.index];
            break;
        case GridItemKind::None:
            break;
    }
    return FmtAmount(7, amount);
}

}  // namespace

void BuildItemGrid(Ledger& ledger) {
    ItemGrid& grid = ledger.grid;
    grid.clear();
    std::vector<int> slots;
    for (int s = 1; s <= kSlots; ++s)
        if (!ledger.Employee(s).Key.empty() && IsActive(ledger, s)) slots.push_back(s);
    for (std::size_t c = 0; c < slots.size(); ++c)
        grid.setCell(int(c + 1), 0, ledger.Employee(slots[c]).Name.str());
    grid.setColumnSlots(slots);

    const bool bonus = ledger.isBonusPeriod();
    for (ItemGroup group :
         {ItemGroup::Attendance, ItemGroup::Payment, ItemGroup::Deduction, ItemGroup::Other}) {
        if (bonus && group == ItemGroup::Attendance) continue;
        for (int i = 0; i < SlotCount(group); ++i) {
            std::array<bool, 4> editable{true, false, false, false};
            int lastType = 0;
            for (int t = 1; t <= kPayTypes; ++t) {
                const std::string& code = ledger.PrnLayout[t].codes(group)[std::size_t(i)];
                if (!code.empty() && code.front() != 'F') {
                    editable[std::size_t(t)] = true;
                    lastType = t;
                }
            }
            if (lastType == 0) continue;
            const std::string& code = ledger.PrnLayout[lastType].codes(group)[std::size_t(i)];
            const std::string label = paycalc::shownLabel(ledger.sysOption, code);
            const GridItem item = GridItemOfCode(ledger, group, code);
            const int row = grid.addRow(label, group, item, editable);
            for (std::size_t c = 0; c < slots.size(); ++c)
                grid.setCell(int(c + 1), row, cellText(ledger, slots[c], item, label));
        }
    }
}

void RefreshGridColumn(Ledger& ledger, int slot) {
    ItemGrid& grid = ledger.grid;
    for (int col = 1; col <= grid.employeeColumns(); ++col) {
        if (grid.columnSlot(col) != slot) continue;
        for (int row = 1; row < grid.rowCount(); ++row)
            grid.setCell(col, row, cellText(ledger, slot, grid.item(row), grid.label(row)));
    }
}

}  // namespace ledger
