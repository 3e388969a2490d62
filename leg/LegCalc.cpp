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

struct Triangle {
    bool flyable = false;
    double wcaRad = 0;
    double groundSpeedKt = 0;
};

Triangle windTriangle(double courseRad, double windFromRad, double windVelocityKt,
                      double tasKt) noexcept {
    Triangle t;
    const double windAngleRad = courseRad - windFromRad; // course relative to the wind
    const double sinWca = (windVelocityKt * std::sin(windAngleRad)) / tasKt;
    if (!(std::fabs(sinWca) <= 1))
        return t; // crosswind beyond the airspeed: no heading can hold the course
    t.wcaRad = std::asin(sinWca);

    // TAS minus ground speed, TAS (1 - cos wca) + WV cos d, in its half-angle form.
    const double crosswindKt = windVelocityKt * std::sin(windAngleRad);
    const double crabLossKt = crosswindKt / std::tan((kPi - t.wcaRad) * 0.5);
    const double headwindKt = windVelocityKt * std::cos(windAngleRad);
    const double speedLossKt = roundTo2Places(crabLossKt + headwindKt);
    t.groundSpeedKt = tasKt - speedLossKt;
    // A headwind at or above the airspeed: the leg is never flown.
    t.flyable = t.groundSpeedKt > 0;
    return t;
}

} // namespace

double groundSpeedKt(double trueCourseDeg, double windDirectionDeg, double windVelocityKt,
                     double tasKt) noexcept {
    const Triangle t =
        windTriangle(trueCourseDeg * kDeg2Rad, windDirectionDeg * kDeg2Rad, windVelocityKt, tasKt);
    return t.flyable ? t.groundSpeedKt : std::numeric_limits<double>::quiet_NaN();
}

LegResult computeLeg(const LegInput& in) noexcept {
    LegResult out;
    const double courseRad = in.trueCourseDeg * kDeg2Rad;
    const double windFromRad = in.windDirectionDeg * kDeg2Rad;
    const double variationRad = in.variationDeg * kDeg2Rad;
    const Triangle triangle = windTriangle(courseRad, windFromRad, in.windVelocityKt, in.tasKt);
    if (!triangle.flyable)
        return out;
    const double wcaRad = triangle.wcaRad;
    const double groundSpeedKt = triangle.groundSpeedKt;

    const double eteMin = (in.distanceNm * 60) / groundSpeedKt;
    out.distanceSumNm = in.distanceNm + in.distanceSumNm;

    const double fuelUsedGal = (in.fuelFlowGph * eteMin) * 0.016666666666666666;
    double fuelLeftGal = in.fuelGal - fuelUsedGal;
    if (fuelLeftGal < 0) {
        fuelLeftGal = 0;
        out.fuelShort = true;
    }
    out.totalBurntGal = roundTo2Places(in.totalBurntGal + fuelUsedGal);

    const double trueHeadingRad = courseRad - wcaRad;
    const double magHeadingRad = variationRad + trueHeadingRad;
    const double wcaDeg = headingToDegrees(wcaRad);
    const double thDeg = oneTurnUp(headingToDegrees(trueHeadingRad));
    const double mhDeg = oneTurnUp(headingToDegrees(magHeadingRad));
    // The compass heading starts from the magnetic one, deviation added after
    // its own turn and rounding, so it is not normalised again.
    const double chDeg = in.magDeviationDeg + oneTurnUp(headingToDegrees(magHeadingRad));

    out.trueCourseDeg = roundTo2Places(courseRad * kRad2Deg);
    out.windDirectionDeg = roundTo2Places(windFromRad * kRad2Deg);
    out.variationDeg = roundTo2Places(variationRad * kRad2Deg);

    out.fuelLeftGal = roundTo2Places(fuelLeftGal);
    out.fuelUsedGal = roundTo2Places(fuelUsedGal);
    out.eteMin = roundTo2Places(eteMin);

    out.windCorrectionDeg = roundHalfUp(wcaDeg);
    out.correctedHeadingDeg = roundHalfUp(chDeg);
    out.trueHeadingDeg = roundHalfUp(thDeg);
    out.magHeadingDeg = roundHalfUp(mhDeg);
    out.groundSpeedKt = roundHalfUp(groundSpeedKt);
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
