#include "ledger/ItemTables.h"

#include <algorithm>
#include <cstdio>

#include "platform/IniFile.h"

namespace ledger {
namespace {

using SV = std::string_view;

constexpr std::array<SV, kAttendanceSlots> kAttendanceItemDefaults{
    "F所定労働日数", "V出勤日数",     "V有休日数",     "V欠勤日数",     "V休日出勤日数",
    "V特別休暇日数", "F所定労働時間", "V実働時間",     "V普通残業時間", "V深夜残業時間",
    "V休日普通残業", "V休日深夜残業", "V遅刻早退回数", "V遅刻早退時間", "F",
    "V有休残日数"};

constexpr std::array<SV, kPaymentSlots> kPaymentItemDefaults{
    "F基本給",       "F役職手当",     "F家族手当",     "F固定手当１",   "F固定手当２",
    "F固定手当３",   "F普通残業手当", "F深夜残業手当", "F休日普通残業", "F休日深夜残業",
    "F非課税通勤費", "F課税通勤費",   "F欠勤控除",     "F遅刻早退控除", "V変動手当１",
    "V変動手当２",   "V変動手当３",   "F課税支給合計"};

constexpr std::array<SV, kDeductionSlots> kDeductionItemDefaults{
    "F健康保険料",   "F介護保険料", "F厚生年金保険",
    "F厚生年金基金", "F雇用保険料", "F社会保険料計",
    "F社保控除後計", "F",           "F所得税",
    "F住民税",       "F固定控除１", "F固定控除２",
    "F固定控除３",   "F",           "V変動控除１",
    "V変動控除２",   "V変動控除３", "F"};

constexpr std::array<SV, kPaymentSlots> kBonusPaymentItemDefaults{
    "V賞与", "V役員報酬",   "F",           "F固定手当１", "F固定手当２", "F固定手当３",
    "F",     "V変動手当１", "V変動手当２", "V変動手当３", "F",           "F課税支給合計",
    "F",     "F",           "F",           "F",           "F",           "F"};

constexpr std::array<SV, kDeductionSlots> kBonusDeductionItemDefaults{
    "F健康保険料",   "F介護保険料",
    "F厚生年金保険", "F厚生年金基金",
    "F雇用保険料",   "F社会保険料計",
    "F社保控除後計", "F",
    "F所得税",       "F",
    "F固定控除１",   "F固定控除２",
    "F固定控除３",   "F",
    "V変動控除１",   "V変動控除２",
    "V変動控除３",   "F"};

constexpr std::array<SV, kOtherSlots> kOtherItemDefaults{"Vその他１", "Vその他２", "Vその他３"};

// [group][pay type - 1]
constexpr SV kSalaryUse[4][3] = {{"1111011111001111", "0110010100001111", "0110010100000011"},
                                 {"111000110011110001", "111000000011010001", "111000000011000001"},
                                 {"111111111100010001", "111111111100010001", "111111111100010001"},
                                 {"000", "000", "000"}};
constexpr SV kBonusUse[4] = {"", "111000100011111111", "111111111100010001", "000"};

// The free items a list's renamed codes are written back to: the index into
// SysOption::freeLabels and the standard code, in the order they are tested.
struct FreeItem {
    int label;
    SV code;
};
constexpr std::array<FreeItem, 6> kPaymentFreeItems{{{0, "F固定手当１"},
                                                     {1, "F固定手当２"},
                                                     {2, "F固定手当３"},
                                                     {3, "V変動手当１"},
                                                     {4, "V変動手当２"},
                                                     {5, "V変動手当３"}}};
constexpr std::array<FreeItem, 6> kDeductionFreeItems{{{6, "F固定控除１"},
                                                       {7, "F固定控除２"},
                                                       {8, "F固定控除３"},
                                                       {9, "V変動控除１"},
                                                       {10, "V変動控除２"},
                                                       {11, "V変動控除３"}}};
constexpr std::array<FreeItem, 3> kOtherFreeItems{
    {{12, "Vその他１"}, {13, "Vその他２"}, {14, "Vその他３"}}};

std::span<const FreeItem> freeItemsOf(ItemGroup group) {
    switch (group) {
        case ItemGroup::Payment:
            return kPaymentFreeItems;
        case ItemGroup::Deduction:
            return kDeductionFreeItems;
        case ItemGroup::Other:
            return kOtherFreeItems;
        case ItemGroup::Attendance:
            break;
    }
    return {};
}

// A code of the standard lists: its meaning does not depend on any label, so it
// is never rewritten.
bool isListedCode(SV code) {
    for (auto list :
         {std::span<const SV>(kAttendanceItemDefaults), std::span<const SV>(kPaymentItemDefaults),
          std::span<const SV>(kDeductionItemDefaults),
          std::span<const SV>(kBonusPaymentItemDefaults),
          std::span<const SV>(kBonusDeductionItemDefaults),
          std::span<const SV>(kOtherItemDefaults)})
        if (std::find(list.begin(), list.end(), code) != list.end()) return true;
    return false;
}

constexpr std::array<ItemGroup, 4> kGroups{ItemGroup::Attendance, ItemGroup::Payment,
                                           ItemGroup::Deduction, ItemGroup::Other};

// The groups a slip kind keeps in the settings.
std::span<const ItemGroup> groupsOf(SlipKind kind) {
    if (kind == SlipKind::Salary) return kGroups;
    return std::span<const ItemGroup>(kGroups).subspan(1);
}

void setDefaults(std::span<TEditItems> items, SlipKind kind, ItemGroup group) {
    auto codes = DefaultItemCodes(kind, group);
    for (std::size_t k = 0; k < items.size() && k < codes.size(); ++k) {
        items[k].Code = std::string(codes[k]);
        items[k].Use = {};
    }
    for (int t = 1; t <= kPayTypes; ++t) ApplyUseString(items, t, DefaultUseString(kind, group, t));
}

}  // namespace

int SlotCount(ItemGroup group) {
    switch (group) {
        case ItemGroup::Attendance:
            return kAttendanceSlots;
        case ItemGroup::Payment:
            return kPaymentSlots;
        case ItemGroup::Deduction:
            return kDeductionSlots;
        case ItemGroup::Other:
            return kOtherSlots;
    }
    return 0;
}

ItemTables::ItemTables() {
    for (ItemGroup g : kGroups) setDefaults(items(g), SlipKind::Salary, g);
}

std::span<TEditItems> ItemTables::items(ItemGroup group) {
    switch (group) {
        case ItemGroup::Attendance:
            return AttendanceItems;
        case ItemGroup::Payment:
            return PaymentItems;
        case ItemGroup::Deduction:
            return DeductionItems;
        case ItemGroup::Other:
            return OtherItems;
    }
    return {};
}

std::span<const TEditItems> ItemTables::items(ItemGroup group) const {
    return const_cast<ItemTables*>(this)->items(group);
}

std::span<std::string> SlipLayout::codes(ItemGroup group) {
    switch (group) {
        case ItemGroup::Attendance:
            return Attendance;
        case ItemGroup::Payment:
            return Payment;
        case ItemGroup::Deduction:
            return Deduction;
        case ItemGroup::Other:
            return Other;
    }
    return {};
}

std::span<const std::string> SlipLayout::codes(ItemGroup group) const {
    return const_cast<SlipLayout*>(this)->codes(group);
}

TPrnLayout::TPrnLayout() {
    for (auto& layout : types)
        for (ItemGroup g : kGroups)
            for (auto& c : layout.codes(g)) c = std::string(kEmptyItemCode);
}

std::span<const std::string_view> DefaultItemCodes(SlipKind kind, ItemGroup group) {
    bool bonus = kind == SlipKind::Bonus;
    switch (group) {
        case ItemGroup::Attendance:
            return bonus ? std::span<const SV>() : std::span<const SV>(kAttendanceItemDefaults);
        case ItemGroup::Payment:
            return bonus ? kBonusPaymentItemDefaults : kPaymentItemDefaults;
        case ItemGroup::Deduction:
            return bonus ? kBonusDeductionItemDefaults : kDeductionItemDefaults;
        case ItemGroup::Other:
            return kOtherItemDefaults;
    }
    return {};
}

std::string_view DefaultUseString(SlipKind kind, ItemGroup group, int payType) {
    if (payType < 1 || payType > kPayTypes) return {};
    int g = static_cast<int>(group);
    return kind == SlipKind::Salary ? kSalaryUse[g][payType - 1] : kBonusUse[g];
}

std::string ItemNameSection(SlipKind kind) {
    return kind == SlipKind::Salary ? "KyuyoItemName" : "SyoyoItemName";
}

std::string UseSection(SlipKind kind, int payType) {
    return (kind == SlipKind::Salary ? "KyuyoKeitai" : "SyoyoKeitai") + std::to_string(payType);
}

std::string_view UseKey(ItemGroup group) {
    switch (group) {
        case ItemGroup::Attendance:
            return "Kintai";
        case ItemGroup::Payment:
            return "Sikyu";
        case ItemGroup::Deduction:
            return "Koujo";
        case ItemGroup::Other:
            return "Sonota";
    }
    return {};
}

std::string ItemKey(ItemGroup group, int slot) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%.2d", slot);
    return std::string(UseKey(group)) + digits;
}

