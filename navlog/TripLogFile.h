#pragma once
// The stored nav log, "navlog.json": {"version": 1, "trips": [{"started":
// ISO date and time, "legs": [{key: figure as shown, ...}]}]}, the keys those
// of the nav log's columns (navlog/LegColumns.h).

#include "navlog/TripLog.h"

#include <optional>
#include <string>
#include <vector>

namespace navlog {

// The trips of a stored log's bytes (trips without legs left out), or none
// when the bytes are not a log: not JSON, or JSON of another shape.
std::optional<std::vector<Trip>> readTrips(const std::string& bytes);

// The bytes of a stored log holding these trips.
std::string tripsJson(const std::vector<Trip>& trips);

} // namespace navlog
