#include "plan/FlightPlan.h"

#include "core/Math.h"
#include "core/NumberText.h"
#include "core/Text.h"
#include "course/GreatCircle.h"
#include "magvar/MagneticVariation.h"
#include "navlog/LegColumns.h"

#include <algorithm>
#include <cmath>

namespace plan {
namespace {

// The pickers show whole seconds; the chain of times starts from the same.
// The times are the wall clock's, reckoned without a time zone: the sums
// are those of the clock the pilot reads, and quick (a local time would
// consult the zone's rules at every step).
QDateTime wallClock(const QDateTime& t) {
    const QTime time = t.time();
    return QDateTime(t.date(), QTime(time.hour(), time.minute(), time.second()), Qt::UTC);
}

double round2(double value) {
    return core::roundTo2Places(value);
}

QString gallons(double value) {
    return QString::fromStdString(core::formatFixed(value, 1));
}

} // namespace

std::optional<Wind> windAt(const std::vector<WindRow>& table, double altitudeFt) {
    if (table.empty())
        return std::nullopt;
    // One pass, no copy: a plan asks at every leg and every climb. Of rows
    // at one altitude the last one typed counts, the first at the bottom.
    const WindRow *lowest = nullptr, *highest = nullptr, *lo = nullptr, *hi = nullptr;
    for (const WindRow& row : table) {
        if (!lowest || row.altitudeFt < lowest->altitudeFt)
            lowest = &row;
        if (!highest || row.altitudeFt >= highest->altitudeFt)
            highest = &row;
        if (row.altitudeFt <= altitudeFt && (!lo || row.altitudeFt >= lo->altitudeFt))
            lo = &row;
        if (row.altitudeFt > altitudeFt && (!hi || row.altitudeFt < hi->altitudeFt))
            hi = &row;
    }
    Wind wind = lowest->wind;
    if (altitudeFt >= highest->altitudeFt) {
        wind = highest->wind;
    } else if (altitudeFt > lowest->altitudeFt) {
        const double f = (altitudeFt - lo->altitudeFt) / (hi->altitudeFt - lo->altitudeFt);
        const core::WindVector v = core::vectorOf(lo->wind, 1 - f) + core::vectorOf(hi->wind, f);
        wind.speedKt = std::hypot(v.eastKt, v.northKt);
        wind.directionDeg = v.bearingDeg();
    }
    Wind out;
    out.speedKt = core::roundHalfUp(wind.speedKt);
    double direction = core::roundHalfUp(std::fmod(wind.directionDeg + 360.0, 360.0));
    if (direction == 0 && out.speedKt > 0)
        direction = 360; // a north wind is 360, as pilots write it
    out.directionDeg = out.speedKt > 0 ? direction : 0;
    return out;
}

std::optional<double> temperatureAt(const std::vector<WindRow>& table, double altitudeFt) {
    std::vector<WindRow> rows;
    for (const WindRow& row : table) {
        if (row.temperatureC)
            rows.push_back(row);
    }
    if (rows.empty())
        return std::nullopt;
    std::stable_sort(rows.begin(), rows.end(), [](const WindRow& a, const WindRow& b) {
        return a.altitudeFt < b.altitudeFt;
    });
    if (altitudeFt <= rows.front().altitudeFt)
        return rows.front().temperatureC;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const WindRow& lo = rows[i - 1];
        const WindRow& hi = rows[i];
        if (altitudeFt <= hi.altitudeFt) {
            const double f = (altitudeFt - lo.altitudeFt) / (hi.altitudeFt - lo.altitudeFt);
            return *lo.temperatureC + (*hi.temperatureC - *lo.temperatureC) * f;
        }
    }
    return rows.back().temperatureC;
}

double standardTemperatureC(double altitudeFt) {
    return 15 - 2 * altitudeFt / 1000;
}

double reserveFuelFlowGph(const FlightPlan& plan) {
    if (!plan.profile)
        return plan.aircraft.fuelFlowGph;
    double most = 0;
    for (const CruiseRow& row : plan.profile->cruise)
        most = std::max(most, row.fuelFlowGph);
    return most;
}

