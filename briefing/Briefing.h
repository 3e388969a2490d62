#pragma once
// The briefing of a plan's departure, destination and alternate: the
// weather reports decoded, the wind on each runway, the density altitude,
// the day's light, and what of the flight is flown at night. Made from the
// plan and its computation; no widgets.

#include "briefing/Atmosphere.h"
#include "briefing/Report.h"
#include "briefing/RunwayWind.h"
#include "briefing/Sun.h"
#include "plan/FlightPlan.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace navdb {
class NavData;
}
namespace magvar {
class MagneticVariation;
}

namespace briefing {

enum class Role { Departure, Destination, Alternate };
QString roleName(Role role);  // "departure", ...
QString roleTitle(Role role); // "Departure", ...

struct AirportBriefing {
    Role role = Role::Departure;
    plan::Waypoint airport;
    QDateTime atUtc; // off at the departure, the ETA at the others (invalid: not computed)

    std::optional<Metar> metar;
    QString metarProblem; // why a text given was not decoded
    std::optional<Taf> taf;
    QString tafProblem;
    std::vector<std::size_t> tafPeriods; // those that cover atUtc

    std::optional<SurfaceWind> surfaceWind; // report, typed, else the lowest winds-aloft row
    RunwayWinds runways;

    std::optional<double> pressureAltitudeFt, densityAltitudeFt;
    std::optional<double> temperatureC; // the report's, else none
    double standardTemperatureC = 15;   // at the pressure altitude (or the field)
    QString densityProblem;             // why there is no density altitude

    SunDay sun;
};

struct Briefing {
    std::vector<AirportBriefing> airports;
    QStringList warnings;       // before dawn, after dusk, night legs, crosswind
    std::vector<int> nightLegs; // the route's legs (from 1) flown partly at night
};

// db and model may be null: then runways are not known and a runway end
// without a heading is left out.
Briefing briefingOf(const plan::FlightPlan& plan, const plan::ComputedPlan& computed,
                    const navdb::NavData* db, const magvar::MagneticVariation* model);

// The route's legs (from 1) of which any part is flown at night, the sun
// looked at every five minutes along each leg and at both ends.
std::vector<int> nightLegsOf(const plan::FlightPlan& plan, const plan::ComputedPlan& computed);

// Reports pasted, opened or fetched, each to the plan's airport (departure,
// destination, alternate) it names. kind: what they all are, or (Any) each
// by its first word (TAF, else a METAR).
enum class ReportKind { Any, Metar, Taf };
struct ReportsPlaced {
    int placed = 0;
    QStringList elsewhere;  // stations of none of the plan's airports
    QStringList unreadable; // reports that name no station, as they start
};
ReportsPlaced placeReports(const QString& text, ReportKind kind, plan::FlightPlan& plan);

// "3", "3 and 5", "1 to 4": legs for a sentence.
QString legsText(const std::vector<int>& legs);

} // namespace briefing
