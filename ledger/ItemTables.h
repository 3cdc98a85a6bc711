#pragma once
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "ledger/SysOption.h"

namespace platform {
class IniFile;
}

// The items of the pay slips per slip kind and pay type: the working item tables
// the two layout dialogs edit, their settings sections, and PrnLayout, the
// layout built from them that the grid, the detail entry, the calculation and
// the slips follow.
namespace ledger {

enum class SlipKind { Salary, Bonus };

// The four item lists of a slip; the value + 1 is the grid's Tag.
enum class ItemGroup { Attendance = 0, Payment = 1, Deduction = 2, Other = 3 };

inline constexpr int kAttendanceSlots = 16;
inline constexpr int kPaymentSlots = 18;
inline constexpr int kDeductionSlots = 18;
inline constexpr int kOtherSlots = 3;
inline constexpr int kPayTypes = 3;  // 1 月給, 2 日給, 3 時間給

int SlotCount(ItemGroup group);

// The code of an empty slot.
inline constexpr std::string_view kEmptyItemCode = "F";

// One entry of a working item table: the item's code and whether slips of each
// pay type (Use[1..3]; Use[0] is unused) show it.
struct TEditItems {
    std::string Code;
    std::array<bool, 4> Use{};
};

struct ItemTables {
    std::array<TEditItems, kAttendanceSlots> AttendanceItems;
    std::array<TEditItems, kPaymentSlots> PaymentItems;
    std::array<TEditItems, kDeductionSlots> DeductionItems;
    std::array<TEditItems, kOtherSlots> OtherItems;

    ItemTables();  // the salary defaults

    std::span<TEditItems> items(ItemGroup group);
    std::span<const TEditItems> items(ItemGroup group) const;
};

// The codes of one pay type's slip in slip order; "F" where the slot is unused.
struct SlipLayout {
    std::array<std::string, kAttendanceSlots> Attendance;
    std::array<std::string, kPaymentSlots> Payment;
    std::array<std::string, kDeductionSlots> Deduction;
    std::array<std::string, kOtherSlots> Other;

    std::span<std::string> codes(ItemGroup group);
    std::span<const std::string> codes(ItemGroup group) const;
};

// PrnLayout[pay type 1..3].
struct TPrnLayout {
    std::array<SlipLayout, kPayTypes> types;

    TPrnLayout();  // every slot "F"
    SlipLayout& operator[](int payType) { return types.at(std::size_t(payType - 1)); }
    const SlipLayout& operator[](int payType) const { return types.at(std::size_t(payType - 1)); }
};

// The default codes of a list, slot 0 first. Bonus slips have no attendance list
// (an empty span).
std::span<const std::string_view> DefaultItemCodes(SlipKind kind, ItemGroup group);
// The default use string of a list for a pay type ('1' = used, character k for slot k).
std::string_view DefaultUseString(SlipKind kind, ItemGroup group, int payType);

// Settings sections and keys: "KyuyoItemName"/"SyoyoItemName", "Kintai00" ..,
// "KyuyoKeitai1"/"SyoyoKeitai1" .., "Kintai"/"Sikyu"/"Koujo"/"Sonota".
std::string ItemNameSection(SlipKind kind);
std::string UseSection(SlipKind kind, int payType);
std::string ItemKey(ItemGroup group, int slot);
std::string_view UseKey(ItemGroup group);

// The use string of a list for a pay type, one '1' or '0' per slot.
std::string UseString(std::span<const TEditItems> items, int payType);
// Sets Use[payType] of every slot from a use string; a slot past its end is unused.
void ApplyUseString(std::span<TEditItems> items, int payType, std::string_view use);

// Reads the tables of a slip kind from the settings, each key defaulting to the
// kind's default. A code saved under a free item's current label (older files
// hold "F住宅手当" where 住宅手当 is 固定手当１'s label) is taken as that item's
// standard code (StandardItemCode), so the tables mean the same item however the
// label changes later in the run. The bonus kind leaves the attendance table as
// it is.
void LoadItemTables(const platform::IniFile& ini, SlipKind kind, ItemTables& tables,
                    const SysOption& option);

// PrnLayout from the tables; for bonus slips every attendance slot is "F".
TPrnLayout BuildPrnLayout(const ItemTables& tables, SlipKind kind);

// The standard code of a slot's code. Codes of the standard lists stay as they
// are; any other code that names the current label of a free item of its list
// (固定手当/変動手当 for payments, 固定控除/変動控除 for deductions, その他 for
// others) becomes that item's standard code, the first match winning.
std::string StandardItemCode(const std::string& code, ItemGroup group, const SysOption& option);

// Writes the codes (through StandardItemCode) and the use strings of a slip kind.
// Throws platform::IoError when the settings file cannot be written.
void SaveItemTables(platform::IniFile& ini, SlipKind kind, const ItemTables& tables,
                    const SysOption& option);

// Every code and use flag of the kind's lists back to the defaults.
void ResetItemTables(ItemTables& tables, SlipKind kind);

// Flips one pay type's use flag of a slot.
void ToggleItemUse(ItemTables& tables, ItemGroup group, int slot, int payType);

// Moves an entry (its code and all three flags) from one slot to another; the
// entries between shift by one toward the vacated slot. Slots out of range do
// nothing.
void MoveItemEntry(ItemTables& tables, ItemGroup group, int from, int to);

}  // namespace ledger
