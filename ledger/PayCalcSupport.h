#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ledger/PayrollYearFile.h"
#include "ledger/SysOption.h"

// Small pieces the salary and the bonus calculation share.
namespace ledger::paycalc {

// Positions of the free items in SysOption::freeLabels (three each); the first
// twelve are also their positions in the Kazei and Syaho strings.
inline constexpr int kFreeFixedPay = 0;  // 固定手当１-３
inline constexpr int kFreeVarPay = 3;    // 変動手当１-３
inline constexpr int kFreeFixedDed = 6;  // 固定控除１-３
inline constexpr int kFreeVarDed = 9;    // 変動控除１-３
inline constexpr int kFreeOther = 12;    // その他１-３

// A total of int32 amounts, summed wide so that no sum wraps; storing it refuses
// a total outside the int32 range with the rounding helpers' message.
std::int32_t checkedAmount(std::int64_t total);

// The flag of a record amount (manual flag k belongs to amount k − 1).
inline bool isManual(const std::uint8_t* flags, int amountIndex) {
    return flags[amountIndex] != 0;
}

// An item code's label as the user sees it: ItemLabel without its F/V prefix.
std::string shownLabel(const SysOption& option, std::string_view code);

// The stored block of a period, or nothing when the file is not there. Other
// read failures (a short file, no permission) reach the caller.
std::shared_ptr<const TPeriodBlock> readBlockIfExists(const SavedBlockReader& reader,
                                                      const std::filesystem::path& file,
                                                      int period);
std::optional<TPayrollFileHeader> readHeaderIfExists(const SavedBlockReader& reader,
                                                     const std::filesystem::path& file);

// A bonus payment month as the calculation takes it: 1..12, anything else 0
// (no month), so that no month ever leads to a read outside the file.
inline int bonusMonth(std::int32_t stored) {
    return stored >= 1 && stored <= 12 ? stored : 0;
}

}  // namespace ledger::paycalc
