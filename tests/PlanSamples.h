#pragma once
// Sample plans the plan's tests share.

#include "plan/FlightPlan.h"

#include <tuple>

namespace testing {

// Zürich, a lake bridge, Bern and Geneva at 4500 ft in a 270/15 wind, TAS
// 110, 8 gal/h, 40 gal with 1 for taxi, variation -2, deviation 1.
inline plan::FlightPlan threeLegs() {
    using plan::FlightPlan;
    using plan::Wind;
    FlightPlan p;
    p.aircraft = {110, 8, 40, 1};
    p.off = QDateTime(QDate(2026, 6, 1), QTime(10, 0, 0));
    p.variationDeg = -2;
    p.deviationDeg = 1;
    for (const auto& [name, lat, lon] : {std::tuple{"LSZH", 47.458, 8.548},
                                         {"Lake bridge", 47.2, 8.9},
                                         {"LSZB", 46.913, 7.499},
                                         {"LSGG", 46.238, 6.109}}) {
        plan::Waypoint w;
        w.name = name;
        w.position = {lat, lon};
        w.leg.altitudeFt = 4500;
        w.leg.wind = Wind{270, 15};
        p.waypoints.push_back(w);
    }
    return p;
}

} // namespace testing
