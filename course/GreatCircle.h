#pragma once
// Initial true course and distance along a great circle of a spherical earth
// whose radius is one nautical mile per minute of arc.
//
// Inputs are decimal degrees, latitudes north positive, longitudes east
// positive. Any finite value is used as the angle it denotes (longitude 190 is
// the meridian of -170). Results are rounded to hundredths: the course lies in
// 0.00..360.00 degrees clockwise from true north, the distance in
// 0.00..10800.00 nautical miles. Equal points give course 0.00, distance 0.00.
// Antipodal points give 10800.00 and whichever course the rounding selects;
// they never yield an undefined arc sine.

namespace course {

// Nautical miles per radian of arc: 60 * 180 / pi, as the stored double.
constexpr double kNmPerRadian = 3437.7467707849432;

void calcCourseAndDistance(double depLatDeg, double depLonDeg, double arrLatDeg, double arrLonDeg,
                           double& trueCourseDeg, double& distanceNm) noexcept;

} // namespace course
