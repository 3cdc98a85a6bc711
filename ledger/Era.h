#pragma once
#include <optional>
#include <string>
#include <string_view>

// Japanese eras, western years and "today". The programs run in 令和 while many
// rules were first written for 平成; this module is the one place that turns an
// era year into a western year, so leap years and month lengths are right in
// every era.
namespace ledger {

struct DateTime {
    int year = 2000;  // western
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Where "now" comes from; tests hand in a fixed clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
};

// Local time of the machine.
class SystemClock : public Clock {
public:
    DateTime now() const override;
};

class FixedClock : public Clock {
public:
    explicit FixedClock(DateTime t) : t_(t) {}
    DateTime now() const override { return t_; }
    void set(DateTime t) { t_ = t; }

private:
    DateTime t_;
};

struct EraYear {
    std::string era;  // "令和"
    int year = 0;     // era year, 1..
};

// The era of a date: 令和 from 2019-05-01, 平成 from 1989-01-08 and so on.
EraYear eraOf(const DateTime& d);

// Western year of an era year (era base + era year), or nothing for an unknown
// era name. 明治 1867, 大正 1911, 昭和 1925, 平成 1988, 令和 2018.
std::optional<int> westernYear(std::string_view era, int eraYear);

// The era that came before the named one (平成 before 令和), or nothing.
std::optional<std::string> previousEra(std::string_view era);

// The era year of a western year in the named era (western − base).
std::optional<int> eraYearOf(std::string_view era, int westernYear);

bool isLeapYear(int westernYear);
int daysInMonth(int westernYear, int month);

// Today's calendar year − 1988.
int heiseiYearNow(const Clock& clock);

}  // namespace ledger
