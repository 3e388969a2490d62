#include "briefing/Atmosphere.h"

#include <cmath>

namespace briefing {
namespace {

constexpr double kSeaLevelK = 288.15;
constexpr double kLapseKPerM = 0.0065;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kZeroCelsiusK = 273.15;
// g / (L R) for dry air: the exponent of the pressure in the troposphere.
constexpr double kPressureExponent = 9.80665 / (kLapseKPerM * 287.05287);

double isaKelvin(double pressureAltitudeFt) noexcept {
    return kSeaLevelK - kLapseKPerM * pressureAltitudeFt * kMetresPerFoot;
}

} // namespace

double isaTemperatureC(double pressureAltitudeFt) noexcept {
    return isaKelvin(pressureAltitudeFt) - kZeroCelsiusK;
}

double isaPressureHpa(double pressureAltitudeFt) noexcept {
    return kStandardPressureHpa *
           std::pow(isaKelvin(pressureAltitudeFt) / kSeaLevelK, kPressureExponent);
}

double isaDensityRatio(double pressureAltitudeFt) noexcept {
    return std::pow(isaKelvin(pressureAltitudeFt) / kSeaLevelK, kPressureExponent - 1);
}

double pressureAltitudeFt(double elevationFt, double qnhHpa) noexcept {
    // The height in the standard atmosphere from the QNH's pressure up to
    // 1013.25 hPa: positive when the QNH is below standard.
    const double qnhHeightM = kSeaLevelK / kLapseKPerM *
                              (1 - std::pow(qnhHpa / kStandardPressureHpa, 1 / kPressureExponent));
    return elevationFt + qnhHeightM / kMetresPerFoot;
}

double densityAltitudeFt(double pressureAltitudeFt, double temperatureC) noexcept {
    const double pressureRatio = isaPressureHpa(pressureAltitudeFt) / kStandardPressureHpa;
    const double densityRatio = pressureRatio * kSeaLevelK / (temperatureC + kZeroCelsiusK);
    const double temperatureRatio = std::pow(densityRatio, 1 / (kPressureExponent - 1));
    return kSeaLevelK / kLapseKPerM * (1 - temperatureRatio) / kMetresPerFoot;
}

} // namespace briefing
