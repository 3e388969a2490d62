#pragma once
// The command line's briefing options applied to a plan: its zone, the
// METAR and TAF of its airports, and the winds aloft of a bulletin.

#include "app/PlanCommand.h"
#include "plan/FlightPlan.h"

#include <optional>

namespace app {

// None when applied; else the exit code of an option refused (said on
// standard error).
std::optional<int> applyBriefing(const PlanCommand& command, plan::FlightPlan& plan);

} // namespace app
