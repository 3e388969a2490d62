#pragma once
// Where the aircraft climbs and descends along a route, by its profile: the
// climb from the departure field to the first leg's altitude and at each
// waypoint where the next leg is higher, a descent at the start of a lower
// leg, and the descent to arrive over the destination at its elevation plus
// the pattern altitude. Each leg is cut into pieces flown in one phase at one
// true airspeed, fuel flow and wind; the plan then flies every piece through
// the leg computation. No widgets.
//
// A climb or descent is a steady change: its time, its true airspeed (still
// air distance over time) and fuel flow come from the profile's climb table
// or rates; its wind is the one at its mean altitude on each leg it crosses,
// so its ground distance on a leg is that leg's ground speed times the time
// spent there. One that does not end within its leg carries on into the next;
// changes follow one another, each starting where the one before ended. The
// final descent is placed back from the destination and must not begin before
// the last change ended.
//
// Units: nautical miles, knots, feet, minutes, gallons per hour, degrees.

#include "core/Wind.h"
#include "plan/AircraftProfile.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace plan {

enum class Phase { Cruise, Climb, Descent };

// "cruise", "climb", "descent", as the CSV and the JSON write it.
QString phaseText(Phase phase);

// A route leg as the performance sees it.
struct RouteLegShape {
    double distanceNm = 0; // as TC hands it over
    double courseDeg = 0;  // whole degrees, as the leg is flown
    double altitudeFt = 0; // its cruise altitude
};

// A stretch of one leg flown in one phase. Its ends lie startNm and endNm
// past the leg's start waypoint, to hundredths of a mile (so the pieces of a
// leg add up to its distance).
struct LegPiece {
    Phase phase = Phase::Cruise;
    double startNm = 0, endNm = 0;
    double tasKt = 0, fuelFlowGph = 0;
    double windAltitudeFt = 0; // the altitude whose wind it is flown in
    double altitudeFt = 0;     // cruising level, or where the climb or descent goes
    // What its ends are called when they are no waypoint: "TOC", "TOD",
    // "BOC" (a climb begun between waypoints) or "BOD" (a descent ended there).
    QString fromLabel, toLabel;
    QString note; // "climb carries on into leg 3"
};

// A point where the altitude changes: which leg, how far into it.
struct LevelChange {
    int leg = 0; // index of the route leg
    double intoLegNm = 0;
    double altitudeFt = 0;
};

struct VerticalPlan {
    std::vector<std::vector<LegPiece>> legs; // per route leg; empty when problem is set
    std::optional<LevelChange> topOfClimb;   // the end of the first climb
    std::optional<LevelChange> topOfDescent; // the start of the descent to the destination
    QString problem;                         // a climb or descent that cannot be flown
    int problemLeg = 0;                      // index of the route leg it begins in
};

// The wind on route leg `leg` at an altitude; none where there is none.
using WindOnLeg = std::function<std::optional<core::Wind>(int leg, double altitudeFt)>;

struct VerticalInput {
    std::vector<RouteLegShape> legs;
    double departureFt = 0; // the field the route starts from
    double arrivalFt = 0;   // over the destination: its elevation plus the pattern
    // The temperature above standard at each leg's altitude, for the climb
    // table; 0 where unknown.
    std::function<double(double altitudeFt)> isaDeviationC;
};

VerticalPlan verticalPlan(const AircraftProfile& profile, const VerticalInput& input,
                          const WindOnLeg& windOn);

// The cruise of a whole leg as one piece: what a leg has without a climb or
// descent, and every leg of a plan without a profile.
LegPiece cruisePiece(double distanceNm, double altitudeFt, double tasKt, double fuelFlowGph);

} // namespace plan
