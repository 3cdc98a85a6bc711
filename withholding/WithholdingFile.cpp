#include "withholding/WithholdingFile.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "ledger/Ledger.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "withholding/EmployeeKeys.h"

namespace withholding {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kHeaderBytes = sizeof(TWithholdingHeader);
constexpr std::size_t kNewTableBytes = std::size_t(kRecords) * sizeof(TWithholdingRec);
constexpr std::size_t kOldTableBytes = std::size_t(kRecords) * sizeof(TWithholdingRecOld);

// The whole file, checked against the size its layout needs. A short file is a read
// past the end; a longer one is refused too, since it can only be a file of the
// other layout or a damaged one, and reading its first bytes would pass off foreign
// bytes as records (and a later save would cut the rest away).
std::string readChecked(const fs::path& file) {
    std::string bytes = platform::readFile(file);
    auto need = std::size_t(WithholdingFileSize(file));
    if (bytes.size() < need) throw platform::IoError::pastEnd();
    if (bytes.size() > need)
        throw platform::IoError(
            EINVAL, "ファイルのサイズが正しくありません (" + file.filename().string() + ")");
    return bytes;
}

}  // namespace

WithholdingData::WithholdingData()
    : Records(std::make_unique<TWithholdingRec[]>(kRecords)),
      OldRecords(std::make_unique<TWithholdingRecOld[]>(kRecords)) {
    clear();
}

WithholdingData::WithholdingData(const WithholdingData& o) : WithholdingData() {
    *this = o;
}

WithholdingData& WithholdingData::operator=(const WithholdingData& o) {
    if (this == &o) return *this;
    if (!Records) Records = std::make_unique<TWithholdingRec[]>(kRecords);
    if (!OldRecords) OldRecords = std::make_unique<TWithholdingRecOld[]>(kRecords);
    Header = o.Header;
    std::memcpy(static_cast<void*>(Records.get()), o.Records.get(), kNewTableBytes);
    std::memcpy(static_cast<void*>(OldRecords.get()), o.OldRecords.get(), kOldTableBytes);
    return *this;
}

void WithholdingData::clear() {
    std::memset(static_cast<void*>(&Header), 0, kHeaderBytes);
    std::memset(static_cast<void*>(Records.get()), 0, kNewTableBytes);
    std::memset(static_cast<void*>(OldRecords.get()), 0, kOldTableBytes);
}

fs::path WithholdingFileName(const fs::path& dataPath, std::string_view era, int year) {
    std::string name = "源泉徴収(";
    name += era;
    name += std::to_string(year);
    name += "年).dat";
    return dataPath / name;
}

fs::path WithholdingFileName(const ledger::Ledger& ledger, int year) {
    return WithholdingFileName(ledger.dataPath, ledger.CurData.Era, year);
}

fs::path WithholdingPath(const ledger::Ledger& ledger) {
    return WithholdingFileName(ledger, ledger.CurData.Year);
}

std::int64_t WithholdingFileSize(const fs::path& file) {
    return IsNewLayoutYear(file) ? kWithholdingFileSizeNew : kWithholdingFileSizeOld;
}

void ReadWithholdingFile(const fs::path& file, WithholdingData& data) {
    std::string bytes = readChecked(file);
    std::memcpy(static_cast<void*>(&data.Header), bytes.data(), kHeaderBytes);
    if (IsNewLayoutYear(file))
        std::memcpy(static_cast<void*>(data.Records.get()), bytes.data() + kHeaderBytes,
                    kNewTableBytes);
    else
        std::memcpy(static_cast<void*>(data.OldRecords.get()), bytes.data() + kHeaderBytes,
                    kOldTableBytes);
}

namespace {

// The bytes a save writes: the header, then the live table.
std::string fileImage(const fs::path& file, const WithholdingData& data) {
    std::string bytes(reinterpret_cast<const char*>(&data.Header), kHeaderBytes);
    if (IsNewLayoutYear(file))
        bytes.append(reinterpret_cast<const char*>(data.Records.get()), kNewTableBytes);
    else
        bytes.append(reinterpret_cast<const char*>(data.OldRecords.get()), kOldTableBytes);
    return bytes;
}

}  // namespace

void SaveWithholdingFile(const fs::path& file, const WithholdingData& data) {
    platform::writeFileAtomic(file, fileImage(file, data));
}

void SaveYearData(const ledger::Ledger& ledger, WithholdingData& data) {
    const fs::path file = WithholdingPath(ledger);
    if (IsNewLayoutYear(file)) StoreEmployeeKeys(data, *ledger.block);
    SaveWithholdingFile(file, data);
}

bool WithholdingChanged(const fs::path& file, const WithholdingData& data) {
    std::string memory = fileImage(file, data);
    std::error_code ec;
    if (!fs::exists(file, ec)) return memory.find_first_not_of('\0') != std::string::npos;
    try {
        return readChecked(file) != memory;
    } catch (const platform::IoError&) {
        return true;
    }
}

}  // namespace withholding
