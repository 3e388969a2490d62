#include "map/RouteProjection.h"

#include "core/Files.h"
#include "course/GreatCircle.h"

#include <GeographicLib/AzimuthalEquidistant.hpp>

#include <charconv>
#include <limits>
#include <mutex>

namespace map {
namespace {

constexpr double kMetresPerNm = 1852;

const GeographicLib::AzimuthalEquidistant& projection() {
    static const GeographicLib::AzimuthalEquidistant ae(GeographicLib::Geodesic::WGS84());
    return ae;
}

} // namespace

PlanePoint RouteProjection::forward(const core::GeoPoint& p) const noexcept {
    double x = 0, y = 0, azimuth = 0, scale = 0;
    projection().Forward(m_centre.latitudeDeg, m_centre.longitudeDeg, p.latitudeDeg, p.longitudeDeg,
                         x, y, azimuth, scale);
    return {x / kMetresPerNm, y / kMetresPerNm};
}

core::GeoPoint RouteProjection::reverse(const PlanePoint& p) const noexcept {
    double lat = 0, lon = 0, azimuth = 0, scale = 0;
    projection().Reverse(m_centre.latitudeDeg, m_centre.longitudeDeg, p.eastNm * kMetresPerNm,
                         p.northNm * kMetresPerNm, lat, lon, azimuth, scale);
    return {lat, lon};
}

core::GeoPoint centreOf(const std::vector<core::GeoPoint>& points) {
    if (points.empty())
        return {};
    std::size_t a = 0, b = 0;
    double widest = -1;
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (std::size_t j = i + 1; j < points.size(); ++j) {
            const double arc = course::arcDeg(points[i], points[j]);
            if (arc > widest) {
                widest = arc;
                a = i;
                b = j;
            }
        }
    }
    return course::midpoint(points[a], points[b]);
}

std::vector<Ring> readLandOutlines(const std::string& bytes) {
    std::vector<Ring> rings;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t lineEnd = bytes.find('\n', at);
        if (lineEnd == std::string::npos)
            lineEnd = bytes.size();
        // Numbers of this line only: pairs of longitude and latitude.
        std::vector<long> numbers;
        const char* p = bytes.data() + at;
        const char* const end = bytes.data() + lineEnd;
        while (p < end) {
            while (p < end && *p == ' ')
                ++p;
            long value = 0;
            const auto [next, error] = std::from_chars(p, end, value);
            if (error != std::errc() || next == p)
                break;
            numbers.push_back(value);
            p = next;
        }
        if (p == end && numbers.size() % 2 == 0 && numbers.size() >= 6) {
            Ring ring;
            for (std::size_t i = 0; i < numbers.size(); i += 2)
                ring.push_back({static_cast<double>(numbers[i + 1]) / 100.0,
                                static_cast<double>(numbers[i]) / 100.0});
            rings.push_back(std::move(ring));
        }
        at = lineEnd + 1;
    }
    return rings;
}

const std::vector<Ring>& landOutlines(const core::DataPlaces& places) {
    static std::vector<Ring> rings;
    static std::once_flag once;
    std::call_once(once, [&places] {
        if (const auto path = places.installedFile(QStringLiteral("land-50m.txt"))) {
            if (const auto bytes =
                    core::readFileBytes(*path, std::numeric_limits<std::size_t>::max()))
                rings = readLandOutlines(*bytes);
        }
    });
    return rings;
}

} // namespace map
