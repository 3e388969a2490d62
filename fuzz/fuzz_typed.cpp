// Any text as a pilot types it: a position, a wind, a leg's cells, a
// deviation card. What is taken lies within its limits, and what is written
// back reads the same (a position to its printed hundredth of a minute, a
// card to the digits it shows).
#include "core/Limits.h"
#include "core/Wind.h"
#include "plan/Coordinates.h"
#include "plan/TypedFields.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace limits = core::limits;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const plan::ParsedPosition position = plan::parsePosition(text);
    if (position.position) {
        const core::GeoPoint& p = *position.position;
        if (!(std::fabs(p.latitudeDeg) <= 90) || !(std::fabs(p.longitudeDeg) <= 180))
            std::abort();
        const plan::ParsedPosition back = plan::parsePosition(plan::positionText(p));
        if (!back.position ||
            std::fabs(back.position->latitudeDeg - p.latitudeDeg) > 0.01 / 60 + 1e-9)
            std::abort();
    } else if (position.error.isEmpty()) {
        std::abort(); // every refusal says why
    }
    if (const auto wind = core::parseWind(text)) {
        if (!limits::kWindDirectionDeg.contains(wind->directionDeg) ||
            !limits::kWindSpeedKt.contains(wind->speedKt) ||
            core::parseWind(core::windText(*wind)) != wind)
            std::abort();
    }
    plan::LegSettings leg;
    if (plan::readLegCell(plan::LegCell::Altitude, text, leg).isEmpty() &&
        !limits::kAltitudeFt.contains(leg.altitudeFt))
        std::abort();
    if (plan::readLegCell(plan::LegCell::Variation, text, leg).isEmpty() && leg.variationDeg &&
        !limits::kVariationDeg.contains(*leg.variationDeg))
        std::abort();
    if (const auto card = plan::readDeviationCard(text)) {
        if (*card) {
            for (double d : **card) {
                if (!limits::kDeviationDeg.contains(d))
                    std::abort();
            }
        }
        // The card as shown (15 digits) reads back to the same text.
        const QString shown = plan::deviationCardText(*card);
        const auto back = plan::readDeviationCard(shown);
        if (!back || plan::deviationCardText(*back) != shown)
            std::abort();
    }
    return 0;
}
