#include "navlog/TripLogFile.h"

#include "navlog/LegColumns.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace navlog {

namespace {

// A leg's figures: every key one of the columns', every value a text.
std::optional<LegRecord> legOf(const QJsonValue& value, QString* error) {
    if (!value.isObject()) {
        *error = QStringLiteral("a leg is not an object");
        return std::nullopt;
    }
    const QJsonObject o = value.toObject();
    LegRecord leg;
    int known = 0;
    for (const LegColumn& c : legColumns()) {
        if (!c.key || !o.contains(QLatin1String(c.key)))
            continue;
        const QJsonValue v = o.value(QLatin1String(c.key));
        if (!v.isString()) {
            *error = QStringLiteral("a leg's \"%1\" is not a text").arg(QLatin1String(c.key));
            return std::nullopt;
        }
        leg.*c.member = v.toString();
        ++known;
    }
    if (known != o.size()) {
        *error = QStringLiteral("a leg has a key this Skyvane does not know");
        return std::nullopt;
    }
    return leg;
}

std::optional<Trip> tripOf(const QJsonValue& value, QString* error) {
    const QJsonObject o = value.toObject();
    const QJsonValue started = o.value(QStringLiteral("started"));
    const QJsonValue legs = o.value(QStringLiteral("legs"));
    Trip trip;
    trip.started = QDateTime::fromString(started.toString(), Qt::ISODate);
    if (!value.isObject() || o.size() != 2 || !legs.isArray() || !trip.started.isValid()) {
        *error = QStringLiteral("a trip is not a start time and its legs");
        return std::nullopt;
    }
    for (const QJsonValue& l : legs.toArray()) {
        auto leg = legOf(l, error);
        if (!leg)
            return std::nullopt;
        trip.legs.push_back(std::move(*leg));
    }
    return trip;
}

// The file's version: 1, or why it is not one this program knows.
QString versionProblem(const QJsonValue& version) {
    if (version.isUndefined())
        return QStringLiteral("it has no version");
    if (!version.isDouble() || version.toDouble() != std::floor(version.toDouble()))
        return QStringLiteral("its version is not a whole number");
    if (version.toDouble() > kTripLogVersion)
        return QStringLiteral("it is of a newer Skyvane");
    if (version.toDouble() < kTripLogVersion)
        return QStringLiteral("its version is unknown");
    return {};
}

} // namespace

TripsRead readTrips(const std::string& bytes) {
    TripsRead out;
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(bytes), &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        out.error = QStringLiteral("it is not a nav log (damaged JSON)");
        return out;
    }
    const QJsonObject root = doc.object();
    out.error = versionProblem(root.value(QStringLiteral("version")));
    if (!out.error.isEmpty())
        return out;
    const QJsonValue stored = root.value(QStringLiteral("trips"));
    if (!stored.isArray() || root.size() != 2) {
        out.error = QStringLiteral("it is not a list of trips");
        return out;
    }
    std::vector<Trip> trips;
    for (const QJsonValue& t : stored.toArray()) {
        auto trip = tripOf(t, &out.error);
        if (!trip)
            return out;
        if (!trip->legs.empty())
            trips.push_back(std::move(*trip));
    }
    out.trips = std::move(trips);
    return out;
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
    const QJsonObject root{{QStringLiteral("version"), kTripLogVersion},
                           {QStringLiteral("trips"), stored}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

} // namespace navlog
