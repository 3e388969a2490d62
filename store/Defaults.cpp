#include "store/Defaults.h"

#include <QFile>

#include "core/Files.h"
#include "core/NumberText.h"

#include <cmath>
#include <vector>

namespace store {
namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr std::size_t kNumberTextMax = 79;

struct LineEnd {
    std::size_t first; // where the line end starts
    std::size_t last;  // its last character
};

// The first line end that starts at or after `from`: CR LF, a lone CR (old
// Mac files) or an LF that no CR precedes.
std::optional<LineEnd> findLineEnd(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == '\r')
            return LineEnd{i, i + 1 < text.size() && text[i + 1] == '\n' ? i + 1 : i};
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return LineEnd{i, i};
    }
    return std::nullopt;
}

// A value's number, read from at most the first 79 characters as a field
// would hold them; none when it is beyond the double range, which no field
// could have saved.
std::optional<double> numberOf(std::string_view value) {
    const double number = core::parseLeadingNumber(value.substr(0, kNumberTextMax));
    if (!std::isfinite(number))
        return std::nullopt;
    return number;
}

std::vector<std::string_view> splitValues(std::string_view text) {
    std::vector<std::string_view> values;
    std::size_t colon = text.find(':', 1);
    std::size_t lineStart = 0; // e of the numbered steps
    bool atEnd = false;        // no line end left: values run to the end
    while (colon != npos) {
        std::size_t last = text.size() - 1; // inclusive end of the value
        if (!atEnd) {
            if (const auto end = findLineEnd(text, lineStart + 1)) {
                lineStart = end->first;
                last = end->last;
            } else {
                atEnd = true;
            }
        }
        std::string_view value;
        if (last > colon)
            value = text.substr(colon + 1, last - colon);
        while (!value.empty() && (value.back() == '\r' || value.back() == '\n'))
            value.remove_suffix(1);
        values.push_back(value);
        colon = text.find(':', colon + 1);
    }
    return values;
}

void appendLine(std::string& out, const char* key, const std::string& value) {
    out += key;
    out += value;
    out += "\r\n";
}

} // namespace

std::optional<Defaults> parseDefaults(std::string_view bytes) {
    std::string_view text = bytes.substr(0, kDefaultsReadLimit);
    text = text.substr(0, text.find('\0'));
    const auto values = splitValues(text);
    if (values.size() != 8)
        return std::nullopt;
    double numbers[7];
    for (int i = 0; i < 7; ++i) {
        const auto number = numberOf(values[static_cast<std::size_t>(i) + 1]);
        if (!number)
            return std::nullopt;
        numbers[i] = *number;
    }
    Defaults d;
    d.homeAirport = std::string(values[0]);
    d.homeLatitude = numbers[0];
    d.homeLongitude = numbers[1];
    d.tas = numbers[2];
    d.variation = numbers[3];
    d.magDeviation = numbers[4];
    d.gph = numbers[5];
    d.fuel = numbers[6];
    return d;
}

std::string formatDefaults(const Defaults& v) {
    std::string out;
    out.reserve(256);
    appendLine(out, "home_airport:", v.homeAirport);
    appendLine(out, "home_latitude:", core::formatFixed(v.homeLatitude, 6));
    appendLine(out, "home_longitude:", core::formatFixed(v.homeLongitude, 6));
    appendLine(out, "TAS:", core::formatFixed(v.tas, 6));
    appendLine(out, "Variation:", core::formatFixed(v.variation, 6));
    appendLine(out, "Magnetic Deviation:", core::formatFixed(v.magDeviation, 6));
    appendLine(out, "Galons/Hour:", core::formatFixed(v.gph, 6));
    appendLine(out, "Total Fuel:", core::formatFixed(v.fuel, 6));
    return out;
}

bool fitsDefaultsFile(const Defaults& values) {
    return formatDefaults(values).size() <= kDefaultsReadLimit;
}

bool loadsBack(const Defaults& values) {
    const std::string bytes = formatDefaults(values);
    const auto again = parseDefaults(bytes);
    return again && again->homeAirport == values.homeAirport && formatDefaults(*again) == bytes;
}

DefaultsLoad loadDefaultsFile(const core::DataPlaces& places, Defaults& values) {
    const QString name = QLatin1String(kDefaultsFileName);
    const std::string own = places.userFile(name);
    auto bytes = core::readFileBytes(own, kDefaultsReadLimit);
    // Until the pilot's first Save there is no file of their own: the one
    // installed with the program stands in, so a first start is no error. A
    // file of their own that cannot be read still is.
    if (!bytes && !QFile::exists(QFile::decodeName(QByteArray::fromStdString(own)))) {
        if (const auto installed = places.installedFile(name))
            bytes = core::readFileBytes(*installed, kDefaultsReadLimit);
    }
    if (!bytes)
        return DefaultsLoad::CannotOpen;
    auto parsed = parseDefaults(*bytes);
    if (!parsed)
        return DefaultsLoad::Malformed;
    values = std::move(*parsed);
    return DefaultsLoad::Loaded;
}

core::WriteStatus saveDefaultsFile(const core::DataPlaces& places, const Defaults& values) {
    const std::string path = places.userFile(QLatin1String(kDefaultsFileName));
    if (!core::makeParentFolder(path))
        return core::WriteStatus::CannotCreate;
    return core::writeFileSafely(path, formatDefaults(values));
}

} // namespace store
