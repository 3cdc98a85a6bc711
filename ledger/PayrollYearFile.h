#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>

#include "ledger/PayrollRecords.h"

// The yearly pay-data file: a 128-byte header, then fifteen period blocks of
// 95,120 bytes. One period is held in memory (the Ledger); these functions move
// it between memory and the file. Every failure throws platform::IoError with the
// fixed text for its cause; a failed operation leaves memory and file as they were.
namespace ledger {

struct Ledger;

// Byte offset of the block of period index + 1 (index 0..14); any other index
// throws platform::IoError.
std::int64_t PeriodOffset(std::int32_t index);

// Creates a year file of 1,426,928 zero bytes unless one exists under that name,
// and then clears the period in memory. No short file is ever left under the name.
void CreateDataFile(Ledger& ledger, const std::filesystem::path& fileName);

// The 128-byte header of a year file.
TPayrollFileHeader ReadFileHeader(const std::filesystem::path& fileName);
// Reads the header of a year file into ledger.FileHeader.
void LoadFileHeader(Ledger& ledger, const std::filesystem::path& fileName);

// Reads the block of ledger.CurData.Period into memory. Memory changes only when
// the whole block was read: a file too short for it reports a read past the end.
void LoadPeriod(Ledger& ledger, const std::filesystem::path& fileName);

// Writes the header, with the open period marked saved, and the period into the
// existing file, as one atomic replacement of the whole file: the other periods,
// reserved bytes and any bytes past the fifteenth block are kept. ledger.FileHeader
// takes the mark only once the file holds it. A missing file is an error; it is
// never created here.
void SavePeriod(Ledger& ledger, const std::filesystem::path& fileName);

// The stored block of a period (1..15) in a buffer of its own, for readers that
// must not touch the open period (reports, year-to-date sums, the bonus cap).
std::unique_ptr<TPeriodBlock> ReadPeriodBlock(const std::filesystem::path& fileName, int period);

// The first slot (1..80) of a block whose Key has the same length and text as
// the given one, or 0. Slots shift between periods, so employees are never found
// by slot number; an empty Key matches nothing.
int FindSlotByKey(const TPeriodBlock& block, const ShortString<14>& key);

// Reads stored periods and headers; the calculations take one so tests can hand
// in blocks without files.
class SavedBlockReader {
public:
    virtual ~SavedBlockReader() = default;
    virtual std::unique_ptr<TPeriodBlock> read(const std::filesystem::path& fileName,
                                               int period) const = 0;
    virtual TPayrollFileHeader header(const std::filesystem::path& fileName) const = 0;
    // A block only to look at: a reader that keeps the blocks it read hands out
    // the one it keeps instead of a copy of its own.
    virtual std::shared_ptr<const TPeriodBlock> share(const std::filesystem::path& fileName,
                                                      int period) const {
        return read(fileName, period);
    }
};

// Reads the real files.
class FileBlockReader : public SavedBlockReader {
public:
    std::unique_ptr<TPeriodBlock> read(const std::filesystem::path& fileName,
                                       int period) const override;
    TPayrollFileHeader header(const std::filesystem::path& fileName) const override;
};

// A shared reader of the real files (it holds no state).
const SavedBlockReader& fileBlockReader();

}  // namespace ledger
