#pragma once
// The airport database, "airports.fly": records "ID:lat;lon," of a
// three-character identifier and decimal degrees (north and east positive).
// Anything between records without ':', ';' or ',' is ignored, so files
// written one record per line read as well as the system's own, which has the
// records back to back.

#include "platform/Files.h"
#include "store/Globals.h"

#include <string>
#include <string_view>
#include <vector>

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
std::vector<std::string> ParseAirportText(const std::string& text, AirportMap& index);

// Appends "ID:lat;lon," with six decimals to the text and enters the values as
// given into the index.
void AppendAirportRecord(std::string& text, AirportMap& index, const std::string& strId,
                         double dLat, double dLon);

// An identifier that the format can hold: no ':', ';' or ','.
bool isStorableAirportId(std::string_view id);

// The position of an identifier: the exact key, or else the first key equal to
// it ignoring ASCII case (a file may hold lower-case identifiers, which the
// lists show in upper case). Null when there is none.
const AIRPORTPOS* findAirport(const AirportMap& index, const std::string& id);

// Reads the data directory's airport file into the text. False when the file
// cannot be opened; the text is then empty.
bool loadAirportFile(const std::string& dataDir, std::string& text);

// Rewrites the data directory's airport file from the text, safely.
platform::WriteStatus saveAirportFile(const std::string& dataDir, const std::string& text);

} // namespace store
