#pragma once
// The navigation database: the world's airports, navaids, runways and
// frequencies as OurAirports publishes them, in one SQLite file, found by
// code, name or town. No widgets.
//
// Every place keeps the source's own identifiers: an airport its ident and
// its GPS, IATA and local codes, a navaid its ident and type, so a VOR and an
// NDB that share a code, or two airports that share a local code, stay apart.
// Names and towns are searched with SQLite's full-text index (FTS5), folded
// for case and accents ("zurich" finds Zürich).

#include "core/DataPlaces.h"
#include "core/GeoPoint.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace navdb {

// The database's file in the user's folder and among the installed copies.
constexpr const char* kFileName = "navdata.sqlite";

enum class Kind { Airport, Navaid };

// "airport" or "navaid", as --find prints it.
QString kindText(Kind kind);

struct Place {
    Kind kind = Kind::Airport;
    qint64 id = 0; // the source's own row id
    QString ident; // ICAO code for most airports; a navaid's own code
    QString type;  // large_airport, medium_airport, ..., VOR, NDB, ...
    QString name;
    QString municipality;
    QString country; // ISO 3166 code
    core::GeoPoint position;
    std::optional<double> elevationFt;
    double frequencyKhz = 0; // a navaid's, 0 where unknown
    QString runwayEnds;      // an airport's longest open runway ("13/31"), if any
    double runwayLengthFt = 0;
    // How well it matches the search: lower is better (exact code, code
    // prefix, words), then the larger place first.
    int matchGroup = 0;
    int sizeOrder = 0;
    // From the point the search was made near, when it was; within a group
    // of matches the nearer place comes first.
    std::optional<double> distanceNm;
};

// "LSZH  Zürich Airport — Zürich, CH, 1416 ft, runway 16/34 12139 ft", or
// "WIL  Willisau VOR-DME 116.90 — CH": a place as lists show it.
QString placeLabel(const Place& place);
// What kind of place it is beyond its name: a navaid's type and frequency
// ("VOR-DME 116.90", "NDB 389 kHz"), an airport's longest runway ("runway
// 13/31 2441 ft"); empty where the database does not tell.
QString placeDetail(const Place& place);
// A frequency as pilots read it: MHz to two decimals from 10 MHz up
// ("116.90"), else kHz ("389 kHz").
QString frequencyText(double khz);

// What the kneeboard tells of an airport beside its elevation: its longest
// open runway and its frequencies, when the database has them.
struct Runway {
    QString ends; // "16/34"
    double lengthFt = 0;
    std::optional<double> widthFt;
    QString surface; // as the source writes it: ASP, CON, GRS, ...
};
// One end of an open runway, the way it is landed or taken off towards, with
// the runway it belongs to.
struct RunwayEnd {
    QString ident;                     // "16", "34L"
    std::optional<double> headingDegT; // true heading, where the source has it
    std::optional<core::GeoPoint> threshold;
    std::optional<double> elevationFt;
    std::optional<double> displacedThresholdFt;
    double lengthFt = 0;
    std::optional<double> widthFt;
    QString surface; // as the source writes it
    bool lighted = false;
};
struct Frequency {
    QString type;        // TWR, ATIS, GND, ...
    QString description; // on one line
    double mhz = 0;
};
struct AirportFacts {
    Place airport;
    std::optional<Runway> longestRunway;
    std::vector<Frequency> frequencies; // by type, then frequency
};

// What an import reads.
enum class Table { Airports, Navaids, Runways, Frequencies };

struct ImportOptions {
    QStringList types;     // airports' or navaids' types; empty: all but closed airports
    QStringList countries; // iso_country (airports, navaids); empty: any
    QStringList regions;   // iso_region (airports); empty: any
};

struct ImportResult {
    bool ok = false;
    QString error; // why nothing changed, when not ok
    int rows = 0;
    int added = 0;
    int replaced = 0;               // rows whose source id the database held already
    std::map<QString, int> skipped; // reason -> rows
};

class NavDatabase {
public:
    ~NavDatabase();
    NavDatabase(const NavDatabase&) = delete;
    NavDatabase& operator=(const NavDatabase&) = delete;

