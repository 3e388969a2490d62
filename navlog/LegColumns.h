#pragma once
// The nav log's columns, in one table: how each column is stored, headed in
// the window and on paper, headed in the CSV, read from a leg, and what the
// totals row shows under it. The window, the kneeboard page, the CSV and the
// stored log all take their columns from here, so they cannot disagree.

#include "navlog/TripLog.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace navlog {

// What the totals row shows under a column.
enum class ColumnTotal { None, Distance, TimeEnRoute, LastEta, FuelBurnt, FuelLeft };

struct LegColumn {
    const char* key;            // in the stored log; null for a column made of others
    QString LegRecord::*member; // the figure it shows; null for a column made of others
    const char* heading;        // in the window and on paper; null where they leave it out
    const char* csvHeading;     // in the CSV; null where the CSV leaves it out
    ColumnTotal total;
    bool leftAligned;                  // text (airports) rather than figures
    QString (*made)(const LegRecord&); // for a column made of others

    QString text(const LegRecord& leg) const { return member ? leg.*member : made(leg); }
};

// Every column, in the order all outputs use.
const std::vector<LegColumn>& legColumns();

// The marks of a leg below the reserve and their column's headings: in words
// in the window and the CSV, short on paper.
inline const QString kReserveHeading = QStringLiteral("Reserve");
inline const QString kReserveHeadingShort = QStringLiteral("Res");
inline const QString kBelowReserve = QStringLiteral("below reserve");
inline const QString kBelowReserveShort = QStringLiteral("LOW");
// The CSV's last columns.
inline const QString kSideHeading = QStringLiteral("WCA side");
inline const QString kProblemHeading = QStringLiteral("Problem");

// "legs 2, 3 could not be computed" (numbers from 1): the totals of a trip
// that has none, and the plan's.
QString missingText(const QList<int>& legs);

// The table of legs that the window shows and the kneeboard prints: "#" and
// the columns with a heading (From, To, TC, WD/WV, TAS, WCA, TH, Var, MH, MD,
// CH, GS, Dist, Off, ETE, ETA, F.used, F.left); a row per leg, and a totals
// row, "Total" first, whose figures start at legTableTotalsFrom().
QStringList legTableHeadings();
QStringList legTableRow(int number, const LegRecord& leg);
QStringList legTableTotals(const Trip& trip, const Totals& totals);
int legTableTotalsFrom();
// Whether a column of that table holds text rather than figures.
bool legTableLeftAligned(int column);

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
