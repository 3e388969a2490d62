#pragma once
// The route picture's projection and the land it shows, without widgets.
//
// Azimuthal equidistant, centred on the route (GeographicLib's, on the
// WGS84 ellipsoid): distances and directions from the centre are true, so
// a route of a few hundred miles keeps its shape. Coordinates are nautical
// miles east and north of the centre.

#include "core/DataPlaces.h"
#include "core/GeoPoint.h"

#include <optional>
#include <string>
#include <vector>

namespace map {

struct PlanePoint {
    double eastNm = 0;
    double northNm = 0;
};

class RouteProjection {
public:
    explicit RouteProjection(const core::GeoPoint& centre) : m_centre(centre) {}
    const core::GeoPoint& centre() const { return m_centre; }
    PlanePoint forward(const core::GeoPoint& point) const noexcept;
    core::GeoPoint reverse(const PlanePoint& point) const noexcept;

private:
    core::GeoPoint m_centre;
};

// The centre of a set of points: the middle of the great circle between the
// two that lie farthest apart (a route's ends, usually).
core::GeoPoint centreOf(const std::vector<core::GeoPoint>& points);

// Land outlines: rings of points, one a line in the file "lon lat lon lat
// ..." in hundredths of a degree (res/land/README.md). A line that does not
// read as three points or more is left out.
using Ring = std::vector<core::GeoPoint>;
std::vector<Ring> readLandOutlines(const std::string& bytes);

// The installed outlines (share/skyvane/land-50m.txt), read once; empty
// where none is installed.
const std::vector<Ring>& landOutlines(const core::DataPlaces& places);

} // namespace map
