#pragma once
// The nav log: every leg of a trip as the leg dialog showed it, the trips
// before it and the reserve rule. No widgets. Its columns, the CSV and the
// summary are in navlog/LegColumns.h, its file in navlog/TripLogFile.h.
//
// A trip begins with the first leg after a start or a Reset and grows with
// each computed leg. Its figures are the values the leg dialog showed, and
// its file keeps them as the texts it showed: a printed or exported log says
// digit for digit what the pilot saw. Trips without legs are never kept. The
// log lives in "navlog.json" of the data folder, rewritten safely as it grows.

#include "core/DataPlaces.h"
#include "core/Files.h"
#include "core/Wind.h"
#include "leg/LegSequence.h"

#include <QDateTime>
#include <QString>
#include <QTime>

#include <string>
#include <vector>

namespace navlog {

// A time of day and the days after the plan's start it falls on: a plan's
// ETA past midnight is "00:40:12 +1"; the leg dialog's legs are all day 0.
struct DayTime {
    QTime time;
    int days = 0;
};

// One leg's figures, as numbers. Each is the value the leg dialog's field
// shows (core::asShown: up to 15 significant digits), so sums and checks made
// from them agree with what the pilot saw, and the nav log's columns make
// every text from them by one rule (navlog/LegColumns.h).
struct LegFigures {
    QString from; // airports of the TC that set the leg; empty for a typed course
    QString to;
    // False for a planned leg that could not be computed: then only its ends,
    // its altitude and its problem mean anything.
    bool computed = true;
    double trueCourseDeg = 0;
    double windDirectionDeg = 0;
    double windVelocityKt = 0;
    double tasKt = 0;
    double windCorrectionDeg = 0; // positive: the wind from the left
    double trueHeadingDeg = 0;
    double variationDeg = 0;
    double magHeadingDeg = 0;
    double magDeviationDeg = 0;
    double compassHeadingDeg = 0;
    double groundSpeedKt = 0;
    double distanceNm = 0;
    DayTime off;
    double eteMin = 0;
    DayTime eta;
    double fuelUsedGal = 0;
    double fuelLeftGal = 0;
    double fuelFlowGph = 0;
    double fuelAtStartGal = 0; // on board when the leg began
    double totalBurntGal = 0;
    double totalDistanceNm = 0;

    // A planned leg only (the log's legs have none of these).
    bool planned = false;
    bool alternate = false;
    double altitudeFt = 0;
    core::Wind plannedWind; // as the plan set it, before the leg dialog's rounding
    double toGoNm = 0;      // left to the destination after this leg
    double toGoMin = 0;
    // With an aircraft profile a leg is flown in pieces: each has the route
    // leg's number (from 1) and its phase ("climb", "cruise", "descent").
    int routeLeg = 0;
    QString phase;
    // Where the leg ends at a navaid: its frequency ("116.90"), which the
    // page prints beside the checkpoint.
    QString toFrequency;
    QString problem; // what is wrong with it: it cannot be computed, or runs out of fuel
    // Not computed, but nothing to fly (a waypoint given twice): it keeps
    // nothing from the totals.
    bool nothingToFly = false;
    bool flagged = false; // shown in red: a problem, or not fuel enough
};

// A computed leg of a chain as the leg dialog shows it, with the pickers'
// times.
LegFigures legFigures(const leg::ChainedLeg& leg, const DayTime& off, const DayTime& eta);

struct Trip {
    QDateTime started; // local time of its first leg
    std::vector<LegFigures> legs;
};

struct Totals {
    // False when a leg could not be computed (or none was): then there are
    // no figures, only the legs that are missing, from 1. A leg with nothing
    // to fly is not missing; the figures are the last computed leg's.
    bool complete = true;
    QList<int> missingLegs;
    double distanceNm = 0;   // as the last leg's Total Dist
    double eteMin = 0;       // the sum of the legs' ETE, to two decimals
    double fuelBurntGal = 0; // as the last leg's Total Burnt
    DayTime lastEta;
    double fuelLeftGal = 0; // at the end
    // Endurance left at the end at the last leg's fuel flow, and how much of
    // it lies above the reserve; none without fuel flow.
    bool hasEndurance = false;
    double enduranceMin = 0;
    double aboveReserveMin = 0;
};

// A leg is below the reserve when its fuel left would not last reserveMin
// minutes at its fuel flow. A leg without fuel flow never is.
bool belowReserve(const LegFigures& leg, int reserveMin);

Totals totalsOf(const Trip& trip, int reserveMin);

// "ABC - KLA": the first From and the last To, "-" for an unknown end;
// empty when neither is known.
QString routeOf(const Trip& trip);

class TripLog {
public:
    // Keeps at most this many trips; older ones drop off.
    static constexpr std::size_t kMaxTrips = 50;

    // places: where "navlog.json" is kept (the user's folder).
    explicit TripLog(const core::DataPlaces& places);

    // Refuses a stored log larger than this.
    static constexpr std::size_t kMaxFileBytes = 64u << 20;

    // Reads the stored log. One this program does not fully understand is
    // put aside as "navlog.json.unreadable" (".unreadable.2", ...: an
    // earlier one is kept) before anything is written; problem() says so.
    // Where it cannot be moved, nothing is saved over it.
    void load();
    // What load() found wrong, for the pilot; empty when all was well.
    const QString& problem() const { return m_problem; }

    // A leg was computed: it joins the current trip (the first one begins it).
    void legComputed(LegFigures leg, const QDateTime& now);
    // Reset: the next leg begins a new trip; the finished one stays.
    void reset();

    // Trips with legs, most recent first (the current one, once it has legs,
    // is the first).
    const std::vector<Trip>& trips() const { return m_trips; }
    // The most recent trip with legs, or null.
    const Trip* latest() const { return m_trips.empty() ? nullptr : &m_trips.front(); }

    // Writes the log safely.
    core::WriteStatus save() const;
    std::string filePath() const;

private:
    void putAside(const QString& why);

    std::string m_filePath;
    QString m_problem;
    bool m_keepOff = false; // the stored file could not be moved aside
    std::vector<Trip> m_trips;
    bool m_tripOpen = false; // the front trip takes the next leg
};

} // namespace navlog
