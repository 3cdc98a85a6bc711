#pragma once
#include <string>
#include <vector>

#include "ledger/Ledger.h"
#include "reports/PrnCanvas.h"

// The employee roster (社 員 名 簿 一 覧 表): A4 landscape, ten employees a page
// as columns against 29 rows of their standing data.
//
// The print dialog passes the 1-based page number; it takes the page count and
// the people count from RosterSlots, so the head's "Page p / n" and the dialog
// agree. Today's date comes from the ledger's clock.
namespace reports {

inline constexpr int kRosterPerPage = 10;
inline constexpr int kRosterRows = 29;

// The slots the roster shows, in slot order: in use and 在職 or 休職, up to the
// first free slot.
std::vector<int> RosterSlots(const ledger::Ledger& l);
int RosterPageCount(const ledger::Ledger& l);

// The caption of a row (0..28): the fixed caption, or the user's label for the
// rows that carry one.
std::string RosterCaption(int row, const ledger::SysOption& option);

// The text of a row for an employee, as it stands in the column (amounts already
// right-aligned in nine characters).
std::string RosterValue(int row, const ledger::TEmployeeRec& e);

void DrawRosterPage(PrnCanvas& c, const ledger::Ledger& l, int page);

}  // namespace reports