    // Opens a database file. A writable one is created with its tables when
    // missing. A file that is not a database, or a damaged one, is left as
    // it is when only reading (null, error says so); for writing it is moved
    // aside with its journals to "<path>.damaged" (or ".damaged.2", ...:
    // nothing is deleted or written over) and a new one is made, error
    // naming where it went. Null when it cannot be opened at all, or
    // (read-only) when there is none.
    static std::unique_ptr<NavDatabase> open(const std::string& path, bool writable,
                                             QString* error = nullptr);

    // Best matches first: places whose code (ident, GPS, IATA or local code)
    // is the text, then codes that begin with it, then places whose name,
    // town or codes hold words beginning with each word of the text; within
    // each group the nearest to near first (when given), then larger
    // airports. Case, accents and punctuation ("o'hare", "st.gallen") do not
    // count. A search the database fails is no empty answer: error says why
    // (and what was found before it is returned).
    std::vector<Place> search(const QString& text, int limit,
                              const std::optional<core::GeoPoint>& near = std::nullopt,
                              QString* error = nullptr) const;

    // Reads one of OurAirports' CSV files (airports.csv, navaids.csv,
    // runways.csv, airport-frequencies.csv) into its table in one
    // transaction: a malformed file, a full disk or a killed process leaves
    // the database as it was. A second copy importing at the same time is
    // waited for (up to busyTimeoutMs), then reported busy.
    // The airport whose code (ident, then GPS, IATA or local code) is
    // ident, with its runways and frequencies; none when there is no such
    // airport.
    std::optional<AirportFacts> airportFacts(const QString& ident) const;
    // The ends of the airport's open runways (airport by its ident), the
    // longest runway's first; an end the source does not name is left out.
    std::vector<RunwayEnd> runwayEnds(const QString& airportIdent) const;

    ImportResult
    import(Table table, const std::string& csv, const ImportOptions& options,
           const std::function<void(std::size_t done, std::size_t total)>& progress = {});

    void setBusyTimeout(int milliseconds);

    // A note the database keeps about itself ("worldDataUpdated": when the
    // world data last came in, ISO 8601 UTC); none when it has none, or (a
    // database of an earlier Skyvane opened to read) cannot keep any.
    std::optional<QString> note(const char* key) const;
    bool setNote(const char* key, const QString& value);
    // Holds back every other writer (an import, an update) until this
    // database is closed; false and why when another holds it.
    bool holdWriters(QString* error);

private:
    explicit NavDatabase(sqlite3* db) : m_db(db) {}
    sqlite3* m_db = nullptr;
};

// The user's navigation database and the one installed with the program,
// searched together: where both hold a place (an airport by its code, a
// navaid by its id), the user's wins. The installed
// one is only read.
class NavData {
public:
    NavData() = default;
    NavData(const std::string& userPath, const std::optional<std::string>& installedPath);

    std::vector<Place> search(const QString& text, int limit,
                              const std::optional<core::GeoPoint>& near = std::nullopt,
                              QString* error = nullptr) const;
    // The user's database first, then the installed one.
    std::optional<AirportFacts> airportFacts(const QString& ident) const;
    // The user's database's, else the installed one's.
    std::vector<RunwayEnd> runwayEnds(const QString& airportIdent) const;
    bool empty() const { return !user() && !m_installed; }
    // What went wrong opening either, for the pilot (a damaged file put aside).
    const QString& problem() const { return m_problem; }
    // The user's database was replaced (by an update): it is opened anew at
    // the next search.
    void userReplaced() const { m_user.reset(); }

    // The user's database and the installed one of these places.
    static NavData of(const core::DataPlaces& places);

private:
    // The user's database, opened when it first exists: an import made from
    // a shell while the program runs is seen at once.
    const NavDatabase* user() const;

    std::string m_userPath;
    mutable std::unique_ptr<NavDatabase> m_user;
    std::unique_ptr<NavDatabase> m_installed;
    QString m_problem;
};

} // namespace navdb
