#include "ledger/GradeTable.h"

#include "ledger/TableBytes.h"

namespace ledger {

std::string DecodeGradeTable(std::string_view bytes, GradeTable& out) {
    using namespace tablebytes;
    static_assert(12 * (kGradeMaxCount + 1) == kGradeFileSize);
    out = GradeTable{};
    if (bytes.size() < kGradeFileSize) return "ファイルが短すぎます";

    GradeTable t;
    t.Count = int32At(bytes, 0);
    t.PensionLowest = int32At(bytes, 4);
    t.PensionHighest = int32At(bytes, 8);
    if (t.Count < 1 || t.Count > kGradeMaxCount)
        return "等級数 " + std::to_string(t.Count) + " が 1〜" + std::to_string(kGradeMaxCount) +
               " の範囲外です";
    // The pension premium is taken from the row of a grade in this range, which
    // must be a row in use.
    if (!(1 <= t.PensionLowest && t.PensionLowest <= t.PensionHighest &&
          t.PensionHighest <= t.Count))
        return "厚生年金の等級範囲 " + std::to_string(t.PensionLowest) + "〜" +
               std::to_string(t.PensionHighest) + " が等級 1〜" + std::to_string(t.Count) +
               " の内にありません";

    for (int g = 1; g <= t.Count; ++g) {
        const std::size_t at = 12 * std::size_t(g);
        GradeRow& r = t.Rows[std::size_t(g - 1)];
        r.Lower = int32At(bytes, at);
        r.Upper = int32At(bytes, at + 4);
        r.Standard = int32At(bytes, at + 8);
    }
    out = t;
    return {};
}

}  // namespace ledger
