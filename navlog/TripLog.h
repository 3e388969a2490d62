#pragma once
// The nav log: every leg of a trip as the leg dialog showed it, the trips
// before it and the reserve rule. No widgets. Its columns, the CSV and the
// summary are in navlog/LegColumns.h, its file in navlog/TripLogFile.h.
//
// A trip begins with the first leg after a start or a Reset and grows with
// each computed leg. Its figures are kept as the texts the leg dialog showed,
// so a printed or exported log says digit for digit what the pilot saw. Trips
// without legs are never kept. The log lives in "navlog.json" of the data
// folder, rewritten safely as it grows.

#include "core/DataPlaces.h"
#include "core/Files.h"
#include "leg/LegSequence.h"

#include <QDateTime>
#include <QString>

#include <string>
#include <vector>

namespace navlog {

// One computed leg, each figure as the leg dialog's field showed it.
struct LegRecord {
    QString from; // airports of the TC that set the leg; empty for a typed course
    QString to;
    QString trueCourse;
    QString windDirection;
    QString windVelocity;
    QString tas;
    QString windCorrection;
    QString trueHeading;
    QString variation;
    QString magHeading;
    QString magDeviation;
    QString compassHeading;
    QString groundSpeed;
    QString distance;
    QString timeOff; // HH:mm:ss
    QString ete;     // minutes
    QString eta;     // HH:mm:ss
    QString fuelUsed;
    QString fuelLeft;
    QString gph;
    QString fuelAtStart; // on board when the leg began
    QString totalBurnt;
    QString totalDistance;
    // A planned leg only: what is wrong with it (it cannot be computed, then
    // its figures are empty, or it runs out of fuel). Not kept in the log.
    QString problem;

    // False for a planned leg that could not be computed.
    bool computed() const { return !ete.isEmpty(); }
};

// A computed leg of a chain as the leg dialog shows it: every figure in its
// field's form (general, up to 15 significant digits), the times HH:mm:ss.
LegRecord legRecord(const leg::ChainedLeg& leg, const QTime& off, const QTime& eta);

struct Trip {
    QDateTime started; // local time of its first leg
    std::vector<LegRecord> legs;
};

struct Totals {
    // False when a leg could not be computed: then there are no figures,
    // only the legs that are missing, from 1.
    bool complete = true;
    QList<int> missingLegs;
    QString distance;    // nautical miles, as the last leg's Total Dist
    QString timeEnRoute; // minutes, the sum of the legs' ETE, two decimals
    QString fuelBurnt;   // as the last leg's Total Burnt
    QString lastEta;
    // Endurance left at the end at the last leg's fuel flow, and how much of
    // it lies above the reserve; none without fuel flow.
    bool hasEndurance = false;
    double enduranceMin = 0;
    double aboveReserveMin = 0;
};

// A leg is below the reserve when its fuel left would not last reserveMin
// minutes at its fuel flow. A leg without fuel flow never is.
bool belowReserve(const LegRecord& leg, int reserveMin);

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
    void legComputed(LegRecord leg, const QDateTime& now);
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
