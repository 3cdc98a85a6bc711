#include "ledger/BonusTaxTable.h"

#include <algorithm>

#include "ledger/Rounding.h"
#include "ledger/SalaryTaxTable.h"
#include "ledger/TableBytes.h"

namespace ledger {
namespace {

constexpr std::size_t kKouRowsAt = 4;
constexpr std::size_t kKouRowSize = 72;
constexpr std::size_t kOtsuCountAt = 1732;
constexpr std::size_t kOtsuRowsAt = 1736;
constexpr std::size_t kOtsuRowSize = 12;
static_assert(kKouRowsAt + kKouRowSize * kBonusKouMaxRows == kOtsuCountAt);
static_assert(kOtsuRowsAt + kOtsuRowSize * kBonusOtsuMaxRows == kBonusTaxFileSize);

}  // namespace

std::string DecodeBonusTaxTable(std::string_view bytes, BonusTaxTable& out) {
    using namespace tablebytes;
    out = BonusTaxTable{};
    if (bytes.size() < kBonusTaxFileSize) return "ファイルが短すぎます";

    BonusTaxTable t;
    t.KouRowCount = int32At(bytes, 0);
    t.OtsuRowCount = int32At(bytes, kOtsuCountAt);
    // Without a row there is no default rate; beyond the maximum the rows would
    // run into the next part of the file.
    if (t.KouRowCount < 1 || t.KouRowCount > kBonusKouMaxRows)
        return "甲欄の行数 " + std::to_string(t.KouRowCount) + " が 1〜" +
               std::to_string(kBonusKouMaxRows) + " の範囲外です";
    if (t.OtsuRowCount < 1 || t.OtsuRowCount > kBonusOtsuMaxRows)
        return "乙欄の行数 " + std::to_string(t.OtsuRowCount) + " が 1〜" +
               std::to_string(kBonusOtsuMaxRows) + " の範囲外です";

    for (int i = 0; i < t.KouRowCount; ++i) {
        const std::size_t at = kKouRowsAt + kKouRowSize * std::size_t(i);
        BonusKouRow& r = t.KouRows[std::size_t(i)];
        r.Rate = doubleAt(bytes, at);
        for (std::size_t c = 0; c < 8; ++c) {
            r.Lower[c] = int32At(bytes, at + 8 + 8 * c);
            r.Upper[c] = int32At(bytes, at + 12 + 8 * c);
        }
    }
    for (int i = 0; i < t.OtsuRowCount; ++i) {
        const std::size_t at = kOtsuRowsAt + kOtsuRowSize * std::size_t(i);
        t.OtsuRows[std::size_t(i)].Rate = doubleAt(bytes, at);
        t.OtsuRows[std::size_t(i)].Upper = int32At(bytes, at + 8);
    }
    out = t;
    return {};
}

std::int32_t BonusTax(const BonusTaxTable& table, const SysOption& option, std::int32_t prev,
                      std::int32_t amount, std::int32_t dependants, int column) {
    if (table.KouRowCount < 1 || table.OtsuRowCount < 1) return 0;

    double rate;
    if (column != kColumnKou) {
        const int k = table.OtsuRowCount;
        rate = table.OtsuRows[std::size_t(k - 1)].Rate;
        for (int i = 0; i < k - 1; ++i) {
            if (prev < table.OtsuRows[std::size_t(i)].Upper) {
                rate = table.OtsuRows[std::size_t(i)].Rate;
                break;
            }
        }
    } else {
        const std::size_t c = std::size_t(std::clamp<std::int32_t>(dependants, 0, 7));
        const int m = table.KouRowCount;
        rate = table.KouRows[std::size_t(m - 1)].Rate;
        for (int i = 0; i < m - 1; ++i) {
            const BonusKouRow& r = table.KouRows[std::size_t(i)];
            if (r.Lower[c] <= prev && prev < r.Upper[c]) {
                rate = r.Rate;
                break;
            }
        }
    }
    return std::max(RoundDeduction(option, rate, amount), 0);
}

}  // namespace ledger
