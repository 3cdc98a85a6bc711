#pragma once
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

// The health-insurance grade table "健康保険料額表.dat" (標準報酬月額) as read at
// start-up.
namespace ledger {

inline constexpr const char* kGradeFileName = "健康保険料額表.dat";
inline constexpr std::size_t kGradeFileSize = 972;
inline constexpr int kGradeMaxCount = 80;

// The upper bound written for a range without one (the highest grade, the
// default rows of the bonus table): no int32 amount reaches it.
inline constexpr std::int32_t kNoUpperLimit = std::numeric_limits<std::int32_t>::max();

struct GradeRow {
    std::int32_t Lower = 0;     // monthly pay from (以上), yen
    std::int32_t Upper = 0;     // monthly pay below (未満), yen; kNoUpperLimit for the last
    std::int32_t Standard = 0;  // standard monthly amount (標準報酬月額), yen
};

struct GradeTable {
    std::int32_t Count = 0;           // grades in use; 0 while no file is loaded
    std::int32_t PensionLowest = 0;   // lowest grade used for the pension premium
    std::int32_t PensionHighest = 0;  // highest grade used for the pension premium
    std::array<GradeRow, kGradeMaxCount> Rows{};

    // Grade g, 1..Count.
    const GradeRow& Grade(int g) const { return Rows[std::size_t(g - 1)]; }
};

// Decodes the file's first kGradeFileSize bytes. Returns an empty text when the
// table is usable, else why not, and `out` is then left empty: a grade count
// outside 1..80, or a pension range that is not within the grades in use.
std::string DecodeGradeTable(std::string_view bytes, GradeTable& out);

}  // namespace ledger
