#include "navdb/NavDatabase.h"

#include "core/Csv.h"
#include "core/Files.h"
#include "core/NumberText.h"
#include "core/Text.h"
#include "course/GreatCircle.h"

#include <QFile>
#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <unordered_map>

namespace navdb {
namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS airports(
    id INTEGER PRIMARY KEY, ident TEXT NOT NULL COLLATE NOCASE, type TEXT, name TEXT,
    municipality TEXT, iso_country TEXT, iso_region TEXT, latitude REAL, longitude REAL,
    elevation_ft REAL, gps_code TEXT COLLATE NOCASE, iata_code TEXT COLLATE NOCASE,
    local_code TEXT COLLATE NOCASE, keywords TEXT);
CREATE INDEX IF NOT EXISTS airports_ident ON airports(ident);
CREATE INDEX IF NOT EXISTS airports_gps ON airports(gps_code);
CREATE INDEX IF NOT EXISTS airports_iata ON airports(iata_code);
CREATE INDEX IF NOT EXISTS airports_local ON airports(local_code);
CREATE TABLE IF NOT EXISTS navaids(
    id INTEGER PRIMARY KEY, ident TEXT NOT NULL COLLATE NOCASE, name TEXT, type TEXT,
    frequency_khz REAL, latitude REAL, longitude REAL, elevation_ft REAL, iso_country TEXT,
    associated_airport TEXT COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS navaids_ident ON navaids(ident);
CREATE TABLE IF NOT EXISTS runways(
    id INTEGER PRIMARY KEY, airport_ref INTEGER, airport_ident TEXT COLLATE NOCASE,
    length_ft REAL, width_ft REAL, surface TEXT, lighted INTEGER, closed INTEGER,
    le_ident TEXT, he_ident TEXT, le_latitude_deg REAL, le_longitude_deg REAL,
    le_elevation_ft REAL, le_heading_degT REAL, le_displaced_threshold_ft REAL,
    he_latitude_deg REAL, he_longitude_deg REAL, he_elevation_ft REAL, he_heading_degT REAL,
    he_displaced_threshold_ft REAL);
CREATE INDEX IF NOT EXISTS runways_airport ON runways(airport_ident);
CREATE TABLE IF NOT EXISTS frequencies(
    id INTEGER PRIMARY KEY, airport_ref INTEGER, airport_ident TEXT COLLATE NOCASE, type TEXT,
    description TEXT, frequency_mhz REAL);
CREATE INDEX IF NOT EXISTS frequencies_airport ON frequencies(airport_ident);
CREATE TABLE IF NOT EXISTS notes(key TEXT PRIMARY KEY, value TEXT);
-- Words of names and towns, folded for case and accents (codes have their
-- own indexes above). The rowid names the place and orders it: its size
-- class (larger airports first) times 2^40, plus id * 2 for an airport or
-- id * 2 + 1 for a navaid, so the first matches in rowid order are the
-- best and a search stops after as many as it shows. Only which rows hold a
-- word is kept (detail=none): enough for words and prefixes, and quick to
-- fill with the whole world.
CREATE VIRTUAL TABLE IF NOT EXISTS places USING fts5(
    words, tokenize = 'unicode61 remove_diacritics 2', detail = none, columnsize = 0);
)sql";

// The indexes of each table, as the schema makes them: dropped while an
// empty table is filled and made again at the end, which is quicker than
// keeping them up to date row by row.
const std::map<std::string, std::vector<std::string>>& indexesOf() {
    static const std::map<std::string, std::vector<std::string>> indexes = {
        {"airports", {"airports_ident", "airports_gps", "airports_iata", "airports_local"}},
        {"navaids", {"navaids_ident"}},
        {"runways", {"runways_airport"}},
        {"frequencies", {"frequencies_airport"}}};
    return indexes;
}

// The columns a search reads, in Place order, for airports and navaids.
// An airport's longest open runway comes with it (by the runways' index).
constexpr const char* kAirportColumns =
    "0, id, ident, type, name, municipality, iso_country, latitude, longitude, elevation_ft, 0, "
    "(SELECT ifnull(le_ident, '') || '/' || ifnull(he_ident, '') || '|' || length_ft "
    "FROM runways r WHERE r.airport_ident = airports.ident AND length_ft > 0 AND "
    "NOT ifnull(r.closed, 0) ORDER BY length_ft DESC, r.id LIMIT 1)";
constexpr const char* kNavaidColumns =
    "1, id, ident, type, name, '', iso_country, latitude, longitude, elevation_ft, "
    "ifnull(frequency_khz, 0), NULL";

// A prepared statement, finalised when it goes.
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr) != SQLITE_OK)
            m_stmt = nullptr;
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return m_stmt != nullptr; }
    sqlite3_stmt* get() const { return m_stmt; }
    void bind(int i, const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text64(m_stmt, i, utf8.constData(), static_cast<sqlite3_uint64>(utf8.size()),
                            SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    void bind(int i, const std::string& text) {
        sqlite3_bind_text64(m_stmt, i, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    void bindOrNull(int i, const std::optional<double>& value) {
        if (value)
            sqlite3_bind_double(m_stmt, i, *value);
        else
            sqlite3_bind_null(m_stmt, i);
    }
    void bind(int i, qint64 value) { sqlite3_bind_int64(m_stmt, i, value); }
    int step() { return sqlite3_step(m_stmt); }
    void reset() {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    QString text(int column) const {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return p ? QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, column)) : QString();
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

bool exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

constexpr int kSizeClasses = 6;
constexpr qint64 kSizeStep = qint64(1) << 40;

qint64 placeRow(int size, qint64 id, Kind kind) {
    return size * kSizeStep + id * 2 + (kind == Kind::Navaid ? 1 : 0);
}

int sizeOrder(Kind kind, const QString& type) {
    if (kind == Kind::Navaid)
        return 3;
    if (type == QLatin1String("large_airport"))
        return 0;
    if (type == QLatin1String("medium_airport"))
        return 1;
    if (type == QLatin1String("small_airport"))
        return 2;
    return type == QLatin1String("closed") ? 5 : 4;
}

Place placeOf(const Statement& s, int group) {
    Place p;
    p.kind = sqlite3_column_int(s.get(), 0) == 0 ? Kind::Airport : Kind::Navaid;
    p.id = sqlite3_column_int64(s.get(), 1);
    p.ident = s.text(2);
    p.type = s.text(3);
    p.name = s.text(4);
    p.municipality = s.text(5);
    p.country = s.text(6);
    p.position = {sqlite3_column_double(s.get(), 7), sqlite3_column_double(s.get(), 8)};
    if (sqlite3_column_type(s.get(), 9) != SQLITE_NULL)
        p.elevationFt = sqlite3_column_double(s.get(), 9);
    p.frequencyKhz = sqlite3_column_double(s.get(), 10);
    const QString runway = s.text(11); // "13/31|2441"
    if (const auto bar = runway.lastIndexOf(QLatin1Char('|')); bar >= 0) {
        p.runwayEnds = runway.left(bar);
        if (p.runwayEnds == QLatin1String("/"))
            p.runwayEnds.clear();
        p.runwayLengthFt = runway.mid(bar + 1).toDouble();
    }
    p.matchGroup = group;
    p.sizeOrder = sizeOrder(p.kind, p.type);
    return p;
}

bool better(const Place& a, const Place& b) {
    if (a.matchGroup != b.matchGroup)
        return a.matchGroup < b.matchGroup;
    if (a.distanceNm && b.distanceNm && *a.distanceNm != *b.distanceNm)
        return *a.distanceNm < *b.distanceNm;
    if (a.sizeOrder != b.sizeOrder)
        return a.sizeOrder < b.sizeOrder;
    return a.ident.compare(b.ident, Qt::CaseInsensitive) < 0;
}

// The full-text query for what the pilot typed: every word as a prefix,
// all of them required. The words are split where the index's tokenizer
// splits them (at anything but letters and digits), so "o'hare" is the two
// words o and hare: a phrase of several would be refused by an index that
// keeps no positions. Quotes make each word a plain string to FTS5.
QString wordsQuery(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[^\\p{L}\\p{N}\\p{M}]+"));
    QStringList terms;
    for (const QString& word : text.split(separators, Qt::SkipEmptyParts))
        terms << QLatin1Char('"') + word + QStringLiteral("\"*");
    return terms.join(QLatin1Char(' '));
}

// The smallest text above every text that begins with prefix, as NOCASE
// compares: the prefix followed by the highest code point.
std::string prefixEnd(const QString& prefix) {
    return prefix.toUtf8().toStdString() + "\xF4\x8F\xBF\xBF";
}

// --- import -----------------------------------------------------------------

std::optional<double> numberOf(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    return core::parseNumber(text);
}

// A column of one of OurAirports' files: whether a row needs it, whether
// it holds a number (bound as such, NULL when empty), and the table column
// it goes in when that is named otherwise. Each file's fields are listed in
// the order its insert binds them.
struct Field {
    const char* column;
    bool required;
    bool numeric = false;
    const char* stored = nullptr;
};

const std::vector<Field>& fieldsOf(Table table) {
    static const std::vector<Field> airports = {{"id", true, true},
                                                {"ident", true},
                                                {"type", true},
                                                {"name", true},
                                                {"latitude_deg", true, true, "latitude"},
                                                {"longitude_deg", true, true, "longitude"},
                                                {"elevation_ft", false, true},
                                                {"iso_country", false},
                                                {"iso_region", false},
                                                {"municipality", false},
                                                {"gps_code", false},
                                                {"iata_code", false},
                                                {"local_code", false},
                                                {"keywords", false}};
    static const std::vector<Field> navaids = {{"id", true, true},
                                               {"ident", true},
                                               {"name", true},
                                               {"type", true},
                                               {"frequency_khz", false, true},
                                               {"latitude_deg", true, true, "latitude"},
                                               {"longitude_deg", true, true, "longitude"},
                                               {"elevation_ft", false, true},
                                               {"iso_country", false},
                                               {"associated_airport", false}};
    static const std::vector<Field> runways = {{"id", true, true},
                                               {"airport_ref", false, true},
                                               {"airport_ident", true},
                                               {"length_ft", false, true},
                                               {"width_ft", false, true},
                                               {"surface", false},
                                               {"lighted", false, true},
                                               {"closed", false, true},
                                               {"le_ident", false},
                                               {"he_ident", false},
                                               {"le_latitude_deg", false, true},
                                               {"le_longitude_deg", false, true},
                                               {"le_elevation_ft", false, true},
                                               {"le_heading_degT", false, true},
                                               {"le_displaced_threshold_ft", false, true},
                                               {"he_latitude_deg", false, true},
                                               {"he_longitude_deg", false, true},
                                               {"he_elevation_ft", false, true},
                                               {"he_heading_degT", false, true},
                                               {"he_displaced_threshold_ft", false, true}};
    static const std::vector<Field> frequencies = {
        {"id", true, true}, {"airport_ref", false, true}, {"airport_ident", true},
        {"type", true},     {"description", false},       {"frequency_mhz", true, true}};
    switch (table) {
    case Table::Airports:
        return airports;
    case Table::Navaids:
        return navaids;
    case Table::Runways:
        return runways;
    case Table::Frequencies:
        return frequencies;
    }
    return airports;
}

// What a figure of the files can be; a row with one outside is skipped,
// said by its column, as a plan refuses such a figure. The ids stay below
// 2^39 so that a place's row in the full-text index (placeRow) holds them.
constexpr double kMaxId = 549755813887.0; // 2^39 - 1
std::optional<std::pair<double, double>> rangeOf(std::string_view column) {
    static const std::map<std::string_view, std::pair<double, double>> ranges = {
        {"id", {0, kMaxId}},
        {"airport_ref", {0, kMaxId}},
        {"elevation_ft", {-1500, 30000}},
        {"frequency_khz", {1, 1e7}},
        {"length_ft", {0, 100000}},
        {"width_ft", {0, 10000}},
        {"lighted", {0, 1}},
        {"closed", {0, 1}},
        {"frequency_mhz", {0.001, 1000}},
        {"le_latitude_deg", {-90, 90}},
        {"le_longitude_deg", {-180, 180}},
        {"le_elevation_ft", {-1500, 30000}},
        {"le_heading_degT", {0, 360}},
        {"le_displaced_threshold_ft", {0, 20000}},
        {"he_latitude_deg", {-90, 90}},
        {"he_longitude_deg", {-180, 180}},
        {"he_elevation_ft", {-1500, 30000}},
        {"he_heading_degT", {0, 360}},
        {"he_displaced_threshold_ft", {0, 20000}}};
    const auto it = ranges.find(column);
    if (it == ranges.end())
        return std::nullopt;
    return it->second;
}

std::string tableName(Table table) {
    switch (table) {
    case Table::Airports:
        return "airports";
    case Table::Navaids:
        return "navaids";
    case Table::Runways:
        return "runways";
    case Table::Frequencies:
        return "frequencies";
    }
    return "airports";
}

// The insert of a row, its values bound in the order of fieldsOf(table).
std::string insertSql(Table table) {
    std::string columns, values;
    int parameter = 0;
    for (const Field& f : fieldsOf(table)) {
        if (parameter > 0) {
            columns += ", ";
            values += ", ";
        }
        columns += f.stored ? f.stored : f.column;
        values += "?" + std::to_string(++parameter);
    }
    return "INSERT INTO " + tableName(table) + "(" + columns + ") VALUES(" + values + ")";
}

std::set<std::string> setOf(const QStringList& list) {
    std::set<std::string> out;
    for (const QString& item : list)
        out.insert(item.toStdString());
    return out;
}

// Rows of one CSV kind into its table, with the words of airports and
// navaids into the full-text index.
class Importer {
public:
    Importer(sqlite3* db, Table table, const ImportOptions& options)
        : m_db(db), m_table(table), m_types(setOf(options.types)),
          m_countries(setOf(options.countries)), m_regions(setOf(options.regions)) {}

    QString header(const core::CsvHeader& header);
    void row(const std::vector<std::string>& fields, ImportResult& out);
    // False (the row skipped, counted by its reason) for a NUL byte in a
    // field or a figure out of its range.
    bool checked(const std::vector<std::string>& fields, ImportResult& out);
    // Writes the words of the rows read into the full-text index, in rowid
    // order: FTS5 keeps a run of ascending rowids in memory and writes it
    // once, where any other order makes it write at every step back.
    void finish();
    // The first write that failed (a full disk, an I/O error), if any.
    const QString& failure() const { return m_failure; }

private:
    void step(Statement& statement) {
        const int rc = statement.step();
        if (rc != SQLITE_DONE && rc != SQLITE_ROW && m_failure.isEmpty())
            m_failure = QString::fromUtf8(sqlite3_errmsg(m_db));
        statement.reset();
    }
    std::string_view value(const std::vector<std::string>& fields, std::size_t field) const {
        const int at = m_at[field];
        return at < 0 ? std::string_view() : std::string_view(fields[static_cast<std::size_t>(at)]);
    }
    void skip(ImportResult& out, const char* reason) { ++out.skipped[QString::fromLatin1(reason)]; }
    bool selected(std::string_view type, std::string_view country, std::string_view region) const;

    sqlite3* m_db;
    Table m_table;
    std::set<std::string> m_types, m_countries, m_regions;
    std::vector<int> m_at; // CSV column of each of fieldsOf(m_table)
    std::unique_ptr<Statement> m_insert, m_remove, m_unindex, m_index;
    std::vector<std::pair<qint64, std::string>> m_words; // row -1: superseded
    std::unordered_map<qint64, std::size_t> m_pending;   // a place's entry in m_words
    QString m_failure;
};

void Importer::finish() {
    std::sort(m_words.begin(), m_words.end());
    for (const auto& [row, words] : m_words) {
        if (row < 0)
            continue;
        m_index->bind(1, row);
        m_index->bind(2, words);
        step(*m_index);
    }
}

QString Importer::header(const core::CsvHeader& header) {
    for (const Field& f : fieldsOf(m_table)) {
        m_at.push_back(header.column(f.column));
        if (f.required && m_at.back() < 0)
            return QStringLiteral("the header has no column \"%1\"").arg(QLatin1String(f.column));
    }
    const std::string table = tableName(m_table);
    m_insert = std::make_unique<Statement>(m_db, insertSql(m_table));
    m_remove = std::make_unique<Statement>(m_db, "DELETE FROM " + table + " WHERE id = ?1");
    m_unindex = std::make_unique<Statement>(m_db, "DELETE FROM places WHERE rowid = ?1");
    m_index = std::make_unique<Statement>(m_db, "INSERT INTO places(rowid, words) VALUES(?1, ?2)");
    if (!*m_insert || !*m_remove || !*m_unindex || !*m_index)
        return QString::fromUtf8(sqlite3_errmsg(m_db));
    return {};
}

bool Importer::selected(std::string_view type, std::string_view country,
                        std::string_view region) const {
    auto in = [](const std::set<std::string>& set, std::string_view v) {
        return set.empty() || set.count(std::string(v)) > 0;
    };
    return in(m_types, type) && in(m_countries, country) &&
           (m_table != Table::Airports || in(m_regions, region));
}

bool Importer::checked(const std::vector<std::string>& fields, ImportResult& out) {
    const auto& layout = fieldsOf(m_table);
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const std::string_view v = value(fields, i);
        // A NUL would end the text wherever it is shown, and what follows it.
        if (v.find('\0') != std::string_view::npos) {
            skip(out, "a field holds a NUL byte");
            return false;
        }
        const auto range = layout[i].numeric ? rangeOf(layout[i].column) : std::nullopt;
        const auto number = range ? numberOf(v) : std::nullopt;
        if (number && !(*number >= range->first && *number <= range->second)) {
            ++out.skipped[QStringLiteral("%1 out of range").arg(QLatin1String(layout[i].column))];
            return false;
        }
    }
    return true;
}

void Importer::row(const std::vector<std::string>& fields, ImportResult& out) {
    const auto& layout = fieldsOf(m_table);
    auto named = [&](const char* column) {
        for (std::size_t i = 0; i < layout.size(); ++i) {
            if (std::strcmp(layout[i].column, column) == 0)
                return value(fields, i);
        }
        return std::string_view();
    };
    const auto id = numberOf(named("id"));
    if (!id || *id != std::floor(*id)) {
        skip(out, "no numeric id");
        return;
    }
    if (!checked(fields, out))
        return;
    const qint64 rowId = static_cast<qint64>(*id);
    std::string words;
    int size = 0;
    if (m_table == Table::Airports || m_table == Table::Navaids) {
        const std::string_view type = named("type");
        if (m_table == Table::Airports && type == "closed") {
            skip(out, "closed");
            return;
        }
        if (!selected(type, named("iso_country"), named("iso_region"))) {
            skip(out, "not selected (type, country or region)");
            return;
        }
        const auto lat = numberOf(named("latitude_deg"));
        const auto lon = numberOf(named("longitude_deg"));
        if (named("ident").empty()) {
            skip(out, "no identifier");
            return;
        }
        if (!lat || !lon || !core::isValidLatitude(*lat) || !(std::fabs(*lon) <= 180)) {
            skip(out, "position missing or out of range");
            return;
        }
        if (m_table == Table::Airports) {
            (words = named("name")) += ' ';
            words += named("municipality");
            // Other names ("Genève", an old name, a local spelling) are found
            // as the name is.
            (words += ' ') += named("keywords");
            size = sizeOrder(Kind::Airport, QString::fromUtf8(type.data(), int(type.size())));
        } else {
            words = named("name");
            size = sizeOrder(Kind::Navaid, QString());
        }
    } else if (named("airport_ident").empty()) {
        skip(out, "no airport");
        return;
    } else if (m_table == Table::Frequencies) {
        const auto mhz = numberOf(named("frequency_mhz"));
        if (!mhz || !(*mhz > 0)) {
            skip(out, "frequency missing");
            return;
        }
    }
    Statement& insert = *m_insert;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const int parameter = static_cast<int>(i) + 1;
        const std::string_view v = value(fields, i);
        if (layout[i].numeric)
            insert.bindOrNull(parameter, numberOf(v));
        else
            sqlite3_bind_text(insert.get(), parameter, v.data(), static_cast<int>(v.size()),
                              SQLITE_TRANSIENT);
    }
    // A row the database holds already (the same source id) is replaced.
    bool replaced = false;
    const int rc = insert.step();
    if (rc == SQLITE_CONSTRAINT) {
        sqlite3_reset(insert.get()); // the values stay bound
        m_remove->bind(1, rowId);
        step(*m_remove);
        step(insert);
        replaced = true;
    } else if (rc != SQLITE_DONE && m_failure.isEmpty()) {
        m_failure = QString::fromUtf8(sqlite3_errmsg(m_db));
    }
    insert.reset();
    ++(replaced ? out.replaced : out.added);
    if (m_table != Table::Airports && m_table != Table::Navaids)
        return;
    const Kind kind = m_table == Table::Navaids ? Kind::Navaid : Kind::Airport;
    if (replaced) { // its words went in under the size it had then
        for (int old = 0; old < kSizeClasses; ++old) {
            m_unindex->bind(1, placeRow(old, rowId, kind));
            step(*m_unindex);
        }
    }
    // The same place twice in one file: its later row wins, words too.
    const qint64 place = rowId * 2 + (kind == Kind::Navaid ? 1 : 0);
    if (const auto it = m_pending.find(place); it != m_pending.end())
        m_words[it->second].first = -1;
    m_pending[place] = m_words.size();
    m_words.emplace_back(placeRow(size, rowId, kind), std::move(words));
}

} // namespace

QString kindText(Kind kind) {
    return kind == Kind::Airport ? QStringLiteral("airport") : QStringLiteral("navaid");
}

QString frequencyText(double khz) {
    if (khz >= 10000)
        return QString::fromStdString(core::formatFixed(khz / 1000, 2));
    return QStringLiteral("%1 kHz").arg(core::numberText(khz));
}

QString placeDetail(const Place& p) {
    if (p.kind == Kind::Navaid)
        return p.frequencyKhz > 0 ? p.type + QLatin1Char(' ') + frequencyText(p.frequencyKhz)
                                  : p.type;
    if (p.runwayLengthFt <= 0)
        return {};
    return p.runwayEnds.isEmpty()
               ? QStringLiteral("runway %1 ft").arg(qRound(p.runwayLengthFt))
               : QStringLiteral("runway %1 %2 ft").arg(p.runwayEnds).arg(qRound(p.runwayLengthFt));
}

QString placeLabel(const Place& p) {
    QStringList where;
    if (!p.municipality.isEmpty())
        where << p.municipality;
    if (!p.country.isEmpty())
        where << p.country;
    if (p.elevationFt)
        where << QStringLiteral("%1 ft").arg(qRound(*p.elevationFt));
    QString label = p.ident + QStringLiteral("  ") + p.name;
    if (p.kind == Kind::Navaid)
        label += QLatin1Char(' ') + placeDetail(p);
    else if (const QString runway = placeDetail(p); !runway.isEmpty())
        where << runway;
    if (!where.isEmpty())
        label += QStringLiteral(" \u2014 ") + where.join(QStringLiteral(", "));
    return label;
}

NavDatabase::~NavDatabase() {
    sqlite3_close_v2(m_db);
}

namespace {

// A database made by an earlier Skyvane lacks the columns added since (the
// runway ends, the airports' other names): they are added, empty, before the
// first write, so its imports keep working and what it holds stays.
bool addMissingColumns(sqlite3* db) {
    for (const Table table : {Table::Airports, Table::Runways}) {
        const std::string name = tableName(table);
        std::set<QString> have;
        {
            Statement columns(db, "PRAGMA table_info(" + name + ")");
            while (columns && columns.step() == SQLITE_ROW)
                have.insert(columns.text(1).toLower());
        }
        for (const Field& f : fieldsOf(table)) {
            const char* column = f.stored ? f.stored : f.column;
            if (have.count(QString::fromLatin1(column).toLower()))
                continue;
            const std::string sql =
                "ALTER TABLE " + name + " ADD COLUMN " + column + (f.numeric ? " REAL" : " TEXT");
            if (!exec(db, sql.c_str()))
                return false;
        }
    }
    return true;
}

// Opens the file and reads its schema, which is where a file that is no
// database, or a damaged one, shows; a writable one gets its tables.
int openAndCheck(const std::string& path, bool writable, sqlite3** db) {
    const int flags = writable ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
    if (sqlite3_open_v2(path.c_str(), db, flags, nullptr) != SQLITE_OK)
        return SQLITE_CANTOPEN;
    sqlite3_busy_timeout(*db, 5000);
    const int rc =
        sqlite3_exec(*db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    if (writable && (!exec(*db, kSchema) || !addMissingColumns(*db)))
        return sqlite3_errcode(*db);
    return SQLITE_OK;
}

// A search only reads: a damaged file stays as it is. Only a write, which
// needs a database there, moves it out of the way, under a name of its own
// so no earlier copy is lost, and with its journals, which a new database
// must never pick up. True when it was moved.
bool setDamagedAside(const std::string& path, bool writable, QString* error) {
    const QString name = QFile::decodeName(QByteArray::fromStdString(path));
    QString said;
    std::optional<std::string> aside;
    if (!writable) {
        said = QStringLiteral("The navigation database %1 is damaged or not a database; Skyvane "
                              "goes on without it and leaves it as it is.")
                   .arg(name);
    } else if (!(aside = core::putAside(path, ".damaged", {"-journal", "-wal", "-shm"}))) {
        said = QStringLiteral("The navigation database %1 is damaged and cannot be moved aside; "
                              "nothing was written.")
                   .arg(name);
    } else {
        said = QStringLiteral("The navigation database %1 was damaged; it was put aside as %2 and "
                              "a new one made.")
                   .arg(name, QFile::decodeName(QByteArray::fromStdString(*aside)));
    }
    if (error)
        *error = said;
    return aside.has_value();
}

} // namespace

std::unique_ptr<NavDatabase> NavDatabase::open(const std::string& path, bool writable,
                                               QString* error) {
    const bool exists = QFile::exists(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!writable && !exists)
        return nullptr;
    sqlite3* db = nullptr;
    int rc = SQLITE_OK;
    // Read first, even to write: a writable connection would already act on
    // the journals beside a damaged file.
    if (exists) {
        rc = openAndCheck(path, false, &db);
        if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT) {
            sqlite3_close_v2(db);
            db = nullptr;
            if (!setDamagedAside(path, writable, error))
                return nullptr;
        }
    }
    if (writable) {
        sqlite3_close_v2(db);
        db = nullptr;
        rc = openAndCheck(path, true, &db);
    }
    if (rc != SQLITE_OK) {
        if (error && error->isEmpty())
            *error = QStringLiteral("Cannot open the navigation database %1: %2")
                         .arg(QFile::decodeName(QByteArray::fromStdString(path)),
                              QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory"));
        sqlite3_close_v2(db);
        return nullptr;
    }
    return std::unique_ptr<NavDatabase>(new NavDatabase(db));
}

void NavDatabase::setBusyTimeout(int milliseconds) {
    sqlite3_busy_timeout(m_db, milliseconds);
}

std::optional<QString> NavDatabase::note(const char* key) const {
    Statement s(m_db, "SELECT value FROM notes WHERE key = ?1");
    if (!s)
        return std::nullopt;
    s.bind(1, std::string(key));
    if (s.step() != SQLITE_ROW)
        return std::nullopt;
    return s.text(0);
}

bool NavDatabase::setNote(const char* key, const QString& value) {
    Statement s(m_db, "INSERT OR REPLACE INTO notes(key, value) VALUES(?1, ?2)");
    if (!s)
        return false;
    s.bind(1, std::string(key));
    s.bind(2, value);
    return s.step() == SQLITE_DONE;
}

bool NavDatabase::holdWriters(QString* error) {
    if (exec(m_db, "BEGIN IMMEDIATE"))
        return true;
    if (error)
        *error = sqlite3_errcode(m_db) == SQLITE_BUSY
                     ? QStringLiteral("the navigation database is busy: another Skyvane is "
                                      "importing into it")
                     : QString::fromUtf8(sqlite3_errmsg(m_db));
    return false;
}

std::vector<Place> NavDatabase::search(const QString& typed, int limit,
                                       const std::optional<core::GeoPoint>& near,
                                       QString* error) const {
    std::vector<Place> out;
    const QString text = typed.simplified();
    if (text.isEmpty() || limit <= 0)
        return out;
    std::set<std::pair<int, qint64>> seen;
    auto failed = [&] {
        if (error && error->isEmpty())
            *error = QStringLiteral("the navigation database cannot be searched: %1")
                         .arg(QString::fromUtf8(sqlite3_errmsg(m_db)));
    };
    auto collect = [&](Statement& s, int group) {
        int rc = SQLITE_ROW;
        while ((rc = s.step()) == SQLITE_ROW) {
            Place p = placeOf(s, group);
            if (near)
                p.distanceNm = course::calcCourseAndDistance(*near, p.position).distanceNm;
            if (seen.insert({int(p.kind), p.id}).second)
                out.push_back(std::move(p));
        }
        if (rc != SQLITE_DONE)
            failed();
    };
    if (!text.contains(QLatin1Char(' '))) {
        Statement exact(m_db, std::string("SELECT ") + kAirportColumns +
                                  " FROM airports WHERE ident = ?1 OR gps_code = ?1 OR "
                                  "iata_code = ?1 OR local_code = ?1 UNION ALL SELECT " +
                                  kNavaidColumns + " FROM navaids WHERE ident = ?1");
        if (!exact)
            failed();
        else {
            exact.bind(1, text);
            collect(exact, 0);
        }
        Statement prefix(m_db, std::string("SELECT * FROM (SELECT ") + kAirportColumns +
                                   " FROM airports WHERE (ident >= ?1 AND ident < ?2) OR "
                                   "(gps_code >= ?1 AND gps_code < ?2) OR (iata_code >= ?1 AND "
                                   "iata_code < ?2) OR (local_code >= ?1 AND local_code < ?2) "
                                   "UNION ALL SELECT " +
                                   kNavaidColumns +
                                   " FROM navaids WHERE ident >= ?1 AND ident < ?2) LIMIT " +
                                   std::to_string(limit * 4));
        if (!prefix)
            failed();
        else {
            prefix.bind(1, text);
            prefix.bind(2, prefixEnd(text));
            collect(prefix, 1);
        }
    }
    // Codes fill the list first; words come after them.
    const QString query =
        out.size() < static_cast<std::size_t>(limit) ? wordsQuery(text) : QString();
    if (!query.isEmpty()) {
        // In rowid order: the larger places first (see the schema).
        Statement words(m_db, "SELECT rowid FROM places WHERE places MATCH ?1 LIMIT " +
                                  std::to_string(limit * 2));
        Statement airport(m_db, std::string("SELECT ") + kAirportColumns +
                                    " FROM airports WHERE id = ?1");
        Statement navaid(m_db,
                         std::string("SELECT ") + kNavaidColumns + " FROM navaids WHERE id = ?1");
        if (!words || !airport || !navaid)
            failed();
        else {
            words.bind(1, query);
            int rc = SQLITE_ROW;
            while ((rc = words.step()) == SQLITE_ROW) {
                const qint64 rowid = sqlite3_column_int64(words.get(), 0) % kSizeStep;
                Statement& one = rowid % 2 == 0 ? airport : navaid;
                one.bind(1, rowid / 2);
                collect(one, 2);
                one.reset();
            }
            if (rc != SQLITE_DONE)
                failed();
        }
    }
    std::stable_sort(out.begin(), out.end(), better);
    if (out.size() > static_cast<std::size_t>(limit))
        out.resize(static_cast<std::size_t>(limit));
    return out;
}

std::optional<AirportFacts> NavDatabase::airportFacts(const QString& typed) const {
    const QString ident = typed.trimmed();
    if (ident.isEmpty())
        return std::nullopt;
    Statement airport(m_db, std::string("SELECT ") + kAirportColumns +
                                " FROM airports WHERE ident = ?1 OR gps_code = ?1 OR "
                                "iata_code = ?1 OR local_code = ?1 ORDER BY ident = ?1 DESC, "
                                "gps_code = ?1 DESC, id LIMIT 1");
    if (!airport)
        return std::nullopt;
    airport.bind(1, ident);
    if (airport.step() != SQLITE_ROW)
        return std::nullopt;
    AirportFacts facts;
    facts.airport = placeOf(airport, 0);
    Statement runway(m_db, "SELECT le_ident, he_ident, length_ft, width_ft, surface FROM runways "
                           "WHERE airport_ident = ?1 AND length_ft > 0 AND NOT ifnull(closed, 0) "
                           "ORDER BY length_ft DESC, id LIMIT 1");
    if (runway) {
        runway.bind(1, facts.airport.ident);
        if (runway.step() == SQLITE_ROW) {
            Runway r;
            const QString low = runway.text(0), high = runway.text(1);
            r.ends = high.isEmpty() ? low : low + QLatin1Char('/') + high;
            r.lengthFt = sqlite3_column_double(runway.get(), 2);
            if (sqlite3_column_type(runway.get(), 3) != SQLITE_NULL)
                r.widthFt = sqlite3_column_double(runway.get(), 3);
            r.surface = runway.text(4);
            facts.longestRunway = r;
        }
    }
    Statement frequencies(m_db, "SELECT type, description, frequency_mhz FROM frequencies "
                                "WHERE airport_ident = ?1 AND frequency_mhz > 0 "
                                "ORDER BY type, frequency_mhz, id");
    if (frequencies) {
        frequencies.bind(1, facts.airport.ident);
        while (frequencies.step() == SQLITE_ROW) {
            facts.frequencies.push_back({frequencies.text(0), frequencies.text(1).simplified(),
                                         sqlite3_column_double(frequencies.get(), 2)});
        }
    }
    return facts;
}

namespace {

std::optional<double> columnNumber(const Statement& s, int column) {
    if (sqlite3_column_type(s.get(), column) == SQLITE_NULL)
        return std::nullopt;
    return sqlite3_column_double(s.get(), column);
}

// The end whose columns begin at `first` (ident, heading, latitude,
// longitude, elevation, displaced threshold).
RunwayEnd endOf(const Statement& s, int first, const RunwayEnd& runway) {
    RunwayEnd end = runway;
    end.ident = s.text(first).trimmed();
    end.headingDegT = columnNumber(s, first + 1);
    const auto lat = columnNumber(s, first + 2), lon = columnNumber(s, first + 3);
    if (lat && lon)
        end.threshold = core::GeoPoint{*lat, *lon};
    end.elevationFt = columnNumber(s, first + 4);
    end.displacedThresholdFt = columnNumber(s, first + 5);
    return end;
}

} // namespace

std::vector<RunwayEnd> NavDatabase::runwayEnds(const QString& airportIdent) const {
    std::vector<RunwayEnd> out;
    // A database of an earlier Skyvane opened only to read has no such
    // columns: then there are no ends to tell.
    Statement s(m_db, "SELECT length_ft, width_ft, surface, lighted, le_ident, le_heading_degT, "
                      "le_latitude_deg, le_longitude_deg, le_elevation_ft, "
                      "le_displaced_threshold_ft, he_ident, he_heading_degT, he_latitude_deg, "
                      "he_longitude_deg, he_elevation_ft, he_displaced_threshold_ft FROM runways "
                      "WHERE airport_ident = ?1 AND NOT ifnull(closed, 0) "
                      "ORDER BY length_ft DESC, id");
    if (!s)
        return out;
    s.bind(1, airportIdent.trimmed());
    while (s.step() == SQLITE_ROW) {
        RunwayEnd runway;
        runway.lengthFt = columnNumber(s, 0).value_or(0);
        runway.widthFt = columnNumber(s, 1);
        runway.surface = s.text(2);
        runway.lighted = columnNumber(s, 3).value_or(0) != 0;
        for (int first : {4, 10}) {
            RunwayEnd end = endOf(s, first, runway);
            if (!end.ident.isEmpty())
                out.push_back(std::move(end));
        }
    }
    return out;
}

ImportResult NavDatabase::import(Table table, const std::string& csv, const ImportOptions& options,
                                 const std::function<void(std::size_t, std::size_t)>& progress) {
    ImportResult out;
    // Taking the write lock first: a second copy importing waits here, not
    // half-way through.
    if (!exec(m_db, "BEGIN IMMEDIATE")) {
        const int code = sqlite3_errcode(m_db);
        out.error = code == SQLITE_BUSY
                        ? QStringLiteral("the navigation database is busy: another Skyvane is "
                                         "importing into it")
                        : QString::fromUtf8(sqlite3_errmsg(m_db));
        return out;
    }
    const std::string name = tableName(table);
    bool empty = false;
    {
        Statement any(m_db, "SELECT 1 FROM " + name + " LIMIT 1");
        empty = any && any.step() == SQLITE_DONE;
    }
    if (empty) {
        for (const std::string& index : indexesOf().at(name))
            exec(m_db, ("DROP INDEX IF EXISTS " + index).c_str());
    }
    Importer importer(m_db, table, options);
    const core::CsvRead read = core::readCsv(
        csv, [&](const core::CsvHeader& header) { return importer.header(header); },
        [&](const std::vector<std::string>& fields) { importer.row(fields, out); }, progress);
    if (read.ok)
        importer.finish();
    QString failure = read.ok ? importer.failure() : read.error;
    if (failure.isEmpty() && empty && !exec(m_db, kSchema)) // the indexes again
        failure = QString::fromUtf8(sqlite3_errmsg(m_db));
    if (failure.isEmpty() && !exec(m_db, "COMMIT"))
        failure = QString::fromUtf8(sqlite3_errmsg(m_db));
    if (!failure.isEmpty()) {
        exec(m_db, "ROLLBACK");
        const int rows = read.rows;
        out = ImportResult{};
        out.rows = rows;
        out.error = failure;
        return out;
    }
    out.rows = read.rows;
    out.ok = true;
    return out;
}

NavData::NavData(const std::string& userPath, const std::optional<std::string>& installedPath)
    : m_userPath(userPath) {
    m_user = NavDatabase::open(userPath, false, &m_problem);
    if (installedPath && *installedPath != userPath)
        m_installed = NavDatabase::open(*installedPath, false, &m_problem);
}

NavData NavData::of(const core::DataPlaces& places) {
    return NavData(places.userFile(QLatin1String(kFileName)),
                   places.installedFile(QLatin1String(kFileName)));
}

const NavDatabase* NavData::user() const {
    // A read-only open changes nothing, so a file not there (or damaged)
    // at the start is simply tried again.
    if (!m_user && !m_userPath.empty() &&
        QFile::exists(QFile::decodeName(QByteArray::fromStdString(m_userPath))))
        m_user = NavDatabase::open(m_userPath, false);
    return m_user.get();
}

std::optional<AirportFacts> NavData::airportFacts(const QString& ident) const {
    for (const NavDatabase* db : {user(), static_cast<const NavDatabase*>(m_installed.get())}) {
        if (db) {
            if (auto facts = db->airportFacts(ident))
                return facts;
        }
    }
    return std::nullopt;
}

std::vector<RunwayEnd> NavData::runwayEnds(const QString& airportIdent) const {
    for (const NavDatabase* db : {user(), static_cast<const NavDatabase*>(m_installed.get())}) {
        if (db) {
            if (auto ends = db->runwayEnds(airportIdent); !ends.empty())
                return ends;
        }
    }
    return {};
}

std::vector<Place> NavData::search(const QString& text, int limit,
                                   const std::optional<core::GeoPoint>& near,
                                   QString* error) const {
    // An airport is the same one in both by its code (the starter's ids are
    // its source's own, not OurAirports'), a navaid by its OurAirports id
    // (navaids share codes).
    auto key = [](const Place& p) {
        return p.kind == Kind::Airport ? QStringLiteral("A") + p.ident.toUpper()
                                       : QStringLiteral("N%1").arg(p.id);
    };
    std::vector<Place> all;
    std::set<QString> fromUser;
    if (const NavDatabase* own = user()) {
        all = own->search(text, limit, near, error);
        for (const Place& p : all)
            fromUser.insert(key(p));
    }
    if (m_installed) {
        for (Place& p : m_installed->search(text, limit, near, error)) {
            if (!fromUser.count(key(p)))
                all.push_back(std::move(p));
        }
    }
    std::stable_sort(all.begin(), all.end(), better);
    if (all.size() > static_cast<std::size_t>(limit))
        all.resize(static_cast<std::size_t>(limit));
    return all;
}

} // namespace navdb
