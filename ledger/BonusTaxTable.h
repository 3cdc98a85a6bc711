#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "ledger/SysOption.h"

// The bonus withholding-tax rate table "税額表(賞与).dat" as read at start-up, and
// its look-up. The rate is chosen by the previous month's pay after social
// insurance and applied to the bonus.
namespace ledger {

inline constexpr const char* kBonusTaxFileName = "税額表(賞与).dat";
inline constexpr std::size_t kBonusTaxFileSize = 1856;
inline constexpr int kBonusKouMaxRows = 24;
inline constexpr int kBonusOtsuMaxRows = 10;

struct BonusKouRow {
    double Rate = 0;
    std::array<std::int32_t, 8> Lower{};  // for 0..7 dependants: from (以上)
    std::array<std::int32_t, 8> Upper{};  // below (未満)
};

struct BonusOtsuRow {
    double Rate = 0;
    std::int32_t Upper = 0;  // below (未満)
};

// The last row in use of each column is the default, taken when no earlier
// row's range holds the amount.
struct BonusTaxTable {
    std::int32_t KouRowCount = 0;  // 0 while no file is loaded
    std::array<BonusKouRow, kBonusKouMaxRows> KouRows{};
    std::int32_t OtsuRowCount = 0;
    std::array<BonusOtsuRow, kBonusOtsuMaxRows> OtsuRows{};
};

// Decodes the file's first kBonusTaxFileSize bytes. Returns an empty text when
// the table is usable, else why not (row counts outside 1..24 and 1..10), and
// `out` is then left empty.
std::string DecodeBonusTaxTable(std::string_view bytes, BonusTaxTable& out);

// The withheld income tax of a bonus: the rate found by the previous month's pay
// after social insurance (`prev`), times the bonus after social insurance
// (`amount`), rounded with the settings' deduction rounding. 甲 uses the ranges
// of the dependant count (more than 7 use those of 7, a negative count those of
// 0); 乙 (any column but kColumnKou) only the previous month's pay. A table that
// was never loaded gives 0; the result is never negative.
std::int32_t BonusTax(const BonusTaxTable& table, const SysOption& option, std::int32_t prev,
                      std::int32_t amount, std::int32_t dependants, int column);

}  // namespace ledger
