#pragma once
// The flight plan: a route of waypoints, the aircraft and its fuel, a wind
// and a variation for every leg, computed at once into a nav log. No widgets.
//
// Each leg is what the leg dialog shows for it when the pilot takes it
// through TC, Run and Next: the course and distance as TC hands them over
// (course in whole degrees, distance to two decimals), then leg::LegSequence
// with the fuel left, the totals and the time carried on from the leg
// before. So a plan's leg is the leg dialog's leg, digit for digit.
//
// Units as everywhere: degrees, knots, nautical miles, US gallons, gallons
// per hour, minutes, feet.

#include "core/GeoPoint.h"
#include "core/Wind.h"
#include "leg/LegSequence.h"
#include "navlog/TripLog.h"
#include "plan/AircraftProfile.h"
#include "plan/VerticalProfile.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace magvar {
class MagneticVariation;
}

namespace plan {

using core::Wind;

// The leg that arrives at a waypoint, as the pilot set it; what is not set
// comes from the plan (winds aloft, the magnetic model).
struct LegSettings {
    double altitudeFt = 0;              // cruise altitude of the leg
    std::optional<Wind> wind;           // typed: wins over the winds aloft
    std::optional<double> variationDeg; // typed: wins over the model (west positive)
};

struct Waypoint {
    Waypoint() = default;
    Waypoint(QString name_, QString ident_, core::GeoPoint position_, LegSettings leg_ = {},
             std::optional<double> elevationFt_ = std::nullopt)
        : name(std::move(name_)), ident(std::move(ident_)), position(position_), leg(leg_),
          elevationFt(elevationFt_) {}

    QString name;  // what the pilot calls it ("Lake bridge", "LSZH")
    QString ident; // an airport's or navaid's code, empty for a point of the pilot's
    core::GeoPoint position;
    LegSettings leg; // of the leg arriving here; unused on the first waypoint
    // The field's elevation, from the navigation database, where the route
    // climbs from or descends to; none for a point of the pilot's (0 counts).
    std::optional<double> elevationFt;

    // What logs, pages and pictures call it: its code, else its name.
    QString label() const { return ident.isEmpty() ? name : ident; }
};

// Winds aloft: a wind at each altitude the pilot typed; between rows the wind
// is interpolated as a vector (so 350/20 and 010/20 give 360/20, not 180/20),
// above and below the table the nearest row holds. Whole degrees and knots,
// as a pilot types a wind; a calm comes out as 000/0.
struct WindRow {
    WindRow() = default;
    WindRow(double altitudeFt_, Wind wind_, std::optional<double> temperatureC_ = std::nullopt)
        : altitudeFt(altitudeFt_), wind(wind_), temperatureC(temperatureC_) {}

