#include "plan/DecisionPoints.h"

#include "core/NumberText.h"
#include "course/GreatCircle.h"
#include "plan/Coordinates.h"

#include <algorithm>
#include <cmath>

namespace plan {
namespace {

struct LegSpeeds {
    int number = 0; // the route's leg, from 1
    double distanceNm = 0;
    double courseDeg = 0; // as TC gives it
    double outKt = 0;     // along the course
    double backKt = 0;    // along the reciprocal, same wind; NaN: no way back
    core::GeoPoint from, to;
};

QString one(double value) {
    return QString::fromStdString(core::formatFixed(value, 1));
}

// A wind with an extra headwind on a course: the two as vectors.
Wind withHeadwind(const Wind& wind, double courseDeg, double extraKt) {
    return core::windOf(core::vectorOf(wind) + core::vectorOf(Wind{courseDeg, extraKt}));
}

// The plan with every route leg's wind changed as `change` says.
FlightPlan withWinds(const FlightPlan& plan, const ComputedPlan& computed,
                     const std::function<Wind(const PlanLeg&)>& change) {
    FlightPlan p = plan;
    for (const PlanLeg& leg : computed.legs) {
        Waypoint& to = leg.alternate ? *p.alternate : p.waypoints[static_cast<std::size_t>(leg.to)];
        to.leg.wind = change(leg);
    }
    return p;
}

// Fuel at the destination above the final reserve; NaN when a route leg
// cannot be flown.
double reserveMargin(const FlightPlan& plan, const ComputedPlan& computed) {
    double fuelLeft = std::nan("");
    for (const PlanLeg& leg : computed.legs) {
        if (leg.alternate || leg.nothingToFly())
            continue;
        if (leg.problem != LegProblem::None)
            return std::nan("");
        fuelLeft = leg.result.fuelLeftGal - (leg.fuelShortGal > 0 ? leg.fuelShortGal : 0);
    }
    return fuelLeft - plan.fuel.reserveMin * plan.aircraft.fuelFlowGph / 60;
}

// The route's legs with their speeds out and back; the reason there are
// none when a leg cannot be computed. A leg with nothing to fly is left out:
// it takes no time either way.
std::vector<LegSpeeds> speedsOf(const FlightPlan& plan, const ComputedPlan& computed,
                                QString* notComputed) {
    std::vector<LegSpeeds> legs;
    int number = 0;
    for (const PlanLeg& leg : computed.legs) {
        if (leg.alternate)
            continue;
        ++number;
        if (leg.nothingToFly())
            continue;
        if (leg.problem != LegProblem::None) {
            *notComputed = QStringLiteral("leg %1 cannot be computed").arg(number);
            return {};
        }
        LegSpeeds s;
        s.number = number;
        s.distanceNm = leg.input.distanceNm;
        s.courseDeg = leg.courseDeg;
        s.outKt = leg::groundSpeedKt(leg.input.trueCourseDeg, leg.input.windDirectionDeg,
                                     leg.input.windVelocityKt, leg.input.tasKt);
        s.backKt = leg::groundSpeedKt(std::fmod(leg.input.trueCourseDeg + 180, 360),
                                      leg.input.windDirectionDeg, leg.input.windVelocityKt,
                                      leg.input.tasKt);
        s.from = plan.waypoints[static_cast<std::size_t>(leg.from)].position;
        s.to = plan.waypoints[static_cast<std::size_t>(leg.to)].position;
        legs.push_back(s);
    }
    if (legs.empty())
        *notComputed = QStringLiteral("the plan has no legs");
    return legs;
}

// A point of leg i, intoNm past its start, with the distance and time to it
// from the departure.
RoutePoint pointIn(const std::vector<LegSpeeds>& legs, std::size_t i, double intoNm,
                   double outMinBefore, double distanceBefore) {
    RoutePoint p;
    p.leg = legs[i].number;
    p.intoLegNm = intoNm;
    p.distanceNm = distanceBefore + intoNm;
    p.minutes = outMinBefore + intoNm / legs[i].outKt * 60;
    // Between antipodes every great circle joins the two: the one the leg's
    // course leaves on is the one flown.
    const bool antipodes = course::arcDeg(legs[i].from, legs[i].to) > 179.9;
    p.position = antipodes
                     ? course::pointFrom(legs[i].from, legs[i].courseDeg, intoNm)
                     : course::pointAlong(legs[i].from, legs[i].to,
                                          legs[i].distanceNm > 0 ? intoNm / legs[i].distanceNm : 0);
    return p;
}

// Equal-time point: going on takes as long as turning back.
PointResult equalTimePoint(const std::vector<LegSpeeds>& legs, bool noWayBack) {
    PointResult out;
    if (noWayBack) {
        out.why = QStringLiteral("No equal-time point: against this wind the aircraft cannot "
                                 "fly back to the departure.");
        return out;
    }
    std::vector<double> onAfter(legs.size(), 0); // minutes from a leg's end to the destination
    for (std::size_t i = legs.size() - 1; i > 0; --i)
        onAfter[i - 1] = onAfter[i] + legs[i].distanceNm / legs[i].outKt * 60;
    double backBefore = 0, outBefore = 0, distanceBefore = 0;
    for (std::size_t i = 0; i < legs.size(); ++i) {
        const LegSpeeds& s = legs[i];
        const double d = (s.distanceNm / s.outKt * 60 + onAfter[i] - backBefore) /
                         (60 / s.outKt + 60 / s.backKt);
        if (d >= 0 && d <= s.distanceNm) {
            out.point = pointIn(legs, i, d, outBefore, distanceBefore);
            break;
        }
        backBefore += s.distanceNm / s.backKt * 60;
        outBefore += s.distanceNm / s.outKt * 60;
        distanceBefore += s.distanceNm;
    }
    return out;
}

// Point of no return: out and back again on the fuel above the reserve.
PointResult pointOfNoReturn(const FlightPlan& plan, const std::vector<LegSpeeds>& legs,
                            bool noWayBack) {
    PointResult out;
    const double gph = plan.aircraft.fuelFlowGph;
    const double usableGal =
        plan.aircraft.fuelGal - plan.aircraft.taxiGal - plan.fuel.reserveMin * gph / 60;
    if (!(gph > 0)) {
        out.why = QStringLiteral("No point of no return: the plan has no fuel flow.");
        return out;
    }
    if (!(usableGal > 0)) {
        out.why = QStringLiteral("No point of no return: the fuel after taxi does not cover the "
                                 "final reserve.");
        return out;
    }
    if (noWayBack) {
        out.why = QStringLiteral("No point of no return: against this wind the aircraft cannot "
                                 "fly back to the departure.");
        return out;
    }
    const double enduranceMin = usableGal / gph * 60;
    double used = 0, outBefore = 0, distanceBefore = 0;
    for (std::size_t i = 0; i < legs.size(); ++i) {
        const LegSpeeds& s = legs[i];
        const double perNm = 60 / s.outKt + 60 / s.backKt;
        const double d = (enduranceMin - used) / perNm;
        const bool last = i + 1 == legs.size();
        if (d <= s.distanceNm || last) {
            // Beyond the destination the last leg is flown on.
            out.point = pointIn(legs, i, d, outBefore, distanceBefore);
            out.beyondDestination = d > s.distanceNm;
            break;
        }
        used += s.distanceNm * perNm;
        outBefore += s.distanceNm / s.outKt * 60;
        distanceBefore += s.distanceNm;
    }
    return out;
}

// The plan with every route leg's wind made extraKt more of a headwind.
FlightPlan withExtraHeadwind(const FlightPlan& plan, const ComputedPlan& computed, double extraKt) {
    return withWinds(plan, computed, [extraKt](const PlanLeg& l) {
        return withHeadwind(l.wind, l.input.trueCourseDeg, extraKt);
    });
}

// The route's time, fuel and reserve margin in each changed wind.
std::vector<WindCase> windCases(const FlightPlan& plan, const ComputedPlan& computed,
                                const magvar::MagneticVariation* model) {
    struct Change {
        const char* name;
        std::function<Wind(const PlanLeg&)> wind;
    };
    const Change changes[] = {
        {"10 kt stronger",
         [](const PlanLeg& l) {
             return Wind{l.wind.directionDeg, l.wind.speedKt + 10};
         }},
        {"10 kt weaker",
         [](const PlanLeg& l) {
             return Wind{l.wind.directionDeg, std::max(0.0, l.wind.speedKt - 10)};
         }},
        {"30° right",
         [](const PlanLeg& l) {
             return Wind{std::fmod(l.wind.directionDeg + 30, 360), l.wind.speedKt};
         }},
        {"30° left", [](const PlanLeg& l) {
             return Wind{std::fmod(l.wind.directionDeg + 330, 360), l.wind.speedKt};
         }}};
    std::vector<WindCase> cases;
    for (const Change& change : changes) {
        const FlightPlan changed = withWinds(plan, computed, change.wind);
        const ComputedPlan c = computePlan(changed, model);
        WindCase wc;
        wc.name = QString::fromUtf8(change.name);
        wc.flyable = c.flyable;
        wc.eteChangeMin = core::roundTo2Places(c.eteMin - computed.eteMin);
        wc.fuelChangeGal = core::roundTo2Places(c.fuel.tripGal - computed.fuel.tripGal);
        wc.reserveMarginGal = core::roundTo2Places(reserveMargin(changed, c));
        cases.push_back(wc);
    }
    return cases;
}

// The most sensitive leg, from 1: the most fuel gained by 10 kt more
// headwind on every leg.
int mostSensitiveLeg(const FlightPlan& plan, const ComputedPlan& computed, std::size_t routeLegs,
                     const magvar::MagneticVariation* model) {
    const ComputedPlan c = computePlan(withExtraHeadwind(plan, computed, 10), model);
    double most = -1;
    int leg = 0;
    for (std::size_t i = 0; i < c.legs.size() && i < routeLegs; ++i) {
        const PlanLeg& windier = c.legs[i];
        const double gain = windier.nothingToFly() ? 0
                            : windier.problem == LegProblem::None
                                ? windier.result.fuelUsedGal - computed.legs[i].result.fuelUsedGal
                                : 1e9;
        if (gain > most) {
            most = gain;
            leg = static_cast<int>(i) + 1;
        }
    }
    return leg;
}

WindMargin windMargin(const FlightPlan& plan, const ComputedPlan& computed, std::size_t routeLegs,
                      const magvar::MagneticVariation* model) {
    WindMargin m;
    m.cases = windCases(plan, computed, model);
    m.mostSensitiveLeg = mostSensitiveLeg(plan, computed, routeLegs, model);
    if (!(reserveMargin(plan, computed) >= 0)) {
        m.summary = QStringLiteral("The plan as it stands already eats into the final reserve.");
        return m;
    }
    // The largest extra headwind, to a whole knot: the margin only shrinks as
    // the headwind grows, so halving the interval finds it.
    auto holds = [&](double extraKt) {
        const FlightPlan harder = withExtraHeadwind(plan, computed, extraKt);
        return reserveMargin(harder, computePlan(harder, model)) >= 0;
    };
    int low = 0, high = static_cast<int>(std::ceil(plan.aircraft.tasKt)) + 1;
    while (high - low > 1) {
        const int mid = (low + high) / 2;
        (holds(mid) ? low : high) = mid;
    }
    m.headwindKt = low;
    m.summary = QStringLiteral("The reserve holds up to %1 kt more headwind on every leg; leg %2 "
                               "is the most sensitive.")
                    .arg(low)
                    .arg(m.mostSensitiveLeg);
    return m;
}

} // namespace

DecisionPoints decisionPoints(const FlightPlan& plan, const ComputedPlan& computed,
                              const magvar::MagneticVariation* model) {
    DecisionPoints out;
    QString notComputed;
    const std::vector<LegSpeeds> legs = speedsOf(plan, computed, &notComputed);
    if (!notComputed.isEmpty()) {
        out.etp.why = out.pnr.why = out.windMargin.summary =
            QStringLiteral("No decision points: %1.").arg(notComputed);
        return out;
    }
    bool noWayBack = false;
    for (const LegSpeeds& s : legs)
        noWayBack = noWayBack || !(s.backKt > 0);
    out.etp = equalTimePoint(legs, noWayBack);
    out.pnr = pointOfNoReturn(plan, legs, noWayBack);
    const auto routeLegs = static_cast<std::size_t>(std::count_if(
        computed.legs.begin(), computed.legs.end(), [](const PlanLeg& l) { return !l.alternate; }));
    out.windMargin = windMargin(plan, computed, routeLegs, model);
    return out;
}

QString pointText(const QString& what, const PointResult& point, const FlightPlan& plan) {
    if (!point.point)
        return point.why;
    const RoutePoint& p = *point.point;
    const Waypoint& start = plan.waypoints[static_cast<std::size_t>(p.leg - 1)];
    const Waypoint& first = plan.waypoints.front();
    QString text = QStringLiteral("%1 %2 nm, %3 min from %4, in leg %5 (%6 nm past %7), %8")
                       .arg(what, one(p.distanceNm), one(p.minutes), first.label())
                       .arg(p.leg)
                       .arg(one(p.intoLegNm), start.label(), positionText(p.position));
    if (point.beyondDestination)
        text +=
            QStringLiteral(": the destination lies before it, there and back holds the reserve");
    return text;
}

} // namespace plan
