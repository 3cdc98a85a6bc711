#include "withholding/WithholdingRecords.h"

#include <string>
#include <string_view>

#include "ledger/YearFileName.h"

namespace withholding {

namespace {
constexpr std::string_view kWithholdingPrefix = "源泉徴収(";
constexpr std::string_view kHeisei = "平成";
}  // namespace

bool IsNewLayoutYear(const std::filesystem::path& fileName) {
    std::string name = fileName.filename().string();
    if (name.starts_with(kWithholdingPrefix)) name.erase(0, kWithholdingPrefix.size());
    if (!name.starts_with(kHeisei)) return true;
    // The old layout belongs to 平成27 and earlier, one-digit years included; a
    // 平成 name without a readable year is never written by either program and is
    // taken as old rather than guessed new.
    auto year = ledger::ParseYearFileName(name);
    return year && year->era == kHeisei && year->year > 27;
}

}  // namespace withholding
