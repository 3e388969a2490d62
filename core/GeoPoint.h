#pragma once
// A position on the earth: latitude and longitude in decimal degrees, north
// and east positive. A plain value; nothing is checked on construction, so a
// point may hold what a pilot typed. isValidLatitude says whether it is a
// place at all.

#include <cmath>

namespace core {

struct GeoPoint {
    double latitudeDeg = 0;
    double longitudeDeg = 0;

    friend bool operator==(const GeoPoint& a, const GeoPoint& b) noexcept {
        return a.latitudeDeg == b.latitudeDeg && a.longitudeDeg == b.longitudeDeg;
    }
    friend bool operator!=(const GeoPoint& a, const GeoPoint& b) noexcept { return !(a == b); }
};

// A latitude that names a place: -90..90, finite. Longitudes of any finite
// size name the meridian they turn to, so they need no such test.
constexpr bool isValidLatitude(double latitudeDeg) noexcept {
    return latitudeDeg >= -90 && latitudeDeg <= 90;
}

} // namespace core
