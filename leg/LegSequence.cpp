#include "leg/LegSequence.h"

namespace leg {

LegResult LegSequence::run(const LegInput& in) {
    LegInput chained = in;
    chained.totalBurntGal = m_totalBurntGal;
    chained.distanceSumNm = m_totalDistanceNm;
    const LegResult result = computeLeg(chained);
    if (result.status != LegStatus::Computed)
        return result;

    ChainedLeg leg{chained, result, {}, {}};
    if (in.trueCourseDeg == m_routeCourseDeg) {
        leg.from = m_home.airport;
        leg.to = m_arrival.airport;
    }
    m_routeCourseDeg = std::numeric_limits<double>::quiet_NaN();
    m_totalBurntGal = result.totalBurntGal;
    m_totalDistanceNm = result.distanceSumNm;
    m_legs.push_back(std::move(leg));
    return result;
}

void LegSequence::reset() {
    m_legs.clear();
    m_totalBurntGal = 0;
    m_totalDistanceNm = 0;
}

void LegSequence::takeRoute(RouteEnd from, RouteEnd to, double courseDeg) {
    m_home = std::move(from);
    m_arrival = std::move(to);
    m_routeCourseDeg = courseDeg;
}

} // namespace leg
