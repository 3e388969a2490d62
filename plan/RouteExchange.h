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

// What a route may hold: a file larger than this, or with more waypoints,
// is refused (a plan file's waypoints are held to the same number).
constexpr std::size_t kMaxRouteFileBytes = 16u << 20;
constexpr std::size_t kMaxWaypoints = 1000;

struct RouteRead {
    std::optional<std::vector<Waypoint>> waypoints;
    QString error; // why the file cannot be read, with its line where known
    QString note;  // what the pilot should know of a route read (which of several)
};

RouteRead readGpx(const std::string& bytes);
RouteRead readFpl(const std::string& bytes);

// The file's bytes; none, with error saying why, where a name cannot be
// written (text that is not valid Unicode) or the writer fails: never a
// broken file.
std::optional<std::string> gpxOf(const FlightPlan& plan, QString* error = nullptr);
std::optional<std::string> fplOf(const FlightPlan& plan, QString* error = nullptr);

// By the file's root element: "gpx", "flight-plan", or a plan file's JSON.
enum class RouteFormat { Plan, Gpx, Fpl };
RouteFormat formatOf(const std::string& bytes);

// A GPX or FPL file's route, whichever formatOf finds (a plan file's bytes
// are read as FPL, and refused as such).
RouteRead readRoute(const std::string& bytes);

// Why a file of this many bytes is not read, or empty.
QString routeFileSizeProblem(qint64 bytes);

} // namespace plan