double deviationAt(const DeviationCard& card, double magHeadingDeg) noexcept {
    double heading = std::fmod(magHeadingDeg, 360.0);
    if (heading < 0)
        heading += 360;
    const int below = static_cast<int>(heading / 30) % 12;
    const int above = (below + 1) % 12;
    const double f = (heading - below * 30.0) / 30.0;
    return card[static_cast<std::size_t>(below)] * (1 - f) +
           card[static_cast<std::size_t>(above)] * f;
}

std::optional<double> enduranceMin(const FlightPlan& plan) {
    const double gph = reserveFuelFlowGph(plan);
    if (!(gph > 0))
        return std::nullopt;
    return std::max(0.0, plan.aircraft.fuelGal - plan.aircraft.taxiGal) / gph * 60;
}

QString enduranceText(const FlightPlan& plan) {
    const auto minutes = enduranceMin(plan);
    if (!minutes)
        return QStringLiteral("No fuel flow: no endurance.");
    const long whole = std::lround(std::floor(*minutes)); // never more than there is
    return QStringLiteral("Endurance %1 h %2 min at %3 gal/h (%4 gal after taxi).")
        .arg(whole / 60)
        .arg(whole % 60, 2, 10, QLatin1Char('0'))
        .arg(core::numberText(reserveFuelFlowGph(plan)),
             gallons(std::max(0.0, plan.aircraft.fuelGal - plan.aircraft.taxiGal)));
}

QString fuelBlockText(const FuelBlock& f) {
    if (!f.plannable)
        return QStringLiteral("Fuel: cannot be computed while a leg cannot.");
    return QStringLiteral("Fuel: taxi %1 + trip %2 + contingency %3 + alternate %4 + reserve %5 + "
                          "extra %6 = %7 gal required.")
        .arg(gallons(f.taxiGal), gallons(f.tripGal), gallons(f.contingencyGal),
             gallons(f.alternateGal), gallons(f.reserveGal), gallons(f.extraGal),
             gallons(f.requiredGal));
}

QString problemText(const PlanLeg& leg) {
    switch (leg.problem) {
    case LegProblem::None:
        if (leg.fuelShortGal > 0)
            return QStringLiteral("runs out of fuel: %1 gal short").arg(gallons(leg.fuelShortGal));
        return leg.note;
    case LegProblem::TasTooLow:
        return QStringLiteral("TAS below 60 kt");
    case LegProblem::WindTooStrong:
        return QStringLiteral("cannot be flown: wind %1/%2 too strong for TAS %3")
            .arg(leg.wind.directionDeg)
            .arg(leg.wind.speedKt)
            .arg(leg.input.tasKt);
    case LegProblem::NoWind:
        return QStringLiteral("no wind: type one or fill the winds aloft");
    case LegProblem::NoVariation:
        return QStringLiteral("no variation: type one (no magnetic model for this leg)");
    case LegProblem::ZeroDistance:
        return QStringLiteral("the two waypoints are one place: nothing to fly");
    case LegProblem::Performance:
        return leg.why;
    }
    return {};
}

