#pragma once
#include <string>
#include <vector>

#include "ledger/Ledger.h"
#include "reports/PrnCanvas.h"

// The bank-transfer list (給与/賞与振込一覧) of the open period: A4 landscape,
// thirty employees a page as rows, no totals.
//
// The print dialog passes the 1-based page number; it takes the page count and
// the people count from TransferSlots. The period is the open one (CurData).
namespace reports {

inline constexpr int kListRowsPerPage = 30;

// Active employees paid by transfer (PayMethod 0), every slot in use, slot order.
std::vector<int> TransferSlots(const ledger::Ledger& l);
int TransferPageCount(const ledger::Ledger& l);

// "普通", "当座", "貯蓄"; empty for any other value.
std::string AccountTypeText(int accountType);

void DrawTransferPage(PrnCanvas& c, const ledger::Ledger& l, int page);

}  // namespace reports
