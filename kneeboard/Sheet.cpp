#include "kneeboard/Sheet.h"

#include "briefing/Briefing.h"
#include "briefing/BriefingText.h"
#include "core/NumberText.h"
#include "core/Text.h"
#include "navdb/NavDatabase.h"
#include "navlog/LegColumns.h"
#include "plan/DecisionPoints.h"
#include "plan/FlightPlan.h"
#include "plan/WeightBalance.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

namespace kneeboard {
namespace {

// The aircraft with its loading, the three states and the verdict; none
// without an aircraft profile.
QStringList balanceLines(const plan::FlightPlan& p, const plan::ComputedPlan& computed) {
    const auto balance = plan::planBalance(p, computed);
    if (!balance)
        return {};
    const plan::AircraftProfile& a = *p.profile;
    const QString weight = plan::unitText(a.weightUnit), arm = plan::unitText(a.armUnit);
    auto figure = [](double value) { return core::numberText(std::round(value * 10) / 10); };
    QStringList loads{QStringLiteral("empty %1 %2").arg(figure(a.emptyWeight), weight)};
    for (std::size_t i = 0; i < a.stations.size() && i < p.stationLoads.size(); ++i) {
        if (p.stationLoads[i] > 0)
            loads << QStringLiteral("%1 %2 %3")
                         .arg(a.stations[i].name, figure(p.stationLoads[i]), weight);
    }
    auto state = [&](const char* name, const plan::MassPoint& m) {
        return QStringLiteral("%1 %2 %3 at %4 %5")
            .arg(QLatin1String(name), figure(m.weight), weight,
                 core::numberText(std::round(m.arm * 100) / 100), arm);
    };
    QStringList states{state("ramp", balance->ramp), state("takeoff", balance->takeoff)};
    if (balance->landingKnown)
        states << state("landing", balance->landing);
    return {
        QStringLiteral("%1 %2: %3").arg(a.registration, a.type, loads.join(QStringLiteral(", "))),
        states.join(QStringLiteral("; ")), balance->verdict};
}

QString aircraftLine(const QString& tas, const QString& gph, const QString& fuel, int reserveMin) {
    return QStringLiteral("TAS %1 kt, fuel flow %2 gal/h, %3 gal at start, reserve %4 min")
        .arg(tas, gph, fuel)
        .arg(reserveMin);
}

} // namespace

std::vector<const Column*> columns() {
    return navlog::columnsOf(navlog::Output::Paper);
}

const Column* columnByKey(const QString& key) {
    for (const Column* c : columns()) {
        if (key == QLatin1String(c->paperKey))
            return c;
    }
    return nullptr;
}

QStringList defaultColumns() {
    return {QStringLiteral("checkpoint"), QStringLiteral("alt"),      QStringLiteral("mh"),
            QStringLiteral("ch"),         QStringLiteral("wca"),      QStringLiteral("gs"),
            QStringLiteral("dist"),       QStringLiteral("ete"),      QStringLiteral("eta"),
            QStringLiteral("ata"),        QStringLiteral("fuelLeft"), QStringLiteral("fuelAct")};
}

QStringList chosenColumns(const QStringList& keys) {
    QStringList out;
    for (const Column* c : columns()) {
        if (keys.contains(QLatin1String(c->paperKey)))
            out << QLatin1String(c->paperKey);
    }
    return out.isEmpty() ? defaultColumns() : out;
}

std::optional<QStringList> parseColumns(const QString& text, QString* error) {
    QStringList keys;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString key = part.trimmed();
        if (!columnByKey(key)) {
            if (error) {
                QStringList known;
                for (const Column* c : columns())
                    known << QLatin1String(c->paperKey);
                *error = QStringLiteral("unknown column '%1' (known: %2)")
                             .arg(key, known.join(QStringLiteral(", ")));
            }
            return std::nullopt;
        }
        keys << key;
    }
    if (keys.isEmpty()) {
        if (error)
            *error = QStringLiteral("no columns named");
        return std::nullopt;
    }
    return chosenColumns(keys);
}

QString cellText(const Column& column, int number, const SheetLeg& leg) {
    return column.cell({leg.figures, number, leg.belowReserve}, navlog::Output::Paper);
}

