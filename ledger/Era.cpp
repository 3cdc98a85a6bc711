#include "ledger/Era.h"

#include <array>
#include <ctime>

namespace ledger {
namespace {

struct EraDef {
    const char* name;
    int base;  // western year = base + era year
    int startYear, startMonth, startDay;
};

// Newest first, so the first era whose start is not after a date is its era.
constexpr std::array<EraDef, 5> kEras{{
    {"令和", 2018, 2019, 5, 1},
    {"平成", 1988, 1989, 1, 8},
    {"昭和", 1925, 1926, 12, 25},
    {"大正", 1911, 1912, 7, 30},
    {"明治", 1867, 1868, 1, 25},
}};

const EraDef* find(std::string_view era) {
    for (const auto& e : kEras)
        if (era == e.name) return &e;
    return nullptr;
}

}  // namespace

DateTime SystemClock::now() const {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

EraYear eraOf(const DateTime& d) {
    for (const auto& e : kEras) {
        int key = d.year * 10000 + d.month * 100 + d.day;
        if (key >= e.startYear * 10000 + e.startMonth * 100 + e.startDay)
            return {e.name, d.year - e.base};
    }
    const auto& oldest = kEras.back();
    return {oldest.name, d.year - oldest.base};
}

std::optional<int> westernYear(std::string_view era, int eraYear) {
    if (const EraDef* e = find(era)) return e->base + eraYear;
    return std::nullopt;
}

std::optional<std::string> previousEra(std::string_view era) {
    for (std::size_t i = 0; i + 1 < kEras.size(); ++i)
        if (era == kEras[i].name) return std::string(kEras[i + 1].name);
    return std::nullopt;
}

std::optional<int> eraYearOf(std::string_view era, int western) {
    if (const EraDef* e = find(era)) return western - e->base;
    return std::nullopt;
}

bool isLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12) return 31;
    return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

int heiseiYearNow(const Clock& clock) {
    return clock.now().year - 1988;
}

}  // namespace ledger
