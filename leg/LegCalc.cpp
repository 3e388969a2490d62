#include "leg/LegCalc.h"

#include <cmath>
#include <limits>

namespace leg {

namespace {

using core::kDeg2Rad;
using core::kPi;
using core::kRad2Deg;
using core::oneTurnUp;
using core::roundHalfUp;
using core::roundTo2Places;

// Radians to degrees, one turn off the top, two decimals.
double headingToDegrees(double rad) noexcept {
    return roundTo2Places(core::oneTurnOff(rad * kRad2Deg));
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
    const double e = roundTo2Places(c + w);
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
    out.totalBurntGal = roundTo2Places(in.totalBurntGal + fuelUsed);

    const double thRad = tc - wca;
    const double mhRad = var + thRad;
    const double chRad = mhRad;
    const double wcaDeg = headingToDegrees(wca);
    const double thDeg = oneTurnUp(headingToDegrees(thRad));
    const double mhDeg = oneTurnUp(headingToDegrees(mhRad));
    const double chDeg = in.magDeviationDeg + oneTurnUp(headingToDegrees(chRad));

    out.trueCourseDeg = roundTo2Places(tc * kRad2Deg);
    out.windDirectionDeg = roundTo2Places(wd * kRad2Deg);
    out.variationDeg = roundTo2Places(var * kRad2Deg);

    out.fuelLeftGal = roundTo2Places(left);
    out.fuelUsedGal = roundTo2Places(fuelUsed);
    out.eteMin = roundTo2Places(ete);

    out.windCorrectionDeg = roundHalfUp(wcaDeg);
    out.correctedHeadingDeg = roundHalfUp(chDeg);
    out.trueHeadingDeg = roundHalfUp(thDeg);
    out.magHeadingDeg = roundHalfUp(mhDeg);
    out.groundSpeedKt = roundHalfUp(gs);
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
