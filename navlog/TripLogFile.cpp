#include "navlog/TripLogFile.h"

#include "navlog/LegColumns.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace navlog {

namespace {

std::optional<LegFigures> legOf(const QJsonValue& value, QString* error) {
    if (!value.isObject()) {
        *error = QStringLiteral("a leg is not an object");
        return std::nullopt;
    }
    return legOfStored(value.toObject(), error);
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
        for (const LegFigures& leg : trip.legs)
            legs.append(storedLeg(leg));
        stored.append(QJsonObject{{QStringLiteral("started"), trip.started.toString(Qt::ISODate)},
                                  {QStringLiteral("legs"), legs}});
    }
    const QJsonObject root{{QStringLiteral("version"), kTripLogVersion},
                           {QStringLiteral("trips"), stored}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

} // namespace navlog
