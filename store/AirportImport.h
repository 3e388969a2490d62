#pragma once
// Import of the OurAirports "airports.csv" (public domain; columns id, ident,
// type, name, latitude_deg, longitude_deg, ..., iso_country, iso_region, ...,
// gps_code, iata_code, local_code, ...) into records of the airport file.
// The CSV is read with libcsv, quoted fields and all.
//
// A row becomes a record when its type is one asked for (never "closed"), its
// country and region match when asked, and its code and position fit the
// file: a code the file can store (store::airportIdProblem, the rule Add
// follows too); a finite latitude within ±90 and longitude within ±180.
// Every other row is counted by the reason it was left out. A leading UTF-8
// byte-order mark is skipped.

#include "store/AirportDatabase.h"

#include <QStringList>

#include <map>
#include <string>
#include <vector>

namespace store {

struct ImportOptions {
    // The column whose code becomes the identifier: ident, iata_code,
    // local_code or gps_code.
    QString codeColumn = QStringLiteral("ident");
    QStringList types = {QStringLiteral("large_airport"), QStringLiteral("medium_airport"),
                         QStringLiteral("small_airport")};
    QStringList countries; // iso_country values; empty: any
    QStringList regions;   // iso_region values; empty: any
};

enum class SkipReason {
    NotSelected, // type, country or region not asked for (closed ones always)
    EmptyCode,
    NotThreeChars,
    Separator, // ':', ';' or ','
    WhiteSpace,
    NotLatin1,
    BadPosition, // not a number, not finite, or beyond ±90 / ±180
};

// What pilots read in the summary, e.g. "no code in the chosen column".
const char* skipReasonText(SkipReason reason);

struct ImportRead {
    bool ok = false;
    QString error; // why the file cannot be imported, when not ok
    int rows = 0;  // data rows read
    std::vector<AirportDatabase::NewAirport> airports;
    std::map<SkipReason, int> skipped;
};

// The codes a --code option may name.
const QStringList& importCodeColumns();

// Reads the CSV's bytes. Not ok (and nothing taken) when the bytes are not
// valid CSV, a row's field count differs from the header's, or the header
// lacks a needed column.
ImportRead readOurAirports(const std::string& csv, const ImportOptions& options);

} // namespace store
