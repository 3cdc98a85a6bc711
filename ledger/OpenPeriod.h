#pragma once
#include "platform/IniFile.h"

namespace ledger {

struct Ledger;

// Brings the period named by ledger.CurData into memory (the header was read by
// the period selection, which may have set a bonus payment date in it): the
// period's block, the item tables and slip layout of its kind (salary or bonus)
// from the settings, and the item grid built from the records, so that the next
// recalculation reads back exactly what was stored.
void OpenPeriodData(Ledger& ledger, const platform::IniFile& ini);

}  // namespace ledger
