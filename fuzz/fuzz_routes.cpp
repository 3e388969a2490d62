// Any bytes as a GPX or FPL route: reading must neither crash nor accept a
// point that lies nowhere or more points than a route holds, and a route
// read exports to both formats and reads back to the same points.
#include "plan/RouteExchange.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const plan::RouteRead& read : {plan::readGpx(bytes), plan::readFpl(bytes)}) {
        if (!read.waypoints)
            continue;
        if (read.waypoints->empty() || read.waypoints->size() > plan::kMaxWaypoints)
            std::abort();
        plan::FlightPlan p;
        p.waypoints = *read.waypoints;
        for (const plan::Waypoint& w : p.waypoints) {
            if (!(std::fabs(w.position.latitudeDeg) <= 90) ||
                !(std::fabs(w.position.longitudeDeg) <= 180))
                std::abort();
        }
        for (bool fpl : {false, true}) {
            const auto written = fpl ? plan::fplOf(p) : plan::gpxOf(p);
            if (!written)
                continue; // a name that is not valid text is refused, not written
            const plan::RouteRead back = fpl ? plan::readFpl(*written) : plan::readGpx(*written);
            if (!back.waypoints || back.waypoints->size() != p.waypoints.size())
                std::abort();
            for (std::size_t i = 0; i < p.waypoints.size(); ++i) {
                const auto& a = p.waypoints[i].position;
                const auto& b = (*back.waypoints)[i].position;
                if (std::fabs(a.latitudeDeg - b.latitudeDeg) > 1e-6 ||
                    std::fabs(a.longitudeDeg - b.longitudeDeg) > 1e-6)
                    std::abort();
            }
        }
    }
    return 0;
}
