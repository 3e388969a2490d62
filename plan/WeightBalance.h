#pragma once
// Weight and balance of a loading: the empty aircraft, a weight at each
// station and the fuel (ramp: as loaded; takeoff: less taxi; landing: less
// the trip fuel too), each as weight, moment and arm, checked against the
// profile's envelopes and weight limits. No widgets.
//
// Units are the profile's: weights in lb or kg, arms in its arm unit, a
// moment is weight times arm (the envelopes' moments too). Fuel in US
// gallons, turned into weight by the profile's density.

#include "plan/AircraftProfile.h"

#include <QString>

#include <optional>
#include <vector>

namespace plan {

struct MassPoint {
    double weight = 0;
    double moment = 0;
    double arm = 0;               // moment over weight; 0 for no weight
    bool insideEnvelopes = false; // inside every envelope (edges count as inside)
};

struct WeightAndBalance {
    MassPoint ramp, takeoff, landing;
    bool landingKnown = true;  // false when the trip fuel is not known
    bool withinLimits = false; // all three inside the envelopes and under their weights,
                               // each station within its own maximum
    // "Within limits.", or what is outside which limit and by how much.
    QString verdict;
};

// Whether (x, weight) lies inside a closed polygon, its edges and corners
// counted as inside; concave polygons too.
bool insidePolygon(const std::vector<std::pair<double, double>>& polygon, double x, double weight);

// loads: a weight per station, in the profile's order (missing ones are
// empty). Fuel in gallons: on board at start-up, taxi, and the trip's burn
// to the destination; without the trip (a leg cannot be computed) the
// landing is not known, never within limits, and the verdict says so.
WeightAndBalance weightAndBalance(const AircraftProfile& profile, const std::vector<double>& loads,
                                  double rampFuelGal, double taxiGal,
                                  std::optional<double> tripGal);

struct FlightPlan;
struct ComputedPlan;

// The plan's weight and balance with its aircraft's profile and loads, its
// fuel and the trip fuel it computes to; none without a profile.
std::optional<WeightAndBalance> planBalance(const FlightPlan& plan, const ComputedPlan& computed);

// "the fuel on board, 60 gal, is more than the aircraft's usable 53 gal", or
// empty when the tanks hold it (or there is no profile to tell).
QString tanksProblem(const FlightPlan& plan);

} // namespace plan