    double altitudeFt = 0;
    Wind wind;
    std::optional<double> temperatureC; // where the forecast gives one
};
std::optional<Wind> windAt(const std::vector<WindRow>& table, double altitudeFt);
// The temperature at an altitude, linear between the rows that carry one,
// the nearest such row above and below them; none when no row has one.
std::optional<double> temperatureAt(const std::vector<WindRow>& table, double altitudeFt);
// The standard atmosphere's temperature: 15 °C less 2 °C per 1,000 ft.
double standardTemperatureC(double altitudeFt);

// A compass deviation card: the deviation for magnetic headings 000, 030, ...,
// 330, interpolated in between (across 360 too).
using DeviationCard = std::array<double, 12>;
double deviationAt(const DeviationCard& card, double magHeadingDeg) noexcept;

struct Aircraft {
    double tasKt = 0;
    double fuelFlowGph = 0;
    double fuelGal = 0; // on board at start-up
    double taxiGal = 0; // burnt before take-off
};

struct FuelPolicy {
    double contingencyPercent = 5; // of the trip fuel
    double reserveMin = 30;        // final reserve at the cruise fuel flow
    double extraGal = 0;
};

// The zone the plan's times are in: the computer's (as every plan before
// the choice was planned) or UTC.
enum class PlanZone { Local, Utc };

// The weather an airport's briefing is made of, as the pilot pasted or
// opened it (decoded when the briefing is made), and a surface wind typed
// where there is no report.
struct AirportWeather {
    QString metar;
    QString taf;
    std::optional<Wind> surfaceWind;
    bool empty() const { return metar.isEmpty() && taf.isEmpty() && !surfaceWind; }
};

struct FlightPlan {
    std::vector<Waypoint> waypoints;
    std::optional<Waypoint> alternate; // after the destination, its leg computed likewise
    Aircraft aircraft;
    FuelPolicy fuel;
    QDateTime off;                              // time off of the first leg (whole seconds count)
    std::optional<DeviationCard> deviationCard; // else the one deviation below
    double deviationDeg = 0;
    std::vector<WindRow> windsAloft;
    std::optional<double> variationDeg; // one variation for every leg, instead of the model
    // The aircraft the plan is flown with, a copy of its profile as chosen
    // (so an old plan stays as it was planned), and the load at each of its
    // stations, in its order and weight unit. Without one the plan is what
    // the leg dialog computes and has no weight and balance.
    std::optional<AircraftProfile> profile;
    std::vector<double> stationLoads;
    PlanZone zone = PlanZone::Local;
    // Departure, destination, alternate.
    std::array<AirportWeather, 3> weather;
};

// A wall-clock time of the plan (off, an ETA) as the instant it names.
QDateTime utcOf(const QDateTime& wallClock, PlanZone zone);
// "UTC", or the computer's zone's abbreviation at that time ("CET").
QString zoneName(const QDateTime& wallClock, PlanZone zone);

enum class LegProblem {
    None,
    TasTooLow,     // below the leg dialog's 60 kt: "Enter correct TAS!"
    WindTooStrong, // no heading holds the course, or no ground speed is left
    NoWind,        // no wind typed and no winds aloft
    NoVariation,   // no variation typed and the model has none for the leg
    ZeroDistance,  // the two waypoints coincide: nothing to fly (see PlanLeg::nothingToFly)
    Performance,   // a climb or descent the profile cannot fly (PlanLeg::why says which)
};

// A point along the route: how far and how long from the departure, in which
// leg and where.
struct RoutePoint {
    double distanceNm = 0; // from the departure, along the route
    double minutes = 0;    // flying time from the departure to it
    int leg = 0;           // 1-based
    double intoLegNm = 0;  // past that leg's start waypoint
    core::GeoPoint position;
};

// The top of climb or of descent: the point and the altitude there.
struct LevelPoint {
    RoutePoint point;
    double altitudeFt = 0;
};

// A leg of the route, or with an aircraft profile a piece of one flown in one
// phase (climb, cruise, descent): the pieces of a leg follow one another and
// share its number and waypoints.
struct PlanLeg {
    int from = 0; // waypoint indices
    int to = 0;
    int number = 0; // the route's leg, from 1; the alternate's after the route's
    bool alternate = false;
    LegProblem problem = LegProblem::None;
    QString why; // of a Performance problem
    Phase phase = Phase::Cruise;
    double startNm = 0;    // where the piece begins, past the leg's start waypoint
    QString fromLabel;     // "TOC", ... where the piece begins or ends between
    QString toLabel;       // waypoints; empty at a waypoint
    QString note;          // "climb carries on into leg 3"
    double courseDeg = 0;  // as TC shows it, two decimals
    double legNm = 0;      // the whole leg's distance as TC gives it
    double altitudeFt = 0; // cruising, or where the climb or descent goes
    Wind wind;
    double variationDeg = 0;
    double deviationDeg = 0;
    leg::LegInput input;
    leg::LegResult result;   // the leg dialog's figures (when problem is None)
    QDateTime off, eta;      // wall-clock times (kept as UTC, no zone applied)
    double fuelShortGal = 0; // what the leg needs beyond the fuel on board
    double toGoNm = 0;       // distance and time left to the destination after this leg
    double toGoMin = 0;
    navlog::LegFigures figures; // as the leg dialog shows them, with the plan's own

