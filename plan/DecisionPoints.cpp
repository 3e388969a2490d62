#include "plan/DecisionPoints.h"

#include "core/NumberText.h"
#include "core/Text.h"
#include "course/GreatCircle.h"
#include "plan/Coordinates.h"

#include <algorithm>
#include <cmath>

namespace plan {
namespace {

// A piece of the route flown at one speed: a leg, or with an aircraft
// profile its climb, cruise or descent.
struct LegSpeeds {
    int number = 0; // the route's leg, from 1
    double distanceNm = 0;
    double startNm = 0; // past the leg's start waypoint
    double outKt = 0;   // along the course
    double backKt = 0;  // along the reciprocal, same wind; NaN: no way back
    double gph = 0;     // its fuel flow, out and back
    const PlanLeg* leg = nullptr;
};

QString one(double value) {
    return QString::fromStdString(core::formatFixed(value, 1));
}

// A wind with an extra headwind on a course: the two as vectors.
Wind withHeadwind(const Wind& wind, double courseDeg, double extraKt) {
    return core::windOf(core::vectorOf(wind) + core::vectorOf(Wind{courseDeg, extraKt}));
}

double reserveGal(const FlightPlan& plan) {
    return plan.fuel.reserveMin * reserveFuelFlowGph(plan) / 60;
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
    return fuelLeft - reserveGal(plan);
}

// The fuel the route burns to the destination.
double routeFuelGal(const ComputedPlan& computed) {
    double gal = 0;
    for (const PlanLeg& leg : computed.legs) {
        if (!leg.alternate && leg.problem == LegProblem::None)
            gal += leg.result.fuelUsedGal;
    }
    return gal;
}

// The route's pieces with their speeds out and back; the reason there are
// none when a leg cannot be computed. A leg with nothing to fly is left out:
// it takes no time either way.
std::vector<LegSpeeds> speedsOf(const ComputedPlan& computed, QString* notComputed) {
    std::vector<LegSpeeds> legs;
    for (const PlanLeg& leg : computed.legs) {
        if (leg.alternate || leg.nothingToFly())
            continue;
        if (leg.problem != LegProblem::None) {
            *notComputed = QStringLiteral("leg %1 cannot be computed").arg(leg.number);
            return {};
        }
        LegSpeeds s;
        s.number = leg.number;
        s.distanceNm = leg.input.distanceNm;
        s.startNm = leg.startNm;
        s.outKt = leg::groundSpeedKt(leg.input.trueCourseDeg, leg.input.windDirectionDeg,
                                     leg.input.windVelocityKt, leg.input.tasKt);
        s.backKt = leg::groundSpeedKt(std::fmod(leg.input.trueCourseDeg + 180, 360),
                                      leg.input.windDirectionDeg, leg.input.windVelocityKt,
                                      leg.input.tasKt);
        s.gph = leg.input.fuelFlowGph;
        s.leg = &leg;
        legs.push_back(s);
    }
    if (legs.empty())
        *notComputed = QStringLiteral("the plan has no legs");
    return legs;
}

// A point of piece i, intoNm past its start, with the distance and time to it
// from the departure.
RoutePoint pointIn(const FlightPlan& plan, const std::vector<LegSpeeds>& legs, std::size_t i,
                   double intoNm, double outMinBefore, double distanceBefore) {
    RoutePoint p;
    p.leg = legs[i].number;
    p.intoLegNm = legs[i].startNm + intoNm;
    p.distanceNm = distanceBefore + intoNm;
    p.minutes = outMinBefore + intoNm / legs[i].outKt * 60;
    p.position = pointInLeg(plan, *legs[i].leg, p.intoLegNm);
    return p;
}

// Equal-time point: going on takes as long as turning back.
PointResult equalTimePoint(const FlightPlan& plan, const std::vector<LegSpeeds>& legs,
                           bool noWayBack) {
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
            out.point = pointIn(plan, legs, i, d, outBefore, distanceBefore);
            break;
        }
        backBefore += s.distanceNm / s.backKt * 60;
        outBefore += s.distanceNm / s.outKt * 60;
        distanceBefore += s.distanceNm;
    }
    return out;
}

