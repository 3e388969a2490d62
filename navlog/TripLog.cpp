#include "navlog/TripLog.h"

#include "core/Files.h"
#include "core/Math.h"
#include "core/NumberText.h"
#include "core/Text.h"
#include "navlog/TripLogFile.h"

#include <QFile>

#include <limits>

namespace navlog {
namespace {

constexpr const char* kFileName = "navlog.json";

double numberOf(const QString& text) {
    return core::parseNumber(text.toStdString()).value_or(0);
}

} // namespace

LegRecord legRecord(const leg::ChainedLeg& leg, const QTime& off, const QTime& eta) {
    const leg::LegInput& in = leg.input;
    const leg::LegResult& r = leg.result;
    const QString time = QStringLiteral("HH:mm:ss");
    LegRecord out;
    out.from = leg.from;
    out.to = leg.to;
    out.trueCourse = core::numberText(r.trueCourseDeg);
    out.windDirection = core::numberText(r.windDirectionDeg);
    out.windVelocity = core::numberText(in.windVelocityKt);
    out.tas = core::numberText(in.tasKt);
    out.windCorrection = core::numberText(r.windCorrectionDeg);
    out.trueHeading = core::numberText(r.trueHeadingDeg);
    out.variation = core::numberText(r.variationDeg);
    out.magHeading = core::numberText(r.magHeadingDeg);
    out.magDeviation = core::numberText(in.magDeviationDeg);
    out.compassHeading = core::numberText(r.correctedHeadingDeg);
    out.groundSpeed = core::numberText(r.groundSpeedKt);
    out.distance = core::numberText(in.distanceNm);
    out.timeOff = off.toString(time);
    out.ete = core::numberText(r.eteMin);
    out.eta = eta.toString(time);
    out.fuelUsed = core::numberText(r.fuelUsedGal);
    out.fuelLeft = core::numberText(r.fuelLeftGal);
    out.gph = core::numberText(in.fuelFlowGph);
    out.fuelAtStart = core::numberText(in.fuelGal);
    out.totalBurnt = core::numberText(r.totalBurntGal);
    out.totalDistance = core::numberText(r.distanceSumNm);
    return out;
}

bool belowReserve(const LegRecord& leg, int reserveMin) {
    const double gph = numberOf(leg.gph);
    return gph > 0 && numberOf(leg.fuelLeft) < gph * reserveMin / 60.0;
}

Totals totalsOf(const Trip& trip, int reserveMin) {
    Totals t;
    if (trip.legs.empty())
        return t;
    // Sums that leave a leg out would pass for the route's: none at all.
    for (std::size_t i = 0; i < trip.legs.size(); ++i) {
        if (!trip.legs[i].computed())
            t.missingLegs << static_cast<int>(i) + 1;
    }
    if (!t.missingLegs.isEmpty()) {
        t.complete = false;
        return t;
    }
    const LegRecord& last = trip.legs.back();
    double eteSum = 0;
    for (const LegRecord& leg : trip.legs)
        eteSum += numberOf(leg.ete);
    t.distance = last.totalDistance;
    t.timeEnRoute = core::numberText(core::roundTo2Places(eteSum));
    t.fuelBurnt = last.totalBurnt;
    t.lastEta = last.eta;
    const double gph = numberOf(last.gph);
    if (gph > 0) {
        t.hasEndurance = true;
        t.enduranceMin = numberOf(last.fuelLeft) / gph * 60;
        t.aboveReserveMin = t.enduranceMin - reserveMin;
    }
    return t;
}

QString routeOf(const Trip& trip) {
    if (trip.legs.empty())
        return {};
    const QString from = trip.legs.front().from;
    const QString to = trip.legs.back().to;
    if (from.isEmpty() && to.isEmpty())
        return {};
    return (from.isEmpty() ? QStringLiteral("-") : from) + QStringLiteral(" - ") +
           (to.isEmpty() ? QStringLiteral("-") : to);
}

TripLog::TripLog(const core::DataPlaces& places)
    : m_filePath(places.userFile(QLatin1String(kFileName))) {}

std::string TripLog::filePath() const {
    return m_filePath;
}

void TripLog::load() {
    m_trips.clear();
    m_tripOpen = false;
    m_problem.clear();
    m_keepOff = false;
    const auto bytes = core::readFileBytes(m_filePath, kMaxFileBytes + 1);
    if (!bytes)
        return;
    TripsRead read;
    if (bytes->size() > kMaxFileBytes)
        read.error = QStringLiteral("it is larger than a nav log can be");
    else
        read = readTrips(*bytes);
    if (!read.trips) {
        putAside(read.error);
        return;
    }
    if (read.trips->size() > kMaxTrips)
        read.trips->resize(kMaxTrips);
    m_trips = std::move(*read.trips);
}

void TripLog::putAside(const QString& why) {
    // Never written over, nor deleted: the pilot may want what it held, and
    // a newer Skyvane may read it again.
    const QString path = QFile::decodeName(QByteArray::fromStdString(m_filePath));
    const auto aside = core::putAside(m_filePath, ".unreadable");
    if (aside) {
        m_problem = QStringLiteral("The nav log %1 cannot be read: %2. It was put aside as %3, "
                                   "and a new log begins.")
                        .arg(path, why, QFile::decodeName(QByteArray::fromStdString(*aside)));
        return;
    }
    m_keepOff = true;
    m_problem = QStringLiteral("The nav log %1 cannot be read: %2. It cannot be moved aside "
                               "either, so the legs of this session are not saved.")
                    .arg(path, why);
}

void TripLog::legComputed(LegRecord leg, const QDateTime& now) {
    if (!m_tripOpen) {
        Trip trip;
        trip.started = now;
        m_trips.insert(m_trips.begin(), std::move(trip));
        if (m_trips.size() > kMaxTrips)
            m_trips.pop_back();
        m_tripOpen = true;
    }
    m_trips.front().legs.push_back(std::move(leg));
}

void TripLog::reset() {
    m_tripOpen = false;
}

core::WriteStatus TripLog::save() const {
    if (m_keepOff)
        return core::WriteStatus::CannotCreate;
    if (!core::makeParentFolder(m_filePath))
        return core::WriteStatus::CannotCreate;
    return core::writeFileSafely(m_filePath, tripsJson(m_trips));
}

} // namespace navlog