namespace {

// The plan is computed in stages, each a step a pilot would name: the
// route's geometry (legs from waypoints), each leg's conditions (wind,
// variation), the aircraft's performance turning a leg into what is flown,
// then time and fuel carried from leg to leg, the totals and the fuel block,
// and the figures as shown last.

// Stage 1: a leg of the route as TC sees it.
struct LegGeometry {
    const Waypoint* start = nullptr;
    const Waypoint* end = nullptr;
    int from = 0, to = 0; // waypoint indices
    bool alternate = false;
    course::CourseAndDistance courseAndDistance;
};

std::vector<LegGeometry> routeGeometry(const FlightPlan& plan) {
    std::vector<LegGeometry> legs;
    const int n = static_cast<int>(plan.waypoints.size());
    auto add = [&](const Waypoint& a, const Waypoint& b, int from, bool alternate) {
        legs.push_back({&a, &b, from, from + 1, alternate,
                        course::calcCourseAndDistance(a.position, b.position)});
    };
    for (int i = 0; i + 1 < n; ++i)
        add(plan.waypoints[static_cast<std::size_t>(i)],
            plan.waypoints[static_cast<std::size_t>(i + 1)], i, false);
    if (plan.alternate && n > 0)
        add(plan.waypoints.back(), *plan.alternate, n - 1, true);
    return legs;
}

// Stage 2: the wind and variation the leg is flown in; a problem where
// either cannot be had, or the leg cannot be computed at all.
struct LegConditions {
    Wind wind;
    double variationDeg = 0;
    LegProblem problem = LegProblem::None;
};

// The wind on a leg at an altitude: the one typed for the leg, else the
// winds aloft's; changed as the decision points try it.
std::optional<Wind> legWind(const FlightPlan& plan, const LegGeometry& g, double altitudeFt,
                            const WindChange& change) {
    const LegSettings& set = g.end->leg;
    std::optional<Wind> wind = set.wind ? set.wind : windAt(plan.windsAloft, altitudeFt);
    if (wind && change)
        wind = change(*wind, core::roundHalfUp(g.courseAndDistance.trueCourseDeg));
    return wind;
}

LegConditions legConditions(const FlightPlan& plan, const LegGeometry& g,
                            const magvar::MagneticVariation* model, double year,
                            const WindChange& change) {
    const LegSettings& set = g.end->leg;
    const std::optional<Wind> wind = legWind(plan, g, set.altitudeFt, change);
    std::optional<double> variation = set.variationDeg ? set.variationDeg : plan.variationDeg;
    if (!variation && model) {
        const magvar::Variation v =
            model->at(course::midpoint(g.start->position, g.end->position), year);
        if (v.status == magvar::VarStatus::Computed)
            variation = v.varDeg;
    }
    LegConditions c;
    if (g.courseAndDistance.distanceNm == 0)
        c.problem = LegProblem::ZeroDistance;
    else if (!wind)
        c.problem = LegProblem::NoWind;
    else if (!variation)
        c.problem = LegProblem::NoVariation;
    if (c.problem == LegProblem::None) {
        c.wind = *wind;
        c.variationDeg = *variation;
    }
    return c;
}

// Stage 3: the aircraft's performance, which turns a leg into the pieces
// the leg computation flies. Without a profile a leg is one piece, cruised
// whole at the plan's TAS and fuel flow as the leg dialog computes it. With
// one, the climbs and descents cut the route's legs (VerticalProfile), and
// the cruise is the profile's at the leg's altitude.
struct Performance {
    std::optional<VerticalPlan> vertical; // with a profile, when every route leg has its conditions
};

Performance performance(const FlightPlan& plan, const std::vector<LegGeometry>& geometry,
                        const std::vector<LegConditions>& conditions, const WindChange& change) {
    Performance out;
    if (!plan.profile || plan.waypoints.size() < 2)
        return out;
    VerticalInput in;
    for (std::size_t i = 0; i < geometry.size(); ++i) {
        const LegGeometry& g = geometry[i];
        if (g.alternate)
            continue;
        if (conditions[i].problem != LegProblem::None)
            return out; // the plan cannot be had: the leg's own problem says why
        in.legs.push_back(RouteLegShape{
            g.courseAndDistance.distanceNm,
            double(core::roundHalfUp(g.courseAndDistance.trueCourseDeg)), g.end->leg.altitudeFt});
    }
    in.departureFt = plan.waypoints.front().elevationFt.value_or(0);
    in.arrivalFt = plan.waypoints.back().elevationFt.value_or(0) + plan.profile->patternAltitudeFt;
    in.isaDeviationC = [&plan](double altitudeFt) {
        const auto t = temperatureAt(plan.windsAloft, altitudeFt);
        return t ? *t - standardTemperatureC(altitudeFt) : 0.0;
    };
    out.vertical = verticalPlan(*plan.profile, in, [&](int leg, double altitudeFt) {
        return legWind(plan, geometry[static_cast<std::size_t>(leg)], altitudeFt, change);
    });
    return out;
}

// The pieces route leg k is flown in.
std::vector<LegPiece> piecesOf(const FlightPlan& plan, const LegGeometry& g, std::size_t k,
                               const Performance& performance, QString* why) {
    const double distance = g.courseAndDistance.distanceNm;
    const double altitude = g.end->leg.altitudeFt;
    const auto& vertical = performance.vertical;
    if (vertical && !g.alternate) {
        if (vertical->problem.isEmpty())
            return vertical->legs[k];
        if (static_cast<std::size_t>(vertical->problemLeg) == k)
            *why = vertical->problem;
    }
    if (plan.profile) {
        const CruiseRow cruise = cruiseAt(*plan.profile, altitude);
        return {cruisePiece(distance, altitude, cruise.tasKt, cruise.fuelFlowGph)};
    }
    return {cruisePiece(distance, altitude, plan.aircraft.tasKt, plan.aircraft.fuelFlowGph)};
}

// What the geometry and the aircraft give a piece before its conditions: all
// a leg that cannot be computed has. TC's course in whole degrees, the
// piece's distance (the whole leg's as TC gives it), TAS and fuel flow.
leg::LegInput aircraftOnLeg(const LegGeometry& g, const LegPiece& piece, double fuelGal) {
    leg::LegInput in;
    in.trueCourseDeg = core::roundHalfUp(g.courseAndDistance.trueCourseDeg);
    const bool whole = piece.startNm == 0 && piece.endNm == g.courseAndDistance.distanceNm;
    in.distanceNm = whole ? g.courseAndDistance.distanceNm : round2(piece.endNm - piece.startNm);
    in.tasKt = piece.tasKt;
    in.fuelFlowGph = piece.fuelFlowGph;
    in.fuelGal = fuelGal;
    return in;
}

// The deviation from the card at the magnetic heading.
leg::LegInput withWind(const FlightPlan& plan, leg::LegInput in, const Wind& wind,
                       double variationDeg) {
    in.windDirectionDeg = wind.directionDeg;
    in.windVelocityKt = wind.speedKt;
    in.variationDeg = variationDeg;
    double deviation = plan.deviationDeg;
    if (plan.deviationCard) {
        // The card is read at the magnetic heading, which the deviation
        // does not change: a first pass finds it.
        const leg::LegResult first = leg::computeLeg(in);
        if (first.status == leg::LegStatus::Computed)
            deviation = core::roundHalfUp(deviationAt(*plan.deviationCard, first.magHeadingDeg));
    }
    in.magDeviationDeg = deviation;
    return in;
}

// Stage 4: time and fuel carried along the chain as Next carries them.
struct Carry {
    leg::LegSequence chain;
    double fuelGal = 0;
    QDateTime off;
};

PlanLeg pieceLeg(const LegGeometry& g, std::size_t k, const LegPiece& piece, const Carry& carry) {
    PlanLeg leg;
    leg.from = g.from;
    leg.to = g.to;
    leg.number = static_cast<int>(k) + 1;
    leg.alternate = g.alternate;
    leg.altitudeFt = piece.altitudeFt;
    leg.phase = piece.phase;
    leg.startNm = piece.startNm;
    leg.fromLabel = piece.fromLabel;
    leg.toLabel = piece.toLabel;
    leg.note = piece.note;
    leg.off = carry.off;
    leg.eta = carry.off;
    leg.courseDeg = g.courseAndDistance.trueCourseDeg;
    leg.legNm = g.courseAndDistance.distanceNm;
    return leg;
}

PlanLeg flyPiece(const FlightPlan& plan, const LegGeometry& g, std::size_t k,
                 const LegConditions& c, const LegPiece& piece, const WindChange& change,
                 Carry& carry) {
    PlanLeg leg = pieceLeg(g, k, piece, carry);
    leg.problem = c.problem;
    leg.input = aircraftOnLeg(g, piece, carry.fuelGal); // what a leg not flown keeps
    if (leg.problem == LegProblem::None && piece.tasKt < leg::kMinTasKt)
        leg.problem = LegProblem::TasTooLow;
    if (leg.problem != LegProblem::None)
        return leg;
    const Wind wind = piece.windAltitudeFt == g.end->leg.altitudeFt
                          ? c.wind
                          : legWind(plan, g, piece.windAltitudeFt, change).value_or(c.wind);
    leg.input = withWind(plan, leg.input, wind, c.variationDeg);
    leg.wind = wind;
    leg.variationDeg = c.variationDeg;
    leg.deviationDeg = leg.input.magDeviationDeg;
    leg.result = carry.chain.run(leg.input);
    if (leg.result.status != leg::LegStatus::Computed) {
        leg.problem = LegProblem::WindTooStrong;
        return leg;
    }
    if (leg.result.fuelShort)
        leg.fuelShortGal = round2(leg.result.fuelUsedGal - carry.fuelGal);
    carry.fuelGal = leg.result.fuelLeftGal; // Next keeps the fuel left
    leg.eta = carry.off.addSecs(leg::arrivalOffsetSeconds(leg.result.eteMin));
    carry.off = leg.eta; // and starts the next leg at this one's ETA
    return leg;
}

// Stage 5: the route's totals and what is left to go after each leg.
void routeTotals(ComputedPlan& out) {
    for (const PlanLeg& leg : out.legs) {
        if (leg.problem == LegProblem::None && !leg.alternate) {
            out.distanceNm += leg.input.distanceNm;
            out.eteMin += leg.result.eteMin;
        }
    }
    double doneNm = 0, doneMin = 0;
    for (PlanLeg& leg : out.legs) {
        if (leg.alternate)
            continue;
        if (leg.problem == LegProblem::None) {
            doneNm += leg.input.distanceNm;
            doneMin += leg.result.eteMin;
        }
        leg.toGoNm = round2(out.distanceNm - doneNm);
        leg.toGoMin = round2(out.eteMin - doneMin);
    }
    out.distanceNm = round2(out.distanceNm);
    out.eteMin = round2(out.eteMin);
    for (const PlanLeg& leg : out.legs) {
        out.flyable = out.flyable && leg.accountedFor() && leg.fuelShortGal == 0;
        if (!leg.accountedFor() &&
            (out.missingLegs.empty() || out.missingLegs.back() != leg.number))
            out.missingLegs.push_back(leg.number);
    }
}

// No verdict over legs that could not be computed: which legs, and why.
FuelBlock unplannable(const FlightPlan& plan, const ComputedPlan& computed) {
    FuelBlock f;
    f.plannable = false;
    f.taxiGal = plan.aircraft.taxiGal;
    f.reserveGal = round2(plan.fuel.reserveMin * reserveFuelFlowGph(plan) / 60);
    f.extraGal = plan.fuel.extraGal;
    f.onBoardGal = plan.aircraft.fuelGal;
    QStringList legs;
    for (int number : computed.missingLegs) {
        const PlanLeg& leg =
            *std::find_if(computed.legs.begin(), computed.legs.end(), [number](const PlanLeg& l) {
                return l.number == number && !l.accountedFor();
            });
        legs << QStringLiteral("leg %1 (%2 - %3): %4")
                    .arg(number)
                    .arg(leg.figures.from, leg.figures.to, problemText(leg));
    }
    f.verdict = QStringLiteral("Cannot be planned: %1.").arg(legs.join(QStringLiteral("; ")));
    return f;
}

FuelBlock fuelBlock(const FlightPlan& plan, double tripGal, double alternateGal, bool flyable) {
    FuelBlock f;
    f.taxiGal = plan.aircraft.taxiGal;
    f.tripGal = tripGal;
    f.contingencyGal = round2(tripGal * plan.fuel.contingencyPercent / 100);
    f.alternateGal = alternateGal;
    f.reserveGal = round2(plan.fuel.reserveMin * reserveFuelFlowGph(plan) / 60);
    f.extraGal = plan.fuel.extraGal;
    f.requiredGal = round2(f.taxiGal + f.tripGal + f.contingencyGal + f.alternateGal +
                           f.reserveGal + f.extraGal);
    f.onBoardGal = plan.aircraft.fuelGal;
    f.enough = f.onBoardGal >= f.requiredGal;
    f.verdict = f.enough ? QStringLiteral("Enough fuel: %1 gal on board, %2 gal above the "
                                          "required %3 gal.")
                               .arg(gallons(f.onBoardGal), gallons(f.onBoardGal - f.requiredGal),
                                    gallons(f.requiredGal))
                         : QStringLiteral("Not enough fuel: %1 gal on board, %2 gal short of "
                                          "the required %3 gal.")
                               .arg(gallons(f.onBoardGal), gallons(f.requiredGal - f.onBoardGal),
                                    gallons(f.requiredGal));
    if (!flyable)
        f.verdict += QStringLiteral(" A leg of the plan cannot be flown as planned.");
    return f;
}

// Last: each leg's figures as the leg dialog shows them, and what the plan
// adds to them.
navlog::LegFigures shownFigures(const PlanLeg& leg, const leg::LegSequence& chain,
                                std::size_t chainIndex, const FlightPlan& plan) {
    // A time on a later day than the plan's start says which: "00:40:12 +1".
    const QDate start = wallClock(plan.off).date();
    auto dayTime = [&start](const QDateTime& t) {
        return navlog::DayTime{t.time(),
                               static_cast<int>(std::max<qint64>(0, start.daysTo(t.date())))};
    };
    navlog::LegFigures figures;
    if (leg.problem == LegProblem::None)
        figures = navlog::legFigures(chain.legs()[chainIndex], dayTime(leg.off), dayTime(leg.eta));
    figures.computed = leg.problem == LegProblem::None;
    const auto& waypoints = plan.waypoints;
    figures.from = !leg.fromLabel.isEmpty() ? leg.fromLabel
                                            : waypoints[static_cast<std::size_t>(leg.from)].label();
    figures.to = !leg.toLabel.isEmpty() ? leg.toLabel
                 : leg.alternate        ? plan.alternate->label()
                                        : waypoints[static_cast<std::size_t>(leg.to)].label();
    figures.routeLeg = leg.number;
    if (plan.profile && leg.problem == LegProblem::None) // a leg not flown has no phase
        figures.phase = phaseText(leg.phase);
    figures.planned = true;
    figures.alternate = leg.alternate;
    figures.altitudeFt = leg.altitudeFt;
    figures.plannedWind = leg.wind;
    figures.toGoNm = core::asShown(leg.toGoNm);
    figures.toGoMin = core::asShown(leg.toGoMin);
    figures.problem = problemText(leg);
    figures.nothingToFly = leg.nothingToFly();
    figures.flagged = !leg.accountedFor() || leg.fuelShortGal > 0;
    return figures;
}

// The point intoLegNm past the start of leg `number` (from 1): how far and how
// long from the departure, and where.
RoutePoint pointOfRoute(const FlightPlan& plan, const ComputedPlan& computed, int number,
                        double intoLegNm) {
    RoutePoint p;
    p.leg = number;
    p.intoLegNm = intoLegNm;
    for (const PlanLeg& leg : computed.legs) {
        if (leg.alternate || leg.number > number)
            break;
        const double pieceEnd = leg.startNm + leg.input.distanceNm;
        if (leg.number < number || pieceEnd <= round2(intoLegNm) + 1e-9) {
            p.distanceNm += leg.input.distanceNm;
            p.minutes += leg.result.eteMin;
        } else if (leg.startNm < intoLegNm && leg.result.groundSpeedKt > 0) {
            p.distanceNm += intoLegNm - leg.startNm;
            p.minutes += leg.result.eteMin * (intoLegNm - leg.startNm) / leg.input.distanceNm;
        }
        if (leg.number == number && leg.startNm == 0)
            p.position = pointInLeg(plan, leg, intoLegNm);
    }
    p.distanceNm = round2(p.distanceNm);
    p.minutes = round2(p.minutes);
    return p;
}

std::optional<LevelPoint> levelPoint(const FlightPlan& plan, const ComputedPlan& computed,
                                     const std::optional<LevelChange>& change) {
    if (!change)
        return std::nullopt;
    return LevelPoint{pointOfRoute(plan, computed, change->leg + 1, change->intoLegNm),
                      change->altitudeFt};
}

// The legs flown one piece after another, each in its conditions.
void flyRoute(const FlightPlan& plan, const magvar::MagneticVariation* model,
              const WindChange& change, ComputedPlan& out, Carry& carry, double* tripGal,
              std::vector<std::size_t>* chainIndex, Performance* perf) {
    const double year =
        magvar::decimalYear(carry.off.date().isValid() ? carry.off.date() : QDate::currentDate());
    const std::vector<LegGeometry> geometry = routeGeometry(plan);
    std::vector<LegConditions> conditions;
    for (const LegGeometry& g : geometry)
        conditions.push_back(legConditions(plan, g, model, year, change));
    *perf = performance(plan, geometry, conditions, change);
    out.legs.reserve(geometry.size());
    for (std::size_t k = 0; k < geometry.size(); ++k) {
        const LegGeometry& g = geometry[k];
        if (g.alternate)
            *tripGal = carry.chain.totalBurntGal();
        QString why;
        const std::vector<LegPiece> pieces = piecesOf(plan, g, k, *perf, &why);
        LegConditions c = conditions[k];
        if (!why.isEmpty() && c.problem == LegProblem::None)
            c.problem = LegProblem::Performance;
        for (const LegPiece& piece : pieces) {
            chainIndex->push_back(carry.chain.legs().size());
            out.legs.push_back(flyPiece(plan, g, k, c, piece, change, carry));
            out.legs.back().why = why;
        }
    }
    if (!plan.alternate || plan.waypoints.empty())
        *tripGal = carry.chain.totalBurntGal();
}

} // namespace

