#pragma once
// The defaults file, "config.fly": eight lines "key:value" ending in CR LF,
// the home airport code, the home position and five flight defaults.
//
// The reader never compares keys: the k-th colon's value goes to the k-th
// value, whatever its key says, so files edited by hand keep loading as they
// always did. A file counts when its first 1023 bytes yield exactly eight
// values.

#include "core/DataPlaces.h"
#include "core/Files.h"

#include <optional>
#include <string>
#include <string_view>

namespace store {

constexpr const char* kDefaultsFileName = "config.fly";
constexpr std::size_t kDefaultsReadLimit = 1023;

struct Defaults {
    std::string homeAirport; // 8-bit text as in the file
    double homeLatitude = 0;
    double homeLongitude = 0;
    double tas = 0;
    double variation = 0;
    double magDeviation = 0;
    double gph = 0;
    double fuel = 0;
};

// The values of a file's bytes (only the first 1023 are looked at, and a NUL
// byte ends the text), or none when they do not give exactly eight values.
//
// Line ends are CR LF, a lone CR, or an LF without a CR before it; where no
// line end is left the value runs to the end of the text. A colon at the very
// first byte is not counted. Numbers are read by the leading decimal number of
// their first 79 characters (none: 0), with no range limits; a number beyond
// the double range makes the file malformed.
std::optional<Defaults> parseDefaults(std::string_view bytes);

// The file as Save writes it: the eight keys in order, values with "%f"
// (six decimals, "." whatever the locale), every line ending in CR LF.
std::string formatDefaults(const Defaults& values);

enum class DefaultsLoad { Loaded, CannotOpen, Malformed };

// Whether a file of these values would load back: numbers of absurd size
// ("%f" writes every digit) can push the eight lines past the 1023 bytes that
// loading looks at.
bool fitsDefaultsFile(const Defaults& values);

// Whether the file Save writes for these values loads back to the values it
// wrote: false for a home airport code holding a colon, a line end or a NUL
// (possible only from a hand-edited file), for values that do not fit, and
// for numbers that are not finite.
bool loadsBack(const Defaults& values);

// Reads the user's "config.fly" or, while they have none, the copy installed
// with the program. CannotOpen: neither can be read (or the user's exists and
// cannot be read).
DefaultsLoad loadDefaultsFile(const core::DataPlaces& places, Defaults& values);

// Writes the values as the user's "config.fly", safely, creating the user's
// data folder when it is missing.
core::WriteStatus saveDefaultsFile(const core::DataPlaces& places, const Defaults& values);

} // namespace store
