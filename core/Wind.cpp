#include "core/Wind.h"

#include "core/Limits.h"
#include "core/Math.h"
#include "core/Text.h"

#include <QRegularExpression>

#include <cmath>

namespace core {

double WindVector::bearingDeg() const noexcept {
    return std::atan2(eastKt, northKt) / kDeg2RadFull;
}

WindVector operator+(const WindVector& a, const WindVector& b) noexcept {
    return {a.eastKt + b.eastKt, a.northKt + b.northKt};
}

WindVector vectorOf(const Wind& wind, double scale) noexcept {
    return {scale * wind.speedKt * std::sin(wind.directionDeg * kDeg2RadFull),
            scale * wind.speedKt * std::cos(wind.directionDeg * kDeg2RadFull)};
}

Wind windOf(const WindVector& vector) noexcept {
    const double speed = std::hypot(vector.eastKt, vector.northKt);
    double direction = vector.bearingDeg();
    if (direction < 0)
        direction += 360;
    return Wind{speed > 0 ? direction : 0, speed};
}

std::optional<Wind> parseWind(const QString& text) {
    static const QRegularExpression form(QStringLiteral(R"(^(\d{1,3})\s*[/ ]\s*(\d{1,3})$)"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const Wind wind{m.captured(1).toDouble(), m.captured(2).toDouble()};
    if (!limits::kWindDirectionDeg.contains(wind.directionDeg) ||
        !limits::kWindSpeedKt.contains(wind.speedKt))
        return std::nullopt;
    return wind;
}

QString windText(const Wind& wind) {
    return QStringLiteral("%1/%2")
        .arg(static_cast<int>(wind.directionDeg), 3, 10, QLatin1Char('0'))
        .arg(numberText(wind.speedKt));
}

} // namespace core
