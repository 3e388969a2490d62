#include "plan/TypedFields.h"

#include "core/Limits.h"
#include "core/NumberText.h"
#include "core/Text.h"

#include <QStringList>

namespace plan {
namespace {

namespace limits = core::limits;

std::optional<double> numberWithin(const QString& text, const core::Limit& limit) {
    const auto value = typedNumber(text);
    if (!value || !limit.contains(*value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> typedNumber(const QString& text) {
    QString t = text.trimmed();
    return core::parseNumber(t.replace(QLatin1Char(','), QLatin1Char('.')).toStdString());
}

const QString kWindRowRefusal = QStringLiteral("A row of the winds aloft is an altitude in feet, "
                                               "a direction 0 to 360, a speed in knots and a "
                                               "temperature in °C, -100 to 60, or none.");
const QString kCardRefusal =
    QStringLiteral("A deviation card is 12 numbers, the deviations at MH 000, 030, ..., 330.");

QString readLegCell(LegCell cell, const QString& typed, LegSettings& leg) {
    const QString text = typed.trimmed();
    switch (cell) {
    case LegCell::Altitude:
        if (const auto altitude = numberWithin(text, limits::kAltitudeFt)) {
            leg.altitudeFt = *altitude;
            return {};
        }
        return QStringLiteral("An altitude is a number of feet, e.g. 4500.");
    case LegCell::Wind:
        if (text.isEmpty()) {
            leg.wind.reset();
            return {};
        }
        if (const auto wind = core::parseWind(text)) {
            leg.wind = *wind;
            return {};
        }
        return QStringLiteral("A wind is written DDD/KT, e.g. 270/15 (empty: from the winds "
                              "aloft).");
    case LegCell::Variation:
        if (text.isEmpty()) {
            leg.variationDeg.reset();
            return {};
        }
        if (const auto variation = numberWithin(text, limits::kVariationDeg)) {
            leg.variationDeg = *variation;
            return {};
        }
        return QStringLiteral("A variation is degrees, west positive (empty: from the magnetic "
                              "model).");
    }
    return {};
}

std::optional<WindRow> readWindRow(const QString& altitude, const QString& direction,
                                   const QString& speed, const QString& temperature) {
    const auto a = numberWithin(altitude, limits::kAltitudeFt);
    const auto d = numberWithin(direction, limits::kWindDirectionDeg);
    const auto s = numberWithin(speed, limits::kWindSpeedKt);
    const bool noTemperature = temperature.trimmed().isEmpty();
    const auto t = numberWithin(temperature, limits::kTemperatureC);
    if (!a || !d || !s || (!noTemperature && !t))
        return std::nullopt;
    return WindRow{*a, Wind{*d, *s}, noTemperature ? std::nullopt : t};
}

std::optional<std::optional<DeviationCard>> readDeviationCard(const QString& text) {
    const QStringList parts = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return std::optional<DeviationCard>();
    if (parts.size() != 12)
        return std::nullopt;
    DeviationCard card{};
    for (std::size_t i = 0; i < card.size(); ++i) {
        const auto d = numberWithin(parts[static_cast<int>(i)], limits::kDeviationDeg);
        if (!d)
            return std::nullopt;
        card[i] = *d;
    }
    return std::optional<DeviationCard>(card);
}

QString deviationCardText(const std::optional<DeviationCard>& card) {
    QStringList numbers;
    if (card) {
        for (double d : *card)
            numbers << core::numberText(d);
    }
    return numbers.join(QLatin1Char(' '));
}

} // namespace plan
