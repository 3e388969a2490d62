#pragma once
// The airport database, "airports.fly": records "ID:lat;lon," of a
// three-character identifier and decimal degrees (north and east positive).
// Anything between records without ':', ';' or ',' is ignored, so files
// written one record per line read as well as the system's own, which has the
// records back to back.

#include "core/GeoPoint.h"

#include <QString>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Identifier (case preserved, compared by character code) to the position of
// its first record.
using AirportMap = std::map<std::string, core::GeoPoint>;

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

// Why an identifier cannot be stored as a record, the first reason in this
// order; None when it can. The file's records are read by the three
// characters before the colon, so a stored identifier is exactly three
// characters, none of them white space (of any kind) or one of the file's
// separators ':', ';' and ',', all within Latin-1 (one byte a character).
enum class IdProblem { None, Empty, WhiteSpace, NotThreeChars, Separator, NotLatin1 };
IdProblem airportIdProblem(const QString& id);

// The position of an identifier: the exact key, or else the first key that is
// the same ignoring case (core::caseKey), as the lists show them in upper case
// while a file may hold lower-case identifiers. Null when there is none.
const core::GeoPoint* findAirport(const AirportMap& index, const QString& id);

} // namespace store
