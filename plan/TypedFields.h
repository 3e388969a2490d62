#pragma once
// What the pilot types into the plan's cells and fields, read by one rule
// each, within the program's limits (core/Limits.h): a leg's altitude, wind
// and variation, a row of the winds aloft, the deviation card. Each refusal
// is a sentence for the pilot. No widgets.

#include "plan/FlightPlan.h"

#include <QString>

#include <optional>

namespace plan {

// A typed figure: a decimal point or a decimal comma ("8,5" is 8.5), spaces
// around it ignored; none for anything else.
std::optional<double> typedNumber(const QString& text);

// The cells of a leg on its waypoint's row.
enum class LegCell { Altitude, Wind, Variation };

// Sets the cell's figure in leg from text; an empty wind or variation means
// "from the winds aloft" or "from the magnetic model". The refusal, or
// empty when taken.
QString readLegCell(LegCell cell, const QString& text, LegSettings& leg);

// A row of the winds aloft: altitude in feet, direction and speed, and the
// temperature in °C or blank; none (with kWindRowRefusal to say) for
// anything else.
std::optional<WindRow> readWindRow(const QString& altitude, const QString& direction,
                                   const QString& speed, const QString& temperature = {});
extern const QString kWindRowRefusal;

// Twelve deviations separated by spaces, MH 000 to 330; an empty text is no
// card. None (with kCardRefusal to say) for anything else.
std::optional<std::optional<DeviationCard>> readDeviationCard(const QString& text);
extern const QString kCardRefusal;
// The card as typed back: its numbers separated by spaces; empty for none.
QString deviationCardText(const std::optional<DeviationCard>& card);

} // namespace plan
