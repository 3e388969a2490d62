#include "store/AirportImport.h"

#include "core/NumberText.h"
#include "core/Text.h"

#include <csv.h>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace store {
namespace {

struct Columns {
    int code = -1, type = -1, lat = -1, lon = -1, country = -1, region = -1;
};

// libcsv hands over fields and row ends through C callbacks; this gathers
// them into rows and judges each row as it ends.
struct Reader {
    const ImportOptions& options;
    ImportRead& out;
    std::vector<std::string> row;
    std::size_t width = 0; // the header's field count
    bool header = true;
    Columns at;
    QString error;

    void endRow();
    void take(const std::vector<std::string>& fields);
};

void onField(void* data, std::size_t size, void* reader) {
    static_cast<Reader*>(reader)->row.emplace_back(static_cast<const char*>(data), size);
}

void onRowEnd(int, void* reader) {
    static_cast<Reader*>(reader)->endRow();
}

void Reader::endRow() {
    if (!error.isEmpty()) {
        row.clear();
        return;
    }
    if (header) {
        header = false;
        width = row.size();
        auto find = [this](const char* name) {
            for (std::size_t i = 0; i < row.size(); ++i) {
                if (row[i] == name)
                    return static_cast<int>(i);
            }
            return -1;
        };
        at.code = find(options.codeColumn.toUtf8().constData());
        at.type = find("type");
        at.lat = find("latitude_deg");
        at.lon = find("longitude_deg");
        at.country = find("iso_country");
        at.region = find("iso_region");
        for (const auto& [index, name] : {std::pair{at.code, options.codeColumn},
                                          {at.type, QStringLiteral("type")},
                                          {at.lat, QStringLiteral("latitude_deg")},
                                          {at.lon, QStringLiteral("longitude_deg")},
                                          {at.country, QStringLiteral("iso_country")},
                                          {at.region, QStringLiteral("iso_region")}}) {
            if (index < 0) {
                error = QStringLiteral("the header has no column \"%1\"").arg(name);
                break;
            }
        }
    } else if (row.size() != width) {
        error = QStringLiteral("row %1 has %2 fields, the header %3")
                    .arg(out.rows + 2)
                    .arg(row.size())
                    .arg(width);
    } else {
        ++out.rows;
        take(row);
    }
    row.clear();
}

void Reader::take(const std::vector<std::string>& fields) {
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
    SkipReason reason = SkipReason::NotSelected;
    bool keep = false;
    switch (airportIdProblem(code)) {
    case IdProblem::Empty:
        reason = SkipReason::EmptyCode;
        break;
    case IdProblem::WhiteSpace:
        reason = SkipReason::WhiteSpace;
        break;
    case IdProblem::NotThreeChars:
        reason = SkipReason::NotThreeChars;
        break;
    case IdProblem::Separator:
        reason = SkipReason::Separator;
        break;
    case IdProblem::NotLatin1:
        reason = SkipReason::NotLatin1;
        break;
    case IdProblem::None: {
        const auto lat = core::parseNumber(field(at.lat));
        const auto lon = core::parseNumber(field(at.lon));
        if (!lat || !lon || !core::isValidLatitude(*lat) || std::fabs(*lon) > 180) {
            reason = SkipReason::BadPosition;
        } else {
            out.airports.push_back({*core::toLatin1(code), core::GeoPoint{*lat, *lon}});
            keep = true;
        }
        break;
    }
    }
    if (!keep)
        ++out.skipped[reason];
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
    Reader reader{options, out, {}, 0, true, {}, {}};
    // Spreadsheet programs begin the UTF-8 CSV they save with a byte-order
    // mark; it is no part of the first column's name.
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    const std::size_t bomBytes =
        std::string_view(csv).substr(0, kBom.size()) == kBom ? kBom.size() : 0;
    const std::string_view text = std::string_view(csv).substr(bomBytes);
    csv_parser parser{};
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        out.error = QStringLiteral("the CSV reader could not start");
        return out;
    }
    const std::size_t parsed =
        csv_parse(&parser, text.data(), text.size(), onField, onRowEnd, &reader);
    const bool complete =
        parsed == text.size() && csv_fini(&parser, onField, onRowEnd, &reader) == 0;
    if (!complete && reader.error.isEmpty()) {
        reader.error = QStringLiteral("it is not valid CSV (%1, near byte %2)")
                           .arg(QString::fromLatin1(csv_strerror(csv_error(&parser))))
                           .arg(parsed + bomBytes);
    }
    csv_free(&parser);
    if (reader.header && reader.error.isEmpty())
        reader.error = QStringLiteral("it is empty");
    if (!reader.error.isEmpty()) {
        out = ImportRead{};
        out.error = reader.error;
        return out;
    }
    out.ok = true;
    return out;
}

} // namespace store
