#include "plan/RouteExchange.h"

#include "core/NumberText.h"

#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>
#include <map>
#include <set>

namespace plan {
namespace {

const QString kGpxNamespace = QStringLiteral("http://www.topografix.com/GPX/1/1");
const QString kFplNamespace = QStringLiteral("http://www8.garmin.com/xmlschemas/FlightPlan/v1");

QString coordinate(double degrees) {
    return QString::fromStdString(core::formatFixed(degrees, 6));
}

std::optional<double> number(const QString& text) {
    return core::parseNumber(text.trimmed().toStdString());
}

bool placeable(double lat, double lon) {
    return core::isValidLatitude(lat) && std::fabs(lon) <= 180;
}

QString lineError(const QXmlStreamReader& xml, const QString& what) {
    return QStringLiteral("%1 (line %2)").arg(what).arg(xml.lineNumber());
}

// A Garmin identifier: up to 12 capitals and digits, unique within the file.
QString fplIdentifier(const Waypoint& w, std::set<QString>& taken) {
    QString base = w.label().toUpper();
    base.remove(QRegularExpression(QStringLiteral("[^A-Z0-9]")));
    base = base.left(12);
    if (base.isEmpty())
        base = QStringLiteral("WPT");
    QString id = base;
    for (int n = 2; taken.count(id); ++n)
        id = base.left(12 - QString::number(n).size()) + QString::number(n);
    taken.insert(id);
    return id;
}

QString tooManyPoints() {
    return QStringLiteral("it holds more than %1 route points").arg(kMaxWaypoints);
}

// Every text a route file would carry is one the file can hold.
bool writable(const FlightPlan& plan, QString* error) {
    for (const Waypoint& w : plan.waypoints) {
        if (!QStringView(w.name).isValidUtf16() || !QStringView(w.ident).isValidUtf16()) {
            if (error)
                *error = QStringLiteral("waypoint %1 has a name that is not valid text")
                             .arg(&w - plan.waypoints.data() + 1);
            return false;
        }
    }
    return true;
}

std::optional<std::string> finished(const QXmlStreamWriter& xml, const QByteArray& bytes,
                                    QString* error) {
    if (xml.hasError()) {
        if (error)
            *error = QStringLiteral("the route could not be written");
        return std::nullopt;
    }
    return bytes.toStdString();
}

} // namespace

RouteFormat formatOf(const std::string& bytes) {
    QXmlStreamReader xml(QByteArray::fromStdString(bytes));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("gpx"))
                return RouteFormat::Gpx;
            if (xml.name() == QLatin1String("flight-plan"))
                return RouteFormat::Fpl;
            break;
        }
    }
    return RouteFormat::Plan;
}

RouteRead readRoute(const std::string& bytes) {
    return formatOf(bytes) == RouteFormat::Gpx ? readGpx(bytes) : readFpl(bytes);
}

RouteRead readGpx(const std::string& bytes) {
    RouteRead out;
    QXmlStreamReader xml(QByteArray::fromStdString(bytes));
    std::vector<Waypoint> points;
    bool inRoute = false, routeSeen = false;
    int routes = 0;
    QString routeName;
    Waypoint current;
    bool inPoint = false;
    while (!xml.atEnd() && !xml.hasError()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("rte")) {
                ++routes;
                inRoute = !routeSeen;
            } else if (inRoute && xml.name() == QLatin1String("rtept")) {
                if (points.size() >= kMaxWaypoints) {
                    out.error = tooManyPoints();
                    return out;
                }
                const auto lat = number(xml.attributes().value(QLatin1String("lat")).toString());
                const auto lon = number(xml.attributes().value(QLatin1String("lon")).toString());
                if (!lat || !lon || !placeable(*lat, *lon)) {
                    out.error =
                        lineError(xml, QStringLiteral("a route point has no valid lat and lon"));
                    return out;
                }
                current = Waypoint{};
                current.position = {*lat, *lon};
                inPoint = true;
            } else if (inPoint && xml.name() == QLatin1String("name")) {
                current.name = xml.readElementText().trimmed();
            } else if (inRoute && !inPoint && xml.name() == QLatin1String("name")) {
                routeName = xml.readElementText().trimmed();
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (inPoint && xml.name() == QLatin1String("rtept")) {
                if (current.name.isEmpty())
                    current.name = QStringLiteral("Point %1").arg(points.size() + 1);
                points.push_back(current);
                inPoint = false;
            } else if (inRoute && xml.name() == QLatin1String("rte")) {
                inRoute = false;
                routeSeen = true; // the first route is the plan
            }
        }
    }
    if (xml.hasError()) {
        out.error = lineError(xml, QStringLiteral("damaged XML: %1").arg(xml.errorString()));
        return out;
    }
    if (points.empty()) {
        out.error = QStringLiteral("it holds no route (rte) with points");
        return out;
    }
    if (routes > 1)
        out.note =
            QStringLiteral("The file holds %1 routes; the first%2 is taken.")
                .arg(routes)
                .arg(routeName.isEmpty() ? QString() : QStringLiteral(", \"%1\",").arg(routeName));
    out.waypoints = std::move(points);
    return out;
}

