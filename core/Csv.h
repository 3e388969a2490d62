#pragma once
// CSV files with a header row (RFC 4180, as OurAirports publishes its data),
// read with libcsv: quoted fields with commas, doubled quotes and line breaks,
// CR LF or LF rows, no line end at the end. A leading UTF-8 byte-order mark,
// as spreadsheet programs write one, is skipped.

#include <QString>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// The header row: a column's index by name.
class CsvHeader {
public:
    explicit CsvHeader(std::vector<std::string> names) : m_names(std::move(names)) {}
    // The index of the column, or -1.
    int column(std::string_view name) const;
    std::size_t size() const { return m_names.size(); }

private:
    std::vector<std::string> m_names;
};

struct CsvRead {
    bool ok = false;
    QString error; // why the bytes are not such a file, when not ok
    int rows = 0;  // data rows read
};

// Reads the bytes: onHeader gets the header and answers an error text (empty:
// go on), onRow every data row in order. A row whose field count differs from
// the header's, bytes that are not valid CSV, or no header make the read not
// ok; rows handed over before that stay handed over, so a caller that must
// take all or nothing keeps them until the end. progress, if given, is told
// the bytes read so far now and then.
CsvRead readCsv(std::string_view bytes, const std::function<QString(const CsvHeader&)>& onHeader,
                const std::function<void(const std::vector<std::string>&)>& onRow,
                const std::function<void(std::size_t done, std::size_t total)>& progress = {});

} // namespace core
