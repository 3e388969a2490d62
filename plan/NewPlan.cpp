#include "plan/NewPlan.h"

#include "store/Defaults.h"

namespace plan {

FlightPlan newPlan(const core::DataPlaces& places, const QDateTime& now) {
    FlightPlan p;
    store::Defaults d;
    if (store::loadDefaultsFile(places, d) == store::DefaultsLoad::Loaded) {
        p.aircraft.tasKt = d.tas;
        p.aircraft.fuelFlowGph = d.gph;
        p.aircraft.fuelGal = d.fuel;
        p.deviationDeg = d.magDeviation;
    }
    const QTime time = now.time();
    p.off = QDateTime(now.date(), QTime(time.hour(), time.minute(), time.second()));
    return p;
}

} // namespace plan
