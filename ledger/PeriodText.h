#pragma once
#include <string>

#include "ledger/SysOption.h"

// How a period (1..12 salaries, 13 summer, 14 winter, 15 the third bonus) is named.
namespace ledger {

// The label in the period list: "１月分給与" .. "９月分給与" (full-width digits),
// "10月分給与" .. "12月分給与", "夏期賞与", "冬期賞与", and the user's name of the
// third bonus. Empty for any other period.
std::string PeriodListLabel(int period, const SysOption& option);

// The period's part of the main window's title: "4月分給与", "・夏期賞与",
// "・冬季賞与", "・" + the third bonus's name. Empty for any other period.
std::string PeriodTitleSuffix(int period, const SysOption& option);

}  // namespace ledger
