#pragma once
// The standard atmosphere (ICAO, troposphere: sea level 15 °C and 1013.25
// hPa, 6.5 °C less per kilometre) and what a pilot reads from it: the
// pressure altitude of a field from its altimeter setting, and the density
// altitude from the temperature. No widgets.
//
// Altitudes in feet, pressures in hectopascals, temperatures in degrees
// Celsius. The formulas hold below the tropopause (36,089 ft); above it
// nothing here is right, and nothing checks it. Nothing checks finiteness.

namespace briefing {

constexpr double kStandardPressureHpa = 1013.25;
constexpr double kHpaPerInHg = 33.8639;

// The standard atmosphere at a pressure altitude: its temperature, its
// pressure and its density as a part of sea level's.
double isaTemperatureC(double pressureAltitudeFt) noexcept;
double isaPressureHpa(double pressureAltitudeFt) noexcept;
double isaDensityRatio(double pressureAltitudeFt) noexcept;

// The pressure altitude of a field of this elevation where the altimeter
// setting (QNH) is this: the field's height plus the standard atmosphere's
// height of the QNH below 1013.25 hPa.
double pressureAltitudeFt(double elevationFt, double qnhHpa) noexcept;

// The altitude of the standard atmosphere whose density is the air's at
// this pressure altitude and temperature.
double densityAltitudeFt(double pressureAltitudeFt, double temperatureC) noexcept;

} // namespace briefing
