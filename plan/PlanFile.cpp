#include "plan/PlanFile.h"

#include "core/JsonReader.h"
#include "core/Limits.h"
#include "core/Math.h"
#include "core/NumberText.h"
#include "core/Text.h"
#include "navlog/LegColumns.h"
#include "plan/RouteExchange.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace plan {
namespace {

const QString kFormat = QStringLiteral("skyvane-plan");
// The plan's weather by airport, in the order of FlightPlan::weather; a
// pasted report is kept to this many characters.
constexpr const char* kWeatherKeys[] = {"departure", "destination", "alternate"};
constexpr int kMaxWeatherChars = 20000;

namespace limits = core::limits;

// The plan's own parts, read with the one rule of every file's values.
struct Reader : core::JsonReader {
    Wind wind(const QJsonObject& o) {
        return Wind{number(o, "directionDeg", limits::kWindDirectionDeg, 0, true),
                    number(o, "speedKt", limits::kWindSpeedKt, 0, true)};
    }
    // The aircraft's copy and the load at each of its stations, by name.
    void profile(const QJsonObject& root, FlightPlan& p) {
        const ProfileRead read =
            profileOf(root.value(QStringLiteral("aircraftProfile")).toObject());
        if (!read.profile) {
            fail(QStringLiteral("its aircraft: %1").arg(read.error));
            return;
        }
        p.profile = *read.profile;
        p.stationLoads.assign(p.profile->stations.size(), 0);
        for (const QJsonValue& v : root.value(QStringLiteral("loads")).toArray()) {
            const QJsonObject load = v.toObject();
            const QString station = text(load, "station");
            const auto& stations = p.profile->stations;
            const auto at =
                std::find_if(stations.begin(), stations.end(),
                             [&station](const Station& s) { return s.name == station; });
            if (at == stations.end()) {
                fail(QStringLiteral("a load is for \"%1\", which the aircraft has no station of")
                         .arg(station));
                continue;
            }
            p.stationLoads[static_cast<std::size_t>(at - stations.begin())] =
                number(load, "weight", limits::kWeight, 0, true);
        }
    }
    Waypoint waypoint(const QJsonObject& o) {
        Waypoint w;
        w.name = text(o, "name");
        w.ident = text(o, "ident");
        const core::Limit anywhere{"", -1e9, 1e9};
        w.position.latitudeDeg = number(o, "latitudeDeg", anywhere, 0, true);
        w.position.longitudeDeg = number(o, "longitudeDeg", anywhere, 0, true);
        if (!core::isValidLatitude(w.position.latitudeDeg) ||
            !(std::fabs(w.position.longitudeDeg) <= 180))
            fail(QStringLiteral("waypoint \"%1\" lies nowhere").arg(w.name));
        const QJsonObject leg = o.value(QStringLiteral("leg")).toObject();
        w.leg.altitudeFt = number(leg, "altitudeFt", limits::kAltitudeFt);
        if (leg.contains(QStringLiteral("wind")))
            w.leg.wind = wind(leg.value(QStringLiteral("wind")).toObject());
        w.leg.variationDeg = optionalNumber(leg, "variationDeg", limits::kVariationDeg);
        w.elevationFt = optionalNumber(o, "elevationFt", limits::kElevationFt);
        return w;
    }
};

QString versionProblem(const QJsonValue& version) {
    return core::formatVersionProblem(version, kPlanFormatVersion, "plan");
}

QJsonObject waypointJson(const Waypoint& w) {
    QJsonObject leg{{QStringLiteral("altitudeFt"), w.leg.altitudeFt}};
    if (w.leg.wind)
        leg.insert(QStringLiteral("wind"),
                   QJsonObject{{QStringLiteral("directionDeg"), w.leg.wind->directionDeg},
                               {QStringLiteral("speedKt"), w.leg.wind->speedKt}});
    if (w.leg.variationDeg)
        leg.insert(QStringLiteral("variationDeg"), *w.leg.variationDeg);
    QJsonObject out{{QStringLiteral("name"), w.name},
                    {QStringLiteral("ident"), w.ident},
                    {QStringLiteral("latitudeDeg"), w.position.latitudeDeg},
                    {QStringLiteral("longitudeDeg"), w.position.longitudeDeg},
                    {QStringLiteral("leg"), leg}};
    if (w.elevationFt)
        out.insert(QStringLiteral("elevationFt"), *w.elevationFt);
    return out;
}

} // namespace

