#pragma once
// Unit conversions of the Tools dialog. Each works on the single-precision
// value of its input, as the pilot's handheld always did, so that the six
// shown decimals match (1 sm -> 1.609300 km, 100 sm -> 160.929993 km).
// Distance and weight multiply in double and round the product to single;
// temperatures are single precision throughout. Infinite or NaN inputs pass
// through as infinities or NaN.

#include <string>
#include <string_view>

namespace conversions {

enum class Direction {
    MilesToKm,
    KmToMiles,
    FeetToMetres,
    MetresToFeet,
    NmToMiles,
    MilesToNm,
    PoundsToKg,
    KgToPounds,
    CelsiusToFahrenheit,
    FahrenheitToCelsius,
};

float convert(Direction direction, float value) noexcept;

// What the partner field shows for the text of the field typed in: the text's
// leading number (first 79 characters; none: 0), converted, with "%f".
// Results whose text would pass 19 characters (magnitudes of 1e12 and more,
// -1e11 and below) and infinities show as "overflow"; NaN as "nan".
std::string convertText(Direction direction, std::string_view text);

} // namespace conversions