std::string UseString(std::span<const TEditItems> items, int payType) {
    std::string s;
    for (const auto& e : items) s += e.Use.at(std::size_t(payType)) ? '1' : '0';
    return s;
}

void ApplyUseString(std::span<TEditItems> items, int payType, std::string_view use) {
    for (std::size_t k = 0; k < items.size(); ++k)
        items[k].Use.at(std::size_t(payType)) = k < use.size() && use[k] == '1';
}

void LoadItemTables(const platform::IniFile& ini, SlipKind kind, ItemTables& tables,
                    const SysOption& option) {
    const std::string names = ItemNameSection(kind);
    for (ItemGroup g : groupsOf(kind)) {
        auto items = tables.items(g);
        auto defaults = DefaultItemCodes(kind, g);
        for (int k = 0; k < int(items.size()); ++k)
            items[std::size_t(k)].Code = StandardItemCode(
                ini.readString(names, ItemKey(g, k), std::string(defaults[std::size_t(k)])), g,
                option);
        for (int t = 1; t <= kPayTypes; ++t) {
            std::string use = ini.readString(UseSection(kind, t), std::string(UseKey(g)),
                                             std::string(DefaultUseString(kind, g, t)));
            ApplyUseString(items, t, use);
        }
    }
}

TPrnLayout BuildPrnLayout(const ItemTables& tables, SlipKind kind) {
    TPrnLayout layout;
    for (int t = 1; t <= kPayTypes; ++t)
        for (ItemGroup g : groupsOf(kind)) {
            auto items = tables.items(g);
            auto codes = layout[t].codes(g);
            for (std::size_t k = 0; k < items.size(); ++k)
                codes[k] =
                    items[k].Use[std::size_t(t)] ? items[k].Code : std::string(kEmptyItemCode);
        }
    return layout;
}

