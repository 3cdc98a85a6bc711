#pragma once
#include <array>
#include <string>
#include <string_view>

#include "ledger/SysOption.h"

// Item codes of the slip layouts and the labels the user gave them.
namespace ledger {

// The 41 standard item codes and the [Option] key that holds each one's label.
struct StandardItem {
    std::string_view code;
    std::string_view optionKey;
};
extern const std::array<StandardItem, 41> kStandardItems;

// A standard code becomes its first letter ("F" or "V") followed by the user's
// label; every other code (computed items such as "F課税支給合計", and "F" for an
// empty slot) comes back unchanged. Screens show the label from its second
// character on.
std::string ItemLabel(std::string_view code, const SysOption& options);

// Whether an item's values are hours: its label contains "時間" or "残業".
bool IsTimeItem(std::string_view label);

}  // namespace ledger
