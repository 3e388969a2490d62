#include "dialogs/Conversions.h"

#include "core/NumberText.h"

namespace conversions {
namespace {

float scaled(float value, double factor) noexcept {
    return static_cast<float>(static_cast<double>(value) * factor);
}

} // namespace

float convert(Direction direction, float s) noexcept {
    switch (direction) {
    case Direction::MilesToKm:
        return scaled(s, 1.6093);
    case Direction::KmToMiles:
        return scaled(s, 0.6214);
    case Direction::FeetToMetres:
        return scaled(s, 0.3048);
    case Direction::MetresToFeet:
        return scaled(s, 3.280839895013123);
    case Direction::NmToMiles:
        return scaled(s, 1.15077945);
    case Direction::MilesToNm:
        return scaled(s, 0.868976240408186);
    case Direction::PoundsToKg:
        return scaled(s, 0.4536);
    case Direction::KgToPounds:
        return scaled(s, 2.204585537918871);
    case Direction::CelsiusToFahrenheit: {
        const float a = s * 9.0f;
        const float b = a + 160.0f;
        return b * 0.2f;
    }
    case Direction::FahrenheitToCelsius: {
        const float a = s - 32.0f;
        const float b = a * 5.0f;
        return b * 0.1111111119389534f;
    }
    }
    return s;
}

std::string convertText(Direction direction, std::string_view text) {
    const double parsed = core::parseLeadingNumber(text.substr(0, 79));
    const double result = static_cast<double>(convert(direction, static_cast<float>(parsed)));
    std::string shown = core::formatFixed(result, 6);
    if (shown == "nan")
        return shown;
    if (shown.size() > 19 || shown == "inf" || shown == "-inf")
        return "overflow";
    return shown;
}

} // namespace conversions