QString totalText(const Column& column, const Sheet& sheet) {
    if (sheet.legs.empty())
        return {};
    return column.totalCell(sheet.totals, navlog::Output::Paper);
}

QString airportLine(const QString& role, const QString& ident, const navdb::NavData* navData) {
    QString line = role + QLatin1Char(' ') + ident;
    const auto facts = navData ? navData->airportFacts(ident) : std::nullopt;
    if (!facts)
        return line;
    line += QLatin1Char(' ') + facts->airport.name;
    QStringList parts;
    if (facts->airport.elevationFt)
        parts << QStringLiteral("elevation %1 ft").arg(qRound(*facts->airport.elevationFt));
    // Figures of a database made before the imports checked their ranges
    // are left out rather than printed as nonsense.
    if (const auto& r = facts->longestRunway;
        r && r->lengthFt <= 100000 && (!r->widthFt || *r->widthFt <= 10000)) {
        QString runway =
            QStringLiteral("longest runway %1 %2").arg(r->ends).arg(qRound(r->lengthFt));
        if (r->widthFt)
            runway += QStringLiteral(" × %1").arg(qRound(*r->widthFt));
        runway += QStringLiteral(" ft");
        if (!r->surface.isEmpty())
            runway += QLatin1Char(' ') + r->surface;
        parts << runway;
    }
    if (!parts.isEmpty())
        line += QStringLiteral(": ") + parts.join(QStringLiteral(", "));
    return line;
}

namespace {

// The frequency of the navaid a waypoint is (its code, within a mile of
// it), or empty.
QString navaidFrequency(const plan::Waypoint& w, const navdb::NavData* navData) {
    if (!navData || w.ident.isEmpty())
        return {};
    for (const navdb::Place& p : navData->search(w.ident, 8, w.position)) {
        if (p.matchGroup == 0 && p.kind == navdb::Kind::Navaid && p.distanceNm &&
            *p.distanceNm < 1 && p.frequencyKhz > 0)
            return navdb::frequencyText(p.frequencyKhz);
    }
    return {};
}

} // namespace

FrequencyTable frequencyTable(const std::vector<std::pair<QString, QString>>& airports,
                              const navdb::NavData* navData) {
    FrequencyTable table;
    if (!navData)
        return table;
    // What a pilot dials first, in the order of the departure; the rest of
    // the kinds the data has after them.
    const QStringList first{QStringLiteral("ATIS"), QStringLiteral("DEL"), QStringLiteral("CLD"),
                            QStringLiteral("GND"), QStringLiteral("TWR")};
    std::vector<std::pair<QString, std::map<QString, QStringList>>> found;
    QStringList others;
    for (const auto& [role, ident] : airports) {
        const auto facts = navData->airportFacts(ident);
        if (!facts)
            continue;
        std::map<QString, QStringList> cells;
        for (const navdb::Frequency& f : facts->frequencies) {
            if (!(f.mhz > 0 && f.mhz <= 1000))
                continue;
            const QString kind = f.type.toUpper();
            const QString mhz = QString::fromStdString(core::formatFixed(f.mhz, 3));
            if (!cells[kind].contains(mhz))
                cells[kind] << mhz;
            if (!first.contains(kind) && !others.contains(kind))
                others << kind;
        }
        if (!cells.empty())
            found.emplace_back(role + QLatin1Char(' ') + facts->airport.ident, cells);
    }
    for (const QString& kind : first + others) {
        const bool any = std::any_of(found.begin(), found.end(),
                                     [&kind](const auto& f) { return f.second.count(kind) > 0; });
        if (any)
            table.kinds << kind;
    }
    for (auto& [label, cells] : found) {
        QStringList row;
        for (const QString& kind : table.kinds)
            row << (cells.count(kind) ? cells[kind].join(QLatin1Char(' ')) : QString());
        table.rows.emplace_back(label, row);
    }
    return table;
}