core::GeoPoint pointInLeg(const FlightPlan& plan, const PlanLeg& leg, double intoLegNm) {
    const core::GeoPoint& from = plan.waypoints[static_cast<std::size_t>(leg.from)].position;
    const core::GeoPoint& to = leg.alternate
                                   ? plan.alternate->position
                                   : plan.waypoints[static_cast<std::size_t>(leg.to)].position;
    // Between antipodes every great circle joins the two: the one the leg's
    // course leaves on is the one flown.
    if (course::arcDeg(from, to) > 179.9)
        return course::pointFrom(from, leg.courseDeg, intoLegNm);
    return course::pointAlong(from, to, leg.legNm > 0 ? intoLegNm / leg.legNm : 0);
}

ComputedPlan computePlan(const FlightPlan& plan, const magvar::MagneticVariation* model,
                         const WindChange& change) {
    ComputedPlan out;
    Carry carry;
    carry.fuelGal = std::max(0.0, plan.aircraft.fuelGal - plan.aircraft.taxiGal);
    carry.off = wallClock(plan.off);
    double tripGal = 0;
    std::vector<std::size_t> chainIndex;
    Performance perf;
    flyRoute(plan, model, change, out, carry, &tripGal, &chainIndex, &perf);
    routeTotals(out);
    for (std::size_t i = 0; i < out.legs.size(); ++i)
        out.legs[i].figures = shownFigures(out.legs[i], carry.chain, chainIndex[i], plan);
    const PlanLeg* alternate =
        !out.legs.empty() && out.legs.back().alternate ? &out.legs.back() : nullptr;
    const double alternateGal =
        alternate && alternate->problem == LegProblem::None ? alternate->result.fuelUsedGal : 0;
    out.fuel = out.complete() ? fuelBlock(plan, tripGal, alternateGal, out.flyable)
                              : unplannable(plan, out);
    out.fuel.enduranceMin = enduranceMin(plan);
    out.phased = perf.vertical && perf.vertical->problem.isEmpty();
    if (out.phased && out.complete()) {
        out.topOfClimb = levelPoint(plan, out, perf.vertical->topOfClimb);
        out.topOfDescent = levelPoint(plan, out, perf.vertical->topOfDescent);
    }
    return out;
}