// Point of no return: out and back again on the fuel above the reserve, each
// piece flown back at its own airspeed and fuel flow on the reciprocal course.
PointResult pointOfNoReturn(const FlightPlan& plan, const std::vector<LegSpeeds>& legs,
                            bool noWayBack) {
    PointResult out;
    const double usableGal = plan.aircraft.fuelGal - plan.aircraft.taxiGal - reserveGal(plan);
    if (!(reserveFuelFlowGph(plan) > 0)) {
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
    double usedGal = 0, outBefore = 0, distanceBefore = 0;
    for (std::size_t i = 0; i < legs.size(); ++i) {
        const LegSpeeds& s = legs[i];
        const double galPerNm = s.gph / s.outKt + s.gph / s.backKt;
        const double d = (usableGal - usedGal) / galPerNm;
        const bool last = i + 1 == legs.size();
        if (d <= s.distanceNm || last) {
            // Beyond the destination the last piece is flown on.
            out.point = pointIn(plan, legs, i, d, outBefore, distanceBefore);
            out.beyondDestination = d > s.distanceNm;
            break;
        }
        usedGal += s.distanceNm * galPerNm;
        outBefore += s.distanceNm / s.outKt * 60;
        distanceBefore += s.distanceNm;
    }
    return out;
}

// Every wind made extraKt more of a headwind on its leg.
WindChange extraHeadwind(double extraKt) {
    return [extraKt](const Wind& wind, double courseDeg) {
        return withHeadwind(wind, courseDeg, extraKt);
    };
}

// The route's time, fuel and reserve margin in each changed wind.
std::vector<WindCase> windCases(const FlightPlan& plan, const ComputedPlan& computed,
                                const magvar::MagneticVariation* model) {
    struct Change {
        const char* name;
        WindChange wind;
    };
    const Change changes[] = {{"10 kt stronger",
                               [](const Wind& w, double) {
                                   return Wind{w.directionDeg, w.speedKt + 10};
                               }},
                              {"10 kt weaker",
                               [](const Wind& w, double) {
                                   return Wind{w.directionDeg, std::max(0.0, w.speedKt - 10)};
                               }},
                              {"30° right",
                               [](const Wind& w, double) {
                                   return Wind{std::fmod(w.directionDeg + 30, 360), w.speedKt};
                               }},
                              {"30° left", [](const Wind& w, double) {
                                   return Wind{std::fmod(w.directionDeg + 330, 360), w.speedKt};
                               }}};
    std::vector<WindCase> cases;
    for (const Change& change : changes) {
        const ComputedPlan c = computePlan(plan, model, change.wind);
        WindCase wc;
        wc.name = QString::fromUtf8(change.name);
        wc.flyable = c.flyable;
        wc.eteChangeMin = core::roundTo2Places(c.eteMin - computed.eteMin);
        wc.fuelChangeGal = core::roundTo2Places(routeFuelGal(c) - routeFuelGal(computed));
        wc.reserveMarginGal = core::roundTo2Places(reserveMargin(plan, c));
        cases.push_back(wc);
    }
    return cases;
}

// The fuel each route leg burns (all its pieces), by number from 1; a leg
// that cannot be flown counts as burning without end.
std::vector<double> fuelByLeg(const ComputedPlan& computed) {
    std::vector<double> gal;
    for (const PlanLeg& leg : computed.legs) {
        if (leg.alternate)
            continue;
        gal.resize(std::max(gal.size(), static_cast<std::size_t>(leg.number)), 0);
        double& sum = gal[static_cast<std::size_t>(leg.number - 1)];
        sum += leg.nothingToFly()                ? 0
               : leg.problem == LegProblem::None ? leg.result.fuelUsedGal
                                                 : 1e9;
    }
    return gal;
}

// The most sensitive leg, from 1: the most fuel gained by 10 kt more
// headwind on every leg.
int mostSensitiveLeg(const FlightPlan& plan, const ComputedPlan& computed,
                     const magvar::MagneticVariation* model) {
    const std::vector<double> before = fuelByLeg(computed);
    const std::vector<double> windier = fuelByLeg(computePlan(plan, model, extraHeadwind(10)));
    double most = -1;
    int leg = 0;
    for (std::size_t i = 0; i < windier.size() && i < before.size(); ++i) {
        const double gain = windier[i] - before[i];
        if (gain > most) {
            most = gain;
            leg = static_cast<int>(i) + 1;
        }
    }
    return leg;
}

WindMargin windMargin(const FlightPlan& plan, const ComputedPlan& computed,
                      const magvar::MagneticVariation* model) {
    WindMargin m;
    m.cases = windCases(plan, computed, model);
    m.mostSensitiveLeg = mostSensitiveLeg(plan, computed, model);
    if (!(reserveMargin(plan, computed) >= 0)) {
        m.summary = QStringLiteral("The plan as it stands already eats into the final reserve.");
        return m;
    }
    // The largest extra headwind, to a whole knot: the margin only shrinks as
    // the headwind grows, so halving the interval finds it.
    auto holds = [&](double extraKt) {
        return reserveMargin(plan, computePlan(plan, model, extraHeadwind(extraKt))) >= 0;
    };
    double fastestKt = 0;
    for (const PlanLeg& leg : computed.legs)
        fastestKt = std::max(fastestKt, leg.input.tasKt);
    int low = 0, high = static_cast<int>(std::ceil(fastestKt)) + 1;
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
    const std::vector<LegSpeeds> legs = speedsOf(computed, &notComputed);
    if (!notComputed.isEmpty()) {
        out.etp.why = out.pnr.why = out.windMargin.summary =
            QStringLiteral("No decision points: %1.").arg(notComputed);
        return out;
    }
    bool noWayBack = false;
    for (const LegSpeeds& s : legs)
        noWayBack = noWayBack || !(s.backKt > 0);
    out.etp = equalTimePoint(plan, legs, noWayBack);
    out.pnr = pointOfNoReturn(plan, legs, noWayBack);
    out.windMargin = windMargin(plan, computed, model);
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

namespace plan {

QStringList levelTexts(const ComputedPlan& computed, const FlightPlan& plan) {
    QStringList out;
    auto add = [&](const QString& what, const std::optional<LevelPoint>& level) {
        if (!level)
            return;
        PointResult point;
        point.point = level->point;
        out << QStringLiteral("%1, %2 ft")
                   .arg(pointText(what, point, plan), core::numberText(level->altitudeFt));
    };
    add(QStringLiteral("Top of climb:"), computed.topOfClimb);
    add(QStringLiteral("Top of descent:"), computed.topOfDescent);
    return out;
}

} // namespace plan
