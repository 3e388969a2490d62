#pragma once
// The briefing as the outputs show it: a JSON object for --json, and lines
// a pilot reads in the plan window and on the kneeboard. Times are shown in
// the plan's zone and say which. No widgets.

#include "briefing/Briefing.h"

#include <QJsonObject>
#include <QStringList>

namespace briefing {

// "06:25 CET", "05:25 UTC"; "--" for none.
QString timeText(const std::optional<QDateTime>& utc, plan::PlanZone zone);

QJsonObject briefingJson(const Briefing& briefing);

// One airport's briefing in short lines: the weather, the runways, the
// density altitude, the sun.
QStringList airportLines(const AirportBriefing& airport, plan::PlanZone zone);

} // namespace briefing
