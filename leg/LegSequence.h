#pragma once
// The chain of legs of one flight, without widgets: each leg is computed by
// leg::computeLeg from its own inputs with the totals of the legs before it,
// and the chain keeps those totals and the route the pilot last took. The leg
// dialog drives one; a flight plan drives its own the same way, so a plan's
// leg shows what the leg dialog shows for the same leg.
//
// A flight begins at construction or reset(). A leg the wind refuses changes
// nothing. Moving on to the next leg (the leg dialog's Next) needs no call:
// the totals already include every computed leg.

#include "core/GeoPoint.h"
#include "leg/LegCalc.h"

#include <QString>

#include <limits>
#include <vector>

namespace leg {

// One end of a route: an airport's identifier (empty for typed coordinates)
// and its position.
struct RouteEnd {
    QString airport;
    core::GeoPoint position;
};

// A computed leg: its inputs as given (with the totals before it), its
// results, and the airports it ran between (empty where the course was
// typed rather than taken from a route).
struct ChainedLeg {
    LegInput input;
    LegResult result;
    QString from;
    QString to;
};

class LegSequence {
public:
    // Computes the next leg. The totals of `in` are ignored: the chain's own
    // are used. When the leg is computed it joins the chain; its From and To
    // are the route's ends if its course is the one the route set (a course
    // typed since is the pilot's own), and that course is used up either way.
    LegResult run(const LegInput& in);

    // A new flight: no legs, totals 0. The route stays, as a pilot's next
    // flight often starts where the last one ended.
    void reset();

    // Fuel burnt and distance flown over the legs since the flight began:
    // the burnt total rounded to hundredths after every leg, the distance
    // the plain sum.
    double totalBurntGal() const { return m_totalBurntGal; }
    double totalDistanceNm() const { return m_totalDistanceNm; }
    const std::vector<ChainedLeg>& legs() const { return m_legs; }

    // The route memory: where the next true course starts and ends.
    const RouteEnd& home() const { return m_home; }
    const RouteEnd& arrival() const { return m_arrival; }
    // The home airport and position as the saved defaults give them.
    void setHome(RouteEnd home) { m_home = std::move(home); }
    // A true course was taken between these ends; the course given (as the
    // leg will read it, whole degrees) marks the legs flown on it.
    void takeRoute(RouteEnd from, RouteEnd to, double courseDeg);

private:
    std::vector<ChainedLeg> m_legs;
    double m_totalBurntGal = 0;
    double m_totalDistanceNm = 0;
    RouteEnd m_home;
    RouteEnd m_arrival;
    double m_routeCourseDeg = std::numeric_limits<double>::quiet_NaN(); // NaN: none pending
};

} // namespace leg
