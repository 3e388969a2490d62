#include "plan/DecisionPoints.h"

#include "core/NumberText.h"
#include "course/GreatCircle.h"
#include "plan/Coordinates.h"

#include <cmath>

namespace plan {
namespace {

struct LegSpeeds {
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
        if (leg.alternate)
            continue;
        if (leg.problem != LegProblem::None)
            return std::nan("");
        fuelLeft = leg.result.fuelLeftGal - (leg.fuelShortGal > 0 ? leg.fuelShortGal : 0);
    }
    return fuelLeft - plan.fuel.reserveMin * plan.aircraft.fuelFlowGph / 60;
}

} // namespace

DecisionPoints decisionPoints(const FlightPlan& plan, const ComputedPlan& computed,
                              const magvar::MagneticVariation* model) {
    DecisionPoints out;
    std::vector<LegSpeeds> legs;
    QString notComputed;
    for (const PlanLeg& leg : computed.legs) {
        if (leg.alternate)
            continue;
        if (leg.problem != LegProblem::None) {
            notComputed = QStringLiteral("leg %1 cannot be computed").arg(legs.size() + 1);
            break;
        }
        LegSpeeds s;
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
    if (legs.empty() && notComputed.isEmpty())
        notComputed = QStringLiteral("the plan has no legs");
    if (!notComputed.isEmpty()) {
        out.etp.why = out.pnr.why = out.windMargin.summary =
            QStringLiteral("No decision points: %1.").arg(notComputed);
        return out;
    }
    bool noWayBack = false;
    for (const LegSpeeds& s : legs)
        noWayBack = noWayBack || !(s.backKt > 0);

    auto pointIn = [&](std::size_t i, double intoNm, double outMinBefore, double distanceBefore) {
        RoutePoint p;
        p.leg = static_cast<int>(i) + 1;
        p.intoLegNm = intoNm;
        p.distanceNm = distanceBefore + intoNm;
        p.minutes = outMinBefore + intoNm / legs[i].outKt * 60;
        // Between antipodes every great circle joins the two: the one the
        // leg's course leaves on is the one flown.
        const bool antipodes = course::arcDeg(legs[i].from, legs[i].to) > 179.9;
        p.position =
            antipodes
                ? course::pointFrom(legs[i].from, legs[i].courseDeg, intoNm)
                : course::pointAlong(legs[i].from, legs[i].to,
                                     legs[i].distanceNm > 0 ? intoNm / legs[i].distanceNm : 0);
        return p;
    };

    // Equal-time point: going on takes as long as turning back.
    if (noWayBack) {
        out.etp.why = QStringLiteral("No equal-time point: against this wind the aircraft cannot "
                                     "fly back to the departure.");
    } else {
        std::vector<double> onAfter(legs.size(), 0); // minutes from a leg's end to the destination
        for (std::size_t i = legs.size() - 1; i > 0; --i)
            onAfter[i - 1] = onAfter[i] + legs[i].distanceNm / legs[i].outKt * 60;
        double backBefore = 0, outBefore = 0, distanceBefore = 0;
        for (std::size_t i = 0; i < legs.size(); ++i) {
            const LegSpeeds& s = legs[i];
            const double d = (s.distanceNm / s.outKt * 60 + onAfter[i] - backBefore) /
                             (60 / s.outKt + 60 / s.backKt);
            if (d >= 0 && d <= s.distanceNm) {
                out.etp.point = pointIn(i, d, outBefore, distanceBefore);
                break;
            }
            backBefore += s.distanceNm / s.backKt * 60;
            outBefore += s.distanceNm / s.outKt * 60;
            distanceBefore += s.distanceNm;
        }
    }

    // Point of no return: out and back again on the fuel above the reserve.
    const double gph = plan.aircraft.fuelFlowGph;
    const double usableGal =
        plan.aircraft.fuelGal - plan.aircraft.taxiGal - plan.fuel.reserveMin * gph / 60;
    if (!(gph > 0)) {
        out.pnr.why = QStringLiteral("No point of no return: the plan has no fuel flow.");
    } else if (!(usableGal > 0)) {
        out.pnr.why = QStringLiteral("No point of no return: the fuel after taxi does not cover "
                                     "the final reserve.");
    } else if (noWayBack) {
        out.pnr.why = QStringLiteral("No point of no return: against this wind the aircraft "
                                     "cannot fly back to the departure.");
    } else {
        const double enduranceMin = usableGal / gph * 60;
        double used = 0, outBefore = 0, distanceBefore = 0;
        for (std::size_t i = 0; i < legs.size(); ++i) {
            const LegSpeeds& s = legs[i];
            const double perNm = 60 / s.outKt + 60 / s.backKt;
            const double d = (enduranceMin - used) / perNm;
            const bool last = i + 1 == legs.size();
            if (d <= s.distanceNm || last) {
                // Beyond the destination the last leg is flown on.
                out.pnr.point = pointIn(i, d, outBefore, distanceBefore);
                out.pnr.beyondDestination = d > s.distanceNm;
                break;
            }
            used += s.distanceNm * perNm;
            outBefore += s.distanceNm / s.outKt * 60;
            distanceBefore += s.distanceNm;
        }
    }

    // The wind margin.
    WindMargin& m = out.windMargin;
    const double baseMargin = reserveMargin(plan, computed);
    const double baseEte = computed.eteMin, baseTrip = computed.fuel.tripGal;
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
    for (const Change& change : changes) {
        const FlightPlan changed = withWinds(plan, computed, change.wind);
        const ComputedPlan c = computePlan(changed, model);
        WindCase wc;
        wc.name = QString::fromUtf8(change.name);
        wc.flyable = c.flyable;
        wc.eteChangeMin = core::roundTo2Places(c.eteMin - baseEte);
        wc.fuelChangeGal = core::roundTo2Places(c.fuel.tripGal - baseTrip);
        wc.reserveMarginGal = core::roundTo2Places(reserveMargin(changed, c));
        m.cases.push_back(wc);
    }
    // The most sensitive leg: the most fuel gained by 10 kt more headwind.
    {
        const FlightPlan harder = withWinds(plan, computed, [](const PlanLeg& l) {
            return withHeadwind(l.wind, l.input.trueCourseDeg, 10);
        });
        const ComputedPlan c = computePlan(harder, model);
        double most = -1;
        for (std::size_t i = 0; i < c.legs.size() && i < legs.size(); ++i) {
            const double gain =
                c.legs[i].problem == LegProblem::None
                    ? c.legs[i].result.fuelUsedGal - computed.legs[i].result.fuelUsedGal
                    : 1e9;
            if (gain > most) {
                most = gain;
                m.mostSensitiveLeg = static_cast<int>(i) + 1;
            }
        }
    }
    // The largest extra headwind, to a whole knot: the margin only shrinks as
    // the headwind grows, so halving the interval finds it.
    auto holds = [&](double extraKt) {
        const FlightPlan harder = withWinds(plan, computed, [extraKt](const PlanLeg& l) {
            return withHeadwind(l.wind, l.input.trueCourseDeg, extraKt);
        });
        const double margin = reserveMargin(harder, computePlan(harder, model));
        return margin >= 0;
    };
    if (!(baseMargin >= 0)) {
        m.summary = QStringLiteral("The plan as it stands already eats into the final reserve.");
    } else {
        int low = 0, high = static_cast<int>(std::ceil(plan.aircraft.tasKt)) + 1;
        while (high - low > 1) {
            const int mid = (low + high) / 2;
            (holds(mid) ? low : high) = mid;
        }
        m.headwindKt = low;
        m.summary = QStringLiteral("The reserve holds up to %1 kt more headwind on every leg; "
                                   "leg %2 is the most sensitive.")
                        .arg(low)
                        .arg(m.mostSensitiveLeg);
    }
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
