// Any bytes as a plan file: reading must neither crash nor accept a figure
// outside the program's limits, and what is read writes back to a file that
// reads the same.
#include "core/Limits.h"
#include "plan/PlanFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const plan::PlanRead read =
        plan::readPlan(std::string(reinterpret_cast<const char*>(data), size));
    if (!read.plan)
        return 0;
    namespace limits = core::limits;
    const plan::FlightPlan& p = *read.plan;
    if (!limits::kTasKt.contains(p.aircraft.tasKt) ||
        !limits::kFuelFlowGph.contains(p.aircraft.fuelFlowGph) ||
        !limits::kFuelGal.contains(p.aircraft.fuelGal) ||
        !limits::kReserveMin.contains(p.fuel.reserveMin) ||
        !limits::kDeviationDeg.contains(p.deviationDeg) || !p.off.isValid())
        std::abort();
    for (const plan::Waypoint& w : p.waypoints) {
        if (w.leg.wind && (!limits::kWindSpeedKt.contains(w.leg.wind->speedKt) ||
                           !limits::kWindDirectionDeg.contains(w.leg.wind->directionDeg)))
            std::abort();
    }
    const std::string written = plan::planJson(p);
    const plan::PlanRead again = plan::readPlan(written);
    if (!again.plan || plan::planJson(*again.plan) != written)
        std::abort();
    return 0;
}
