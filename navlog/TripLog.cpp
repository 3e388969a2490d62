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

} // namespace

LegFigures legFigures(const leg::ChainedLeg& leg, const DayTime& off, const DayTime& eta) {
    using core::asShown;
    const leg::LegInput& in = leg.input;
    const leg::LegResult& r = leg.result;
    LegFigures out;
    out.from = leg.from;
    out.to = leg.to;
    out.trueCourseDeg = asShown(r.trueCourseDeg);
    out.windDirectionDeg = asShown(r.windDirectionDeg);
    out.windVelocityKt = asShown(in.windVelocityKt);
    out.tasKt = asShown(in.tasKt);
    out.windCorrectionDeg = asShown(r.windCorrectionDeg);
    out.trueHeadingDeg = asShown(r.trueHeadingDeg);
    out.variationDeg = asShown(r.variationDeg);
    out.magHeadingDeg = asShown(r.magHeadingDeg);
    out.magDeviationDeg = asShown(in.magDeviationDeg);
    out.compassHeadingDeg = asShown(r.correctedHeadingDeg);
    out.groundSpeedKt = asShown(r.groundSpeedKt);
    out.distanceNm = asShown(in.distanceNm);
    out.off = off;
    out.eteMin = asShown(r.eteMin);
    out.eta = eta;
    out.fuelUsedGal = asShown(r.fuelUsedGal);
    out.fuelLeftGal = asShown(r.fuelLeftGal);
    out.fuelFlowGph = asShown(in.fuelFlowGph);
    out.fuelAtStartGal = asShown(in.fuelGal);
    out.totalBurntGal = asShown(r.totalBurntGal);
    out.totalDistanceNm = asShown(r.distanceSumNm);
    return out;
}

bool belowReserve(const LegFigures& leg, int reserveMin) {
    return leg.computed && leg.fuelFlowGph > 0 &&
           leg.fuelLeftGal < leg.fuelFlowGph * reserveMin / 60.0;
}

Totals totalsOf(const Trip& trip, int reserveMin) {
    Totals t;
    if (trip.legs.empty())
        return t;
    // Sums that leave a leg out would pass for the route's: none at all.
    const LegFigures* lastComputed = nullptr;
    double eteSum = 0;
    for (std::size_t i = 0; i < trip.legs.size(); ++i) {
        const LegFigures& leg = trip.legs[i];
        if (leg.computed) {
            lastComputed = &leg;
            eteSum += leg.eteMin;
        } else if (!leg.nothingToFly) {
            t.missingLegs << static_cast<int>(i) + 1;
        }
    }
    if (!lastComputed && t.missingLegs.isEmpty()) { // nothing but legs with nothing to fly
        for (std::size_t i = 0; i < trip.legs.size(); ++i)
            t.missingLegs << static_cast<int>(i) + 1;
    }
    if (!t.missingLegs.isEmpty()) {
        t.complete = false;
        return t;
    }
    const LegFigures& last = *lastComputed;
    t.distanceNm = last.totalDistanceNm;
    t.eteMin = core::roundTo2Places(eteSum);
    t.fuelBurntGal = last.totalBurntGal;
    t.lastEta = last.eta;
    t.fuelLeftGal = last.fuelLeftGal;
    if (last.fuelFlowGph > 0) {
        t.hasEndurance = true;
        t.enduranceMin = last.fuelLeftGal / last.fuelFlowGph * 60;
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

void TripLog::legComputed(LegFigures leg, const QDateTime& now) {
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
