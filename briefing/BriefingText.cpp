#include "briefing/BriefingText.h"

#include "core/Math.h"

#include <QJsonArray>

#include <cmath>

namespace briefing {
namespace {

QJsonValue isoOrNull(const SunCrossing& c) {
    if (c.at)
        return c.at->toString(Qt::ISODate);
    return c.alwaysAbove   ? QJsonValue(QStringLiteral("always above"))
           : c.alwaysBelow ? QJsonValue(QStringLiteral("always below"))
                           : QJsonValue();
}

QJsonObject conditionsJson(const Conditions& c) {
    QJsonObject o;
    if (c.wind) {
        QJsonObject w{{QStringLiteral("variable"), c.wind->variable}};
        if (c.wind->directionDeg)
            w.insert(QStringLiteral("directionDeg"), *c.wind->directionDeg);
        if (c.wind->speedKt)
            w.insert(QStringLiteral("speedKt"), core::roundTo2Places(*c.wind->speedKt));
        if (c.wind->gustKt)
            w.insert(QStringLiteral("gustKt"), core::roundTo2Places(*c.wind->gustKt));
        o.insert(QStringLiteral("wind"), w);
    }
    if (c.visibility)
        o.insert(QStringLiteral("visibility"),
                 QJsonObject{{QStringLiteral("metres"), std::round(c.visibility->metres)},
                             {QStringLiteral("orMore"), c.visibility->orMore},
                             {QStringLiteral("lessThan"), c.visibility->lessThan}});
    o.insert(QStringLiteral("cavok"), c.cavok);
    o.insert(QStringLiteral("weather"), QJsonArray::fromStringList(c.weather));
    QJsonArray clouds;
    for (const CloudLayer& l : c.clouds) {
        QJsonObject layer{{QStringLiteral("cover"), l.cover}, {QStringLiteral("type"), l.type}};
        layer.insert(QStringLiteral("baseFt"), l.baseFt ? QJsonValue(*l.baseFt) : QJsonValue());
        clouds.append(layer);
    }
    o.insert(QStringLiteral("clouds"), clouds);
    o.insert(QStringLiteral("category"), categoryName(categoryOf(c)));
    o.insert(QStringLiteral("undecoded"), QJsonArray::fromStringList(c.undecoded));
    o.insert(QStringLiteral("text"), conditionsText(c));
    return o;
}

QJsonValue metarJson(const AirportBriefing& a) {
    if (!a.metar)
        return a.metarProblem.isEmpty() ? QJsonValue()
                                        : QJsonObject{{QStringLiteral("error"), a.metarProblem}};
    const Metar& m = *a.metar;
    QJsonObject o = conditionsJson(m.now);
    o.insert(QStringLiteral("station"), m.station);
    o.insert(QStringLiteral("observed"),
             m.observed ? m.observed->toString(Qt::ISODate) : QString());
    auto optional = [](const std::optional<double>& v) {
        return v ? QJsonValue(*v) : QJsonValue();
    };
    o.insert(QStringLiteral("temperatureC"), optional(m.temperatureC));
    o.insert(QStringLiteral("dewPointC"), optional(m.dewPointC));
    o.insert(QStringLiteral("altimeterHpa"),
             m.altimeterHpa ? QJsonValue(core::roundTo2Places(*m.altimeterHpa)) : QJsonValue());
    o.insert(QStringLiteral("remarks"), m.remarks);
    o.insert(QStringLiteral("trend"), m.trend);
    o.insert(QStringLiteral("report"), m.text);
    return o;
}

QJsonValue tafJson(const AirportBriefing& a) {
    if (!a.taf)
        return a.tafProblem.isEmpty() ? QJsonValue()
                                      : QJsonObject{{QStringLiteral("error"), a.tafProblem}};
    QJsonArray periods;
    for (std::size_t i = 0; i < a.taf->periods.size(); ++i) {
        const TafPeriod& p = a.taf->periods[i];
        QJsonObject o = conditionsJson(p.conditions);
        const QString kind = periodKindCode(p.kind);
        o.insert(QStringLiteral("kind"), kind.isEmpty() ? QStringLiteral("base") : kind);
        o.insert(QStringLiteral("from"), p.from.toString(Qt::ISODate));
        o.insert(QStringLiteral("to"), p.to.toString(Qt::ISODate));
        if (p.probabilityPercent > 0)
            o.insert(QStringLiteral("probabilityPercent"), p.probabilityPercent);
        o.insert(QStringLiteral("coversPlannedTime"),
                 std::find(a.tafPeriods.begin(), a.tafPeriods.end(), i) != a.tafPeriods.end());
        periods.append(o);
    }
    return QJsonObject{{QStringLiteral("station"), a.taf->station},
                       {QStringLiteral("validFrom"), a.taf->validFrom.toString(Qt::ISODate)},
                       {QStringLiteral("validTo"), a.taf->validTo.toString(Qt::ISODate)},
                       {QStringLiteral("periods"), periods},
                       {QStringLiteral("report"), a.taf->text}};
}

QJsonObject airportJson(const AirportBriefing& a) {
    QJsonArray runways;
    for (const RunwayComponents& r : a.runways.runways)
        runways.append(QJsonObject{
            {QStringLiteral("ident"), r.ident},
            {QStringLiteral("headingDegT"), core::roundTo2Places(r.headingDegT)},
            {QStringLiteral("headingFromNumber"), r.headingFromNumber},
            {QStringLiteral("headwindKt"), core::roundTo2Places(r.headwindKt)},
            {QStringLiteral("crosswindKt"), core::roundTo2Places(r.crosswindKt)},
            {QStringLiteral("gustCrosswindKt"), core::roundTo2Places(r.gustCrosswindKt)},
            {QStringLiteral("crosswindSide"), r.crosswindSide},
            {QStringLiteral("favoured"), r.favoured}});
    auto optional = [](const std::optional<double>& v) {
        return v ? QJsonValue(std::round(*v)) : QJsonValue();
    };
    QJsonObject o{
        {QStringLiteral("role"), roleName(a.role)},
        {QStringLiteral("ident"), a.airport.label()},
        {QStringLiteral("at"), a.atUtc.isValid() ? a.atUtc.toString(Qt::ISODate) : QString()},
        {QStringLiteral("runways"), runways},
        {QStringLiteral("runwayWind"), a.runways.said},
        {QStringLiteral("surfaceWindFrom"), a.surfaceWind ? a.surfaceWind->source : QString()},
        {QStringLiteral("pressureAltitudeFt"), optional(a.pressureAltitudeFt)},
        {QStringLiteral("densityAltitudeFt"), optional(a.densityAltitudeFt)},
        {QStringLiteral("standardTemperatureC"), core::roundTo2Places(a.standardTemperatureC)},
        {QStringLiteral("densityAltitudeMissing"), a.densityProblem},
        {QStringLiteral("sun"),
         QJsonObject{{QStringLiteral("date"), a.sun.date.toString(Qt::ISODate)},
                     {QStringLiteral("sunrise"), isoOrNull(a.sun.sunrise)},
                     {QStringLiteral("sunset"), isoOrNull(a.sun.sunset)},
                     {QStringLiteral("civilDawn"), isoOrNull(a.sun.civilDawn)},
                     {QStringLiteral("civilDusk"), isoOrNull(a.sun.civilDusk)}}},
        {QStringLiteral("metar"), metarJson(a)},
        {QStringLiteral("taf"), tafJson(a)}};
    return o;
}

QString sunText(const SunCrossing& c, plan::PlanZone zone) {
    if (c.alwaysAbove)
        return QStringLiteral("none (sun up)");
    if (c.alwaysBelow)
        return QStringLiteral("none (sun down)");
    return timeText(c.at, zone);
}

} // namespace

QString timeText(const std::optional<QDateTime>& utc, plan::PlanZone zone) {
    if (!utc || !utc->isValid())
        return QStringLiteral("--");
    if (zone == plan::PlanZone::Utc)
        return utc->toUTC().toString(QStringLiteral("HH:mm")) + QStringLiteral(" UTC");
    const QDateTime local = utc->toLocalTime();
    const QString name = local.timeZoneAbbreviation();
    return local.toString(QStringLiteral("HH:mm ")) +
           (name.isEmpty() ? QStringLiteral("local") : name);
}

QJsonObject briefingJson(const Briefing& b) {
    QJsonArray airports;
    for (const AirportBriefing& a : b.airports)
        airports.append(airportJson(a));
    QJsonArray night;
    for (int leg : b.nightLegs)
        night.append(leg);
    return QJsonObject{{QStringLiteral("airports"), airports},
                       {QStringLiteral("nightLegs"), night},
                       {QStringLiteral("warnings"), QJsonArray::fromStringList(b.warnings)}};
}

QStringList airportLines(const AirportBriefing& a, plan::PlanZone zone) {
    QStringList lines;
    if (a.metar)
        lines << QStringLiteral("%1 %2: %3 (%4)")
                     .arg(a.metar->kind,
                          a.metar->observed
                              ? a.metar->observed->toString(QStringLiteral("ddHHmm'Z'"))
                              : QString(),
                          conditionsText(a.metar->now), categoryName(categoryOf(a.metar->now)));
    else if (!a.metarProblem.isEmpty())
        lines << QStringLiteral("METAR not decoded: %1").arg(a.metarProblem);
    if (a.taf) {
        for (std::size_t i : a.tafPeriods) {
            const TafPeriod& p = a.taf->periods[i];
            QString kind = periodKindCode(p.kind);
            if (p.probabilityPercent > 0)
                kind += QString::number(p.probabilityPercent) +
                        (p.temporary ? QStringLiteral(" TEMPO") : QString());
            lines << QStringLiteral("TAF %1%2-%3: %4")
                         .arg(kind.isEmpty() ? QString() : kind + QLatin1Char(' '),
                              p.from.toString(QStringLiteral("ddHHmm")),
                              p.to.toString(QStringLiteral("ddHHmm'Z'")),
                              conditionsText(p.conditions));
        }
        if (a.tafPeriods.empty())
            lines << QStringLiteral("The TAF does not cover the planned time.");
    } else if (!a.tafProblem.isEmpty()) {
        lines << QStringLiteral("TAF not decoded: %1").arg(a.tafProblem);
    }
    if (!a.runways.said.isEmpty())
        lines << a.runways.said;
    QStringList runways;
    for (const RunwayComponents& r : a.runways.runways) {
        if (a.runways.said.isEmpty())
            runways << QStringLiteral("%1%2 %3 %4 kt, cross %5 kt%6")
                           .arg(r.favoured ? QStringLiteral("*") : QString(), r.ident,
                                r.headwindKt < 0 ? QStringLiteral("tail") : QStringLiteral("head"))
                           .arg(std::lround(std::abs(r.headwindKt)))
                           .arg(std::lround(r.gustCrosswindKt))
                           .arg(r.crosswindSide.isEmpty() ? QString()
                                                          : QLatin1Char(' ') + r.crosswindSide);
    }
    if (!runways.isEmpty())
        lines << QStringLiteral("Runways (wind %1): %2")
                     .arg(a.surfaceWind->source, runways.join(QStringLiteral("; ")));
    if (a.densityAltitudeFt)
        lines << QStringLiteral(
                     "Pressure altitude %1 ft, density altitude %2 ft (%3 °C, standard %4 °C)")
                     .arg(std::lround(*a.pressureAltitudeFt))
                     .arg(std::lround(*a.densityAltitudeFt))
                     .arg(std::lround(*a.temperatureC))
                     .arg(std::lround(a.standardTemperatureC));
    else
        lines << QStringLiteral("Density altitude: %1").arg(a.densityProblem);
    lines << QStringLiteral("Civil dawn %1, sunrise %2, sunset %3, civil dusk %4")
                 .arg(sunText(a.sun.civilDawn, zone), sunText(a.sun.sunrise, zone),
                      sunText(a.sun.sunset, zone), sunText(a.sun.civilDusk, zone));
    return lines;
}

} // namespace briefing