    // A waypoint given twice in a row: the leg between has no course and no
    // figures, but there is nothing to fly either, so it keeps nothing from
    // the totals, the fuel or the decision points; its row says so.
    bool nothingToFly() const { return problem == LegProblem::ZeroDistance; }
    // Computed, or nothing to fly: the plan has all it needs of this leg.
    bool accountedFor() const { return problem == LegProblem::None || nothingToFly(); }
};

struct FuelBlock {
    // False when a leg cannot be computed: then the trip fuel and what
    // depends on it are unknown (0 here), enough is false and the verdict
    // names the legs.
    bool plannable = true;
    double taxiGal = 0, tripGal = 0, contingencyGal = 0, alternateGal = 0, reserveGal = 0,
           extraGal = 0, requiredGal = 0, onBoardGal = 0;
    bool enough = false;
    std::optional<double> enduranceMin; // after taxi at the fuel flow; none without fuel flow
    // "Enough fuel: 12.3 gal above the required 27.7 gal.", the shortfall, or
    // "Cannot be planned: leg 2 (B - C) cannot be flown: ...".
    QString verdict;
};

// "Endurance 4 h 31 min at 8.3 gal/h (37.5 gal after taxi).": how long the
// fuel on board after taxi lasts at the cruise fuel flow; or that there is
// no fuel flow to tell.
QString enduranceText(const FlightPlan& plan);
// The same in minutes; none without fuel flow.
std::optional<double> enduranceMin(const FlightPlan& plan);

// "Fuel: taxi 1.0 + trip 6.3 + contingency 0.3 + alternate 0.0 + reserve 4.0 +
// extra 0.0 = 11.6 gal required.", or that it cannot be computed.
QString fuelBlockText(const FuelBlock& fuel);

struct ComputedPlan {
    std::vector<PlanLeg> legs; // the route's legs, then the alternate's
    FuelBlock fuel;
    double distanceNm = 0; // of the route (without the alternate)
    double eteMin = 0;
    bool flyable = true; // no leg has a problem
    // Legs that could not be computed, from 1 (the alternate's counted after
    // the route's): while there are any, the distance and time above cover
    // only the others and stand for nothing.
    std::vector<int> missingLegs;
    bool complete() const { return missingLegs.empty(); }
    // With an aircraft profile: the end of the first climb and the start of
    // the descent to the destination, where there are such.
    std::optional<LevelPoint> topOfClimb, topOfDescent;
    bool phased = false; // the legs are cut into climb, cruise and descent
};

// A change to every wind the plan flies in, given the course of the leg it is
// met on (whole degrees): how the decision points try harder winds.
using WindChange = std::function<Wind(const Wind& wind, double courseDeg)>;

// Computes every leg. The magnetic model gives each leg's variation at its
// midpoint (whole degrees, west positive) where neither the leg nor the plan
// has one; without a model such a leg is marked NoVariation. With an
// aircraft profile each leg is cut into its climb, cruise and descent
// (plan/VerticalProfile.h), the cruise at the profile's speed and fuel flow
// for the leg's altitude.
ComputedPlan computePlan(const FlightPlan& plan, const magvar::MagneticVariation* model,
                         const WindChange& windChange = {});

// The fuel flow the final reserve and the endurance are reckoned at: the
// plan's, or with a profile the highest of its cruise rows.
double reserveFuelFlowGph(const FlightPlan& plan);

// The point intoLegNm past the start of the leg a piece belongs to, on the
// great circle of its two waypoints (between antipodes, the one its course
// leaves on).
core::GeoPoint pointInLeg(const FlightPlan& plan, const PlanLeg& leg, double intoLegNm);

// What is wrong with a leg, for its row (or what its row notes): empty for
// None.
QString problemText(const PlanLeg& leg);

// "Route 213.94 nm, 120.5 min.", or which legs keep the route from a total.
QString routeTotalsText(const ComputedPlan& computed);

// The plan's legs as a nav log trip: the CSV, the window and the kneeboard
// print take it as they take the leg dialog's.
navlog::Trip tripOf(const ComputedPlan& computed, const QDateTime& started);

} // namespace plan
