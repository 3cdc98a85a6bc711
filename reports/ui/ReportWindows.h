#pragma once
#include <memory>

namespace ledger {
struct Ledger;
}
namespace ledger::ui {
struct PayrollWindows;
}
namespace platform::ui {
class Printer;
}

// The windows of printing, created once right after the ledger's windows and
// kept until the program ends: the print dialog and the ledger-row dialog. They
// reach the main window and the employee list through those windows' hooks, so
// the ledger's windows never include anything of printing.
namespace reports::ui {

class PrintDialog;
class LedgerRowsDialog;
class PrintPreview;

struct ReportWindows {
    // Creates the dialogs as children of the main window and sets its hooks.
    ReportWindows(ledger::Ledger& ledger, ledger::ui::PayrollWindows& forms);
    ~ReportWindows();
    ReportWindows(const ReportWindows&) = delete;
    ReportWindows& operator=(const ReportWindows&) = delete;

    std::unique_ptr<platform::ui::Printer> printer;
    PrintDialog* fmInji = nullptr;
    LedgerRowsDialog* fmPrnItem = nullptr;
    PrintPreview* fmPreView = nullptr;
};

// Creates the report dialogs when the ledger's windows were created; null
// otherwise.
std::unique_ptr<ReportWindows> CreateReportWindows(ledger::Ledger& ledger,
                                                   ledger::ui::PayrollWindows& forms);

}  // namespace reports::ui
