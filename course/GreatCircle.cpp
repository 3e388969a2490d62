#include "course/GreatCircle.h"

#include "core/Math.h"

#include <GeographicLib/Geodesic.hpp>

#include <cmath>

namespace course {
namespace {

// The spherical earth as GeographicLib's geodesic with no flattening; its
// radius is in nautical miles, so its lengths are those of the course.
const GeographicLib::Geodesic& sphere() {
    static const GeographicLib::Geodesic earth(kNmPerRadian, 0);
    return earth;
}

} // namespace

CourseAndDistance calcCourseAndDistance(const core::GeoPoint& dep,
                                        const core::GeoPoint& arr) noexcept {
    const double lat1 = dep.latitudeDeg * core::kDeg2Rad;
    const double lon1 = dep.longitudeDeg * core::kDeg2Rad;
    const double lat2 = arr.latitudeDeg * core::kDeg2Rad;
    const double lon2 = arr.longitudeDeg * core::kDeg2Rad;

    // Haversine of the central angle.
    const double halfDLatSquared = std::pow(std::sin((lat1 - lat2) * 0.5), 2.0);
    const double halfDLonSquared = std::pow(std::sin((lon1 - lon2) * 0.5), 2.0);
    double haversine = ((halfDLonSquared * std::cos(lat2)) * std::cos(lat1)) + halfDLatSquared;
    if (haversine > 1)
        haversine = 1; // near the antipode rounding can pass 1 by an ulp
    const double centralAngleRad = std::asin(std::sqrt(haversine)) * 2.0;

    // With lon1 - lon2 the angle comes out counter-clockwise; turned below.
    const double east = std::cos(lat2) * std::sin(lon1 - lon2);
    const double north = (std::sin(lat2) * std::cos(lat1)) -
                         ((std::cos(lon1 - lon2) * std::cos(lat2)) * std::sin(lat1));
    const double courseDeg = core::clockwiseDeg(std::atan2(east, north) * core::kRad2Deg);

    return {core::roundTo2Places(courseDeg), core::roundTo2Places(centralAngleRad * kNmPerRadian)};
}

double arcDeg(const core::GeoPoint& a, const core::GeoPoint& b) noexcept {
    double distance = 0;
    return sphere().Inverse(a.latitudeDeg, a.longitudeDeg, b.latitudeDeg, b.longitudeDeg, distance);
}

core::GeoPoint pointAlong(const core::GeoPoint& from, const core::GeoPoint& to,
                          double fraction) noexcept {
    double arc = 0, azimuthFrom = 0, azimuthTo = 0;
    const double arcDegrees = sphere().Inverse(from.latitudeDeg, from.longitudeDeg, to.latitudeDeg,
                                               to.longitudeDeg, arc, azimuthFrom, azimuthTo);
    core::GeoPoint at = from;
    if (!(arcDegrees > 0) || arcDegrees >= 180 || !std::isfinite(fraction))
        return at;
    sphere().ArcDirect(from.latitudeDeg, from.longitudeDeg, azimuthFrom, arcDegrees * fraction,
                       at.latitudeDeg, at.longitudeDeg);
    return at;
}

core::GeoPoint pointFrom(const core::GeoPoint& from, double courseDeg, double distanceNm) noexcept {
    core::GeoPoint at = from;
    if (std::isfinite(courseDeg) && std::isfinite(distanceNm))
        sphere().Direct(from.latitudeDeg, from.longitudeDeg, courseDeg, distanceNm, at.latitudeDeg,
                        at.longitudeDeg);
    return at;
}

core::GeoPoint midpoint(const core::GeoPoint& from, const core::GeoPoint& to) noexcept {
    return pointAlong(from, to, 0.5);
}

} // namespace course
