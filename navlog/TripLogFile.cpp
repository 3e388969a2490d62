#include "navlog/TripLogFile.h"

#include "navlog/LegColumns.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace navlog {

std::optional<std::vector<Trip>> readTrips(const std::string& bytes) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(bytes), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    std::vector<Trip> trips;
    for (const QJsonValue& t : doc.object().value(QStringLiteral("trips")).toArray()) {
        Trip trip;
        trip.started = QDateTime::fromString(
            t.toObject().value(QStringLiteral("started")).toString(), Qt::ISODate);
        for (const QJsonValue& l : t.toObject().value(QStringLiteral("legs")).toArray()) {
            LegRecord leg;
            const QJsonObject o = l.toObject();
            for (const LegColumn& c : legColumns()) {
                if (c.key)
                    leg.*c.member = o.value(QLatin1String(c.key)).toString();
            }
            trip.legs.push_back(std::move(leg));
        }
        if (!trip.legs.empty())
            trips.push_back(std::move(trip));
    }
    return trips;
}

std::string tripsJson(const std::vector<Trip>& trips) {
    QJsonArray stored;
    for (const Trip& trip : trips) {
        QJsonArray legs;
        for (const LegRecord& leg : trip.legs) {
            QJsonObject o;
            for (const LegColumn& c : legColumns()) {
                if (c.key)
                    o.insert(QLatin1String(c.key), leg.*c.member);
            }
            legs.append(o);
        }
        stored.append(QJsonObject{{QStringLiteral("started"), trip.started.toString(Qt::ISODate)},
                                  {QStringLiteral("legs"), legs}});
    }
    const QJsonObject root{{QStringLiteral("version"), 1}, {QStringLiteral("trips"), stored}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

} // namespace navlog
