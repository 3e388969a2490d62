#include "plan/WaypointResolver.h"

#include "navdb/NavDatabase.h"
#include "plan/Coordinates.h"
#include "store/AirportDatabase.h"

namespace plan {

void fillFieldElevations(std::vector<Waypoint>& waypoints, const navdb::NavData& navData) {
    for (Waypoint& w : waypoints) {
        if (w.ident.isEmpty() || w.elevationFt)
            continue;
        for (const navdb::Place& p : navData.search(w.ident, 8, w.position)) {
            if (p.matchGroup == 0 && p.kind == navdb::Kind::Airport && p.distanceNm &&
                *p.distanceNm < 5) {
                w.elevationFt = p.elevationFt;
                break;
            }
        }
    }
}

Resolved WaypointResolver::resolve(const QString& typed, const QString& name, int number,
                                   const std::optional<core::GeoPoint>& near) const {
    Resolved out;
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return out;
    const ParsedPosition parsed = parsePosition(text);
    if (parsed.position) {
        Waypoint w;
        w.name = name.trimmed();
        if (w.name.isEmpty())
            w.name = QStringLiteral("Checkpoint %1").arg(number);
        w.position = *parsed.position;
        out.waypoint = w;
        return out;
    }
    // A code: the navigation database's exact match, else the airport file's.
    std::vector<navdb::Place> exact;
    QString error;
    for (navdb::Place& p : m_navData.search(text, 8, near, &error)) {
        if (p.matchGroup == 0)
            exact.push_back(std::move(p));
    }
    if (!error.isEmpty()) {
        out.refusal = error;
        return out;
    }
    if (exact.size() == 1) {
        const navdb::Place& p = exact.front();
        out.waypoint = Waypoint{p.name, p.ident, p.position, {}, p.elevationFt};
        return out;
    }
    if (exact.size() > 1) {
        QStringList places;
        for (const navdb::Place& p : exact) {
            QString label = navdb::placeLabel(p);
            if (p.distanceNm)
                label += QStringLiteral(", %1 nm away").arg(qRound(*p.distanceNm));
            places << label;
        }
        out.refusal = QStringLiteral("\"%1\" is the code of %2 places; choose one from the list:"
                                     "\n%3")
                          .arg(text)
                          .arg(exact.size())
                          .arg(places.join(QLatin1Char('\n')));
        out.ambiguous = true;
        return out;
    }
    // The index is built once a run (the course dialog builds it too).
    if (m_airports.index().empty()) {
        if (m_airports.text().empty())
            m_airports.load();
        m_airports.listIdentifiers();
    }
    if (const core::GeoPoint* pos = m_airports.find(text)) {
        out.waypoint = Waypoint{text.toUpper(), text.toUpper(), *pos, {}, std::nullopt};
        return out;
    }
    out.refusal =
        QStringLiteral("\"%1\" is neither a known code nor a position (%2). Type a code or name "
                       "and choose from the list, or a position such as 47 27.5N 008 33.0E. A "
                       "place the navigation database does not hold yet comes with Update world "
                       "data… (OurAirports' airports and navaids of the whole world).")
            .arg(text, parsed.error);
    return out;
}

} // namespace plan
