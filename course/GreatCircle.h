#pragma once
// The great circle between two points of a spherical earth whose radius is
// one nautical mile per minute of arc: the course and distance a leg takes,
// the arc between two points and the points along it. The one home of
// great-circle geometry; the magnetic model's midpoint comes from here too.

#include "core/GeoPoint.h"

namespace course {

// Nautical miles per radian of arc: 60 * 180 / pi, as the stored double.
constexpr double kNmPerRadian = 3437.7467707849432;

struct CourseAndDistance {
    double trueCourseDeg = 0; // 0.00..360.00, clockwise from true north
    double distanceNm = 0;    // 0.00..10800.00
};

// Initial true course and distance from dep to arr, rounded to hundredths as
// the course dialog shows them (computed with the fifteen-digit pi of the leg
// computation, so the digits are those pilots have always seen).
//
// Any finite value is used as the angle it denotes (longitude 190 is the
// meridian of -170; a latitude beyond 90 is taken as the angle it is, so
// callers refuse such points first). Equal points give course 0.00, distance
// 0.00. Antipodal points give 10800.00 and whichever course the rounding
// selects; they never yield an undefined arc sine.
CourseAndDistance calcCourseAndDistance(const core::GeoPoint& dep,
                                        const core::GeoPoint& arr) noexcept;

// The central angle between two points in degrees, 0..180, not rounded.
// Latitudes are expected within -90..90.
double arcDeg(const core::GeoPoint& a, const core::GeoPoint& b) noexcept;

// The point a fraction of the way along the great circle from `from` to `to`
// (0 gives from, 1 gives to; fractions outside 0..1 go on along the same
// circle). Longitudes come back in -180..180. For points that coincide, or
// that are antipodal and so have no single great circle, it gives `from`.
core::GeoPoint pointAlong(const core::GeoPoint& from, const core::GeoPoint& to,
                          double fraction) noexcept;

// Halfway along the great circle: pointAlong(from, to, 0.5).
core::GeoPoint midpoint(const core::GeoPoint& from, const core::GeoPoint& to) noexcept;

// The point distanceNm from `from` along the great circle that leaves it on
// courseDeg (true): where a leg flown on its course is, even between
// antipodes, where every great circle joins the two.
core::GeoPoint pointFrom(const core::GeoPoint& from, double courseDeg, double distanceNm) noexcept;

} // namespace course
