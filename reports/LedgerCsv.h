#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/Ledger.h"
#include "ledger/Messages.h"
#include "ledger/PayrollYearFile.h"
#include "reports/AnnualLedger.h"
#include "reports/LedgerRows.h"

// The annual ledger as CSV files, one per chosen employee: one line per ledger
// row, one column per period and a total column, in Shift-JIS with CR LF. The
// figures are read from the year file on disk like the printed ledger.
//
// What the print dialog passes: the ledger (CurData.FileName, the employees of
// the open period, SysOption labels, TimeStyle, TokuSyoyo), the row flags loaded
// at show, the slots of the selected rows of the employee list in list order,
// the file name chosen in the save dialog (preset with LedgerCsvDefaultName; the
// dialog itself must not ask before overwriting) and a Prompter for the question
// and the closing message.
namespace reports {

inline constexpr std::string_view kLedgerCsvSaveTitle = "CSVファイルの出力先を指定";
inline constexpr std::string_view kLedgerCsvFilter = "CSVﾌｧｲﾙ (*.csv)";
inline constexpr std::string_view kCsvOverwriteQuestion =
    "同名のファイルが存在します。上書きしますか？\r\r";
inline constexpr std::string_view kLedgerCsvDone = "社員別給与台帳をCSVファイルに出力しました。";

// The preset of the save dialog: "給与台帳.csv" in the settings folder.
std::filesystem::path LedgerCsvDefaultName(const std::filesystem::path& settingsFolder);

// A name made safe for one file-name component: "/" and control characters
// become "_" (a name could otherwise point into another folder).
std::string SafeFileNamePart(std::string_view utf8);

// The file of one employee: the chosen file's folder, the slot right-aligned in
// three places, the name (blanks trimmed, at most 16 Shift-JIS bytes as the
// employee list shows it), "_" and the chosen file's own name. Slot 5 and
// "…/給与台帳.csv" give "…/  5山田太郎_給与台帳.csv".
std::filesystem::path LedgerCsvFileName(const std::filesystem::path& chosen,
                                        const ledger::Ledger& l, int slot);

// The whole CSV of one employee as Shift-JIS bytes. A label holding "," or '"'
// is quoted (inner quotes doubled) so that it stays one field; every other field
// is written as it is.
std::string LedgerCsvBytes(const ledger::Ledger& l, const LedgerRowFlags& flags,
                           const LedgerYear& year);

// Writes the files of the slots in order. An existing file is overwritten only
// after a Yes to kCsvOverwriteQuestion + its full name; any other answer ends the
// export there (the files already written stay). Each file is written whole or
// not at all. Returns true when every slot was written, after the closing
// message. Throws platform::IoError when the year file cannot be read or a file
// cannot be written: the export stops there, earlier files stay.
bool LedgerCsvExport(const ledger::Ledger& l, const LedgerRowFlags& flags,
                     const std::vector<int>& slots, const std::filesystem::path& chosen,
                     ledger::Prompter& user,
                     const ledger::SavedBlockReader& reader = ledger::fileBlockReader());

}  // namespace reports
