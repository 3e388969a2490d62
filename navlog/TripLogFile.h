#pragma once
// The stored nav log, "navlog.json": {"version": 1, "trips": [{"started":
// ISO date and time, "legs": [{key: figure as shown, ...}]}]}, the keys those
// of the nav log's columns (navlog/LegColumns.h).

#include "navlog/TripLog.h"

#include <optional>
#include <string>
#include <vector>

namespace navlog {

// The version of the file this program reads and writes.
constexpr int kTripLogVersion = 1;

struct TripsRead {
    std::optional<std::vector<Trip>> trips; // trips without legs left out
    QString error; // why there are none: "not JSON", "of a newer Skyvane", ...
};

// The trips of a stored log's bytes, or none when this program does not
// understand every part of them (not JSON, another version, a part of
// another shape, a key it does not know): what it would write back would
// lose what it did not understand.
TripsRead readTrips(const std::string& bytes);

// The bytes of a stored log holding these trips.
std::string tripsJson(const std::vector<Trip>& trips);

} // namespace navlog
