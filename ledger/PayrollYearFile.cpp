#include "ledger/PayrollYearFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "ledger/Ledger.h"
#include "platform/Errors.h"
#include "platform/Files.h"

namespace ledger {
namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kBlockSize = sizeof(TPeriodBlock);
constexpr std::int64_t kHeaderSize = sizeof(TPayrollFileHeader);

// Reads exactly size bytes at offset; a file that ends before them is reported,
// and nothing past its end is ever used.
void readAt(const fs::path& file, std::int64_t offset, void* dst, std::size_t size) {
    int fd = platform::openForReading(file);
    auto* p = static_cast<char*>(dst);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::pread(fd, p + done, size - done, off_t(offset + std::int64_t(done)));
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            throw platform::IoError::fromErrno(err);
        }
        if (n == 0) {
            ::close(fd);
            throw platform::IoError::pastEnd();
        }
        done += std::size_t(n);
    }
    if (::close(fd) != 0) throw platform::IoError::fromErrno(errno);
}

int checkedPeriod(int period) {
    PeriodOffset(period - 1);  // throws for anything but 1..15
    return period;
}

}  // namespace

std::int64_t PeriodOffset(std::int32_t index) {
    std::int64_t product = 0;
    if (index < 0 || index >= kPeriods ||
        __builtin_mul_overflow(std::int64_t(index), kBlockSize, &product))
        throw platform::IoError::fromErrno(EINVAL);
    return kHeaderSize + product;
}

void CreateDataFile(Ledger& ledger, const fs::path& fileName) {
    // A dangling link or a pipe under the name is reported, never replaced.
    if (platform::regularFileExists(fileName)) return;
    platform::writeFileAtomic(fileName, std::string(std::size_t(kYearFileSize), '\0'));
    ledger.clearPeriod();
}

TPayrollFileHeader ReadFileHeader(const fs::path& fileName) {
    TPayrollFileHeader h;
    readAt(fileName, 0, &h, sizeof h);
    return h;
}

void LoadFileHeader(Ledger& ledger, const fs::path& fileName) {
    ledger.FileHeader = ReadFileHeader(fileName);
}

std::unique_ptr<TPeriodBlock> ReadPeriodBlock(const fs::path& fileName, int period) {
    std::int64_t offset = PeriodOffset(period - 1);
    auto block = std::make_unique<TPeriodBlock>();
    readAt(fileName, offset, block.get(), sizeof(TPeriodBlock));
    return block;
}

void LoadPeriod(Ledger& ledger, const fs::path& fileName) {
    auto block = ReadPeriodBlock(fileName, ledger.CurData.Period);
    // Copied into the existing block: dialogs may hold references into it.
    std::memcpy(static_cast<void*>(ledger.block.get()), block.get(), sizeof(TPeriodBlock));
}

void SavePeriod(Ledger& ledger, const fs::path& fileName) {
    const int period = checkedPeriod(ledger.CurData.Period);
    const std::int64_t offset = PeriodOffset(period - 1);
    // Marked saved in memory only once the file says so, so that a failed save
    // leaves memory agreeing with the file.
    TPayrollFileHeader header = ledger.FileHeader;
    header.PeriodSaved[period - 1] = 1;
    // A file cut short (by a copy that failed, say) is made whole again with the
    // zero bytes a fresh file holds; what it still had stays as it was. Bytes past
    // the fifteenth block are carried over unread, however many there are.
    platform::writeFilePartsAtomic(
        fileName, kYearFileSize,
        {{0, {reinterpret_cast<const char*>(&header), sizeof header}},
         {offset, {reinterpret_cast<const char*>(ledger.block.get()), sizeof(TPeriodBlock)}}});
    ledger.FileHeader = header;
}

int FindSlotByKey(const TPeriodBlock& block, const ShortString<14>& key) {
    if (key.empty()) return 0;
    for (int k = 0; k < kSlots; ++k)
        if (block.EmployeeTbl[k].Key.sameText(key)) return k + 1;
    return 0;
}

std::unique_ptr<TPeriodBlock> FileBlockReader::read(const fs::path& fileName, int period) const {
    return ReadPeriodBlock(fileName, period);
}

TPayrollFileHeader FileBlockReader::header(const fs::path& fileName) const {
    return ReadFileHeader(fileName);
}

const SavedBlockReader& fileBlockReader() {
    static const FileBlockReader reader;
    return reader;
}

}  // namespace ledger
