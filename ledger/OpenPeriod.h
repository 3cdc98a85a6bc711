#pragma once
#include <string>
#include <string_view>

#include "platform/IniFile.h"

namespace ledger {

struct Ledger;

// Prepares the period the selection left in memory (loaded, or started by
// carrying the last one over) for the main window: the item tables and slip
// layout of its kind (salary or bonus) from the settings, and the item grid
// built from the records, so that the next recalculation reads back exactly
// what they hold.
void OpenPeriodData(Ledger& ledger, const platform::IniFile& ini);

// The open period as the main window names it: era, era year and "年", then
// "4月分給与" or "・夏期賞与" / "・冬季賞与" / "・" + the third bonus's name.
std::string PeriodTitleText(const Ledger& ledger);

// The main window's caption with a period open: "<title>　　【<period>】".
std::string MainWindowCaption(std::string_view applicationTitle, const Ledger& ledger);

}  // namespace ledger
