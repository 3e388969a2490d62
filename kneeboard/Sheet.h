#pragma once
// What a kneeboard page says, without widgets: the header block (date,
// route, aircraft, the departure and destination as the navigation database
// knows them, a plan's fuel block and decision points), the legs, their
// totals, and the columns a pilot can choose to print them in. The nav log's
// trips and the flight plan both become a Sheet; kneeboard/KneeboardPrint
// lays it out on paper.
//
// Every figure is shown as the leg dialog showed it: the page says digit for
// digit what the pilot saw.

#include "navlog/LegColumns.h"
#include "navlog/TripLog.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace navdb {
class NavData;
}
namespace plan {
struct FlightPlan;
struct ComputedPlan;
struct DecisionPoints;
} // namespace plan

namespace kneeboard {

// A column of the printed log: one of the nav log's columns with a place on
// paper (paperKey, paperHeading, paperTitle). Write-in columns stay blank
// for the pilot's hand in flight.
using Column = navlog::LegColumn;

// Every column, in the order a chosen set is printed in.
std::vector<const Column*> columns();
const Column* columnByKey(const QString& key);
// The set for flying: checkpoint, altitude, MH, CH, WCA with its side, GS,
// Dist, ETE, ETA, ATA, fuel left, actual fuel.
QStringList defaultColumns();
// The known keys among these, each once, in the catalogue's order; the
// default set when none is known.
QStringList chosenColumns(const QStringList& keys);
// A comma-separated list as the command line takes it; none when a key is
// unknown (error then names it and the known ones).
std::optional<QStringList> parseColumns(const QString& text, QString* error);

struct SheetLeg {
    navlog::LegFigures figures;
    bool belowReserve = false;
};

// The frequencies of the plan's airports as a short table: a column per
// kind (ATIS, delivery, ground, tower first, then what else the data has), a
// row per airport ("Departure LSZH"), several frequencies of a kind in one
// cell.
struct FrequencyTable {
    QStringList kinds;
    std::vector<std::pair<QString, QStringList>> rows; // label, a cell per kind
    bool empty() const { return rows.empty(); }
};

struct Sheet {
    QString title;        // "Skyvane nav log", "Skyvane flight plan"
    QString date;         // "2026-06-01 10:00"
    QString timeZone;     // of the plan's times ("CET", "UTC"), named in the time columns
    QString route;        // "LSZH - Lake bridge - LSZB"
    QString aircraft;     // "TAS 110 kt, fuel flow 8 gal/h, 39 gal at start, reserve 30 min"
    QStringList airports; // a line each for the departure and the destination
    FrequencyTable frequencies;
    QStringList fuel;      // a plan's fuel block and verdict
    QStringList decisions; // a plan's ETP, PNR and wind margin
    QStringList balance;   // a plan's aircraft, its loading and weight and balance
    QStringList briefing;  // a plan's airports: weather, runway wind, density altitude, sun
    bool writeIns = false; // boxes for ATIS, QNH, squawk, clearance, off block and ATD
    QStringList endNotes;  // under the totals: the reserve summary, legs below it
    std::vector<SheetLeg> legs;
    navlog::Totals totals;
};

// A cell of the table: number is the leg's, from 1.
QString cellText(const Column& column, int number, const SheetLeg& leg);
// What the totals row shows under a column (empty for most).
QString totalText(const Column& column, const Sheet& sheet);

// "Departure LSZH Zürich Airport: elevation 1416 ft, longest runway 16/34
// 12139 × 197 ft CON", or "Departure LSZH" when the database (if any) does
// not know it. Its frequencies go into the sheet's frequency table.
QString airportLine(const QString& role, const QString& ident, const navdb::NavData* navData);

// The frequency table of these airports (role and ident each).
FrequencyTable frequencyTable(const std::vector<std::pair<QString, QString>>& airports,
                              const navdb::NavData* navData);

// A trip of the nav log.
Sheet tripSheet(const navlog::Trip& trip, int reserveMin, const navdb::NavData* navData);
// A computed flight plan: its legs, its altitudes, the fuel block and the
// decision points. The alternate's leg is printed after the route's.
Sheet planSheet(const plan::FlightPlan& plan, const plan::ComputedPlan& computed,
                const plan::DecisionPoints& points, const navdb::NavData* navData);

// How the chosen columns fit across the page. Each needs a width (its
// widest text, or the write-in minimum); together they take one line a leg
// if they fit, else two lines (as many as fit on the first, the rest on the
// second); what fits on neither is left out and named. The room left over
// goes to the write-in columns, or to all when there are none.
struct ColumnFit {
    std::vector<std::vector<int>> lines; // indices into the needs, a line each
    std::vector<std::vector<double>> widths;
    std::vector<int> dropped;
};
ColumnFit fitColumns(const std::vector<double>& needs, const std::vector<bool>& writeIn,
                     double available);

} // namespace kneeboard
