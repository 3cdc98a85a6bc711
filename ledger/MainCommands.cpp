#include "ledger/MainCommands.h"

#include "ledger/Common.h"
#include "ledger/Ledger.h"

namespace ledger {

PrintRequest PrintRequestFor(PrintCommand command, int period) {
    switch (command) {
        case PrintCommand::Slips:
            return {period <= 12 ? "給与明細書" : "賞与明細書", 299};
        case PrintCommand::PersonalLedger:
            return {"社員別給与台帳", 499};
        case PrintCommand::MonthlyList:
            return {"月別給与/賞与一覧", 500 + period};
        case PrintCommand::TransferList:
            return {"給与/賞与振込一覧", 600};
        case PrintCommand::Denominations:
            return {"給与/賞与支払金種表", 700};
    }
    return {};
}

void RunPrintCommand(PrintCommand command, int period, const PrintSteps& steps) {
    switch (command) {
        case PrintCommand::Slips:
            steps.commitCell();
            if (!steps.employeeList(MembListMode::Slips)) return;
            steps.recalc();
            break;
        case PrintCommand::PersonalLedger:
            // Figures typed in the grid count only once recalculated into the
            // period; the ledger itself reads the stored file.
            steps.recalc();
            if (steps.periodModified() && !steps.okCancel(kLedgerNotSavedWarning)) return;
            if (!steps.employeeList(MembListMode::Ledger)) return;
            break;
        default:
            steps.recalc();
            break;
    }
    steps.showPrintDialog(PrintRequestFor(command, period));
}

int DetailEntrySlot(const Ledger& ledger, int col) {
    const int slot = ledger.grid.columnSlot(col);
    if (slot < 1 || slot > kSlots) return 0;
    if (ledger.Employee(slot).Key.empty() || !IsActive(ledger, slot)) return 0;
    return slot;
}

}  // namespace ledger
