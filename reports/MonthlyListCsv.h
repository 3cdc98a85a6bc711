#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "ledger/Ledger.h"
#include "reports/LedgerCsv.h"  // kCsvOverwriteQuestion, shared by both exports
#include "reports/LedgerRows.h"
#include "reports/MonthlyList.h"

// The monthly list as a CSV file: one line per active employee of the period
// held in memory with the list's columns, grouped as the printed list, and a
// totals line per group. Shift-JIS, CR LF, no byte-order mark; the header ends
// with a comma, the other lines do not.
//
// What the print dialog passes (its "CSV書き出し" button for the monthly list):
// the period of its Tag, the grouping of its buttons, the row flags it read at
// show, the settings folder for the default name, and the prompts (save dialog,
// overwrite question, completion box) through CsvExportPrompts.
namespace reports {

// "令和8年･4月分給与", "令和8年･夏期賞与", "令和8年･冬季賞与", "令和8年･" + the
// third bonus's name.
std::string MonthlyCsvTitle(const ledger::Ledger& l, int period);
// The settings folder + title + "一覧.csv"; a "/" or control character of the
// title becomes "_", so the name never points into another folder.
std::filesystem::path MonthlyCsvDefaultPath(const ledger::Ledger& l, int period,
                                            const std::filesystem::path& settingsDir);

// The whole file as UTF-8 text with CR LF line ends. A field holding a comma, a
// double quote or a line break is quoted (inner quotes doubled) so it cannot
// shift the columns; every other field is written as it stands.
std::string MonthlyCsvText(const ledger::Ledger& l, const LedgerRowFlags& flags,
                           MonthlyGrouping grouping);

// Writes the file whole in Shift-JIS (platform::writeFileAtomic): a failure
// throws platform::IoError and leaves any earlier file as it was; a text with
// no Shift-JIS form throws platform::ConvertError before anything is written.
void WriteMonthlyCsv(const std::filesystem::path& file, const ledger::Ledger& l,
                     const LedgerRowFlags& flags, MonthlyGrouping grouping);

inline constexpr std::string_view kCsvSaveTitle = "CSVファイルの出力先を指定";
inline constexpr std::string_view kCsvFilter = "CSVﾌｧｲﾙ (*.csv)";
inline constexpr std::string_view kMonthlyCsvDone =
    "月別給与/賞与一覧をCSVファイルに出力しました。";

// The user's side of an export.
class CsvExportPrompts {
public:
    virtual ~CsvExportPrompts() = default;
    // The save dialog with its default file; nothing when cancelled.
    virtual std::optional<std::filesystem::path> chooseFile(
        const std::filesystem::path& defaultFile) = 0;
    // A Yes/No confirmation; true for Yes.
    virtual bool confirm(const std::string& question) = 0;
    virtual void inform(const std::string& message) = 0;
};

// The whole export: choose the file, ask before replacing one, write, report.
// Returns whether a file was written. Write failures throw as WriteMonthlyCsv.
bool ExportMonthlyCsv(const ledger::Ledger& l, int period, MonthlyGrouping grouping,
                      const LedgerRowFlags& flags, const std::filesystem::path& settingsDir,
                      CsvExportPrompts& prompts);

}  // namespace reports
