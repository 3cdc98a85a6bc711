#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "ledger/Era.h"

// Names of the yearly pay-data files: era name + era year + "年給与･賞与.dat",
// the year in plain decimal ("令和8年給与･賞与.dat"), in the data folder.
namespace ledger {

struct Ledger;

// The fixed tail of every year-file name.
inline constexpr std::string_view kYearFileSuffix = "年給与･賞与.dat";

// The file name of an era year, e.g. YearFileName("令和", 8) = "令和8年給与･賞与.dat".
std::string YearFileName(std::string_view era, int eraYear);

// The file name of the year of today's date in today's era.
std::string TodayYearFileName(const Clock& clock);

// Era name (the characters before the first digit) and era year (the digits up
// to "年") of a year-file name or path; nothing when the name has neither.
std::optional<EraYear> ParseYearFileName(const std::filesystem::path& file);

// The year before an era year, named as last year's figures are looked up: in the
// same era from era year 3 on; for era years 1 and 2 the previous calendar year in
// the era before (令和2 -> 平成31, 令和1 -> 平成30), since a file of the new era's
// year 1 started part-way through that year under the old era's name.
EraYear PreviousYear(const EraYear& open);

// Last year's file for the calculations that read last year's figures (paid-leave
// remainder carried into January, a January bonus, the bonus yearly cap). The OPEN
// year decides, not today's date.
std::filesystem::path PrevYearFile(const Ledger& ledger);

// Last year's file for the carry-over into January: the same era with the era year
// one less. Only era year 1 reaches into the era before, as no year 0 exists.
std::filesystem::path CarryOverYearFile(const Ledger& ledger);

}  // namespace ledger
