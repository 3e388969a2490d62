#pragma once
// The airport database, "airports.fly": records "ID:lat;lon," of a
// three-character identifier and decimal degrees (north and east positive).
// Anything between records without ':', ';' or ',' is ignored, so files
// written one record per line read as well as the system's own, which has the
// records back to back.

#include <QString>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A position in decimal degrees, north and east positive.
struct AirportPosition {
    double latitudeDeg = 0;
    double longitudeDeg = 0;
};

// Identifier (case preserved, compared by character code) to the position of
// its first record.
using AirportMap = std::map<std::string, AirportPosition>;

namespace store {

constexpr const char* kAirportFileName = "airports.fly";

// The text the file's bytes give: the file is taken in chunks of 127 bytes and
// a NUL byte ends its chunk (the rest of that chunk is dropped).
std::string airportTextFromBytes(std::string_view bytes);

// Scans the text and returns the identifiers of all records in text order,
// repeats included, entering each record into the index unless its identifier
// is already there (the first record wins).
//
// The colon, semicolon and comma searches run independently and never
// resynchronise, so a record missing a separator shifts those after it; a last
// record without its comma gets longitude 0. Number texts are cut at 79
// characters and read by their leading decimal number (none: 0).
std::vector<std::string> parseAirportText(const std::string& text, AirportMap& index);

// The record "ID:lat;lon," with six decimals.
std::string airportRecord(const std::string& id, double latitudeDeg, double longitudeDeg);

// Appends "ID:lat;lon," with six decimals to the text and enters the values as
// given into the index.
void appendAirportRecord(std::string& text, AirportMap& index, const std::string& id,
                         double latitudeDeg, double longitudeDeg);

// An identifier that the format can hold: no ':', ';' or ','.
bool isStorableAirportId(std::string_view id);

// The file's bytes for an identifier: one byte a character, or none when a
// character lies beyond Latin-1 and the file cannot hold it.
std::optional<std::string> latin1Bytes(const QString& text);

// The position of an identifier: the exact key, or else the first key that is
// the same once both are in upper case as the lists show them (a file may hold
// lower-case identifiers). Null when there is none.
const AirportPosition* findAirport(const AirportMap& index, const QString& id);

} // namespace store
