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

class TfmInji;
class TfmPrnItem;
class TfmPreView;

struct ReportForms {
    // Creates the dialogs as children of the main window and sets its hooks.
    ReportForms(ledger::Ledger& ledger, ledger::ui::PayrollWindows& forms);
    ~ReportForms();
    ReportForms(const ReportForms&) = delete;
    ReportForms& operator=(const ReportForms&) = delete;

    std::unique_ptr<platform::ui::Printer> printer;
    TfmInji* fmInji = nullptr;
    TfmPrnItem* fmPrnItem = nullptr;
    TfmPreView* fmPreView = nullptr;
};

// Creates the report dialogs when the ledger's windows were created; null
// otherwise.
std::unique_ptr<ReportForms> CreateReportForms(ledger::Ledger& ledger,
                                               ledger::ui::PayrollWindows& forms);

}  // namespace reports::ui
