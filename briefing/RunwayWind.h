#pragma once
// The wind on each runway of an airport: the headwind and crosswind of each
// runway end, the end the wind favours, and a crosswind beyond what the
// aircraft was demonstrated in. No widgets.
//
// Directions in degrees true (a report's wind and the runway ends' headings
// are both true), speeds in knots. A runway end whose heading the data does
// not give takes its number times ten, magnetic, made true with the
// airport's variation, and says so.

#include "navdb/NavDatabase.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace briefing {

// The wind at the surface, as a report gives it.
struct SurfaceWind {
    std::optional<double> directionDegT; // none when variable (VRB)
    double speedKt = 0;
    std::optional<double> gustKt;
    QString source; // where it comes from: "METAR", "typed", "winds aloft at 3000 ft"

    bool calm() const { return speedKt == 0 && !gustKt; }
    bool variable() const { return !directionDegT; }
};

struct RunwayComponents {
    QString ident;
    double headingDegT = 0;
    bool headingFromNumber = false; // the data gives none: its number, made true
    QString surface;
    bool hard = false;
    double lengthFt = 0;
    double headwindKt = 0;      // negative: a tailwind
    double crosswindKt = 0;     // the steady wind's, never negative
    double gustCrosswindKt = 0; // in the gusts (the steady one without gusts)
    QString crosswindSide;      // "left", "right", or empty when straight along
    bool favoured = false;
    bool beyondDemonstrated = false; // the gusts' crosswind beyond the aircraft's
};

struct RunwayWinds {
    std::vector<RunwayComponents> runways;
    // Calm, or a variable wind, is said here and computed for no runway.
    QString said;
    QStringList warnings;
};

// True for the surfaces of paved runways as OurAirports writes them.
bool isHardSurface(const QString& surface);

// variationWestDeg: the airport's variation, west positive, for the runway
// ends without a heading. maxCrosswindKt: the aircraft's demonstrated
// crosswind, where its profile gives one.
RunwayWinds runwayWinds(const std::vector<navdb::RunwayEnd>& ends, const SurfaceWind& wind,
                        double variationWestDeg, std::optional<double> maxCrosswindKt);

} // namespace briefing
