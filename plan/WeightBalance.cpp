#include "plan/WeightBalance.h"

#include "core/Text.h"
#include "plan/FlightPlan.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace plan {
namespace {

// Which side of the line a to b the point lies: positive left, 0 on it.
double side(const std::pair<double, double>& a, const std::pair<double, double>& b, double x,
            double y) {
    return (b.first - a.first) * (y - a.second) - (x - a.first) * (b.second - a.second);
}

bool onSegment(const std::pair<double, double>& a, const std::pair<double, double>& b, double x,
               double y) {
    // Collinear within the rounding of the figures, and between the ends.
    const double length = std::hypot(b.first - a.first, b.second - a.second);
    if (std::fabs(side(a, b, x, y)) > 1e-9 * std::max(1.0, length * length))
        return false;
    return x >= std::min(a.first, b.first) && x <= std::max(a.first, b.first) &&
           y >= std::min(a.second, b.second) && y <= std::max(a.second, b.second);
}

MassPoint massPoint(const AircraftProfile& profile, double weight, double moment) {
    MassPoint p;
    p.weight = weight;
    p.moment = moment;
    p.arm = weight > 0 ? moment / weight : 0;
    p.insideEnvelopes = true;
    for (const Envelope& e : profile.envelopes)
        p.insideEnvelopes =
            p.insideEnvelopes && insidePolygon(e.points, e.byMoment ? p.moment : p.arm, p.weight);
    return p;
}

QString weightText(double weight, WeightUnit unit) {
    return QStringLiteral("%1 %2").arg(core::numberText(std::round(weight * 10) / 10),
                                       unitText(unit));
}

// What keeps one state from its limits: over its weight, outside an
// envelope (by its name).
QStringList problemsOf(const AircraftProfile& profile, const char* state, const MassPoint& p,
                       double maxWeight) {
    QStringList out;
    if (p.weight > maxWeight)
        out << QStringLiteral("%1 weight %2 is %3 over the maximum %4")
                   .arg(QLatin1String(state), weightText(p.weight, profile.weightUnit),
                        weightText(p.weight - maxWeight, profile.weightUnit),
                        weightText(maxWeight, profile.weightUnit));
    for (const Envelope& e : profile.envelopes) {
        if (!insidePolygon(e.points, e.byMoment ? p.moment : p.arm, p.weight))
            out << QStringLiteral("%1 (%2 at arm %3 %4) is outside the envelope \"%5\"")
                       .arg(QLatin1String(state), weightText(p.weight, profile.weightUnit),
                            core::numberText(std::round(p.arm * 100) / 100),
                            unitText(profile.armUnit), e.name);
    }
    return out;
}

} // namespace

bool insidePolygon(const std::vector<std::pair<double, double>>& polygon, double x, double weight) {
    const std::size_t n = polygon.size();
    if (n < 3 || !std::isfinite(x) || !std::isfinite(weight))
        return false;
    bool inside = false;
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const auto &a = polygon[j], &b = polygon[i];
        if (onSegment(a, b, x, weight))
            return true;
        // Crossings of a ray to the right: each edge counted once, its
        // lower end in and its upper end out.
        if ((a.second > weight) != (b.second > weight)) {
            const double cross =
                a.first + (weight - a.second) / (b.second - a.second) * (b.first - a.first);
            if (x < cross)
                inside = !inside;
        }
    }
    return inside;
}

WeightAndBalance weightAndBalance(const AircraftProfile& profile, const std::vector<double>& loads,
                                  double rampFuelGal, double taxiGal,
                                  std::optional<double> tripGal) {
    double weight = profile.emptyWeight;
    double moment = profile.emptyWeight * profile.emptyArm;
    QStringList problems;
    for (std::size_t i = 0; i < profile.stations.size() && i < loads.size(); ++i) {
        const Station& station = profile.stations[i];
        weight += loads[i];
        moment += loads[i] * station.arm;
        if (loads[i] > station.maxWeight)
            problems << QStringLiteral("%1 holds %2, %3 over its maximum %4")
                            .arg(station.name, weightText(loads[i], profile.weightUnit),
                                 weightText(loads[i] - station.maxWeight, profile.weightUnit),
                                 weightText(station.maxWeight, profile.weightUnit));
    }
    auto withFuel = [&](double gallons) {
        const double fuel = std::max(0.0, gallons) * profile.densityPerGal;
        return massPoint(profile, weight + fuel, moment + fuel * profile.fuelArm);
    };
    WeightAndBalance out;
    out.ramp = withFuel(rampFuelGal);
    out.takeoff = withFuel(rampFuelGal - taxiGal);
    out.landingKnown = tripGal.has_value();
    problems << problemsOf(profile, "ramp", out.ramp, profile.maxRampWeight)
             << problemsOf(profile, "takeoff", out.takeoff, profile.maxTakeoffWeight);
    if (tripGal) {
        out.landing = withFuel(rampFuelGal - taxiGal - *tripGal);
        problems << problemsOf(profile, "landing", out.landing, profile.maxLandingWeight);
    }
    out.withinLimits = problems.isEmpty() && out.landingKnown;
    const QString unknown =
        QStringLiteral("the landing cannot be checked while the trip fuel is unknown");
    if (!problems.isEmpty()) {
        if (!out.landingKnown)
            problems << unknown;
        out.verdict =
            QStringLiteral("Outside limits: %1.").arg(problems.join(QStringLiteral("; ")));
    } else {
        out.verdict = out.landingKnown
                          ? QStringLiteral("Within limits.")
                          : QStringLiteral("Ramp and takeoff within limits; %1.").arg(unknown);
    }
    return out;
}

std::optional<WeightAndBalance> planBalance(const FlightPlan& plan, const ComputedPlan& computed) {
    if (!plan.profile)
        return std::nullopt;
    return weightAndBalance(
        *plan.profile, plan.stationLoads, plan.aircraft.fuelGal, plan.aircraft.taxiGal,
        computed.fuel.plannable ? std::optional<double>(computed.fuel.tripGal) : std::nullopt);
}

QString tanksProblem(const FlightPlan& plan) {
    if (!plan.profile || plan.aircraft.fuelGal <= plan.profile->usableGal)
        return {};
    return QStringLiteral("the fuel on board, %1 gal, is more than the aircraft's usable %2 gal")
        .arg(core::numberText(plan.aircraft.fuelGal), core::numberText(plan.profile->usableGal));
}

} // namespace plan
