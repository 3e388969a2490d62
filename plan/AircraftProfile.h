#pragma once
// An aircraft profile: what the handbook says of one aircraft — its cruise
// at each altitude, its climb and descent, its fuel, its weights and the
// loading stations and envelopes of its weight and balance. Kept as a JSON
// file (format "skyvane-aircraft", version 1, documented in the README) in
// the data folder's "aircraft/". No widgets.
//
// Units: weights in the profile's unit (lb or kg), arms in its arm unit (in,
// mm or m), a moment is weight times arm; fuel in US gallons, its density in
// weight units per gallon; altitudes in feet, rates in feet per minute,
// speeds in knots, fuel flows in gallons per hour. Every number is within
// core/Limits.h; what the reader checks besides is said at readProfile.

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace core {
class DataPlaces;
}

namespace plan {

enum class WeightUnit { Pound, Kilogram };
enum class ArmUnit { Inch, Millimetre, Metre };

struct CruiseRow {
    double altitudeFt = 0;
    double tasKt = 0;
    double fuelFlowGph = 0;
};

// The handbook's "time, fuel and distance to climb" from sea level,
// cumulative by pressure altitude.
struct ClimbRow {
    double pressureAltitudeFt = 0;
    double minutes = 0;
    double fuelGal = 0;
    double distanceNm = 0;
};

// A climb or descent at a steady rate, speed and fuel flow.
struct SteadyRate {
    double rateFpm = 0;
    double tasKt = 0;
    double fuelFlowGph = 0;
};

struct Station {
    QString name; // "Front seats", "Baggage"
    double arm = 0;
    double maxWeight = 0;
};

// A weight and balance envelope: a closed polygon of (x, weight) points,
// x the arm or the moment.
struct Envelope {
    QString name;
    bool byMoment = false;
    std::vector<std::pair<double, double>> points;
};

struct AircraftProfile {
    QString registration;
    QString type;
    QString note; // "An example for trying Skyvane, not for flight."
    WeightUnit weightUnit = WeightUnit::Pound;
    ArmUnit armUnit = ArmUnit::Inch;

    double usableGal = 0;
    double densityPerGal = 6; // avgas in lb
    double fuelArm = 0;
    double taxiGal = 0;

    std::vector<CruiseRow> cruise;    // by altitude, at least one
    std::vector<ClimbRow> climbTable; // by pressure altitude; else climbRate
    std::optional<SteadyRate> climbRate;
    SteadyRate descent;
    double patternAltitudeFt = 1000; // above the field
    std::optional<double> maxCrosswindKt;

    double emptyWeight = 0;
    double emptyArm = 0;
    double maxRampWeight = 0;
    double maxTakeoffWeight = 0;
    double maxLandingWeight = 0;
    std::vector<Station> stations;
    std::vector<Envelope> envelopes;
};

// The version of the profile file this program reads and writes.
constexpr int kAircraftFormatVersion = 1;

struct ProfileRead {
    std::optional<AircraftProfile> profile;
    QString error; // why there is none, the key named where one is wrong
};

// A profile file's bytes. Refused: damaged JSON, another format, a newer or
// unknown version, a number outside its limits or of the wrong kind, a
// missing part, no cruise row, cruise or climb rows not in rising altitude,
// a climb table whose time, fuel or distance falls as it rises, an envelope
// of fewer than three points, two stations of one name.
ProfileRead readProfile(const std::string& bytes);
// The same of a file (at most 1 MB is read); "no such file" when it cannot
// be read at all.
ProfileRead readProfileFile(const QString& path);
std::string profileJson(const AircraftProfile& profile);
// The same as a JSON object, as a plan file keeps a copy of its aircraft.
ProfileRead profileOf(const QJsonObject& object);
QJsonObject profileObject(const AircraftProfile& profile);

// The cruise at an altitude: interpolated linearly between the rows by
// altitude, the nearest row above the highest and below the lowest (one row
// is the same everywhere).
CruiseRow cruiseAt(const AircraftProfile& profile, double altitudeFt);

// Time, fuel and distance of a climb by the table, from one pressure
// altitude to a higher one: row(to) - row(from), linear between rows, never
// beyond the table (then none, and why says so). isaDeviationC: the
// temperature above standard at the cruise altitude; each 10 °C above adds
// 10% to all three (none below standard).
struct ClimbCost {
    double minutes = 0;
    double fuelGal = 0;
    double distanceNm = 0;
};
std::optional<ClimbCost> tableClimb(const std::vector<ClimbRow>& table, double fromFt, double toFt,
                                    double isaDeviationC, QString* why);

// The profile files a pilot can choose from: "*.json" in "aircraft/" of the
// user's data folder, then of the installed folders (a name the user's
// folder holds hides an installed one of that name), each list by name.
QStringList aircraftFiles(const core::DataPlaces& places);

// "lb", "kg"; "in", "mm", "m".
QString unitText(WeightUnit unit);
QString unitText(ArmUnit unit);

} // namespace plan
