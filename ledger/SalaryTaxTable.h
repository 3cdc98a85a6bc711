#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ledger/SysOption.h"

// The monthly withholding-tax table "税額表(給与).dat" as read at start-up, and its
// look-up.
namespace ledger {

inline constexpr const char* kSalaryTaxFileName = "税額表(給与).dat";
inline constexpr std::size_t kSalaryTaxFileSize = 16788;
inline constexpr int kSalaryTaxMaxRows = 380;

// Tax columns of an employee: 甲欄 and 乙欄.
inline constexpr int kColumnKou = 0;
inline constexpr int kColumnOtsu = 1;

struct SalaryTaxRow {
    std::int32_t Lower = 0;                // from (以上)
    std::int32_t Upper = 0;                // below (未満)
    std::array<std::int32_t, 8> KouTax{};  // 甲欄 for 0..7 dependants
    std::int32_t OtsuTax = 0;              // 乙欄
};

// Above the table rows the tax follows a formula: the last three rows in use
// (N−2, N−1, N) are the starts of its ranges, each carrying the tax at its start.
struct SalaryTaxTable {
    std::int32_t RowCount = 0;  // 0 while no file is loaded
    std::array<SalaryTaxRow, kSalaryTaxMaxRows> Rows{};
    double KouRate1 = 0;                 // 甲 above row N−2's Lower
    double KouRate2 = 0;                 // 甲 above row N−1's Lower
    double KouRate3 = 0;                 // 甲 above row N's Lower
    double OtsuRateLow = 0;              // 乙 on the whole amount below row 1's Lower
    double OtsuRate1 = 0;                // 乙 above row N−2's Lower
    double OtsuRate2 = 0;                // 乙 above row N−1's Lower (also above row N)
    std::int32_t KouExtraDependant = 0;  // 甲: off per dependant beyond 7
    std::int32_t OtsuDependant = 0;      // 乙: off per dependant

    // Row k, 1-based as in the file.
    const SalaryTaxRow& Row(int k) const { return Rows[std::size_t(k - 1)]; }
};

// Decodes the file's first kSalaryTaxFileSize bytes. Returns an empty text when
// the table is usable, else why it is not (and `out` is left empty): a row count
// outside 3..380, or formula starts that do not ascend.
std::string DecodeSalaryTaxTable(std::string_view bytes, SalaryTaxTable& out);

// Where the file's ranges end: row N's Upper, when it marks an end (above row
// N's Lower, and neither 0 nor the int32 maximum, which leave the last range
// open). The file holds three formula ranges only; beyond them the official
// table goes on with ranges it cannot hold, so there the tax must be typed.
std::optional<std::int32_t> SalaryTaxTableEnd(const SalaryTaxTable& table);
bool BeyondSalaryTaxTable(const SalaryTaxTable& table, std::int32_t amount);

// The withheld income tax of a month's pay after social insurance, for column
// kColumnKou or kColumnOtsu (any other value counts as 乙) and a number of
// dependants (a negative count is taken as 0). Rounds with the settings'
// deduction rounding. Computes from the table in memory; a table that was never
// loaded, or an amount beyond the table, gives 0. Never negative.
std::int32_t MonthlyTax(const SalaryTaxTable& table, const SysOption& option, std::int32_t amount,
                        int column, std::int32_t dependants);

}  // namespace ledger
