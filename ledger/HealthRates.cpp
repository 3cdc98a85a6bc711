#include "ledger/HealthRates.h"

#include <charconv>

#include "platform/Files.h"
#include "platform/Sjis.h"

namespace ledger {
namespace {

constexpr std::size_t kRateStart = 10;
constexpr std::size_t kRateLength = 5;

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<double> ParseHealthRateLine(std::string_view line) {
    if (line.size() < kRateStart + kRateLength) return std::nullopt;
    // Anything after the rate but blanks means the line is not laid out as expected.
    if (!trimBlanks(line.substr(kRateStart + kRateLength)).empty()) return std::nullopt;
    std::string_view field = trimBlanks(line.substr(kRateStart, kRateLength));
    // Digits, one point, digits: nothing else is a rate.
    std::size_t point = field.find('.');
    if (point == std::string_view::npos || point == 0 || point == field.size() - 1)
        return std::nullopt;
    for (std::size_t i = 0; i < field.size(); ++i)
        if (!isDigit(field[i]) && i != point) return std::nullopt;
    double v = 0;
    auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
    if (ec != std::errc() || end != field.data() + field.size() || v <= 0) return std::nullopt;
    return v;
}

std::vector<HealthRateLine> ReadHealthRates(const std::filesystem::path& file) {
    std::vector<HealthRateLine> out;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return out;
    std::string bytes = platform::readFile(file);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t eol = bytes.find('\n', pos);
        if (eol == std::string::npos) eol = bytes.size();
        std::string_view line(bytes.data() + pos, eol - pos);
        pos = eol + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        auto rate = ParseHealthRateLine(line);
        if (!rate) continue;
        out.push_back({sjis::toUtf8(line) + "%", *rate});
    }
    return out;
}

}  // namespace ledger
