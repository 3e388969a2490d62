#pragma once
// skyvane --plan FILE: a flight plan (a plan file, a GPX route or a Garmin
// flight plan) computed without a window and written as the nav log's CSV,
// as JSON or as the kneeboard PDF, or its route converted to GPX or FPL.

#include <QString>

#include <optional>

namespace app {

struct PlanCommand {
    QString planPath;
    QString csvOut, jsonOut, pdfOut; // a path, "-" for standard output, or empty
    QString gpxOut, fplOut;          // the route for other planners and devices
    QString page;                    // the kneeboard page of --pdf (empty: the remembered one)
    QString columns;                 // its columns, comma-separated (empty: the remembered ones)
    QString picture;                 // where its route picture goes (empty: the remembered place)
    // What the file lacks or the pilot changes, as typed on the command line.
    std::optional<QString> tas, gph, fuel, taxi, reserve, off, wind, alt, var, md;
    // An aircraft profile file, and the load at its stations ("Front
    // seats=340,Baggage 1=30"): the weight and balance of the plan.
    std::optional<QString> aircraft, load;
    // The briefing: METAR and TAF texts or files (each report goes to the
    // plan's airport it names), a winds-aloft bulletin and its station, and
    // the zone of the plan's times ("local" or "utc").
    std::optional<QString> metar, taf, windsAloft, station, zone;
};

// 0: done; 1: the plan file or the aircraft profile cannot be read or an
// output cannot be written (then nothing is written); 2: a bad option value,
// or more fuel than the aircraft's usable fuel; kCannotBePlanned: a leg
// cannot be computed (the outputs are written, each saying which legs are
// missing and why, and so does standard error).
constexpr int kCannotBePlanned = 3;
int runPlanCommand(const PlanCommand& command);

} // namespace app
