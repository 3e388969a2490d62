#pragma once
// Routes exchanged with other planners and devices: GPX 1.1 routes (rte,
// rtept with lat, lon and name) and Garmin flight plans (.fpl: the waypoint
// table and the route), read and written with Qt's XML stream classes. Such
// files carry the waypoints only; winds, aircraft and fuel come from
// elsewhere (the defaults, the command line).

#include "plan/FlightPlan.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace plan {

struct RouteRead {
    std::optional<std::vector<Waypoint>> waypoints;
    QString error; // why the file cannot be read, with its line where known
};

RouteRead readGpx(const std::string& bytes);
std::string gpxOf(const FlightPlan& plan);

RouteRead readFpl(const std::string& bytes);
std::string fplOf(const FlightPlan& plan);

// By the file's root element: "gpx", "flight-plan", or a plan file's JSON.
enum class RouteFormat { Plan, Gpx, Fpl };
RouteFormat formatOf(const std::string& bytes);

// A GPX or FPL file's route, whichever formatOf finds (a plan file's bytes
// are read as FPL, and refused as such).
RouteRead readRoute(const std::string& bytes);

} // namespace plan
