#include "ledger/ItemGrid.h"

#include "ledger/Common.h"
#include "ledger/Ledger.h"
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
    int col = 0;
    for (int s = 1; s <= slot && s <= kSlots; ++s)
        if (!ledger.Employee(s).Key.empty() && IsActive(ledger, s)) ++col;
    return col;
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

}  // namespace ledger
