#include "store/Airports.h"

#include "core/Files.h"
#include "core/NumberText.h"
#include "core/Text.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace store {
namespace {

constexpr std::size_t kChunk = 127;
constexpr std::size_t kNumberTextMax = 79;
constexpr std::int64_t kNone = -1;

// Where a separator stands in the text, in order: a search from any
// position is a binary search, so a search that starts over from 0 (as a
// malformed file makes the scan do) costs no more than one that goes on.
std::vector<std::int64_t> positionsOf(const std::string& text, char sep) {
    std::vector<std::int64_t> at;
    for (std::size_t i = text.find(sep); i != std::string::npos; i = text.find(sep, i + 1))
        at.push_back(static_cast<std::int64_t>(i));
    return at;
}

// The first position at or after `from`, kNone if none.
std::int64_t findFrom(const std::vector<std::int64_t>& at, std::int64_t from) {
    const auto it = std::lower_bound(at.begin(), at.end(), std::max<std::int64_t>(from, 0));
    return it == at.end() ? kNone : *it;
}

double numberOf(const std::string& text, std::int64_t first, std::int64_t endExclusive) {
    if (endExclusive <= first)
        return 0;
    const auto length =
        std::min<std::size_t>(static_cast<std::size_t>(endExclusive - first), kNumberTextMax);
    return core::parseLeadingNumber(
        std::string_view(text).substr(static_cast<std::size_t>(first), length));
}

} // namespace

std::string airportTextFromBytes(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
        std::string_view chunk = bytes.substr(at, kChunk);
        text.append(chunk.substr(0, chunk.find('\0')));
    }
    return text;
}

std::vector<std::string> parseAirportText(const std::string& text, AirportMap& index) {
    std::vector<std::string> ids;
    const auto semicolons = positionsOf(text, ';');
    const auto commas = positionsOf(text, ',');
    std::size_t c = 1;  // colon search position
    std::int64_t s = 1; // semicolon search position
    std::int64_t k = 0; // last comma; the search begins after it
    for (std::size_t colon = text.find(':', c); colon != std::string::npos;
         colon = text.find(':', c)) {
        const auto colonAt = static_cast<std::int64_t>(colon);
        const std::int64_t e = findFrom(semicolons, s);
        std::string id = text.substr(colon < 3 ? 0 : colon - 3, 3);
        k = findFrom(commas, k + 1);
        // The first record of an identifier wins: later ones need no numbers.
        if (index.find(id) == index.end()) {
            const double lat = e > colonAt ? numberOf(text, colonAt + 1, e) : 0;
            const double lon = k > e ? numberOf(text, e + 1, k) : 0;
            index.emplace(id, core::GeoPoint{lat, lon});
        }
        ids.push_back(std::move(id));
        c = colon + 1;
        s = e + 1;
    }
    return ids;
}

std::string airportRecord(const std::string& id, double latitudeDeg, double longitudeDeg) {
    return id + ':' + core::formatFixed(latitudeDeg, 6) + ';' + core::formatFixed(longitudeDeg, 6) +
           ',';
}

void appendAirportRecord(std::string& text, AirportMap& index, const std::string& id,
                         double latitudeDeg, double longitudeDeg) {
    text += airportRecord(id, latitudeDeg, longitudeDeg);
    index.emplace(id, core::GeoPoint{latitudeDeg, longitudeDeg});
}

IdProblem airportIdProblem(const QString& id) {
    if (id.isEmpty())
        return IdProblem::Empty;
    if (std::any_of(id.begin(), id.end(), [](QChar c) { return c.isSpace(); }))
        return IdProblem::WhiteSpace;
    if (id.size() != 3)
        return IdProblem::NotThreeChars;
    if (std::any_of(id.begin(), id.end(), [](QChar c) {
            return c == QLatin1Char(':') || c == QLatin1Char(';') || c == QLatin1Char(',');
        }))
        return IdProblem::Separator;
    if (!core::toLatin1(id))
        return IdProblem::NotLatin1;
    return IdProblem::None;
}

const core::GeoPoint* findAirport(const AirportMap& index, const QString& id) {
    if (const auto bytes = core::toLatin1(id)) {
        const auto exact = index.find(*bytes);
        if (exact != index.end())
            return &exact->second;
    }
    const QString wanted = core::caseKey(id);
    for (const auto& [key, pos] : index) {
        if (core::caseKey(core::fromLatin1(key)) == wanted)
            return &pos;
    }
    return nullptr;
}

} // namespace store
