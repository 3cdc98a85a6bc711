#pragma once
#include <functional>
#include <string>
#include <string_view>

// What the main window's commands pass on, free of any window: the texts they
// show, the employee-list modes and the print requests, and the order of the
// steps of the print commands.
namespace ledger {

struct Ledger;

inline constexpr std::string_view kSavedNotice = "データファイルに保存しました。";
inline constexpr std::string_view kLedgerNotSavedWarning =
    "変更内容を保存しないと社員別給与台帳に反映されません。";

// The employee list's modes (its Tag).
enum class MembListMode { Edit = 0, Slips = 1, Ledger = 2 };

enum class PrintCommand {
    Slips,           // 給与/賞与明細書
    PersonalLedger,  // 社員別給与台帳
    MonthlyList,     // 月別給与/賞与一覧
    TransferList,    // 給与/賞与振込一覧
    Denominations,   // 給与/賞与支払金種表
};

// The print dialog's caption and Tag (document kind × 100 + target).
struct PrintRequest {
    std::string caption;
    int tag = 0;
    bool operator==(const PrintRequest&) const = default;
};

PrintRequest PrintRequestFor(PrintCommand command, int period);

// The steps a print command runs, supplied by the window.
struct PrintSteps {
    std::function<void()> commitCell;                // the grid cell being edited
    std::function<void()> recalc;                    // RecalcAll with its question
    std::function<bool()> periodModified;            // the change check, asking nothing
    std::function<bool(std::string_view)> okCancel;  // information box, true on OK
    std::function<bool(MembListMode)> employeeList;  // true when it ended with OK
    std::function<void(const PrintRequest&)> showPrintDialog;
};

// Runs a print command: the slips let the user choose the employees first, the
// personal ledger (which reads the stored file) recalculates and warns about
// unsaved changes, the others print the recalculated period in memory.
void RunPrintCommand(PrintCommand command, int period, const PrintSteps& steps);

// The slot the detail entry opens for a grid column: its employee when the slot
// is in use and active, else 0 (nothing to open).
int DetailEntrySlot(const Ledger& ledger, int col);

}  // namespace ledger
