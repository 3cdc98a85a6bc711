#pragma once
#include <filesystem>
#include <memory>
#include <string_view>

#include "withholding/WithholdingRecords.h"

namespace ledger {
struct Ledger;
}

// The year-end program's own file of one year: "源泉徴収(令和8年).dat" in the data
// folder, the header and 80 records of the layout its name calls for. It is read and
// written whole; a missing, short or wrongly sized file is reported by
// platform::IoError and never read past its end.
namespace withholding {

// The message after a save, shown in the short notice window.
inline constexpr std::string_view kSavedNotice = "データファイルに保存しました。";
// The question on closing with unsaved changes (Yes, No, Cancel).
inline constexpr std::string_view kAskSaveText = "データが変更されています。保存しますか？";

// The header and both record tables in memory. Which table is live follows
// IsNewLayoutYear of the open year's file; only that one is read and written.
struct WithholdingData {
    WithholdingData();
    WithholdingData(const WithholdingData& o);
    WithholdingData& operator=(const WithholdingData& o);
    WithholdingData(WithholdingData&&) noexcept = default;
    WithholdingData& operator=(WithholdingData&&) noexcept = default;

    TWithholdingHeader Header{};
    std::unique_ptr<TWithholdingRec[]> Records;        // kRecords, new layout
    std::unique_ptr<TWithholdingRecOld[]> OldRecords;  // kRecords, old layout

    // Slots are 1-based as everywhere in the programs.
    TWithholdingRec& Record(int slot) { return Records[slot - 1]; }
    const TWithholdingRec& Record(int slot) const { return Records[slot - 1]; }
    TWithholdingRecOld& OldRecord(int slot) { return OldRecords[slot - 1]; }
    const TWithholdingRecOld& OldRecord(int slot) const { return OldRecords[slot - 1]; }

    // Zeroes the header and both tables.
    void clear();
};

// The full name of the withholding file of an era year:
// dataPath / "源泉徴収(" + era + year + "年).dat", the year in plain decimal.
std::filesystem::path WithholdingFileName(const std::filesystem::path& dataPath,
                                          std::string_view era, int year);
// The file of an era year in the open pay data's era and data folder.
std::filesystem::path WithholdingFileName(const ledger::Ledger& ledger, int year);
// The open year's file (WithholdingPath).
std::filesystem::path WithholdingPath(const ledger::Ledger& ledger);

// The size the file's name calls for: 120,300 or 40,300 bytes.
std::int64_t WithholdingFileSize(const std::filesystem::path& file);

// Reads the header and the live table of a file into data; the other table is left
// as it is. data changes only when the whole file was read and had the right size.
void ReadWithholdingFile(const std::filesystem::path& file, WithholdingData& data);

// Writes the header and the live table as one atomic replacement of the file; on
// failure the file on disk stays as it was.
void SaveWithholdingFile(const std::filesystem::path& file, const WithholdingData& data);

// The main window's save of the open year (WithholdingPath): in a new-layout year
// every record first takes the Key of its December employee and the header the
// mark of a keyed file (EmployeeKeys), so that loading finds each record's owner
// again wherever the payroll program has moved them.
void SaveYearData(const ledger::Ledger& ledger, WithholdingData& data);

// Whether the header or the live table differs from the file on disk, or from all
// zero bytes when there is no file (a freshly loaded year counts as changed). A file
// that cannot be read or has the wrong size counts as changed, so that closing asks.
bool WithholdingChanged(const std::filesystem::path& file, const WithholdingData& data);

}  // namespace withholding
