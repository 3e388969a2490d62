#include "leg/LegCalc.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace leg {

double RoundTo2PlacesViaText(double x) noexcept {
    if (!std::isfinite(x))
        return x;
    char buffer[400];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, 2);
    double rounded = x;
    std::from_chars(buffer, written.ptr, rounded, std::chars_format::fixed);
    return rounded;
}

double RoundTo2Places(double x) noexcept {
    // Formatting and parsing is exact but slow, and Run rounds a dozen times.
    // Below 2^44 the same result comes from exact arithmetic: the product
    // x * 100 with its rounding error recovered (Dekker), rounded to the
    // nearest whole number with ties to even, then divided by 100, which
    // gives the double nearest to that many hundredths, as parsing does.
    if (!(std::fabs(x) < 0x1p44))
        return RoundTo2PlacesViaText(x);
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

std::int32_t RoundHalfUp(double x) noexcept {
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

namespace {

// Radians to degrees, one turn off the top, two decimals.
double headingToDegrees(double rad) noexcept {
    double deg = rad * kRad2Deg;
    if (deg > 360)
        deg = deg - 360;
    return RoundTo2Places(deg);
}

double oneTurnUp(double deg) noexcept {
    return deg < 0 ? deg + 360 : deg;
}

} // namespace

LegResult computeLeg(const LegInput& in) noexcept {
    LegResult out;
    const double tc = in.trueCourseDeg * kDeg2Rad;
    const double wd = in.windDirectionDeg * kDeg2Rad;
    const double var = in.variationDeg * kDeg2Rad;
    const double d = tc - wd;

    const double sinRatio = (in.windVelocityKt * std::sin(d)) / in.tasKt;
    if (!(std::fabs(sinRatio) <= 1))
        return out; // crosswind beyond the airspeed: no heading can hold the course
    const double wca = std::asin(sinRatio);

    // TAS minus ground speed, TAS (1 - cos wca) + WV cos d, in its half-angle form.
    const double s = in.windVelocityKt * std::sin(d);
    const double c = s / std::tan((kPi - wca) * 0.5);
    const double w = in.windVelocityKt * std::cos(d);
    const double e = RoundTo2Places(c + w);
    const double gs = in.tasKt - e;
    if (!(gs > 0))
        return out; // headwind at or above the airspeed: the leg is never flown

    const double ete = (in.distanceNm * 60) / gs;
    out.distanceSumNm = in.distanceNm + in.distanceSumNm;

    double fuelUsed = (in.gph * ete) * 0.016666666666666666;
    double left = in.fuelGal - fuelUsed;
    if (left < 0) {
        left = 0;
        out.fuelShort = true;
    }
    out.totalBurntGal = RoundTo2Places(in.totalBurntGal + fuelUsed);

    const double thRad = tc - wca;
    const double mhRad = var + thRad;
    const double chRad = mhRad;
    const double wcaDeg = headingToDegrees(wca);
    const double thDeg = oneTurnUp(headingToDegrees(thRad));
    const double mhDeg = oneTurnUp(headingToDegrees(mhRad));
    const double chDeg = in.magDeviationDeg + oneTurnUp(headingToDegrees(chRad));

    out.trueCourseDeg = RoundTo2Places(tc * kRad2Deg);
    out.windDirectionDeg = RoundTo2Places(wd * kRad2Deg);
    out.variationDeg = RoundTo2Places(var * kRad2Deg);

    out.fuelLeftGal = RoundTo2Places(left);
    out.fuelUsedGal = RoundTo2Places(fuelUsed);
    out.eteMin = RoundTo2Places(ete);

    out.windCorrectionDeg = RoundHalfUp(wcaDeg);
    out.correctedHeadingDeg = RoundHalfUp(chDeg);
    out.trueHeadingDeg = RoundHalfUp(thDeg);
    out.magHeadingDeg = RoundHalfUp(mhDeg);
    out.groundSpeedKt = RoundHalfUp(gs);
    out.status = LegStatus::Computed;
    return out;
}

std::uint32_t arrivalOffsetSeconds(double eteMin) noexcept {
    const double seconds = eteMin * 60;
    if (!(seconds > 0))
        return 0;
    constexpr double kMax = std::numeric_limits<std::uint32_t>::max();
    if (seconds >= kMax)
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(seconds);
}

} // namespace leg
