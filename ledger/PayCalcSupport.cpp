#include "ledger/PayCalcSupport.h"

#include <cerrno>
#include <limits>

#include "ledger/ItemLabel.h"
#include "platform/Errors.h"

namespace ledger::paycalc {

std::int32_t checkedAmount(std::int64_t total) {
    if (total < std::numeric_limits<std::int32_t>::min() ||
        total > std::numeric_limits<std::int32_t>::max())
        throw platform::ConvertError("金額が計算できる範囲を超えています。");
    return static_cast<std::int32_t>(total);
}

std::string shownLabel(const SysOption& option, std::string_view code) {
    std::string label = ItemLabel(code, option);
    // The prefix is one ASCII letter.
    return label.empty() ? label : label.substr(1);
}

namespace {
bool isMissingFile(const platform::IoError& e) {
    return e.code() == ENOENT || e.code() == ENOTDIR;
}
}  // namespace

std::shared_ptr<const TPeriodBlock> readBlockIfExists(const SavedBlockReader& reader,
                                                      const std::filesystem::path& file,
                                                      int period) {
    try {
        return reader.share(file, period);
    } catch (const platform::IoError& e) {
        if (isMissingFile(e)) return nullptr;
        throw;
    }
}

std::optional<TPayrollFileHeader> readHeaderIfExists(const SavedBlockReader& reader,
                                                     const std::filesystem::path& file) {
    try {
        return reader.header(file);
    } catch (const platform::IoError& e) {
        if (isMissingFile(e)) return std::nullopt;
        throw;
    }
}

}  // namespace ledger::paycalc
