#include "plan/FlightPlan.h"

#include "core/Math.h"
#include "core/NumberText.h"
#include "course/GreatCircle.h"
#include "magvar/MagneticVariation.h"

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
    std::vector<WindRow> rows = table;
    std::stable_sort(rows.begin(), rows.end(), [](const WindRow& a, const WindRow& b) {
        return a.altitudeFt < b.altitudeFt;
    });
    Wind wind = rows.front().wind;
    if (altitudeFt >= rows.back().altitudeFt) {
        wind = rows.back().wind;
    } else if (altitudeFt > rows.front().altitudeFt) {
        const auto above =
            std::upper_bound(rows.begin(), rows.end(), altitudeFt,
                             [](double alt, const WindRow& row) { return alt < row.altitudeFt; });
        const WindRow& hi = *above;
        const WindRow& lo = *(above - 1);
        const double f = (altitudeFt - lo.altitudeFt) / (hi.altitudeFt - lo.altitudeFt);
        const core::WindVector v = core::vectorOf(lo.wind, 1 - f) + core::vectorOf(hi.wind, f);
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

QString wcaText(double windCorrectionDeg) {
    if (windCorrectionDeg == 0)
        return QStringLiteral("0");
    return QStringLiteral("%1 %2")
        .arg(QString::fromStdString(core::formatGeneral(std::fabs(windCorrectionDeg))))
        .arg(windCorrectionDeg > 0 ? QLatin1Char('L') : QLatin1Char('R'));
}

QString fuelBlockText(const FuelBlock& f) {
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
        return {};
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
        return QStringLiteral("the two waypoints are one place");
    }
    return {};
}

