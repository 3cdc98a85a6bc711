#include "ledger/SalaryTaxTable.h"

#include <algorithm>
#include <limits>

#include "ledger/Rounding.h"
#include "ledger/TableBytes.h"
#include "platform/Errors.h"

namespace ledger {
namespace {

constexpr std::size_t kRowsAt = 4;
constexpr std::size_t kRowSize = 44;
constexpr std::size_t kKouRate1At = 16724;
constexpr std::size_t kKouRate2At = 16732;
constexpr std::size_t kKouRate3At = 16740;
// 16748 holds a double no rule uses.
constexpr std::size_t kOtsuRateLowAt = 16756;
constexpr std::size_t kOtsuRate1At = 16764;
constexpr std::size_t kOtsuRate2At = 16772;
constexpr std::size_t kKouExtraAt = 16780;
constexpr std::size_t kOtsuDependantAt = 16784;
static_assert(kRowsAt + kRowSize * kSalaryTaxMaxRows == kKouRate1At);
static_assert(kOtsuDependantAt + 4 == kSalaryTaxFileSize);

}  // namespace

std::string DecodeSalaryTaxTable(std::string_view bytes, SalaryTaxTable& out) {
    using namespace tablebytes;
    out = SalaryTaxTable{};
    if (bytes.size() < kSalaryTaxFileSize) return "ファイルが短すぎます";

    const std::int32_t n = int32At(bytes, 0);
    // The formula needs three rows (N−2, N−1, N); more than 380 would run past the rows.
    if (n < 3 || n > kSalaryTaxMaxRows)
        return "行数 " + std::to_string(n) + " が 3〜" + std::to_string(kSalaryTaxMaxRows) +
               " の範囲外です";

    SalaryTaxTable t;
    t.RowCount = n;
    for (int k = 0; k < n; ++k) {
        const std::size_t at = kRowsAt + kRowSize * std::size_t(k);
        SalaryTaxRow& r = t.Rows[std::size_t(k)];
        r.Lower = int32At(bytes, at);
        r.Upper = int32At(bytes, at + 4);
        for (std::size_t i = 0; i < 8; ++i) r.KouTax[i] = int32At(bytes, at + 8 + 4 * i);
        r.OtsuTax = int32At(bytes, at + 40);
    }
    if (!(t.Row(n - 2).Lower < t.Row(n - 1).Lower && t.Row(n - 1).Lower < t.Row(n).Lower))
        return "計算式の開始額（最後の3行の下限）が昇順になっていません";

    t.KouRate1 = doubleAt(bytes, kKouRate1At);
    t.KouRate2 = doubleAt(bytes, kKouRate2At);
    t.KouRate3 = doubleAt(bytes, kKouRate3At);
    t.OtsuRateLow = doubleAt(bytes, kOtsuRateLowAt);
    t.OtsuRate1 = doubleAt(bytes, kOtsuRate1At);
    t.OtsuRate2 = doubleAt(bytes, kOtsuRate2At);
    t.KouExtraDependant = int32At(bytes, kKouExtraAt);
    t.OtsuDependant = int32At(bytes, kOtsuDependantAt);
    out = t;
    return {};
}

std::optional<std::int32_t> SalaryTaxTableEnd(const SalaryTaxTable& table) {
    if (table.RowCount < 3) return std::nullopt;
    const SalaryTaxRow& last = table.Row(table.RowCount);
    if (last.Upper == 0 || last.Upper <= last.Lower ||
        last.Upper == std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return last.Upper;
}

bool BeyondSalaryTaxTable(const SalaryTaxTable& table, std::int32_t amount) {
    const auto end = SalaryTaxTableEnd(table);
    return end && amount >= *end;
}

std::int32_t MonthlyTax(const SalaryTaxTable& table, const SysOption& option, std::int32_t amount,
                        int column, std::int32_t dependants) {
    const int n = table.RowCount;
    if (n < 3 || BeyondSalaryTaxTable(table, amount)) return 0;

    const bool kou = column == kColumnKou;
    const std::int64_t people = std::max<std::int32_t>(dependants, 0);
    const std::size_t i = std::size_t(std::min<std::int64_t>(people, 7));
    const std::int64_t a = amount;
    const std::int64_t l1 = table.Row(1).Lower;
    const SalaryTaxRow& rowA = table.Row(n - 2);
    const SalaryTaxRow& rowB = table.Row(n - 1);
    const SalaryTaxRow& rowC = table.Row(n);
    const std::int64_t A = rowA.Lower, B = rowB.Lower, C = rowC.Lower;

    auto formula = [&](std::int64_t base, double rate, std::int64_t start) {
        return base + RoundDeduction(option, rate, double(a - start));
    };

    std::int64_t tax = 0;
    if (a < l1) {
        tax = kou ? 0 : RoundDeduction(option, table.OtsuRateLow, double(a));
    } else if (A < a && a < B) {
        tax = kou ? formula(rowA.KouTax[i], table.KouRate1, A)
                  : formula(rowA.OtsuTax, table.OtsuRate1, A);
    } else if (B < a && a < C) {
        tax = kou ? formula(rowB.KouTax[i], table.KouRate2, B)
                  : formula(rowB.OtsuTax, table.OtsuRate2, B);
    } else if (a > C) {
        // The 乙 column has only two formula ranges: above C it goes on from B.
        tax = kou ? formula(rowC.KouTax[i], table.KouRate3, C)
                  : formula(rowB.OtsuTax, table.OtsuRate2, B);
    } else {
        // Up to A, and exactly at B or C, the rows hold the amount.
        for (int k = 1; k <= n; ++k) {
            const SalaryTaxRow& r = table.Row(k);
            if (r.Lower <= a && a < r.Upper) {
                tax = kou ? r.KouTax[i] : r.OtsuTax;
                break;
            }
        }
    }

    if (kou) {
        if (people > 7) tax -= (people - 7) * table.KouExtraDependant;
    } else {
        tax -= people * table.OtsuDependant;
    }
    if (tax < 0) return 0;
    if (tax > std::numeric_limits<std::int32_t>::max())
        throw platform::ConvertError("金額が計算できる範囲を超えています。");
    return std::int32_t(tax);
}

}  // namespace ledger
