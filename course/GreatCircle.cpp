#include "course/GreatCircle.h"

#include "core/Math.h"

#include <cmath>

namespace course {

void calcCourseAndDistance(double depLatDeg, double depLonDeg, double arrLatDeg, double arrLonDeg,
                           double& trueCourseDeg, double& distanceNm) noexcept {
    const double lat1 = depLatDeg * core::kDeg2Rad;
    const double lon1 = depLonDeg * core::kDeg2Rad;
    const double lat2 = arrLatDeg * core::kDeg2Rad;
    const double lon2 = arrLonDeg * core::kDeg2Rad;

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
    const double courseDeg = core::clockwiseDeg(q * core::kRad2Deg);

    trueCourseDeg = core::roundTo2Places(courseDeg);
    distanceNm = core::roundTo2Places(sigma * kNmPerRadian);
}

} // namespace course
