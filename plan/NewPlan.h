#pragma once
// A new plan, as the plan window and the command line start one: the
// aircraft of the saved defaults (TAS, fuel flow, fuel, deviation), off now.

#include "core/DataPlaces.h"
#include "plan/FlightPlan.h"

namespace plan {

// Without a defaults file of the pilot's (or the installed one) the aircraft
// is all 0. now: the time off, taken to whole seconds as the pickers show it.
FlightPlan newPlan(const core::DataPlaces& places, const QDateTime& now);

} // namespace plan
