#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/ItemTables.h"
#include "ledger/Messages.h"
#include "ledger/PayrollYearFile.h"

// The detail entry of one employee in the open period, without a widget: which
// slip items show for the employee's pay type and how (read-only, typed, typed
// by hand over a computed amount), the figures as text, the totals and the net
// amount, storing typed figures back into the records and recalculating, the
// memo's limits, and stepping between active employees.
namespace ledger {

struct Ledger;

// The record field an entry shows.
enum class EntryTarget {
    None,
    Attendance,  // TAttendanceRec::Values[index]
    Payment,     // TPaymentRec::Amounts[index]
    Deduction,   // TDeductionRec::Amounts[index]
    Other,       // その他 index 0..2: both of its copies in the two records
};

struct EntryBinding {
    EntryTarget target = EntryTarget::None;
    int index = 0;
    // Index into ManualFlags of the payment or deduction record; -1 for items
    // without a manual flag.
    int manualFlag = -1;
    bool operator==(const EntryBinding&) const = default;
};

// The field an item of a group stands for, found by the label it shows (the
// user's label, or one of the fixed names of the computed items).
EntryBinding BindEntry(const SysOption& options, ItemGroup group, std::string_view label);

enum class EntryLook {
    Hidden,  // no item on this slot of the layout
    Typed,   // a typed ('V') item or an その他 item: editable, black
    Fixed,   // a fixed ('F') item: read-only in the unused-item colour
    Manual,  // a fixed item typed by hand: editable, red
};

struct EntryView {
    ItemGroup group = ItemGroup::Payment;
    int position = 0;   // slot of the group's layout
    std::string label;  // as shown
    EntryBinding binding;
    EntryLook look = EntryLook::Hidden;
    bool fixed = false;      // an 'F' code
    bool timeItem = false;   // attendance shown as hours
    bool canToggle = false;  // 修正ON/OFF may switch its manual flag
    int exitFormat = 0;      // format code a typed figure is checked against
    std::string text;        // the figure as shown

    bool visible() const { return look != EntryLook::Hidden; }
    bool editable() const { return look == EntryLook::Typed || look == EntryLook::Manual; }
};

inline constexpr int kEntryGroups = 4;

struct DetailView {
    std::string caption;  // 詳細入力画面 【name】
    std::string name;
    // [ItemGroup]: one entry per layout slot of the group (16, 18, 18, 3).
    std::array<std::vector<EntryView>, kEntryGroups> entries;
    std::string payTotal;        // 支給合計
    std::string deductionTotal;  // 控除合計
    std::string otherTotal;      // その他合計
    std::string netAmount;       // 差引支給額
    std::string memo;            // lines separated by "\n"

    const std::vector<EntryView>& group(ItemGroup g) const {
        return entries[static_cast<std::size_t>(g)];
    }
};

// Everything the detail entry shows for an employee slot (1..80).
DetailView ShowDetail(const Ledger& ledger, int slot);

// The text of a record figure as an entry shows it.
std::string EntryText(const SysOption& options, const EntryView& entry, double value);

// What a typed figure becomes when its entry is left: checked against the
// entry's format code, then shown again in the entry's own format. A refused
// figure shows as zero; message holds the reason.
struct EntryExit {
    std::string text;
    std::string message;
};
EntryExit LeaveEntry(const SysOption& options, const EntryView& entry, std::string_view typed);
// The second half of leaving: a figure already checked (CheckNumEdit's text)
// in the entry's own format.
std::string ReformatEntry(const SysOption& options, const EntryView& entry,
                          std::string_view checked);

// The texts of the entries, [ItemGroup][layout slot], as the dialog holds them;
// hidden entries are not read. And the memo, lines separated by "\n".
struct DetailTexts {
    std::array<std::vector<std::string>, kEntryGroups> entries;
    std::string memo;
};

// Writes the texts of the visible entries and the memo into the slot's records.
// All texts are read before anything is written: a malformed figure throws
// platform::ConvertError and the records stay as they were.
void StoreDetail(Ledger& ledger, int slot, const DetailTexts& texts, MessageSink& messages);

// Recalculates the slot: the salary in periods 1..12, the bonus in 13..15.
// False when the income tax cannot be computed and must be typed (for a bonus
// also kept in BonusTaxOk; for a salary, pay beyond the tax table).
bool RecalcDetail(Ledger& ledger, int slot, const SavedBlockReader& reader = fileBlockReader());

// Switches the manual flag of the entry's item in the slot's records. False
// when the entry has no flag that may be switched.
bool ToggleManualFlag(Ledger& ledger, int slot, const EntryView& entry);
// Sets the manual flag of the income tax (the bonus tax that must be typed).
void SetIncomeTaxManual(Ledger& ledger, int slot);

// The text for the 有休残日数 entry after 有休日数 was typed: last period's
// remaining days less the days typed, when the record's remainder is still 0 and
// last period has one.
std::optional<std::string> PaidLeaveRemainderText(
    const Ledger& ledger, int slot, double daysTaken,
    const SavedBlockReader& reader = fileBlockReader());

// The calculator's value as the entry takes it: amounts rounded by the group's
// rounding mode (payments HasuuSik, the two reductions HasuuGen, deductions
// HasuuKou, その他 truncated), hours and days in their format. A value beyond
// the field's digits is refused with the overflow message.
EntryExit CalculatorEntryText(const SysOption& options, const EntryView& entry, double value);

// The memo as it may be typed: at most five lines (a line break after the fifth
// is dropped) and at most 170 bytes in Shift-JIS counting a line break as two,
// never splitting a character.
inline constexpr int kMemoMaxLines = 5;
inline constexpr int kMemoMaxBytes = 170;
std::string LimitMemo(std::string_view memo);

// Neighbouring employees in use and active (在職) below and above the slot;
// 0 when there is none.
int PrevActiveSlot(const Ledger& ledger, int slot);
int NextActiveSlot(const Ledger& ledger, int slot);

}  // namespace ledger
