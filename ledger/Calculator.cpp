#include "ledger/Calculator.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

namespace ledger {
namespace {

constexpr std::size_t kMaxEntry = 7;
constexpr int kDisplayDigits = 10;
constexpr int kOperandDigits = 15;  // a value the calculator keeps as text itself

constexpr const char* kDivisionByZero = "0で割ることはできません。";
constexpr const char* kOutOfRange = "計算結果が大きすぎます。";

// A display or operand text as a number; the point a display always ends in
// ("12.", "1E11.") is allowed. Nothing for an empty or malformed text.
std::optional<long double> toNumber(std::string_view text) {
    if (!text.empty() && text.back() == '.') text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    long double v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

}  // namespace

std::string FormatGeneral(long double x, int precision) {
    if (x == 0) return "0";
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
    char buf[80];
    std::snprintf(buf, sizeof buf, "%.*Le", precision - 1, x);
    std::string s(buf);
    const bool negative = s[0] == '-';
    if (negative) s.erase(0, 1);
    const std::size_t e = s.find('e');
    const int exponent = std::stoi(s.substr(e + 1));
    std::string digits = s.substr(0, 1) + (e > 2 ? s.substr(2, e - 2) : "");
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out;
    if (exponent < precision && exponent >= -5) {
        if (exponent >= 0) {
            const std::size_t whole = std::size_t(exponent) + 1;
            if (digits.size() <= whole) {
                out = digits + std::string(whole - digits.size(), '0');
            } else {
                out = digits.substr(0, whole) + "." + digits.substr(whole);
            }
        } else {
            out = "0." + std::string(std::size_t(-exponent - 1), '0') + digits;
        }
    } else {
        out = digits.substr(0, 1);
        if (digits.size() > 1) out += "." + digits.substr(1);
        out += "E" + std::to_string(exponent);
    }
    return negative ? "-" + out : out;
}

int CalcKeyCode(char key, CalcVariant variant) {
    const bool yearEnd = variant == CalcVariant::YearEnd;
    switch (key) {
        case '\r':
            return kCalcEquals;
        case '\x1b':
            return yearEnd ? -1 : kCalcClear;
        case 'c':
        case 'C':
            return yearEnd ? kCalcClear : -1;
        case '*':
            return kCalcMul;
        case '+':
            return kCalcAdd;
        case '-':
            return kCalcSub;
        case '.':
            return kCalcPoint;
        case '/':
            return kCalcDiv;
        default:
            return key >= '0' && key <= '9' ? key - '0' : -1;
    }
}

CalcOutcome Calculator::press(int code) {
    if (code >= 0 && code <= kCalcPoint) return numClick(code);
    if (code >= 100) return funcClick(code);
    return {CalcOutcome::Ignored, {}};
}

void Calculator::showValue(double x) {
    std::string s = FormatGeneral(x, kDisplayDigits);
    std::size_t point = s.find('.');
    if (point == std::string::npos) {
        s += ".";
        point = s.size() - 1;
    }
    // Zeros typed after the point are shown (and so kept in the next key's text),
    // also when the value itself is whole: "1.0" before the 5 of "1.05".
    const int decimals = int(s.size() - point - 1);
    if (decimals < decimalsTyped_) s.append(std::size_t(decimalsTyped_ - decimals), '0');
    display_ = s;
}

bool Calculator::applyOp(const std::string& left, const std::string& right, long double& result,
                         std::string& message) {
    // A missing operand reads as 0, as the window never offers an operation on
    // an empty display.
    const long double a = toNumber(left).value_or(0);
    const long double b = toNumber(right).value_or(0);
    switch (pendingOp_) {
        case kCalcAdd:
            result = a + b;
            break;
        case kCalcSub:
            result = a - b;
            break;
        case kCalcMul:
            result = a * b;
            break;
        case kCalcDiv:
            if (b == 0) {
                message = kDivisionByZero;
                return false;
            }
            result = a / b;
            break;
        default:
            result = 0;
    }
    // CalcValue is a double: a result it cannot hold is refused, never shown as
    // an infinity.
    if (!std::isfinite(result) || std::fabs(result) > static_cast<long double>(DBL_MAX)) {
        message = kOutOfRange;
        return false;
    }
    justComputed_ = true;
    return true;
}

CalcOutcome Calculator::numClick(int code) {
    if (entryText_.size() >= kMaxEntry && !newEntry_) return {CalcOutcome::Ignored, {}};
    std::string d = display_;
    if (!pointTyped_ && !d.empty() && d.back() == '.') d.pop_back();
    std::string text;
    if (code == kCalcPoint) {
        if (pointTyped_) return {CalcOutcome::Ignored, {}};
        if (newEntry_) d = "0";
        text = d + ".";
        pointTyped_ = true;
        newEntry_ = false;
        decimalsTyped_ = 0;
    } else {
        const std::string digit(1, char('0' + code));
        text = newEntry_ ? digit : d + digit;
        newEntry_ = false;
        if (pointTyped_) ++decimalsTyped_;
    }
    entryText_ = text;
    value_ = double(toNumber(text).value_or(0));
    showValue(value_);
    return {};
}

CalcOutcome Calculator::funcClick(int code) {
    std::string message;
    long double r = 0;
    switch (code) {
        case kCalcEquals:
            if (pendingOp_ == 0) return {CalcOutcome::Ignored, {}};
            if (newEntry_ && operand2_.empty())
                operand2_ = operand1_;
            else if (!newEntry_)
                operand2_ = display_;
            newEntry_ = true;
            pointTyped_ = false;
            decimalsTyped_ = 0;
            if (!applyOp(operand1_, operand2_, r, message)) return {CalcOutcome::Error, message};
            value_ = double(r);
            showValue(value_);
            operand1_ = display_;
            return {};
        case kCalcPercent: {
            // Without a first operand there is nothing to take a percentage of.
            const auto a = toNumber(operand1_);
            const auto b = toNumber(display_);
            if ((newEntry_ && operand2_.empty()) || !a || !b) return {CalcOutcome::Beep, {}};
            r = pendingOp_ == kCalcAdd || pendingOp_ == kCalcSub ? *a * *b / 100 : *b / 100;
            value_ = double(r);
            showValue(value_);
            operand2_ = FormatGeneral(value_, kOperandDigits);
            return {};
        }
        case kCalcClear:
            operand1_.clear();
            operand2_.clear();
            entryText_.clear();
            newEntry_ = true;
            pointTyped_ = false;
            decimalsTyped_ = 0;
            value_ = 0;
            display_ = "0.";
            pendingOp_ = 0;
            return {};
        case kCalcAdd:
        case kCalcSub:
        case kCalcMul:
        case kCalcDiv:
            if (!operand1_.empty())
                operand2_ = display_;
            else
                operand1_ = display_;
            if (pendingOp_ != 0 && !justComputed_ && !newEntry_) {
                if (!applyOp(operand1_, operand2_, r, message))
                    return {CalcOutcome::Error, message};
                value_ = double(r);
                showValue(value_);
                operand1_ = display_;
            }
            entryText_.clear();
            pendingOp_ = code;
            justComputed_ = false;
            pointTyped_ = false;
            newEntry_ = true;
            decimalsTyped_ = 0;
            return {};
        default:
            return {CalcOutcome::Ignored, {}};
    }
}

}  // namespace ledger
