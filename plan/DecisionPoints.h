#pragma once
// Where to turn back, and how much wind the plan can take: the equal-time
// point, the point of no return and the wind margin of a computed plan.
// No widgets.
//
// Ground speeds are the leg computation's own (not rounded to whole knots):
// out on each leg's course with its wind, back on the reciprocal course with
// the same wind. Distances are nautical miles along the route, times
// minutes, fuel at the plan's one fuel flow.

#include "plan/FlightPlan.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace plan {

struct PointResult {
    std::optional<RoutePoint> point;
    QString why; // when there is no point: the reason, for the pilot
    // The point of no return only: the destination lies before it (the
    // aircraft can fly there and back with the reserve intact).
    bool beyondDestination = false;
};

struct WindCase {
    QString name;                // "10 kt stronger", "30° right", ...
    double eteChangeMin = 0;     // of the route
    double fuelChangeGal = 0;    // trip fuel
    double reserveMarginGal = 0; // fuel at the destination above the final reserve
    bool flyable = true;
};

struct WindMargin {
    // The largest extra headwind, the same on every leg, in whole knots, that
    // leaves the final reserve intact at the destination; none when even the
    // plan as it stands touches it.
    std::optional<int> headwindKt;
    std::vector<WindCase> cases; // the plan under each changed wind
    int mostSensitiveLeg = 0;    // 1-based: the most fuel gained by 10 kt more headwind
    QString summary;             // "The reserve holds up to 23 kt more headwind on every leg."
};

struct DecisionPoints {
    PointResult etp;
    PointResult pnr;
    WindMargin windMargin;
};

// Needs a plan whose route legs were all computed; otherwise every part
// says why not.
DecisionPoints decisionPoints(const FlightPlan& plan, const ComputedPlan& computed,
                              const magvar::MagneticVariation* model);

// "ETP 61.3 nm, 35.2 min from LSZH, in leg 2 (12.1 nm past Lake bridge), 47 05.12N 008 01.33E"
QString pointText(const QString& what, const PointResult& point, const FlightPlan& plan);

// "Top of climb: 11.2 nm, 10.0 min from LSZH, in leg 1 (11.2 nm past LSZH),
// 47 05.12N 008 01.33E, 4500 ft", and the top of descent likewise: the lines
// a plan flown in phases shows (none for one that is not).
QStringList levelTexts(const ComputedPlan& computed, const FlightPlan& plan);

} // namespace plan
