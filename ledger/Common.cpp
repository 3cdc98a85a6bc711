#include "ledger/Common.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/Sjis.h"

namespace ledger {
namespace {

std::string twoWide(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%2d", v);
    return buf;
}

bool validSlot(int slot) {
    return slot >= 1 && slot <= kSlots;
}

// The first n characters of a UTF-8 text and the rest.
std::pair<std::string_view, std::string_view> splitChars(std::string_view s, std::size_t n) {
    std::size_t i = 0;
    for (std::size_t chars = 0; i < s.size() && chars < n; ++chars) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    }
    return {s.substr(0, i), s.substr(i)};
}

}  // namespace

bool IsSJISLead(unsigned char byte) {
    return sjis::isLead(byte);
}

bool SameBytes(const void* a, const void* b, int n) {
    return n <= 0 || std::memcmp(a, b, std::size_t(n)) == 0;
}

void FillBytes(void* buffer, unsigned char value, int n) {
    if (n > 0) std::memset(buffer, value, std::size_t(n));
}

bool IsActive(const Ledger& ledger, int slot) {
    return validSlot(slot) && ledger.Employee(slot).Status == 1;
}

bool IsRetired(const Ledger& ledger, int slot) {
    return validSlot(slot) && ledger.Employee(slot).Status == 3;
}

std::string EmployeeKindText(const Ledger& ledger, int slot) {
    if (!validSlot(slot)) return {};
    const TEmployeeRec& e = ledger.Employee(slot);
    if (e.Kind >= 1 && e.Kind <= kEmployeeKinds.size())
        return std::string(kEmployeeKinds[e.Kind - 1u]);
    return e.KindText.str();
}

std::int64_t MyNumberFromText(std::string_view text) {
    auto [head, rest] = splitChars(text, 6);
    auto [tail, ignored] = splitChars(rest, 6);
    (void)ignored;
    std::int32_t high = StrToIntDef0(head);
    std::int32_t low = StrToIntDef0(tail);
    // Each half is at most six digits, so the value always fits; a sign would
    // turn the number into nonsense.
    if (high < 0 || low < 0 || high > 999999 || low > 999999) throw notANumber(text);
    return std::int64_t(high) * 1000000 + low;
}

PayDate PayDateParts(const Ledger& ledger) {
    int year = ledger.CurData.Year;
    int month = ledger.CurData.Period;
    if (ledger.BasicInfo().PayNextMonth == 1 && ++month > 12) {
        month = 1;
        ++year;
    }
    int western = westernYear(ledger.CurData.Era, year).value_or(year + 1988);
    int day = ledger.BasicInfo().PayDay;
    // A day the month does not have (31 in April, 30 in February) is its last day.
    if (month >= 1 && month <= 12) day = std::min(day, daysInMonth(western, month));
    return {twoWide(year), twoWide(month), twoWide(day)};
}

bool IsNoCalcYear(const Ledger& ledger) {
    return ledger.clock.now().year > 2012 && ledger.CurData.Era == "平成" &&
           ledger.CurData.Year >= 16 && ledger.CurData.Year <= 24;
}

}  // namespace ledger
