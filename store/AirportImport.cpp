#include "store/AirportImport.h"

#include "core/Csv.h"
#include "core/NumberText.h"
#include "core/Text.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace store {
namespace {

struct Columns {
    int code = -1, type = -1, lat = -1, lon = -1, country = -1, region = -1;
};

SkipReason reasonFor(IdProblem problem) {
    switch (problem) {
    case IdProblem::Empty:
        return SkipReason::EmptyCode;
    case IdProblem::WhiteSpace:
        return SkipReason::WhiteSpace;
    case IdProblem::NotThreeChars:
        return SkipReason::NotThreeChars;
    case IdProblem::Separator:
        return SkipReason::Separator;
    case IdProblem::NotLatin1:
        return SkipReason::NotLatin1;
    case IdProblem::None:
        break;
    }
    return SkipReason::NotSelected;
}

// Judges one data row: a record for the file, or the reason it is left out.
void take(const ImportOptions& options, const Columns& at, const std::vector<std::string>& fields,
          ImportRead& out) {
    auto field = [&fields](int index) { return fields[static_cast<std::size_t>(index)]; };
    const QString type = QString::fromStdString(field(at.type));
    if (type == QLatin1String("closed") || !options.types.contains(type) ||
        (!options.countries.isEmpty() &&
         !options.countries.contains(QString::fromStdString(field(at.country)))) ||
        (!options.regions.isEmpty() &&
         !options.regions.contains(QString::fromStdString(field(at.region))))) {
        ++out.skipped[SkipReason::NotSelected];
        return;
    }
    const QString code = QString::fromUtf8(field(at.code).c_str());
    if (const IdProblem problem = airportIdProblem(code); problem != IdProblem::None) {
        ++out.skipped[reasonFor(problem)];
        return;
    }
    const auto lat = core::parseNumber(field(at.lat));
    const auto lon = core::parseNumber(field(at.lon));
    if (!lat || !lon || !core::isValidLatitude(*lat) || std::fabs(*lon) > 180) {
        ++out.skipped[SkipReason::BadPosition];
        return;
    }
    out.airports.push_back({*core::toLatin1(code), core::GeoPoint{*lat, *lon}});
}

} // namespace

const char* skipReasonText(SkipReason reason) {
    switch (reason) {
    case SkipReason::NotSelected:
        return "not selected (type, country or region, or closed)";
    case SkipReason::EmptyCode:
        return "no code in the chosen column";
    case SkipReason::NotThreeChars:
        return "code not 3 characters long";
    case SkipReason::Separator:
        return "code holds ':', ';' or ','";
    case SkipReason::WhiteSpace:
        return "code holds spaces";
    case SkipReason::NotLatin1:
        return "code holds characters the file cannot store";
    case SkipReason::BadPosition:
        return "position missing or out of range";
    }
    return "";
}

const QStringList& importCodeColumns() {
    static const QStringList columns = {QStringLiteral("ident"), QStringLiteral("iata_code"),
                                        QStringLiteral("local_code"), QStringLiteral("gps_code")};
    return columns;
}

ImportRead readOurAirports(const std::string& csv, const ImportOptions& options) {
    ImportRead out;
    Columns at;
    const core::CsvRead read = core::readCsv(
        csv,
        [&](const core::CsvHeader& header) {
            const QByteArray code = options.codeColumn.toUtf8();
            const std::pair<int*, const char*> wanted[] = {
                {&at.code, code.constData()}, {&at.type, "type"},
                {&at.lat, "latitude_deg"},    {&at.lon, "longitude_deg"},
                {&at.country, "iso_country"}, {&at.region, "iso_region"}};
            for (const auto& [index, name] : wanted) {
                *index = header.column(name);
                if (*index < 0)
                    return QStringLiteral("the header has no column \"%1\"")
                        .arg(QLatin1String(name));
            }
            return QString();
        },
        [&](const std::vector<std::string>& fields) { take(options, at, fields, out); });
    if (!read.ok) {
        out = ImportRead{};
        out.error = read.error;
        return out;
    }
    out.rows = read.rows;
    out.ok = true;
    return out;
}

} // namespace store
