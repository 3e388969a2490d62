#include "briefing/Sun.h"

#include <cmath>

namespace briefing {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180;
constexpr qint64 kJ2000Ms = 946728000000; // 2000-01-01 12:00 UTC
constexpr double kMsPerDay = 86400000.0;

double normalized(double deg) {
    const double d = std::fmod(deg, 360.0);
    return d < 0 ? d + 360 : d;
}

// The sun's declination (degrees) and the equation of time (minutes,
// apparent less mean solar time) at an instant.
struct SunPosition {
    double declinationDeg = 0;
    double equationOfTimeMin = 0;
};

SunPosition positionAt(qint64 utcMs) {
    const double t = (static_cast<double>(utcMs - kJ2000Ms) / kMsPerDay) / 36525.0;
    const double meanLongitude = normalized(280.46646 + t * (36000.76983 + t * 0.0003032));
    const double anomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double e = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double m = anomaly * kRad;
    const double centre = std::sin(m) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                          std::sin(2 * m) * (0.019993 - 0.000101 * t) + std::sin(3 * m) * 0.000289;
    const double omega = (125.04 - 1934.136 * t) * kRad;
    const double apparent = (meanLongitude + centre - 0.00569 - 0.00478 * std::sin(omega)) * kRad;
    const double meanObliquity =
        23 + (26 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60) / 60;
    const double obliquity = (meanObliquity + 0.00256 * std::cos(omega)) * kRad;
    SunPosition p;
    p.declinationDeg = std::asin(std::sin(obliquity) * std::sin(apparent)) / kRad;
    const double y = std::pow(std::tan(obliquity / 2), 2);
    const double l0 = meanLongitude * kRad;
    const double eot = y * std::sin(2 * l0) - 2 * e * std::sin(m) +
                       4 * e * y * std::sin(m) * std::cos(2 * l0) - 0.5 * y * y * std::sin(4 * l0) -
                       1.25 * e * e * std::sin(2 * m);
    p.equationOfTimeMin = 4 * eot / kRad;
    return p;
}

qint64 midnightMs(const QDate& date) {
    return QDateTime(date, QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
}

// The crossing of one altitude in the morning (rising) or evening, found by
// putting the sun's position at the last estimate until it settles.
SunCrossing crossing(const core::GeoPoint& where, const QDate& date, double altitudeDeg,
                     bool rising) {
    const double lat = where.latitudeDeg * kRad;
    const qint64 midnight = midnightMs(date);
    double minutes = 720 - 4 * where.longitudeDeg; // the mean noon, in minutes of the UTC day
    SunCrossing out;
    for (int i = 0; i < 5; ++i) {
        const SunPosition p = positionAt(midnight + static_cast<qint64>(minutes * 60000));
        const double noon = 720 - 4 * where.longitudeDeg - p.equationOfTimeMin;
        const double d = p.declinationDeg * kRad;
        const double cosH = (std::sin(altitudeDeg * kRad) - std::sin(lat) * std::sin(d)) /
                            (std::cos(lat) * std::cos(d));
        out.alwaysAbove = cosH < -1;
        out.alwaysBelow = cosH > 1;
        if (out.alwaysAbove || out.alwaysBelow) {
            minutes = noon; // the next try from noon, where the day is decided
            continue;
        }
        const double hourAngleMin = 4 * std::acos(cosH) / kRad;
        minutes = rising ? noon - hourAngleMin : noon + hourAngleMin;
    }
    if (!out.alwaysAbove && !out.alwaysBelow)
        out.at = QDateTime::fromMSecsSinceEpoch(
            midnight + static_cast<qint64>(std::llround(minutes * 60000)), Qt::UTC);
    return out;
}

} // namespace

QDate localSolarDate(const QDateTime& utc, double longitudeDeg) {
    const qint64 ms = utc.toMSecsSinceEpoch() + static_cast<qint64>(longitudeDeg * 240000);
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).date();
}

SunDay sunDay(const core::GeoPoint& where, const QDate& localDate) {
    SunDay day;
    day.date = localDate;
    day.sunrise = crossing(where, localDate, -0.833, true);
    day.sunset = crossing(where, localDate, -0.833, false);
    day.civilDawn = crossing(where, localDate, -6, true);
    day.civilDusk = crossing(where, localDate, -6, false);
    return day;
}

double sunAltitudeDeg(const core::GeoPoint& where, const QDateTime& utc) {
    const qint64 ms = utc.toMSecsSinceEpoch();
    const SunPosition p = positionAt(ms);
    const double minutesOfDay = std::fmod(static_cast<double>(ms) / 60000.0, 1440.0);
    const double solarMinutes = minutesOfDay + p.equationOfTimeMin + 4 * where.longitudeDeg;
    const double hourAngle = (solarMinutes / 4 - 180) * kRad;
    const double lat = where.latitudeDeg * kRad, d = p.declinationDeg * kRad;
    return std::asin(std::sin(lat) * std::sin(d) +
                     std::cos(lat) * std::cos(d) * std::cos(hourAngle)) /
           kRad;
}

bool isNight(const core::GeoPoint& where, const QDateTime& utc) {
    return sunAltitudeDeg(where, utc) < -6;
}

} // namespace briefing