namespace {

void finishLegs(Sheet& sheet, const navlog::Trip& trip, int reserveMin) {
    sheet.totals = navlog::totalsOf(trip, reserveMin);
    if (sheet.totals.hasEndurance || !sheet.totals.complete)
        sheet.endNotes << navlog::reserveSummary(sheet.totals, reserveMin);
    QStringList low;
    for (std::size_t i = 0; i < sheet.legs.size(); ++i) {
        if (sheet.legs[i].belowReserve)
            low << QString::number(i + 1);
    }
    if (!low.isEmpty())
        sheet.endNotes << QStringLiteral("Below the %1 min reserve (shaded): leg %2.")
                              .arg(reserveMin)
                              .arg(low.join(QStringLiteral(", ")));
}

} // namespace

Sheet tripSheet(const navlog::Trip& trip, int reserveMin, const navdb::NavData* navData) {
    Sheet sheet;
    sheet.title = QStringLiteral("Skyvane nav log");
    sheet.date = trip.started.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    sheet.route = navlog::routeOf(trip);
    for (const navlog::LegFigures& leg : trip.legs)
        sheet.legs.push_back({leg, navlog::belowReserve(leg, reserveMin)});
    if (!trip.legs.empty()) {
        const navlog::LegFigures& first = trip.legs.front();
        sheet.aircraft =
            aircraftLine(core::numberText(first.tasKt), core::numberText(first.fuelFlowGph),
                         core::numberText(first.fuelAtStartGal), reserveMin);
        if (!first.from.isEmpty())
            sheet.airports << airportLine(QStringLiteral("Departure"), first.from, navData);
        if (!trip.legs.back().to.isEmpty())
            sheet.airports << airportLine(QStringLiteral("Destination"), trip.legs.back().to,
                                          navData);
        sheet.frequencies = frequencyTable({{QStringLiteral("Departure"), first.from},
                                            {QStringLiteral("Destination"), trip.legs.back().to}},
                                           navData);
    }
    finishLegs(sheet, trip, reserveMin);
    return sheet;
}

namespace {
// A short block per airport (its weather, runway wind, density altitude and
// daylight), then what the plan flies at night.
QStringList briefingLines(const plan::FlightPlan& p, const plan::ComputedPlan& computed,
                          const navdb::NavData* navData) {
    QStringList lines;
    if (p.waypoints.size() < 2)
        return lines;
    const briefing::Briefing b = briefing::briefingOf(p, computed, navData, nullptr);
    for (const briefing::AirportBriefing& a : b.airports) {
        const QStringList body = briefing::airportLines(a, p.zone);
        lines << briefing::roleTitle(a.role) + QLatin1Char(' ') + a.airport.label() +
                     QStringLiteral(": ") + body.join(QStringLiteral("; "));
    }
    lines << b.warnings;
    return lines;
}
} // namespace

