#pragma once
// Positions as pilots write them, read into a GeoPoint: decimal degrees
// ("47.4581 8.5481", "-33.95, 151.18"), degrees and minutes ("47 27.5N 008
// 33.0E", "N47°27.5' E8°33'"), degrees, minutes and seconds ("47°27'29\"N
// 8°32'53\"E"). Latitude first. A hemisphere letter (N, S, E, W, either case)
// may stand before or after its numbers and replaces a sign; without letters
// a minus sign makes it south or west.

#include "core/GeoPoint.h"

#include <QString>

#include <optional>

namespace plan {

struct ParsedPosition {
    std::optional<core::GeoPoint> position;
    QString error; // what cannot be read, when there is no position
};

ParsedPosition parsePosition(const QString& text);

// "47 27.50N 008 33.00E": a position as the kneeboard prints it.
QString positionText(const core::GeoPoint& position);

} // namespace plan
