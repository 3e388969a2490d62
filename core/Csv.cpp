#include "core/Csv.h"

#include <csv.h>

#include <algorithm>

namespace core {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::size_t kChunk = 1 << 20;

// libcsv hands over fields and row ends through C callbacks; this gathers
// them into rows.
struct Reader {
    const std::function<QString(const CsvHeader&)>& onHeader;
    const std::function<void(const std::vector<std::string>&)>& onRow;
    std::vector<std::string> row;
    std::size_t width = 0;
    bool header = true;
    int rows = 0;
    QString error;

    void endRow() {
        if (!error.isEmpty()) {
            row.clear();
            return;
        }
        if (header) {
            header = false;
            width = row.size();
            error = onHeader(CsvHeader(row));
        } else if (row.size() != width) {
            error = QStringLiteral("row %1 has %2 fields, the header %3")
                        .arg(rows + 2)
                        .arg(row.size())
                        .arg(width);
        } else {
            ++rows;
            onRow(row);
        }
        row.clear();
    }
};

void onField(void* data, std::size_t size, void* reader) {
    static_cast<Reader*>(reader)->row.emplace_back(static_cast<const char*>(data), size);
}

void onRowEnd(int, void* reader) {
    static_cast<Reader*>(reader)->endRow();
}

} // namespace

int CsvHeader::column(std::string_view name) const {
    const auto it = std::find(m_names.begin(), m_names.end(), name);
    return it == m_names.end() ? -1 : static_cast<int>(it - m_names.begin());
}

CsvRead readCsv(std::string_view bytes, const std::function<QString(const CsvHeader&)>& onHeader,
                const std::function<void(const std::vector<std::string>&)>& onRow,
                const std::function<void(std::size_t, std::size_t)>& progress) {
    CsvRead out;
    Reader reader{onHeader, onRow, {}, 0, true, 0, {}};
    // Spreadsheet programs begin the UTF-8 CSV they save with a byte-order
    // mark; it is no part of the first column's name.
    const std::size_t bomBytes = bytes.substr(0, kBom.size()) == kBom ? kBom.size() : 0;
    const std::string_view text = bytes.substr(bomBytes);
    csv_parser parser{};
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        out.error = QStringLiteral("the CSV reader could not start");
        return out;
    }
    std::size_t parsed = 0;
    bool complete = true;
    while (parsed < text.size() && reader.error.isEmpty()) {
        const std::size_t want = std::min(kChunk, text.size() - parsed);
        const std::size_t got =
            csv_parse(&parser, text.data() + parsed, want, onField, onRowEnd, &reader);
        parsed += got;
        if (got != want) {
            complete = false;
            break;
        }
        if (progress)
            progress(parsed + bomBytes, bytes.size());
    }
    if (complete && reader.error.isEmpty())
        complete = csv_fini(&parser, onField, onRowEnd, &reader) == 0;
    if (!complete && reader.error.isEmpty()) {
        reader.error = QStringLiteral("it is not valid CSV (%1, near byte %2)")
                           .arg(QString::fromLatin1(csv_strerror(csv_error(&parser))))
                           .arg(parsed + bomBytes);
    }
    csv_free(&parser);
    if (reader.header && reader.error.isEmpty())
        reader.error = QStringLiteral("it is empty");
    out.rows = reader.rows;
    out.error = reader.error;
    out.ok = reader.error.isEmpty();
    return out;
}

} // namespace core