Sheet planSheet(const plan::FlightPlan& p, const plan::ComputedPlan& computed,
                const plan::DecisionPoints& points, const navdb::NavData* navData) {
    Sheet sheet;
    sheet.title = QStringLiteral("Skyvane flight plan");
    sheet.timeZone = plan::zoneName(p.off, p.zone);
    sheet.date = p.off.toString(QStringLiteral("yyyy-MM-dd HH:mm ")) + sheet.timeZone;
    QStringList route;
    for (const plan::Waypoint& w : p.waypoints)
        route << w.label();
    sheet.route = route.join(QStringLiteral(" - "));
    if (p.alternate)
        sheet.route += QStringLiteral(", alternate ") + p.alternate->label();
    const int reserveMin = static_cast<int>(p.fuel.reserveMin);
    sheet.aircraft =
        p.profile
            ? QStringLiteral("%1 %2: climb, cruise and descent by its profile, %3 gal at start, "
                             "reserve %4 min")
                  .arg(p.profile->registration, p.profile->type,
                       core::numberText(p.aircraft.fuelGal))
                  .arg(reserveMin)
            : aircraftLine(core::numberText(p.aircraft.tasKt),
                           core::numberText(p.aircraft.fuelFlowGph),
                           core::numberText(p.aircraft.fuelGal), reserveMin);
    if (p.aircraft.taxiGal > 0)
        sheet.aircraft += QStringLiteral(", taxi %1 gal").arg(core::numberText(p.aircraft.taxiGal));
    if (!p.waypoints.empty()) {
        sheet.airports << airportLine(QStringLiteral("Departure"), p.waypoints.front().label(),
                                      navData);
        if (p.waypoints.size() > 1)
            sheet.airports << airportLine(QStringLiteral("Destination"), p.waypoints.back().label(),
                                          navData);
    }
    if (p.alternate)
        sheet.airports << airportLine(QStringLiteral("Alternate"), p.alternate->label(), navData);
    std::vector<std::pair<QString, QString>> roles;
    if (p.waypoints.size() > 1)
        roles = {{QStringLiteral("Departure"), p.waypoints.front().label()},
                 {QStringLiteral("Destination"), p.waypoints.back().label()}};
    if (p.alternate)
        roles.emplace_back(QStringLiteral("Alternate"), p.alternate->label());
    sheet.frequencies = frequencyTable(roles, navData);
    for (const plan::PlanLeg& leg : computed.legs) {
        SheetLeg row{leg.figures, navlog::belowReserve(leg.figures, reserveMin)};
        const plan::Waypoint& to = leg.alternate ? *p.alternate : p.waypoints[std::size_t(leg.to)];
        if (leg.toLabel.isEmpty())
            row.figures.toFrequency = navaidFrequency(to, navData);
        sheet.legs.push_back(row);
    }
    sheet.fuel << plan::fuelBlockText(computed.fuel) << computed.fuel.verdict
               << plan::enduranceText(p);
    sheet.balance = balanceLines(p, computed);
    sheet.briefing = briefingLines(p, computed, navData);
    sheet.writeIns = true;
    if (p.waypoints.size() > 1) {
        sheet.decisions << plan::levelTexts(computed, p)
                        << plan::pointText(QStringLiteral("ETP"), points.etp, p)
                        << plan::pointText(QStringLiteral("PNR"), points.pnr, p)
                        << points.windMargin.summary;
        sheet.decisions.removeAll(QString());
    }
    for (const plan::PlanLeg& leg : computed.legs) {
        const QString problem = plan::problemText(leg);
        if (!problem.isEmpty())
            sheet.endNotes << QStringLiteral("Leg %1: %2.").arg(leg.number).arg(problem);
    }
    finishLegs(sheet, plan::tripOf(computed, p.off), reserveMin);
    return sheet;
}

ColumnFit fitColumns(const std::vector<double>& needs, const std::vector<bool>& writeIn,
                     double available) {
    ColumnFit fit;
    const int n = static_cast<int>(needs.size());
    auto sum = [&](const std::vector<int>& line) {
        return std::accumulate(line.begin(), line.end(), 0.0,
                               [&](double s, int i) { return s + needs[std::size_t(i)]; });
    };
    std::vector<int> all(static_cast<std::size_t>(n));
    std::iota(all.begin(), all.end(), 0);
    if (sum(all) <= available) {
        fit.lines.push_back(all);
    } else {
        // As many as fit on the first line, the rest on the second; a column
        // too wide for a line of its own fits nowhere.
        std::vector<int> first, second;
        int i = 0;
        for (; i < n; ++i) {
            if (needs[std::size_t(i)] > available) {
                fit.dropped.push_back(i);
                continue;
            }
            if (sum(first) + needs[std::size_t(i)] > available)
                break;
            first.push_back(i);
        }
        for (; i < n; ++i) {
            if (sum(second) + needs[std::size_t(i)] > available)
                fit.dropped.push_back(i);
            else
                second.push_back(i);
        }
        if (!first.empty())
            fit.lines.push_back(first);
        if (!second.empty())
            fit.lines.push_back(second);
    }
    std::sort(fit.dropped.begin(), fit.dropped.end());
    for (const std::vector<int>& line : fit.lines) {
        std::vector<double> widths;
        int takers = 0;
        for (int i : line)
            takers += writeIn[std::size_t(i)] ? 1 : 0;
        const double spare = available - sum(line);
        for (int i : line) {
            const bool takes = takers == 0 || writeIn[std::size_t(i)];
            widths.push_back(needs[std::size_t(i)] +
                             (takes ? spare / (takers == 0 ? int(line.size()) : takers) : 0));
        }
        fit.widths.push_back(std::move(widths));
    }
    return fit;
}

} // namespace kneeboard
