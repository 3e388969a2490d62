#pragma once
// Which place a typed text means: a position as pilots write it, or a code
// of the navigation database (its exact match) or of the pilot's airport
// file. No widgets.

#include "plan/FlightPlan.h"

#include <QString>

#include <optional>

namespace navdb {
class NavData;
}
namespace store {
class AirportDatabase;
}

namespace plan {

// Where a waypoint is an airport of the navigation database (its code, within
// 5 nm of the position it was given) and has no elevation, the field's: a
// route read from a file, or a plan saved without it, climbs from the right
// height. Nothing else changes.
void fillFieldElevations(std::vector<Waypoint>& waypoints, const navdb::NavData& navData);

struct Resolved {
    std::optional<Waypoint> waypoint;
    QString refusal;        // for the pilot, when there is no waypoint
    bool ambiguous = false; // a code of several places: the list should be shown
};

class WaypointResolver {
public:
    // Both must outlive the resolver.
    WaypointResolver(const navdb::NavData& navData, store::AirportDatabase& airports)
        : m_navData(navData), m_airports(airports) {}

    // typed: a position or a code. A position is named name, or
    // "Checkpoint n" (n = number) without one. Empty text resolves to
    // nothing, without a refusal. A code that several places of the
    // navigation database carry picks none of them: the refusal names them,
    // the nearest to near (the waypoint before) first, for the pilot to
    // choose from the list.
    Resolved resolve(const QString& typed, const QString& name, int number,
                     const std::optional<core::GeoPoint>& near = std::nullopt) const;

private:
    const navdb::NavData& m_navData;
    store::AirportDatabase& m_airports;
};

} // namespace plan