std::string StandardItemCode(const std::string& code, ItemGroup group, const SysOption& option) {
    if (code.size() <= 1 || isListedCode(code)) return code;
    std::string_view name = std::string_view(code).substr(1);
    for (const FreeItem& f : freeItemsOf(group))
        if (name == option.freeLabels[std::size_t(f.label)]) return std::string(f.code);
    return code;
}

void SaveItemTables(platform::IniFile& ini, SlipKind kind, const ItemTables& tables,
                    const SysOption& option) {
    // Names and use strings reach the file together or not at all.
    ini.writeAll([&](platform::IniFile& w) {
        const std::string names = ItemNameSection(kind);
        for (ItemGroup g : groupsOf(kind)) {
            auto items = tables.items(g);
            for (int k = 0; k < int(items.size()); ++k)
                w.writeString(names, ItemKey(g, k),
                              StandardItemCode(items[std::size_t(k)].Code, g, option));
        }
        for (int t = 1; t <= kPayTypes; ++t)
            for (ItemGroup g : groupsOf(kind))
                w.writeString(UseSection(kind, t), std::string(UseKey(g)),
                              UseString(tables.items(g), t));
    });
}

void ResetItemTables(ItemTables& tables, SlipKind kind) {
    for (ItemGroup g : groupsOf(kind)) setDefaults(tables.items(g), kind, g);
}

void ToggleItemUse(ItemTables& tables, ItemGroup group, int slot, int payType) {
    auto items = tables.items(group);
    if (slot < 0 || slot >= int(items.size()) || payType < 1 || payType > kPayTypes) return;
    bool& use = items[std::size_t(slot)].Use[std::size_t(payType)];
    use = !use;
}

void MoveItemEntry(ItemTables& tables, ItemGroup group, int from, int to) {
    auto items = tables.items(group);
    int n = int(items.size());
    if (from < 0 || from >= n || to < 0 || to >= n || from == to) return;
    auto first = items.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
}

}  // namespace ledger
