#include "ledger/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

namespace ledger {
namespace {

constexpr const char* kInputError = "入力エラー";
constexpr const char* kDuplicate = "．や：又は符号(－)が重複しています。";
constexpr const char* kOver59 = "分の入力が59を超えています。";
constexpr const char* kSignPlace = "符号(－)の位置が不正です。";
constexpr const char* kOverLimit = "入力した数値が上限を超えました。";

// The typed-number fields never take more than nine characters, so every value
// they accept fits a 32-bit integer.
constexpr int kMaxTypedDigits = 9;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Control characters and blanks at both ends go, as with every typed text.
std::string_view trim(std::string_view s) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// A whole number with an optional sign and at least one digit, within 32 bits.
std::optional<std::int32_t> parseInt32(std::string_view s) {
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return std::nullopt;
    std::int64_t v = 0;
    for (char c : s) {
        if (!isDigit(c)) return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > std::int64_t(INT32_MAX) + 1) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
    return static_cast<std::int32_t>(v);
}

// Digits with at most one point and an optional leading sign; "5." and ".5" are
// numbers, "." is not.
std::optional<double> parseDecimal(std::string_view s) {
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    bool digit = false;
    int points = 0;
    for (char c : s) {
        if (isDigit(c))
            digit = true;
        else if (c == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (!digit || points > 1) return std::nullopt;
    std::string body = "0" + std::string(s) + (s.back() == '.' ? "0" : "");
    double v = 0;
    auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), v);
    if (ec != std::errc() || end != body.data() + body.size()) return std::nullopt;
    return negative ? -v : v;
}

}  // namespace

std::string notANumberText(std::string_view text) {
    return "｢" + std::string(text) + "｣は正しい数値ではありません。";
}

platform::ConvertError notANumber(std::string_view text) {
    return platform::ConvertError(notANumberText(text));
}

std::string fixedText(double value, int decimals, bool thousands) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    decimals = std::clamp(decimals, 0, 18);

    // Fifteen significant digits are all a double holds reliably; rounding is
    // done on that decimal form, so sums such as 0.1 + 0.2 round as they read.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    std::string digits;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (isDigit(*p)) digits += *p;
    int exponent = std::atoi(p + 1);
    int intDigits = exponent + 1;  // digits before the point

    int keep = intDigits + decimals;
    if (keep < 0) {
        digits.clear();
        intDigits = 0;
    } else if (keep < int(digits.size())) {
        bool up = digits[std::size_t(keep)] >= '5';
        digits.resize(std::size_t(keep));
        if (up) {
            int i = keep - 1;
            for (; i >= 0; --i) {
                if (digits[std::size_t(i)] == '9') {
                    digits[std::size_t(i)] = '0';
                } else {
                    ++digits[std::size_t(i)];
                    break;
                }
            }
            if (i < 0) {
                digits.insert(digits.begin(), '1');
                ++intDigits;
            }
        }
    }
    // Place the point: pad with zeros on either side as needed.
    if (intDigits < 0) {
        digits.insert(0, std::size_t(-intDigits), '0');
        intDigits = 0;
    }
    std::size_t need = std::size_t(intDigits + decimals);
    if (digits.size() < need) digits.append(need - digits.size(), '0');

    std::string whole = digits.substr(0, std::size_t(intDigits));
    std::string fraction = digits.substr(std::size_t(intDigits));
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.empty()) whole = "0";
    bool zero = whole == "0" && fraction.find_first_not_of('0') == std::string::npos;

    if (thousands) {
        for (int i = int(whole.size()) - 3; i > 0; i -= 3) whole.insert(std::size_t(i), ",");
    }
    std::string out = (value < 0 && !zero) ? "-" : "";
    out += whole;
    if (decimals > 0) out += "." + fraction;
    return out;
}

std::string padLeft(std::string text, int width) {
    if (int(text.size()) < width) text.insert(0, std::size_t(width) - text.size(), ' ');
    return text;
}

std::string FmtAmount(int width, double value) {
    return padLeft(fixedText(value, 0, true), width);
}

std::string StripNum(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ',' && c != ' ') out += c;
    return out;
}

std::int32_t StrToIntNum(std::string_view text) {
    if (trim(text).empty()) return 0;
    std::string s = StripNum(text);
    if (auto v = parseInt32(trim(s))) return *v;
    throw notANumber(text);
}

std::int32_t StrToIntDef0(std::string_view text) {
    std::string s = StripNum(text);
    std::string_view t = trim(s);
    if (t.empty()) return 0;
    if (auto v = parseInt32(t)) return *v;
    throw notANumber(text);
}

