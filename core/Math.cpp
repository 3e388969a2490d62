#include "core/Math.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace core {

double roundTo2PlacesViaText(double x) noexcept {
    if (!std::isfinite(x))
        return x;
    char buffer[400];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, 2);
    double rounded = x;
    std::from_chars(buffer, written.ptr, rounded, std::chars_format::fixed);
    return rounded;
}

double roundTo2Places(double x) noexcept {
    // Formatting and parsing is exact but slow, and Run rounds a dozen times.
    // Below 2^44 the same result comes from exact arithmetic: the product
    // x * 100 with its rounding error recovered (Dekker), rounded to the
    // nearest whole number with ties to even, then divided by 100, which
    // gives the double nearest to that many hundredths, as parsing does.
    if (!(std::fabs(x) < 0x1p44))
        return roundTo2PlacesViaText(x);
    const double y = x * 100;
    constexpr double kSplitter = 134217729.0; // 2^27 + 1
    const double t = kSplitter * x;
    const double high = t - (t - x);
    const double low = x - high;
    const double error = (high * 100 - y) + low * 100; // x * 100 == y + error exactly
    const double whole = std::floor(y);
    const double aboveHalf = ((y - whole) - 0.5) + error;
    double n = whole;
    if (aboveHalf > 0 || (aboveHalf == 0 && std::fmod(whole, 2.0) != 0))
        n = whole + 1;
    const double rounded = n / 100;
    return rounded == 0 ? std::copysign(0.0, x) : rounded;
}

std::int32_t roundHalfUp(double x) noexcept {
    if (std::isnan(x))
        return 0;
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (x >= kMax)
        return std::numeric_limits<std::int32_t>::max();
    if (x <= kMin)
        return std::numeric_limits<std::int32_t>::min();
    const auto n = static_cast<std::int32_t>(std::floor(x));
    if (x < n + 0.5)
        return n;
    return static_cast<std::int32_t>(std::ceil(x));
}

double oneTurnOff(double deg) noexcept {
    return deg > 360 ? deg - 360 : deg;
}

double oneTurnUp(double deg) noexcept {
    return deg < 0 ? deg + 360 : deg;
}

double clockwiseDeg(double counterClockwiseDeg) noexcept {
    return counterClockwiseDeg > 0 ? (180 - counterClockwiseDeg) + 180
                                   : std::fabs(counterClockwiseDeg);
}

} // namespace core