ComputedPlan computePlan(const FlightPlan& plan, const magvar::MagneticVariation* model) {
    ComputedPlan out;
    leg::LegSequence chain;
    double fuelGal = std::max(0.0, plan.aircraft.fuelGal - plan.aircraft.taxiGal);
    QDateTime off = wallClock(plan.off);
    out.legs.reserve(plan.waypoints.size() + 1);
    const double year =
        magvar::decimalYear(off.date().isValid() ? off.date() : QDate::currentDate());

    auto computeLeg = [&](const Waypoint& a, const Waypoint& b, int from, int to, bool alternate) {
        PlanLeg leg;
        leg.from = from;
        leg.to = to;
        leg.alternate = alternate;
        leg.altitudeFt = b.leg.altitudeFt;
        leg.off = off;
        leg.eta = off;
        leg.record.from = a.label();
        leg.record.to = b.label();
        // TC: the course to two decimals, into the leg in whole degrees.
        const course::CourseAndDistance cd = course::calcCourseAndDistance(a.position, b.position);
        leg.courseDeg = cd.trueCourseDeg;
        leg.input.trueCourseDeg = core::roundHalfUp(cd.trueCourseDeg);
        leg.input.distanceNm = cd.distanceNm;
        leg.input.tasKt = plan.aircraft.tasKt;
        leg.input.fuelFlowGph = plan.aircraft.fuelFlowGph;
        leg.input.fuelGal = fuelGal;
        const std::optional<Wind> wind =
            b.leg.wind ? b.leg.wind : windAt(plan.windsAloft, b.leg.altitudeFt);
        std::optional<double> variation =
            b.leg.variationDeg ? b.leg.variationDeg : plan.variationDeg;
        if (!variation && model) {
            const magvar::Variation v = model->at(course::midpoint(a.position, b.position), year);
            if (v.status == magvar::VarStatus::Computed)
                variation = v.varDeg;
        }
        if (cd.distanceNm == 0)
            leg.problem = LegProblem::ZeroDistance;
        else if (!wind)
            leg.problem = LegProblem::NoWind;
        else if (!variation)
            leg.problem = LegProblem::NoVariation;
        else if (plan.aircraft.tasKt < leg::kMinTasKt)
            leg.problem = LegProblem::TasTooLow;
        if (leg.problem != LegProblem::None) {
            out.legs.push_back(std::move(leg));
            return;
        }
        leg.wind = *wind;
        leg.variationDeg = *variation;
        leg.input.windDirectionDeg = wind->directionDeg;
        leg.input.windVelocityKt = wind->speedKt;
        leg.input.variationDeg = *variation;
        leg.deviationDeg = plan.deviationDeg;
        if (plan.deviationCard) {
            // The card is read at the magnetic heading, which the deviation
            // does not change: a first pass finds it.
            const leg::LegResult first = leg::computeLeg(leg.input);
            if (first.status == leg::LegStatus::Computed)
                leg.deviationDeg =
                    core::roundHalfUp(deviationAt(*plan.deviationCard, first.magHeadingDeg));
        }
        leg.input.magDeviationDeg = leg.deviationDeg;
        leg.result = chain.run(leg.input);
        if (leg.result.status != leg::LegStatus::Computed) {
            leg.problem = LegProblem::WindTooStrong;
            out.legs.push_back(std::move(leg));
            return;
        }
        if (leg.result.fuelShort)
            leg.fuelShortGal = round2(leg.result.fuelUsedGal - fuelGal);
        fuelGal = leg.result.fuelLeftGal; // Next keeps the fuel left
        leg.eta = off.addSecs(leg::arrivalOffsetSeconds(leg.result.eteMin));
        off = leg.eta; // and starts the next leg at this one's ETA
        const QString fromName = leg.record.from, toName = leg.record.to;
        leg.record = navlog::legRecord(chain.legs().back(), leg.off.time(), leg.eta.time());
        leg.record.from = fromName;
        leg.record.to = toName;
        out.legs.push_back(std::move(leg));
    };

    const int n = static_cast<int>(plan.waypoints.size());
    for (int i = 0; i + 1 < n; ++i)
        computeLeg(plan.waypoints[static_cast<std::size_t>(i)],
                   plan.waypoints[static_cast<std::size_t>(i + 1)], i, i + 1, false);
    const double tripGal = chain.totalBurntGal();
    for (const PlanLeg& leg : out.legs) {
        if (leg.problem == LegProblem::None) {
            out.distanceNm += leg.input.distanceNm;
            out.eteMin += leg.result.eteMin;
        }
    }
    // Distance and time to go after each leg of the route.
    double doneNm = 0, doneMin = 0;
    for (PlanLeg& leg : out.legs) {
        if (leg.problem == LegProblem::None) {
            doneNm += leg.input.distanceNm;
            doneMin += leg.result.eteMin;
        }
        leg.toGoNm = round2(out.distanceNm - doneNm);
        leg.toGoMin = round2(out.eteMin - doneMin);
    }
    out.distanceNm = round2(out.distanceNm);
    out.eteMin = round2(out.eteMin);

    double alternateGal = 0;
    if (plan.alternate && n > 0) {
        computeLeg(plan.waypoints.back(), *plan.alternate, n - 1, n, true);
        const PlanLeg& leg = out.legs.back();
        if (leg.problem == LegProblem::None)
            alternateGal = leg.result.fuelUsedGal;
    }

    for (const PlanLeg& leg : out.legs)
        out.flyable = out.flyable && leg.problem == LegProblem::None && leg.fuelShortGal == 0;

    FuelBlock& f = out.fuel;
    f.taxiGal = plan.aircraft.taxiGal;
    f.tripGal = tripGal;
    f.contingencyGal = round2(tripGal * plan.fuel.contingencyPercent / 100);
    f.alternateGal = alternateGal;
    f.reserveGal = round2(plan.fuel.reserveMin * plan.aircraft.fuelFlowGph / 60);
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
    if (!out.flyable)
        f.verdict += QStringLiteral(" A leg of the plan cannot be flown as planned.");
    return out;
}

navlog::Trip tripOf(const ComputedPlan& computed, const QDateTime& started) {
    navlog::Trip trip;
    trip.started = started;
    for (const PlanLeg& leg : computed.legs)
        trip.legs.push_back(leg.record);
    return trip;
}

} // namespace plan
