#pragma once
// The numerics that the leg and the course computations share: the value of
// pi they were always computed with, the two roundings whose digits a pilot
// sees, and the turns that bring an angle into 0..360 degrees.
//
// All pure and noexcept. Each states its range and what it does with
// impossible input (infinities, NaN); none has undefined behaviour for any
// double.

#include <cstdint>

namespace core {

constexpr double kPi = 3.14159265358979; // fifteen digits, as the headings were always computed
constexpr double kDeg2Rad = kPi / 180;
constexpr double kRad2Deg = 180 / kPi;
// Full double precision, for what the leg dialog never computed (wind
// vectors, the magnetic model): no shown digit of a leg depends on it.
constexpr double kDeg2RadFull = 3.14159265358979323846 / 180;

// x rounded to two decimals through its "%.2f" text: the double nearest to the
// decimal that printf would show. Exact for every finite double, whatever the
// locale; infinities and NaN come back unchanged.
double roundTo2Places(double x) noexcept;
// The same through the formatted text itself; slower, for cross-checks.
double roundTo2PlacesViaText(double x) noexcept;

// Nearest whole number, halves toward plus infinity (2.5 -> 3, -2.5 -> -2).
// Values beyond the 32-bit range saturate at its ends; NaN gives 0.
std::int32_t roundHalfUp(double x) noexcept;

// One turn off the top: deg - 360 above 360, else deg (361 -> 1, 360 stays).
// Only one turn: 800 gives 440. NaN stays NaN.
double oneTurnOff(double deg) noexcept;
// One turn up from below 0: deg + 360 below 0, else deg (-12 -> 348, 0 stays).
// Only one turn: -400 gives -40. NaN stays NaN.
double oneTurnUp(double deg) noexcept;

// A counter-clockwise angle in -180..180 degrees (as atan2 gives it) as a
// clockwise one in 0..360: positive angles become (180 - a) + 180, in that
// order of rounding, the others their magnitude. NaN gives NaN.
double clockwiseDeg(double counterClockwiseDeg) noexcept;

} // namespace core
