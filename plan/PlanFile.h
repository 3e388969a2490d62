#pragma once
// The plan file, JSON ("*.skyplan"): {"format": "skyvane-plan", "version": 1,
// "aircraft": {...}, "fuel": {...}, "off": ISO date and time, "deviation":
// {"degrees": n} or {"card": [12 numbers, MH 000 to 330]}, "windsAloft":
// [{"altitudeFt", "directionDeg", "speedKt"}], "variationDeg": n (optional,
// every leg), "waypoints": [{"name", "ident", "latitudeDeg", "longitudeDeg",
// "leg": {"altitudeFt", "wind": {"directionDeg", "speedKt"}, "variationDeg"}}],
// "alternate": a waypoint}. Numbers use "." whatever the locale. A waypoint's
// "leg" is the leg that arrives at it.

#include "core/Files.h"
#include "plan/DecisionPoints.h"
#include "plan/FlightPlan.h"
#include "plan/WeightBalance.h"

#include <QJsonObject>
#include <QString>

#include <string>

namespace plan {

constexpr int kPlanFormatVersion = 3;
// A plan without an aircraft profile is written as version 1, which every
// Skyvane reads; one with a profile as 2, which an older one refuses rather
// than drop the aircraft; one planned in UTC as 3, so an older one does not
// take its times for local ones.

struct PlanRead {
    std::optional<FlightPlan> plan;
    QString error; // why the file cannot be opened as a plan
};

// The plan a file's bytes hold; a damaged file or one of a newer version is
// refused with the reason.
PlanRead readPlan(const std::string& bytes);

std::string planJson(const FlightPlan& plan);

// The computed plan for --plan --json: every leg's figures as the leg
// dialog shows them, the totals, the fuel block and the decision points.
// With an aircraft's weight and balance, "weightAndBalance" too.
std::string computedPlanJson(const ComputedPlan& computed, const DecisionPoints& points,
                             const std::optional<WeightAndBalance>& balance = std::nullopt);
// The same as an object, for a caller that adds to it.
QJsonObject computedPlanObject(const ComputedPlan& computed, const DecisionPoints& points,
                               const std::optional<WeightAndBalance>& balance = std::nullopt);

} // namespace plan
