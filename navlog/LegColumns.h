#pragma once
// Every column a leg is shown in, in one table: the nav log window, its CSV,
// the stored log, the plan window, the plan's JSON and the kneeboard page all
// take their columns, headings and texts from here, so they cannot disagree.
// A new column is one entry of legColumns().
//
// Each entry says where it appears (a heading per output, null where that
// output leaves it out; a key where the stored log or the plan's JSON keeps
// it), how its text is made from a leg's figures (numbers by core::numberText,
// the leg dialog's rule), and what the totals row shows under it. The outputs
// list their columns in the table's order.

#include "navlog/TripLog.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace navlog {

// Where a leg is shown.
enum class Output {
    Log,   // the nav log window
    Csv,   // the nav log's and the plan's CSV
    Plan,  // the plan window
    Paper, // the kneeboard page, in the columns the pilot chooses
};

// What the totals row shows under a column. The CSV's totals row also says,
// under the reserve, how much lies above it and, under the problem, which
// legs are missing (AboveReserve and Missing show in the CSV only).
enum class ColumnTotal {
    None,
    Label, // "Total"
    Distance,
    TimeEnRoute,
    LastEta,
    FuelBurnt,
    FuelLeft,
    AboveReserve,
    Missing
};

// Where an entry's key is kept.
enum KeptIn : unsigned { kNotKept = 0, kLog = 1, kJson = 2 };

// A leg as a row shows it: its figures, its number from 1 and whether it
// lies below the reserve.
struct LegRow {
    const LegFigures& leg;
    int number = 0;
    bool belowReserve = false;
};

struct LegColumn {
    // Kept in the stored log and the plan's JSON under this key (kept says
    // which); null where neither keeps it.
    const char* key = nullptr;
    unsigned kept = kNotKept;
    // The value, one of: a figure, a text, a time, or a text made of others.
    double LegFigures::*number = nullptr;
    QString LegFigures::*text = nullptr;
    DayTime LegFigures::*time = nullptr;
    QString (*made)(const LegRow&, Output) = nullptr;
    bool figure = false;      // blank for a planned leg that could not be computed
    bool plannedOnly = false; // blank for the log's legs
    bool leftAligned = false; // text (places) rather than figures
    bool writeIn = false;     // left blank on paper for the pilot's hand
    bool phasedOnly = false;  // only for a plan flown in phases (climb, cruise, descent)
    ColumnTotal total = ColumnTotal::None;
    // Headings per output; null where that output leaves it out.
    const char* logHeading = nullptr;
    const char* csvHeading = nullptr;
    const char* planHeading = nullptr;
    const char* paperHeading = nullptr;
    const char* paperKey = nullptr;   // as --columns and the settings name it
    const char* paperTitle = nullptr; // in the list the pilot chooses from

    const char* heading(Output output) const;
    // The cell of a leg, as output shows it.
    QString cell(const LegRow& row, Output output) const;
    // What the totals row shows under it; empty for a trip without totals.
    QString totalCell(const Totals& totals, Output output) const;
};

// Every column, in the order all outputs use.
const std::vector<LegColumn>& legColumns();
// The columns one output shows, in order; phased: the trip's legs are a
// plan's climb, cruise and descent pieces, and their phase is shown.
std::vector<const LegColumn*> columnsOf(Output output, bool phased = false);
bool isPhased(const Trip& trip);
// The column kept under key (in the log or the JSON), or null.
const LegColumn* columnByKey(const char* key);
// The headings of one output's columns.
QStringList headingsOf(Output output, bool phased = false);
// A row of one output: a leg's cells, or the totals.
QStringList rowOf(Output output, const LegRow& row, bool phased = false);
QStringList totalsRowOf(Output output, const Totals& totals, bool phased = false);

// "7 L", "5 R", "0": a wind correction angle with its side (the heading lies
// left of the course when the wind comes from the left).
QString wcaText(double windCorrectionDeg);
// "10:31:36", or "00:40:12 +1" on a later day.
QString dayTimeText(const DayTime& time);
// As a kneeboard prints them, for a pilot's glance: a time to the nearest
// minute ("10:16", "00:05 +1") and a time en route in whole minutes ("42",
// "1:07" past an hour).
QString paperTimeText(const DayTime& time);
QString paperMinutesText(double minutes);

// The marks of a leg below the reserve: in words in the window and the CSV,
// short on paper.
inline const QString kBelowReserve = QStringLiteral("below reserve");
inline const QString kBelowReserveShort = QStringLiteral("LOW");

// The stored log's form of a leg: every figure as the text it showed. Reading
// takes every key the log keeps and nothing else; a figure that is not a
// number, or a time that is not HH:mm:ss, is an error said.
QJsonObject storedLeg(const LegFigures& leg);
std::optional<LegFigures> legOfStored(const QJsonObject& stored, QString* error);
// A planned leg in the plan's JSON: the keys of the columns it keeps, figures
// as numbers (left out for a leg that could not be computed), empty texts
// left out.
QJsonObject plannedLegJson(const LegFigures& leg);

// "legs 2, 3 could not be computed" (numbers from 1): the totals of a trip
// that has none, and the plan's.
QString missingText(const QList<int>& legs);

// RFC 4180 CSV, UTF-8: a header row, a row per leg (with the reserve mark,
// the side of the wind correction, L or R, and what is wrong with a planned
// leg), a totals row, each ending in CR LF. Numbers as shown ("." whatever
// the locale). A trip with a leg that could not be computed has no totals:
// its totals row says which legs are missing.
std::string tripCsv(const Trip& trip, int reserveMin);

// "Fuel left at the end lasts 206 min: 176 min above the 30 min reserve.", or
// that there is no fuel flow to tell, or that legs could not be computed.
QString reserveSummary(const Totals& totals, int reserveMin);

} // namespace navlog
