#pragma once
// Sunrise, sunset and civil twilight at a place, from the sun's position by
// the low-precision formulas of the astronomical almanac (good to about a
// minute of time between the polar circles, and to a few minutes beyond).
// No widgets.
//
// Sunrise and sunset are when the sun's upper edge meets a level horizon
// (its centre 0.833° below, refraction counted); civil twilight begins and
// ends with the centre 6° below. Times are UTC. A "day" is the place's own:
// the date of its mean solar time (longitude / 15 hours from UTC), so an
// airport by the date line gets the morning and evening of its date.

#include "core/GeoPoint.h"

#include <QDate>
#include <QDateTime>

#include <optional>

namespace briefing {

// When the sun crosses one altitude on a day, or why it does not.
struct SunCrossing {
    std::optional<QDateTime> at; // UTC
    bool alwaysAbove = false;    // the sun stays above it all day (polar day)
    bool alwaysBelow = false;    // the sun stays below it all day (polar night)
};

struct SunDay {
    QDate date; // the place's own date
    SunCrossing sunrise, sunset, civilDawn, civilDusk;
};

// The place's date at a UTC time, by its mean solar time.
QDate localSolarDate(const QDateTime& utc, double longitudeDeg);
SunDay sunDay(const core::GeoPoint& where, const QDate& localDate);
// The altitude of the sun's centre above the horizon, in degrees, without
// refraction.
double sunAltitudeDeg(const core::GeoPoint& where, const QDateTime& utc);
// Night as pilots count it: from the end of the evening's civil twilight to
// the beginning of the morning's (the sun's centre 6° or more below).
bool isNight(const core::GeoPoint& where, const QDateTime& utc);

} // namespace briefing
