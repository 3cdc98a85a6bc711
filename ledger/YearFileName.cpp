#include "ledger/YearFileName.h"

#include "ledger/Ledger.h"

namespace ledger {

std::string YearFileName(std::string_view era, int eraYear) {
    std::string name(era);
    name += std::to_string(eraYear);
    name += kYearFileSuffix;
    return name;
}

std::string TodayYearFileName(const Clock& clock) {
    EraYear today = eraOf(clock.now());
    return YearFileName(today.era, today.year);
}

std::optional<EraYear> ParseYearFileName(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    std::size_t digits = name.find_first_of("0123456789");
    if (digits == 0 || digits == std::string::npos) return std::nullopt;
    std::size_t end = name.find_first_not_of("0123456789", digits);
    if (end == std::string::npos || end - digits > 4) return std::nullopt;
    if (name.compare(end, std::string_view("年").size(), "年") != 0) return std::nullopt;
    return EraYear{name.substr(0, digits), std::stoi(name.substr(digits, end - digits))};
}

EraYear PreviousYear(const EraYear& open) {
    if (open.year <= 2) {
        auto western = westernYear(open.era, open.year);
        auto before = previousEra(open.era);
        if (western && before) return {*before, *eraYearOf(*before, *western - 1)};
    }
    return {open.era, open.year - 1};
}

std::filesystem::path PrevYearFile(const Ledger& ledger) {
    EraYear prev = PreviousYear({ledger.CurData.Era, ledger.CurData.Year});
    return ledger.dataPath / YearFileName(prev.era, prev.year);
}

std::filesystem::path CarryOverYearFile(const Ledger& ledger) {
    EraYear prev = ledger.CurData.Year <= 1
                       ? PreviousYear({ledger.CurData.Era, ledger.CurData.Year})
                       : EraYear{ledger.CurData.Era, ledger.CurData.Year - 1};
    return ledger.dataPath / YearFileName(prev.era, prev.year);
}

}  // namespace ledger
