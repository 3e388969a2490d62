#include "course/GreatCircle.h"

#include "leg/LegCalc.h"

#include <cmath>

namespace course {

void CalcCourseAndDistance(double dDepLat, double dDepLon, double dArrLat, double dArrLon,
                           double& dTrueCourse, double& dDistance) noexcept {
    const double lat1 = dDepLat * leg::kDeg2Rad;
    const double lon1 = dDepLon * leg::kDeg2Rad;
    const double lat2 = dArrLat * leg::kDeg2Rad;
    const double lon2 = dArrLon * leg::kDeg2Rad;

    // Haversine of the central angle.
    const double a = std::pow(std::sin((lat1 - lat2) * 0.5), 2.0);
    const double b = std::pow(std::sin((lon1 - lon2) * 0.5), 2.0);
    double s = ((b * std::cos(lat2)) * std::cos(lat1)) + a;
    if (s > 1)
        s = 1; // near the antipode rounding can pass 1 by an ulp
    const double sigma = std::asin(std::sqrt(s)) * 2.0;

    // With lon1 - lon2 the angle comes out counter-clockwise; turned below.
    const double y = std::cos(lat2) * std::sin(lon1 - lon2);
    const double x = (std::sin(lat2) * std::cos(lat1)) -
                     ((std::cos(lon1 - lon2) * std::cos(lat2)) * std::sin(lat1));
    const double q = std::atan2(y, x);
    const double deg = q * leg::kRad2Deg;
    const double courseDeg = q > 0 ? (180 - deg) + 180 : std::fabs(deg);

    dTrueCourse = leg::RoundTo2Places(courseDeg);
    dDistance = leg::RoundTo2Places(sigma * kNmPerRadian);
}

} // namespace course
