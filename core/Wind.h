#pragma once
// A wind as pilots give it, the direction it blows from and its speed; its
// vector, for sums of winds; and the text "270/15", read and written here
// only. No widgets.
//
// Directions in degrees 0..360, speeds in knots; the ranges every way in
// accepts are core::limits::kWindDirectionDeg and kWindSpeedKt. Nothing here
// checks finiteness: NaN in gives NaN out.

#include <QString>

#include <optional>

namespace core {

struct Wind {
    double directionDeg = 0; // where it blows from
    double speedKt = 0;
    friend bool operator==(const Wind& a, const Wind& b) {
        return a.directionDeg == b.directionDeg && a.speedKt == b.speedKt;
    }
    friend bool operator!=(const Wind& a, const Wind& b) { return !(a == b); }
};

// The wind as a vector pointing where the air comes from: east and north
// parts in knots.
struct WindVector {
    double eastKt = 0;
    double northKt = 0;
    // The direction it points to, as atan2 gives it: -180..180 degrees.
    double bearingDeg() const noexcept;
};
WindVector operator+(const WindVector& a, const WindVector& b) noexcept;

// The wind's vector, times scale (for a weighted sum: scale times the
// speed, then the direction's sine and cosine, in that order of rounding).
WindVector vectorOf(const Wind& wind, double scale = 1) noexcept;
// The vector as a wind: direction 0..360 (0 for a calm), not rounded.
Wind windOf(const WindVector& vector) noexcept;

// "270/15" or "270 15", as pilots type a wind: a direction of up to three
// digits within its limits, then the speed, whole knots of up to three
// digits. None for anything else, an empty text too.
std::optional<Wind> parseWind(const QString& text);

// "270/15": the direction in three digits, the speed as the leg dialog
// shows a number.
QString windText(const Wind& wind);

} // namespace core
