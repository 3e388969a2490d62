#pragma once
// The wind triangle, time and fuel of one flight leg.
//
// Angles are degrees clockwise from true north, speeds knots, distances
// nautical miles, fuel gallons, fuel flow gallons per hour, times minutes.
// Every step is IEEE double arithmetic in a fixed order: the two-decimal
// roundings between the steps decide the digits a pilot sees, so the order
// must not change.
//
// Inputs are expected within the leg dialog's limits (courses 0..360,
// variation and deviation -360..360, TAS 60..250, wind 0..1000, distance
// 0..10000, fuel and fuel flow 0..100), but any finite input is computed
// without undefined behaviour. A wind the aircraft cannot fly against (a
// crosswind component above the true airspeed, or a ground speed of 0 or
// below) is refused with LegStatus::WindTooStrong and no results.

#include "core/Math.h"

#include <cstdint>

namespace leg {

constexpr double kMinTasKt = 60;

struct LegInput {
    double trueCourseDeg = 0;
    double windDirectionDeg = 0;
    double windVelocityKt = 0;
    double tasKt = 0;
    double variationDeg = 0;
    double magDeviationDeg = 0;
    double distanceNm = 0;
    double fuelFlowGph = 0;
    double fuelGal = 0;       // on board at the start of the leg
    double totalBurntGal = 0; // burnt on the earlier legs
    double distanceSumNm = 0; // flown on the earlier legs
};

enum class LegStatus { Computed, WindTooStrong };

struct LegResult {
    LegStatus status = LegStatus::WindTooStrong;
    bool fuelShort = false; // the leg needs more fuel than is on board
    // Shown values, already rounded as the leg dialog shows them.
    double windCorrectionDeg = 0;   // whole degrees, positive: wind from the left
    double trueHeadingDeg = 0;      // whole degrees
    double magHeadingDeg = 0;       // whole degrees
    double correctedHeadingDeg = 0; // whole degrees, not normalised
    double groundSpeedKt = 0;       // whole knots
    double eteMin = 0;              // two decimals
    double fuelUsedGal = 0;         // two decimals
    double fuelLeftGal = 0;         // two decimals, never below 0
    double totalBurntGal = 0;       // two decimals
    double distanceSumNm = 0;       // not rounded
    // Inputs after their trip through radians, two decimals.
    double trueCourseDeg = 0;
    double windDirectionDeg = 0;
    double variationDeg = 0;
};

LegResult computeLeg(const LegInput& in) noexcept;

// The ground speed computeLeg flies a course at, not rounded to whole knots
// (the speed its time en route comes from); NaN where the wind leaves no
// heading or no ground speed.
double groundSpeedKt(double trueCourseDeg, double windDirectionDeg, double windVelocityKt,
                     double tasKt) noexcept;

// Whole seconds to add to the time off for an ETE in minutes: the fraction is
// dropped (0.29 min -> 17 s). Negative or NaN times give 0; very long ones
// saturate at 2^32 - 1 seconds (about 136 years), so the arrival time stays
// representable.
std::uint32_t arrivalOffsetSeconds(double eteMin) noexcept;

} // namespace leg
