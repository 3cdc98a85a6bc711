#include "ledger/CorpNumber.h"

#include <algorithm>
#include <cstdio>

namespace ledger {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::int64_t digitsValue(std::string_view s) {
    std::int64_t v = 0;
    for (char c : s)
        if (isDigit(c)) v = v * 10 + (c - '0');
    return v;
}

}  // namespace

bool IsCorpNumberText(std::string_view text) {
    return text.empty() || (text.size() == 13 && std::all_of(text.begin(), text.end(), isDigit));
}

std::int64_t CorpNumberFromText(std::string_view text) {
    std::string_view head = text.substr(0, std::min<std::size_t>(text.size(), 7));
    std::string_view tail = text.size() > 7 ? text.substr(7, 6) : std::string_view();
    return digitsValue(head) * 1000000 + digitsValue(tail);
}

std::string CorpNumberText(std::int64_t number) {
    if (number == 0) return {};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.13lld", static_cast<long long>(number));
    return buf;
}

}  // namespace ledger