double StrToNum(std::string_view text, MessageSink& messages) {
    if (text.find(':') != std::string_view::npos) return TimeStrToHours(text, messages);

    std::string kept;
    bool sign = false;
    bool point = false;
    for (char c : StripNum(text)) {
        if (static_cast<unsigned char>(c) <= ' ') continue;
        if (kept.size() >= 32) break;
        if (c == '+' || c == '-') {
            if (sign) {
                messages.error(kInputError);
                return 0;
            }
            sign = true;
        } else if (c == '.') {
            if (point) {
                messages.error(kInputError);
                return 0;
            }
            point = true;
        } else if (!isDigit(c)) {
            break;
        }
        kept += c;
    }
    if (!kept.empty() && (kept.back() == '+' || kept.back() == '-')) kept.pop_back();
    if (kept.empty()) return 0;
    if (auto v = parseDecimal(kept)) return *v;
    throw notANumber(text);
}

double TimeStrToHours(std::string_view text, MessageSink& messages) {
    std::string_view s = trim(text);
    std::size_t colon = s.find(':');
    if (colon == std::string_view::npos) return StrToNum(s, messages);
    if (s.find(':', colon + 1) != std::string_view::npos) {
        messages.error(kInputError);
        return 0;
    }
    // The sign belongs to the whole value: "-1:30" is minus one and a half hours.
    bool negative = !s.empty() && s[0] == '-';
    std::string_view hoursPart = s.substr(negative ? 1 : 0, colon - (negative ? 1 : 0));
    double value = StrToIntDef0(hoursPart) + StrToNum(s.substr(colon + 1), messages) / 60.0;
    return negative ? -value : value;
}

std::string FmtHours(double hours, int timeStyle) {
    // Hours no whole-number type can hold (only a damaged file or setting gives
    // them) are shown as the decimal style shows them.
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (timeStyle == 0 || !(std::fabs(hours) < kTwoTo63)) return padLeft(fixedText(hours, 2), 6);

    double h = std::trunc(hours);
    double m = std::nearbyint((hours - h) * 60.0);  // halves to even
    // A value just below a whole hour rounds up to the next hour, never to ":60".
    if (std::fabs(m) >= 60) {
        h += m > 0 ? 1 : -1;
        m = 0;
    }
    long long wholeHours = static_cast<long long>(h);
    int minutes = static_cast<int>(std::fabs(m));
    char buf[40];
    std::snprintf(buf, sizeof buf, "%lld:%02d", wholeHours, minutes);
    std::string out = buf;
    if (hours < 0 && wholeHours == 0 && minutes != 0) out.insert(0, "-");
    return padLeft(out, 6);
}

int integerDigitBudget(int formatCode) {
    if (formatCode == 70) return 6;
    if (formatCode == 90) return 7;
    int decimals = formatCode % 10;
    return formatCode / 10 - decimals - (decimals > 0 ? 1 : 0);
}

NumEditResult CheckNumEdit(std::string_view text, int formatCode) {
    std::string stripped = StripNum(text);
    std::string s(trim(stripped));
    if (s.empty()) return {};

    auto count = [&](char c) { return std::count(s.begin(), s.end(), c); };
    if (count('.') + count(':') > 1 || count('-') > 1) return {"", kDuplicate};

    std::size_t sep = s.find_first_of(".:");
    if (sep != std::string::npos && s[sep] == ':') {
        try {
            if (StrToIntDef0(std::string_view(s).substr(sep + 1)) > 59) return {"", kOver59};
        } catch (const platform::ConvertError&) {
            return {"", notANumberText(s)};
        }
    }
    if (count('-') == 1 && s[0] != '-') return {"", kSignPlace};

    std::string sign = s[0] == '-' ? "-" : "";
    std::string body = s.substr(sign.size());
    for (char c : body)
        if (!isDigit(c) && c != '.' && c != ':') return {"", notANumberText(s)};

    sep = body.find_first_of(".:");
    std::string whole = body.substr(0, sep);
    std::string fraction = sep == std::string::npos ? "" : body.substr(sep + 1);
    std::size_t decimals = std::size_t(std::max(formatCode % 10, 0));
    if (fraction.size() > decimals) fraction.resize(decimals);

    int budget = std::min(integerDigitBudget(formatCode), kMaxTypedDigits);
    if (int(whole.size()) > budget) return {"", kOverLimit};

    if (whole.empty() && fraction.empty()) return {"0", ""};
    std::string out = sign + (whole.empty() ? "0" : whole);
    if (!fraction.empty()) out += body[sep] + fraction;
    return {out, ""};
}

}  // namespace ledger
