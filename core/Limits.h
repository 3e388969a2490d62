#pragma once
// The range of every figure a pilot or a file can hand the program, in one
// table for every way in: the leg dialog's fields, the plan window, the plan
// file, GPX and FPL routes and the command line. A value outside its range is
// refused where it comes in, with the figure named; nothing past that point
// checks again.
//
// Units as everywhere: degrees, knots, nautical miles, US gallons, gallons
// per hour, minutes, feet, feet per minute. Both ends are inside the range.

namespace core {

struct Limit {
    const char* key; // as the plan file names it
    double low;
    double high;
    // False for NaN and the infinities.
    constexpr bool contains(double value) const { return value >= low && value <= high; }
};

namespace limits {

inline constexpr Limit kTasKt{"tasKt", 0, 250};
inline constexpr Limit kFuelFlowGph{"fuelFlowGph", 0, 100};
inline constexpr Limit kFuelGal{"fuelGal", 0, 100};
inline constexpr Limit kTaxiGal{"taxiGal", 0, 100};
inline constexpr Limit kContingencyPercent{"contingencyPercent", 0, 100};
inline constexpr Limit kReserveMin{"reserveMin", 0, 600};
inline constexpr Limit kExtraGal{"extraGal", 0, 100};
inline constexpr Limit kCourseDeg{"courseDeg", 0, 360};
inline constexpr Limit kDistanceNm{"distanceNm", 0, 10000};
inline constexpr Limit kWindDirectionDeg{"directionDeg", 0, 360};
inline constexpr Limit kWindSpeedKt{"speedKt", 0, 1000};
inline constexpr Limit kVariationDeg{"variationDeg", -360, 360};
inline constexpr Limit kDeviationDeg{"deviationDeg", -360, 360};
inline constexpr Limit kAltitudeFt{"altitudeFt", -2000, 60000};
inline constexpr Limit kElevationFt{"elevationFt", -2000, 30000}; // a field's
inline constexpr Limit kTemperatureC{"temperatureC", -100, 60};   // of the air aloft

// An aircraft profile's figures, in the profile's own units of weight (lb or
// kg) and arm (in, mm or m); a moment is a weight times an arm.
inline constexpr Limit kWeight{"weight", 0, 20000};
inline constexpr Limit kArm{"arm", -100000, 100000};
inline constexpr Limit kMoment{"moment", -2e9, 2e9};
inline constexpr Limit kUsableGal{"usableGal", 0, 100}; // no more than a plan may carry
inline constexpr Limit kDensityPerGal{"densityPerGal", 0.1, 20};
inline constexpr Limit kRateFpm{"rateFpm", 1, 10000};
inline constexpr Limit kClimbMinutes{"minutes", 0, 600};
inline constexpr Limit kClimbFuelGal{"fuelGal", 0, 100};
inline constexpr Limit kClimbDistanceNm{"distanceNm", 0, 1000};
inline constexpr Limit kPatternAltitudeFt{"patternAltitudeFt", 0, 5000};
inline constexpr Limit kCrosswindKt{"maxCrosswindKt", 0, 100};

} // namespace limits
} // namespace core