navlog::Trip tripOf(const ComputedPlan& computed, const QDateTime& started) {
    navlog::Trip trip;
    trip.started = started;
    for (const PlanLeg& leg : computed.legs)
        trip.legs.push_back(leg.figures);
    return trip;
}

QString routeTotalsText(const ComputedPlan& computed) {
    if (!computed.complete())
        return QStringLiteral("Route incomplete: %1.")
            .arg(navlog::missingText(
                QList<int>(computed.missingLegs.begin(), computed.missingLegs.end())));
    return QStringLiteral("Route %1 nm, %2 min.")
        .arg(core::numberText(computed.distanceNm), core::numberText(computed.eteMin));
}

QDateTime utcOf(const QDateTime& wallClock, PlanZone zone) {
    const QDateTime t(wallClock.date(), wallClock.time(),
                      zone == PlanZone::Utc ? Qt::UTC : Qt::LocalTime);
    return t.toUTC();
}

QString zoneName(const QDateTime& wallClock, PlanZone zone) {
    if (zone == PlanZone::Utc)
        return QStringLiteral("UTC");
    const QString name =
        QDateTime(wallClock.date(), wallClock.time(), Qt::LocalTime).timeZoneAbbreviation();
    return name.isEmpty() ? QStringLiteral("local") : name;
}

} // namespace plan
