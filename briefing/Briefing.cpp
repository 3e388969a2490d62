#include "briefing/Briefing.h"

#include "magvar/MagneticVariation.h"
#include "navdb/NavDatabase.h"

#include <algorithm>
#include <cmath>

namespace briefing {
namespace {

// The report's wind as the runways take it; none when it has no speed.
std::optional<SurfaceWind> windOfReport(const Metar& metar) {
    if (!metar.now.wind || !metar.now.wind->speedKt)
        return std::nullopt;
    const ReportWind& w = *metar.now.wind;
    if (!w.variable && !w.directionDeg && *w.speedKt > 0)
        return std::nullopt;
    SurfaceWind s;
    s.directionDegT = w.variable ? std::nullopt : w.directionDeg;
    s.speedKt = *w.speedKt;
    s.gustKt = w.gustKt;
    s.source = metar.kind;
    return s;
}

std::optional<SurfaceWind> surfaceWindOf(const AirportBriefing& a, const plan::AirportWeather& w,
                                         const plan::FlightPlan& plan) {
    if (a.metar)
        if (auto s = windOfReport(*a.metar))
            return s;
    if (w.surfaceWind) {
        SurfaceWind s;
        s.directionDegT = w.surfaceWind->directionDeg;
        s.speedKt = w.surfaceWind->speedKt;
        s.source = QStringLiteral("typed");
        return s;
    }
    if (plan.windsAloft.empty())
        return std::nullopt;
    const auto lowest = std::min_element(
        plan.windsAloft.begin(), plan.windsAloft.end(),
        [](const plan::WindRow& x, const plan::WindRow& y) { return x.altitudeFt < y.altitudeFt; });
    SurfaceWind s;
    s.directionDegT = lowest->wind.directionDeg;
    s.speedKt = lowest->wind.speedKt;
    s.source = QStringLiteral("winds aloft at %1 ft").arg(lowest->altitudeFt);
    return s;
}

// near: the date the reports are of (they give only the day of the month).
void decodeWeather(AirportBriefing& a, const plan::AirportWeather& w, const QDate& near) {
    if (!w.metar.trimmed().isEmpty()) {
        MetarRead read = decodeMetar(w.metar, near);
        a.metar = std::move(read.metar);
        a.metarProblem = read.error;
    }
    if (!w.taf.trimmed().isEmpty()) {
        TafRead read = decodeTaf(w.taf, near);
        a.taf = std::move(read.taf);
        a.tafProblem = read.error;
        if (a.taf && a.atUtc.isValid())
            a.tafPeriods = periodsAt(*a.taf, a.atUtc);
    }
}

void densityOf(AirportBriefing& a) {
    if (!a.airport.elevationFt) {
        a.densityProblem = QStringLiteral("the field's elevation is not known");
        return;
    }
    a.standardTemperatureC = isaTemperatureC(*a.airport.elevationFt);
    if (!a.metar || !a.metar->altimeterHpa) {
        a.densityProblem = QStringLiteral("no altimeter setting: paste a METAR");
        return;
    }
    a.pressureAltitudeFt = pressureAltitudeFt(*a.airport.elevationFt, *a.metar->altimeterHpa);
    a.standardTemperatureC = isaTemperatureC(*a.pressureAltitudeFt);
    a.temperatureC = a.metar->temperatureC;
    if (!a.temperatureC) {
        a.densityProblem = QStringLiteral("the report has no temperature");
        return;
    }
    a.densityAltitudeFt = densityAltitudeFt(*a.pressureAltitudeFt, *a.temperatureC);
}

double variationAt(const magvar::MagneticVariation* model, const plan::Waypoint& w,
                   const QDateTime& at) {
    if (!model)
        return 0;
    const QDate date = at.isValid() ? at.date() : QDate::currentDate();
    const magvar::Variation v = model->at(w.position, magvar::decimalYear(date));
    return v.status == magvar::VarStatus::Computed ? v.varDeg : 0;
}

AirportBriefing airportBriefing(Role role, const plan::Waypoint& w, const QDateTime& atUtc,
                                const plan::FlightPlan& plan, const navdb::NavData* db,
                                const magvar::MagneticVariation* model) {
    AirportBriefing a;
    a.role = role;
    a.airport = w;
    a.atUtc = atUtc;
    const plan::AirportWeather& weather = plan.weather[static_cast<std::size_t>(role)];
    const QDateTime when = atUtc.isValid() ? atUtc : utcOf(plan.off, plan.zone);
    decodeWeather(a, weather, when.date());
    a.surfaceWind = surfaceWindOf(a, weather, plan);
    std::vector<navdb::RunwayEnd> ends;
    if (db && !w.ident.isEmpty())
        ends = db->runwayEnds(w.ident);
    const std::optional<double> maxCrosswind =
        plan.profile ? plan.profile->maxCrosswindKt : std::nullopt;
    if (a.surfaceWind)
        a.runways = runwayWinds(ends, *a.surfaceWind, variationAt(model, w, atUtc), maxCrosswind);
    densityOf(a);
    a.sun = sunDay(w.position, localSolarDate(when, w.position.longitudeDeg));
    return a;
}

// The instant a leg of the plan ends, or starts; invalid when not computed.
QDateTime legTime(const plan::PlanLeg& leg, bool end, plan::PlanZone zone) {
    if (!leg.accountedFor())
        return {};
    return utcOf(end ? leg.eta : leg.off, zone);
}

void addDaylightWarnings(Briefing& b) {
    for (const AirportBriefing& a : b.airports) {
        if (!a.atUtc.isValid())
            continue;
        const bool departure = a.role == Role::Departure;
        const SunCrossing& edge = departure ? a.sun.civilDawn : a.sun.civilDusk;
        if (edge.alwaysBelow) {
            b.warnings << QStringLiteral("At %1 the sun stays below civil twilight all day.")
                              .arg(a.airport.label());
        } else if (edge.at && departure && a.atUtc < *edge.at) {
            b.warnings << QStringLiteral("The departure is before the morning's civil twilight "
                                         "at %1.")
                              .arg(a.airport.label());
        } else if (edge.at && !departure && a.atUtc > *edge.at) {
            b.warnings << QStringLiteral("The arrival at %1 is after the evening's civil "
                                         "twilight.")
                              .arg(a.airport.label());
        }
    }
    if (!b.nightLegs.empty())
        b.warnings << QStringLiteral("Flown at night: leg%1 %2.")
                          .arg(b.nightLegs.size() > 1 ? QStringLiteral("s") : QString(),
                               legsText(b.nightLegs));
}

} // namespace

QString roleName(Role role) {
    switch (role) {
    case Role::Departure:
        return QStringLiteral("departure");
    case Role::Destination:
        return QStringLiteral("destination");
    case Role::Alternate:
        return QStringLiteral("alternate");
    }
    return {};
}

ReportsPlaced placeReports(const QString& text, ReportKind kind, plan::FlightPlan& plan) {
    ReportsPlaced out;
    if (plan.waypoints.size() < 2)
        return out;
    const QString labels[] = {plan.waypoints.front().label(), plan.waypoints.back().label(),
                              plan.alternate ? plan.alternate->label() : QString()};
    const QDate near = utcOf(plan.off, plan.zone).date();
    for (const QString& report : splitReports(text)) {
        const bool taf = kind == ReportKind::Taf ||
                         (kind == ReportKind::Any &&
                          report.startsWith(QLatin1String("TAF"), Qt::CaseInsensitive));
        QString station;
        if (taf) {
            const TafRead read = decodeTaf(report, near);
            station = read.taf ? read.taf->station : QString();
        } else {
            const MetarRead read = decodeMetar(report, near);
            station = read.metar ? read.metar->station : QString();
        }
        if (station.isEmpty()) {
            out.unreadable << report.left(40);
            continue;
        }
        bool placed = false;
        for (std::size_t i = 0; i < plan.weather.size(); ++i) {
            if (labels[i].isEmpty() || labels[i].compare(station, Qt::CaseInsensitive) != 0)
                continue;
            (taf ? plan.weather[i].taf : plan.weather[i].metar) = report;
            placed = true;
        }
        if (placed)
            ++out.placed;
        else
            out.elsewhere << station;
    }
    return out;
}

QString roleTitle(Role role) {
    QString title = roleName(role);
    title[0] = title[0].toUpper();
    return title;
}

QString legsText(const std::vector<int>& legs) {
    QStringList runs;
    for (std::size_t i = 0; i < legs.size();) {
        std::size_t j = i;
        while (j + 1 < legs.size() && legs[j + 1] == legs[j] + 1)
            ++j;
        if (j == i + 1) // two in a row read better as "2 and 3"
            j = i;
        runs << (j == i ? QString::number(legs[i])
                        : QStringLiteral("%1 to %2").arg(legs[i]).arg(legs[j]));
        i = j + 1;
    }
    if (runs.size() <= 1)
        return runs.join(QString());
    const QString last = runs.takeLast();
    return runs.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

std::vector<int> nightLegsOf(const plan::FlightPlan& plan, const plan::ComputedPlan& computed) {
    std::vector<int> out;
    for (const plan::PlanLeg& leg : computed.legs) {
        if (leg.alternate || leg.nothingToFly() || (!out.empty() && out.back() == leg.number))
            continue;
        const QDateTime off = legTime(leg, false, plan.zone), eta = legTime(leg, true, plan.zone);
        if (!off.isValid() || leg.from < 0 || leg.to < 0 ||
            leg.to >= static_cast<int>(plan.waypoints.size()))
            continue;
        const core::GeoPoint a = plan.waypoints[static_cast<std::size_t>(leg.from)].position;
        const core::GeoPoint b = plan.waypoints[static_cast<std::size_t>(leg.to)].position;
        const qint64 seconds = std::max<qint64>(0, off.secsTo(eta));
        bool night = false;
        for (qint64 s = 0; !night; s = std::min(seconds, s + 300)) {
            // Along the leg as the time goes; a straight line between the
            // ends is near enough for the sun's altitude.
            const double f =
                seconds > 0 ? static_cast<double>(s) / static_cast<double>(seconds) : 0;
            const core::GeoPoint p{a.latitudeDeg + f * (b.latitudeDeg - a.latitudeDeg),
                                   a.longitudeDeg + f * (b.longitudeDeg - a.longitudeDeg)};
            night = isNight(p, off.addSecs(s));
            if (s == seconds)
                break;
        }
        if (night)
            out.push_back(leg.number);
    }
    return out;
}

Briefing briefingOf(const plan::FlightPlan& plan, const plan::ComputedPlan& computed,
                    const navdb::NavData* db, const magvar::MagneticVariation* model) {
    Briefing b;
    if (plan.waypoints.size() < 2)
        return b;
    const QDateTime off = utcOf(plan.off, plan.zone);
    // An ETA only where every leg before it was computed.
    QDateTime arrival, alternateArrival;
    bool all = true;
    for (const plan::PlanLeg& leg : computed.legs) {
        all = all && leg.accountedFor();
        (leg.alternate ? alternateArrival : arrival) =
            all ? legTime(leg, true, plan.zone) : QDateTime();
    }
    b.airports.push_back(
        airportBriefing(Role::Departure, plan.waypoints.front(), off, plan, db, model));
    b.airports.push_back(
        airportBriefing(Role::Destination, plan.waypoints.back(), arrival, plan, db, model));
    if (plan.alternate)
        b.airports.push_back(
            airportBriefing(Role::Alternate, *plan.alternate, alternateArrival, plan, db, model));
    b.nightLegs = nightLegsOf(plan, computed);
    addDaylightWarnings(b);
    for (const AirportBriefing& a : b.airports)
        b.warnings << a.runways.warnings;
    return b;
}

} // namespace briefing