std::optional<std::string> gpxOf(const FlightPlan& plan, QString* error) {
    if (!writable(plan, error))
        return std::nullopt;
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(kGpxNamespace);
    xml.writeStartElement(kGpxNamespace, QStringLiteral("gpx"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("creator"), QStringLiteral("Skyvane"));
    xml.writeStartElement(kGpxNamespace, QStringLiteral("rte"));
    if (plan.waypoints.size() >= 2) {
        xml.writeTextElement(kGpxNamespace, QStringLiteral("name"),
                             plan.waypoints.front().label() + QStringLiteral(" - ") +
                                 plan.waypoints.back().label());
    }
    for (const Waypoint& w : plan.waypoints) {
        xml.writeStartElement(kGpxNamespace, QStringLiteral("rtept"));
        xml.writeAttribute(QStringLiteral("lat"), coordinate(w.position.latitudeDeg));
        xml.writeAttribute(QStringLiteral("lon"), coordinate(w.position.longitudeDeg));
        xml.writeTextElement(kGpxNamespace, QStringLiteral("name"), w.label());
        if (!w.ident.isEmpty() && w.name != w.ident)
            xml.writeTextElement(kGpxNamespace, QStringLiteral("desc"), w.name);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return finished(xml, bytes, error);
}

RouteRead readFpl(const std::string& bytes) {
    RouteRead out;
    QXmlStreamReader xml(QByteArray::fromStdString(bytes));
    struct Entry {
        QString identifier, type, comment;
        std::optional<double> lat, lon;
    };
    std::map<std::pair<QString, QString>, Entry> table; // (identifier, type)
    std::vector<std::pair<QString, QString>> route;
    Entry entry;
    std::pair<QString, QString> point;
    enum { None, TableEntry, RoutePoint } in = None;
    while (!xml.atEnd() && !xml.hasError()) {
        const auto token = xml.readNext();
        // A copy: the reader's own view of the name ends with the next read.
        const QString name = xml.name().toString();
        if (token == QXmlStreamReader::StartElement) {
            if (name == QLatin1String("waypoint")) {
                in = TableEntry;
                entry = Entry{};
            } else if (name == QLatin1String("route-point")) {
                in = RoutePoint;
                point = {};
            } else if (in == TableEntry) {
                const QString text = xml.readElementText().trimmed();
                if (name == QLatin1String("identifier"))
                    entry.identifier = text;
                else if (name == QLatin1String("type"))
                    entry.type = text;
                else if (name == QLatin1String("comment"))
                    entry.comment = text;
                else if (name == QLatin1String("lat"))
                    entry.lat = number(text);
                else if (name == QLatin1String("lon"))
                    entry.lon = number(text);
            } else if (in == RoutePoint) {
                const QString text = xml.readElementText().trimmed();
                if (name == QLatin1String("waypoint-identifier"))
                    point.first = text;
                else if (name == QLatin1String("waypoint-type"))
                    point.second = text;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (name == QLatin1String("waypoint") && in == TableEntry) {
                if (!entry.lat || !entry.lon || !placeable(*entry.lat, *entry.lon)) {
                    out.error =
                        lineError(xml, QStringLiteral("waypoint %1 has no valid lat and lon")
                                           .arg(entry.identifier));
                    return out;
                }
                table[{entry.identifier, entry.type}] = entry;
                in = None;
            } else if (name == QLatin1String("route-point") && in == RoutePoint) {
                if (route.size() >= kMaxWaypoints) {
                    out.error = tooManyPoints();
                    return out;
                }
                route.push_back(point);
                in = None;
            }
        }
    }
    if (xml.hasError()) {
        out.error = lineError(xml, QStringLiteral("damaged XML: %1").arg(xml.errorString()));
        return out;
    }
    if (route.empty()) {
        out.error = QStringLiteral("it holds no route points");
        return out;
    }
    std::vector<Waypoint> points;
    for (const auto& [identifier, type] : route) {
        const auto it = table.find({identifier, type});
        if (it == table.end()) {
            out.error = QStringLiteral("the route names %1 (%2), which its waypoint table lacks")
                            .arg(identifier, type);
            return out;
        }
        Waypoint w;
        const bool own = type == QLatin1String("USER WAYPOINT");
        w.ident = own ? QString() : identifier;
        w.name = own && !it->second.comment.isEmpty() ? it->second.comment : identifier;
        w.position = {*it->second.lat, *it->second.lon};
        points.push_back(w);
    }
    out.waypoints = std::move(points);
    return out;
}

std::optional<std::string> fplOf(const FlightPlan& plan, QString* error) {
    if (!writable(plan, error))
        return std::nullopt;
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(kFplNamespace);
    xml.writeStartElement(kFplNamespace, QStringLiteral("flight-plan"));
    xml.writeTextElement(kFplNamespace, QStringLiteral("created"),
                         QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    std::set<QString> taken;
    std::vector<std::pair<QString, QString>> route;
    xml.writeStartElement(kFplNamespace, QStringLiteral("waypoint-table"));
    std::map<QString, QString> written; // a waypoint met twice is one table entry
    for (const Waypoint& w : plan.waypoints) {
        const QString type =
            w.ident.isEmpty() ? QStringLiteral("USER WAYPOINT") : QStringLiteral("AIRPORT");
        const QString key = type + QLatin1Char('|') + w.label() +
                            coordinate(w.position.latitudeDeg) +
                            coordinate(w.position.longitudeDeg);
        QString identifier;
        if (const auto it = written.find(key); it != written.end()) {
            identifier = it->second;
        } else {
            identifier = fplIdentifier(w, taken);
            written[key] = identifier;
            xml.writeStartElement(kFplNamespace, QStringLiteral("waypoint"));
            xml.writeTextElement(kFplNamespace, QStringLiteral("identifier"), identifier);
            xml.writeTextElement(kFplNamespace, QStringLiteral("type"), type);
            xml.writeTextElement(kFplNamespace, QStringLiteral("country-code"), QString());
            xml.writeTextElement(kFplNamespace, QStringLiteral("lat"),
                                 coordinate(w.position.latitudeDeg));
            xml.writeTextElement(kFplNamespace, QStringLiteral("lon"),
                                 coordinate(w.position.longitudeDeg));
            xml.writeTextElement(kFplNamespace, QStringLiteral("comment"), w.name);
            xml.writeEndElement();
        }
        route.emplace_back(identifier, type);
    }
    xml.writeEndElement();
    xml.writeStartElement(kFplNamespace, QStringLiteral("route"));
    xml.writeTextElement(kFplNamespace, QStringLiteral("route-name"),
                         route.empty()
                             ? QString()
                             : route.front().first + QStringLiteral(" TO ") + route.back().first);
    xml.writeTextElement(kFplNamespace, QStringLiteral("flight-plan-index"), QStringLiteral("1"));
    for (const auto& [identifier, type] : route) {
        xml.writeStartElement(kFplNamespace, QStringLiteral("route-point"));
        xml.writeTextElement(kFplNamespace, QStringLiteral("waypoint-identifier"), identifier);
        xml.writeTextElement(kFplNamespace, QStringLiteral("waypoint-type"), type);
        xml.writeTextElement(kFplNamespace, QStringLiteral("waypoint-country-code"), QString());
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return finished(xml, bytes, error);
}

QString routeFileSizeProblem(qint64 bytes) {
    if (bytes < 0 || static_cast<quint64>(bytes) <= kMaxRouteFileBytes)
        return {};
    return QStringLiteral("it is larger than %1 MB, more than any route")
        .arg(kMaxRouteFileBytes >> 20);
}

} // namespace plan
