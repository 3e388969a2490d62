// Any bytes as one of OurAirports' four files imported into a scratch
// navigation database, and as a search text. A failed import leaves the
// database as it was (the same counts and the same answers); a search never
// fails on what is typed, and never returns more than asked.
#include "navdb/NavDatabase.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

const char* const kSeed =
    "\"id\",\"ident\",\"type\",\"name\",\"latitude_deg\",\"longitude_deg\",\"elevation_ft\","
    "\"continent\",\"iso_country\",\"iso_region\",\"municipality\",\"scheduled_service\","
    "\"gps_code\",\"iata_code\",\"local_code\",\"home_link\",\"wikipedia_link\",\"keywords\"\n"
    "1,\"LSZH\",\"large_airport\",\"Zürich Airport\",47.46,8.55,1416,\"EU\",\"CH\",\"CH-ZH\","
    "\"Zurich\",\"yes\",\"LSZH\",\"ZRH\",\"\",\"\",\"\",\"\"\n"
    "2,\"KORD\",\"large_airport\",\"Chicago O'Hare\",41.98,-87.9,672,\"NA\",\"US\",\"US-IL\","
    "\"Chicago\",\"yes\",\"KORD\",\"ORD\",\"ORD\",\"\",\"\",\"\"\n";

// What the database answers, to compare before and after a failed import.
std::string state(const navdb::NavDatabase& db) {
    std::string out;
    for (const char* text : {"zurich", "KORD", "o'hare", "a"}) {
        for (const navdb::Place& p : db.search(QString::fromLatin1(text), 50))
            out += p.ident.toStdString() + '|' + p.name.toStdString() + '\n';
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static std::unique_ptr<navdb::NavDatabase> db = [] {
        auto d = navdb::NavDatabase::open(":memory:", true);
        if (!d || !d->import(navdb::Table::Airports, kSeed, {}).ok)
            std::abort();
        return d;
    }();
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto table = static_cast<navdb::Table>(data[0] % 4);
    const std::string before = state(*db);
    const navdb::ImportResult result = db->import(table, bytes, {});
    if (!result.ok && state(*db) != before)
        std::abort();
    QString error;
    const auto found = db->search(QString::fromUtf8(bytes.data(), qsizetype(bytes.size())), 5,
                                  std::nullopt, &error);
    if (!error.isEmpty() || found.size() > 5)
        std::abort();
    for (const navdb::Place& p : found) {
        if (!(std::fabs(p.position.latitudeDeg) <= 90) ||
            !(std::fabs(p.position.longitudeDeg) <= 180) || p.name.contains(QChar(0)))
            std::abort();
    }
    return 0;
}
