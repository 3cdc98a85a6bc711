#include "ledger/Rounding.h"

#include <cmath>
#include <limits>
#include <string>

#include "platform/Errors.h"

namespace ledger {
namespace {

// The one place a rounded value becomes an int32.
template <typename Real>
std::int32_t toInt32(Real whole) {
    constexpr Real lo = Real(std::numeric_limits<std::int32_t>::min());
    constexpr Real hi = Real(std::numeric_limits<std::int32_t>::max());
    if (!(whole >= lo && whole <= hi))
        throw platform::ConvertError("金額が計算できる範囲を超えています。");
    return static_cast<std::int32_t>(whole);
}

}  // namespace

std::int32_t TruncTol(double x) {
    // The original formed the sum in 80-bit extended precision; long double is
    // that type with g++ on x86-64.
    const long double tol = 0.000001L;
    const long double sum =
        x >= 0 ? static_cast<long double>(x) + tol : static_cast<long double>(x) - tol;
    return toInt32(std::trunc(sum));
}

std::int32_t RoundByMode(int mode, float x) {
    const double v = x;  // exact: every float is a double
    switch (mode) {
        case 1:
            return toInt32(std::ceil(v));
        case 2:
            // v ± 0.5 is exact in double for every float in the int32 range.
            return toInt32(std::trunc(v >= 0 ? v + 0.5 : v - 0.5));
        default:
            return TruncTol(v);
    }
}

std::int32_t RoundProduct(int mode, double a, double b) {
    const double product = a * b;
    // Narrowing a double beyond the float range is undefined, so such a product
    // (and NaN) is refused here; one beyond int32 is refused when rounded.
    if (!(std::fabs(product) <= double(std::numeric_limits<float>::max()))) return toInt32(product);
    return RoundByMode(mode, static_cast<float>(product));
}

std::int32_t RoundPayment(const SysOption& option, double a, double b) {
    return RoundProduct(option.hasuuSik, a, b);
}

std::int32_t RoundReduction(const SysOption& option, double a, double b) {
    return RoundProduct(option.hasuuGen, a, b);
}

std::int32_t RoundDeduction(const SysOption& option, double a, double b) {
    return RoundProduct(option.hasuuKou, a, b);
}

std::int32_t RoundOver50(double x) {
    const double sum = x >= 0 ? x + 0.49 : x - 0.49;
    return toInt32(std::trunc(sum));
}

std::int32_t RoundOver500(double x) {
    const double sum = x >= 0 ? x + 0.499 : x - 0.499;
    return toInt32(std::trunc(sum));
}

}  // namespace ledger
