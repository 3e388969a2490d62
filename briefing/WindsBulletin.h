#pragma once
// The US winds and temperatures aloft forecast (the "FB" bulletin) as text:
// its header, the "FT 3000 6000 ..." row of levels and a row per station,
// decoded fully. No widgets.
//
// Each level's group, in its column under the level:
//   DDss     at 3,000 ft: direction in tens of degrees true, speed in knots;
//   DDss±TT  up to 24,000 ft, with the temperature in °C;
//   DDssTT   above 24,000 ft, the temperature's minus left out;
//   9900     light and variable (under 5 kt);
//   DD 51-86 the direction plus 50, the speed 100 kt more; "99" as the
//            speed there means 199 kt or more;
//   blank    a level within reach of the station's ground.
// A group that follows none of these is kept as it stands and said.
// At most kMaxBulletinChars are read.

#include "plan/FlightPlan.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace briefing {

constexpr int kMaxBulletinChars = 2000000;

struct LevelWind {
    int altitudeFt = 0;
    QString text;                   // the group as it stands, empty when blank
    std::optional<core::Wind> wind; // none when blank or not decoded
    bool lightAndVariable = false;  // 9900: the wind shows as 000/0
    bool atLeast = false;           // 199 kt or more
    std::optional<double> temperatureC;
    QString problem; // why the group is not decoded
};

struct StationWinds {
    QString station;
    std::vector<LevelWind> levels; // one per level of the bulletin
};

struct WindsBulletin {
    QString basedOn, valid, forUse; // "081200Z", "081800Z", "1400-2100Z"
    std::vector<int> levelsFt;
    std::vector<StationWinds> stations;
};

struct BulletinRead {
    std::optional<WindsBulletin> bulletin;
    QString error;
};
BulletinRead decodeWindsBulletin(const QString& text);

// One level's group, decoded; the level tells whether the minus is implied.
LevelWind decodeLevel(const QString& group, int altitudeFt);

// The station's levels with a decoded wind, as rows of the winds-aloft
// table (light and variable as a calm), lowest first.
std::vector<plan::WindRow> windRowsOf(const StationWinds& station);

} // namespace briefing