PlanRead readPlan(const std::string& bytes) {
    PlanRead out;
    QJsonParseError parseError{};
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray::fromStdString(bytes), &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        out.error = QStringLiteral("it is not a plan file (damaged JSON)");
        return out;
    }
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != kFormat) {
        out.error = QStringLiteral("it is not a Skyvane plan");
        return out;
    }
    out.error = versionProblem(root.value(QStringLiteral("version")));
    if (!out.error.isEmpty())
        return out;
    Reader r;
    FlightPlan p;
    const QJsonObject aircraft = root.value(QStringLiteral("aircraft")).toObject();
    p.aircraft.tasKt = r.number(aircraft, "tasKt", limits::kTasKt);
    p.aircraft.fuelFlowGph = r.number(aircraft, "fuelFlowGph", limits::kFuelFlowGph);
    p.aircraft.fuelGal = r.number(aircraft, "fuelGal", limits::kFuelGal);
    p.aircraft.taxiGal = r.number(aircraft, "taxiGal", limits::kTaxiGal);
    const QJsonObject fuel = root.value(QStringLiteral("fuel")).toObject();
    p.fuel.contingencyPercent = r.number(fuel, "contingencyPercent", limits::kContingencyPercent,
                                         p.fuel.contingencyPercent);
    p.fuel.reserveMin = r.number(fuel, "reserveMin", limits::kReserveMin, p.fuel.reserveMin);
    p.fuel.extraGal = r.number(fuel, "extraGal", limits::kExtraGal);
    const QJsonObject deviation = root.value(QStringLiteral("deviation")).toObject();
    p.deviationDeg = r.number(deviation, "degrees", limits::kDeviationDeg);
    if (deviation.contains(QStringLiteral("card"))) {
        const QJsonArray card = deviation.value(QStringLiteral("card")).toArray();
        if (card.size() != 12) {
            out.error = QStringLiteral("the deviation card has not 12 headings");
            return out;
        }
        DeviationCard c{};
        for (int i = 0; i < 12; ++i)
            c[static_cast<std::size_t>(i)] =
                r.number(QJsonObject{{QStringLiteral("card"), card.at(i)}}, "card",
                         limits::kDeviationDeg, 0, true);
        p.deviationCard = c;
    }
    for (const QJsonValue& row : root.value(QStringLiteral("windsAloft")).toArray()) {
        const QJsonObject o = row.toObject();
        p.windsAloft.push_back({r.number(o, "altitudeFt", limits::kAltitudeFt, 0, true), r.wind(o),
                                r.optionalNumber(o, "temperatureC", limits::kTemperatureC)});
    }
    p.variationDeg = r.optionalNumber(root, "variationDeg", limits::kVariationDeg);
    const QJsonArray waypoints = root.value(QStringLiteral("waypoints")).toArray();
    if (static_cast<std::size_t>(waypoints.size()) > kMaxWaypoints)
        r.fail(QStringLiteral("it holds more than %1 waypoints").arg(kMaxWaypoints));
    for (const QJsonValue& w : waypoints)
        p.waypoints.push_back(r.waypoint(w.toObject()));
    if (root.contains(QStringLiteral("alternate")))
        p.alternate = r.waypoint(root.value(QStringLiteral("alternate")).toObject());
    if (root.contains(QStringLiteral("aircraftProfile")))
        r.profile(root, p);
    // Plans from before the choice were planned in the computer's zone.
    const QString zone = root.value(QStringLiteral("timeZone")).toString(QStringLiteral("local"));
    if (zone != QLatin1String("local") && zone != QLatin1String("utc"))
        r.fail(QStringLiteral("\"timeZone\" is not local or utc"));
    p.zone = zone == QLatin1String("utc") ? PlanZone::Utc : PlanZone::Local;
    const QJsonObject weather = root.value(QStringLiteral("weather")).toObject();
    for (std::size_t i = 0; i < p.weather.size(); ++i) {
        const QJsonObject o = weather.value(QLatin1String(kWeatherKeys[i])).toObject();
        p.weather[i].metar = r.text(o, "metar").left(kMaxWeatherChars);
        p.weather[i].taf = r.text(o, "taf").left(kMaxWeatherChars);
        if (o.contains(QStringLiteral("surfaceWind")))
            p.weather[i].surfaceWind = r.wind(o.value(QStringLiteral("surfaceWind")).toObject());
    }
    // A time off that cannot be read is refused, never replaced by a guess.
    p.off = QDateTime::fromString(r.text(root, "off"), Qt::ISODate);
    if (!p.off.isValid())
        r.fail(QStringLiteral("\"off\" is not a date and time"));
    if (!r.error.isEmpty()) {
        out.error = r.error;
        return out;
    }
    out.plan = std::move(p);
    return out;
}

namespace {
// The oldest version that holds the plan, so an older Skyvane still opens
// what it can read whole. A plan in UTC needs the newest: an older program
// would take its times for local ones.
int versionNeeded(const FlightPlan& p) {
    if (p.zone == PlanZone::Utc)
        return kPlanFormatVersion;
    return p.profile ? 2 : 1;
}
} // namespace

std::string planJson(const FlightPlan& p) {
    QJsonObject root{{QStringLiteral("format"), kFormat},
                     {QStringLiteral("version"), versionNeeded(p)}};
    if (p.profile) {
        root.insert(QStringLiteral("aircraftProfile"), profileObject(*p.profile));
        QJsonArray loads;
        for (std::size_t i = 0; i < p.profile->stations.size(); ++i)
            loads.append(QJsonObject{
                {QStringLiteral("station"), p.profile->stations[i].name},
                {QStringLiteral("weight"), i < p.stationLoads.size() ? p.stationLoads[i] : 0.0}});
        root.insert(QStringLiteral("loads"), loads);
    }
    root.insert(QStringLiteral("aircraft"),
                QJsonObject{{QStringLiteral("tasKt"), p.aircraft.tasKt},
                            {QStringLiteral("fuelFlowGph"), p.aircraft.fuelFlowGph},
                            {QStringLiteral("fuelGal"), p.aircraft.fuelGal},
                            {QStringLiteral("taxiGal"), p.aircraft.taxiGal}});
    root.insert(QStringLiteral("fuel"),
                QJsonObject{{QStringLiteral("contingencyPercent"), p.fuel.contingencyPercent},
                            {QStringLiteral("reserveMin"), p.fuel.reserveMin},
                            {QStringLiteral("extraGal"), p.fuel.extraGal}});
    root.insert(QStringLiteral("off"), p.off.toString(Qt::ISODate));
    if (p.zone == PlanZone::Utc)
        root.insert(QStringLiteral("timeZone"), QStringLiteral("utc"));
    QJsonObject weather;
    for (std::size_t i = 0; i < p.weather.size(); ++i) {
        const AirportWeather& w = p.weather[i];
        if (w.empty())
            continue;
        QJsonObject o{{QStringLiteral("metar"), w.metar}, {QStringLiteral("taf"), w.taf}};
        if (w.surfaceWind)
            o.insert(QStringLiteral("surfaceWind"),
                     QJsonObject{{QStringLiteral("directionDeg"), w.surfaceWind->directionDeg},
                                 {QStringLiteral("speedKt"), w.surfaceWind->speedKt}});
        weather.insert(QLatin1String(kWeatherKeys[i]), o);
    }
    if (!weather.isEmpty())
        root.insert(QStringLiteral("weather"), weather);
    QJsonObject deviation{{QStringLiteral("degrees"), p.deviationDeg}};
    if (p.deviationCard) {
        QJsonArray card;
        for (double d : *p.deviationCard)
            card.append(d);
        deviation.insert(QStringLiteral("card"), card);
    }
    root.insert(QStringLiteral("deviation"), deviation);
    QJsonArray winds;
    for (const WindRow& row : p.windsAloft) {
        QJsonObject o{{QStringLiteral("altitudeFt"), row.altitudeFt},
                      {QStringLiteral("directionDeg"), row.wind.directionDeg},
                      {QStringLiteral("speedKt"), row.wind.speedKt}};
        if (row.temperatureC)
            o.insert(QStringLiteral("temperatureC"), *row.temperatureC);
        winds.append(o);
    }
    root.insert(QStringLiteral("windsAloft"), winds);
    if (p.variationDeg)
        root.insert(QStringLiteral("variationDeg"), *p.variationDeg);
    QJsonArray waypoints;
    for (const Waypoint& w : p.waypoints)
        waypoints.append(waypointJson(w));
    root.insert(QStringLiteral("waypoints"), waypoints);
    if (p.alternate)
        root.insert(QStringLiteral("alternate"), waypointJson(*p.alternate));
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

namespace {

// A point along the route: how far, how long, where.
QJsonObject routePointJson(const RoutePoint& r) {
    return QJsonObject{{QStringLiteral("distanceNm"), core::roundTo2Places(r.distanceNm)},
                       {QStringLiteral("minutes"), core::roundTo2Places(r.minutes)},
                       {QStringLiteral("leg"), r.leg},
                       {QStringLiteral("intoLegNm"), core::roundTo2Places(r.intoLegNm)},
                       {QStringLiteral("latitudeDeg"), r.position.latitudeDeg},
                       {QStringLiteral("longitudeDeg"), r.position.longitudeDeg}};
}

QJsonObject pointJson(const PointResult& point) {
    if (!point.point)
        return QJsonObject{{QStringLiteral("none"), point.why}};
    QJsonObject o = routePointJson(*point.point);
    o.insert(QStringLiteral("beyondDestination"), point.beyondDestination);
    return o;
}

QJsonValue levelJson(const std::optional<LevelPoint>& level) {
    if (!level)
        return {};
    QJsonObject o = routePointJson(level->point);
    o.insert(QStringLiteral("altitudeFt"), level->altitudeFt);
    return o;
}

QJsonValue massJson(const MassPoint& p, bool known = true) {
    if (!known)
        return {};
    return QJsonObject{{QStringLiteral("weight"), core::roundTo2Places(p.weight)},
                       {QStringLiteral("arm"), core::roundTo2Places(p.arm)},
                       {QStringLiteral("moment"), core::roundTo2Places(p.moment)},
                       {QStringLiteral("inside"), p.insideEnvelopes}};
}

QJsonObject balanceJson(const WeightAndBalance& b) {
    return {{QStringLiteral("ramp"), massJson(b.ramp)},
            {QStringLiteral("takeoff"), massJson(b.takeoff)},
            {QStringLiteral("landing"), massJson(b.landing, b.landingKnown)},
            {QStringLiteral("verdict"), b.verdict},
            {QStringLiteral("withinLimits"), b.withinLimits}};
}

} // namespace

QJsonObject computedPlanObject(const ComputedPlan& c, const DecisionPoints& points,
                               const std::optional<WeightAndBalance>& balance) {
    QJsonArray legs;
    for (const PlanLeg& leg : c.legs)
        legs.append(navlog::plannedLegJson(leg.figures));
    const FuelBlock& f = c.fuel;
    // What could not be computed is null, never a 0 that reads as a figure.
    auto known = [&f](double gallons) { return f.plannable ? QJsonValue(gallons) : QJsonValue(); };
    const QJsonObject fuel{
        {QStringLiteral("taxiGal"), f.taxiGal},
        {QStringLiteral("tripGal"), known(f.tripGal)},
        {QStringLiteral("contingencyGal"), known(f.contingencyGal)},
        {QStringLiteral("alternateGal"), known(f.alternateGal)},
        {QStringLiteral("reserveGal"), f.reserveGal},
        {QStringLiteral("extraGal"), f.extraGal},
        {QStringLiteral("requiredGal"), known(f.requiredGal)},
        {QStringLiteral("onBoardGal"), f.onBoardGal},
        {QStringLiteral("enough"), f.enough},
        {QStringLiteral("enduranceMin"),
         f.enduranceMin ? QJsonValue(core::roundTo2Places(*f.enduranceMin)) : QJsonValue()},
        {QStringLiteral("verdict"), f.verdict}};
    QJsonArray missing;
    for (int leg : c.missingLegs)
        missing.append(leg);
    const QJsonValue distance = c.complete() ? QJsonValue(c.distanceNm) : QJsonValue();
    const QJsonValue ete = c.complete() ? QJsonValue(c.eteMin) : QJsonValue();
    const QJsonObject root{
        {QStringLiteral("legs"), legs},
        {QStringLiteral("totals"), QJsonObject{{QStringLiteral("distanceNm"), distance},
                                               {QStringLiteral("eteMin"), ete},
                                               {QStringLiteral("flyable"), c.flyable},
                                               {QStringLiteral("complete"), c.complete()},
                                               {QStringLiteral("missingLegs"), missing}}},
        {QStringLiteral("fuel"), fuel}};
    const WindMargin& m = points.windMargin;
    QJsonArray cases;
    for (const WindCase& wc : m.cases)
        cases.append(QJsonObject{{QStringLiteral("wind"), wc.name},
                                 {QStringLiteral("eteChangeMin"), wc.eteChangeMin},
                                 {QStringLiteral("fuelChangeGal"), wc.fuelChangeGal},
                                 {QStringLiteral("reserveMarginGal"), wc.reserveMarginGal},
                                 {QStringLiteral("flyable"), wc.flyable}});
    const QJsonObject margin{
        {QStringLiteral("headwindKt"), m.headwindKt ? QJsonValue(*m.headwindKt) : QJsonValue()},
        {QStringLiteral("mostSensitiveLeg"), m.mostSensitiveLeg},
        {QStringLiteral("summary"), m.summary},
        {QStringLiteral("cases"), cases}};
    QJsonObject all = root;
    all.insert(QStringLiteral("decisionPoints"),
               QJsonObject{{QStringLiteral("etp"), pointJson(points.etp)},
                           {QStringLiteral("pnr"), pointJson(points.pnr)},
                           {QStringLiteral("windMargin"), margin}});
    if (c.phased) {
        all.insert(QStringLiteral("toc"), levelJson(c.topOfClimb));
        all.insert(QStringLiteral("tod"), levelJson(c.topOfDescent));
    }
    if (balance)
        all.insert(QStringLiteral("weightAndBalance"), balanceJson(*balance));
    return all;
}

std::string computedPlanJson(const ComputedPlan& c, const DecisionPoints& points,
                             const std::optional<WeightAndBalance>& balance) {
    return QJsonDocument(computedPlanObject(c, points, balance))
        .toJson(QJsonDocument::Indented)
        .toStdString();
}

} // namespace plan
