#include "navlog/LegColumns.h"

#include "core/NumberText.h"

#include <cmath>

namespace navlog {
namespace {

QString windText(const LegRecord& leg) {
    return leg.windDirection + QLatin1Char('/') + leg.windVelocity;
}

std::vector<LegColumn> makeColumns() {
    using T = ColumnTotal;
    return {
        {"from", &LegRecord::from, "From", "From", T::None, true, nullptr},
        {"to", &LegRecord::to, "To", "To", T::None, true, nullptr},
        {"tc", &LegRecord::trueCourse, "TC", "TC", T::None, false, nullptr},
        {"wd", &LegRecord::windDirection, nullptr, "WD", T::None, false, nullptr},
        {"wv", &LegRecord::windVelocity, nullptr, "WV", T::None, false, nullptr},
        {nullptr, nullptr, "WD/WV", nullptr, T::None, false, windText},
        {"tas", &LegRecord::tas, "TAS", "TAS", T::None, false, nullptr},
        {"wca", &LegRecord::windCorrection, "WCA", "WCA", T::None, false, nullptr},
        {"th", &LegRecord::trueHeading, "TH", "TH", T::None, false, nullptr},
        {"var", &LegRecord::variation, "Var", "Var", T::None, false, nullptr},
        {"mh", &LegRecord::magHeading, "MH", "MH", T::None, false, nullptr},
        {"md", &LegRecord::magDeviation, "MD", "MD", T::None, false, nullptr},
        {"ch", &LegRecord::compassHeading, "CH", "CH", T::None, false, nullptr},
        {"gs", &LegRecord::groundSpeed, "GS", "GS", T::None, false, nullptr},
        {"dist", &LegRecord::distance, "Dist", "Dist", T::Distance, false, nullptr},
        {"off", &LegRecord::timeOff, "Off", "Off", T::None, false, nullptr},
        {"ete", &LegRecord::ete, "ETE", "ETE", T::TimeEnRoute, false, nullptr},
        {"eta", &LegRecord::eta, "ETA", "ETA", T::LastEta, false, nullptr},
        {"fuelUsed", &LegRecord::fuelUsed, "F.used", "F.used", T::FuelBurnt, false, nullptr},
        {"fuelLeft", &LegRecord::fuelLeft, "F.left", "F.left", T::FuelLeft, false, nullptr},
        {"gph", &LegRecord::gph, nullptr, nullptr, T::None, false, nullptr},
        {"fuelAtStart", &LegRecord::fuelAtStart, nullptr, nullptr, T::None, false, nullptr},
        {"totalBurnt", &LegRecord::totalBurnt, nullptr, nullptr, T::None, false, nullptr},
        {"totalDist", &LegRecord::totalDistance, nullptr, nullptr, T::None, false, nullptr},
    };
}

// The columns one output shows, in order.
std::vector<const LegColumn*> shown(const char* LegColumn::*heading) {
    std::vector<const LegColumn*> out;
    for (const LegColumn& c : legColumns()) {
        if (c.*heading)
            out.push_back(&c);
    }
    return out;
}

// "L" or "R": the side the heading lies off the course, from the sign the
// leg dialog shows (a positive correction: the wind from the left).
QString sideOf(const QString& windCorrection) {
    if (windCorrection.isEmpty() || windCorrection == QLatin1String("0"))
        return {};
    return windCorrection.startsWith(QLatin1Char('-')) ? QStringLiteral("R") : QStringLiteral("L");
}

QString totalText(ColumnTotal total, const Trip& trip, const Totals& totals) {
    if (!totals.complete)
        return {};
    switch (total) {
    case ColumnTotal::None:
        return {};
    case ColumnTotal::Distance:
        return totals.distance;
    case ColumnTotal::TimeEnRoute:
        return totals.timeEnRoute;
    case ColumnTotal::LastEta:
        return totals.lastEta;
    case ColumnTotal::FuelBurnt:
        return totals.fuelBurnt;
    case ColumnTotal::FuelLeft:
        return trip.legs.empty() ? QString() : trip.legs.back().fuelLeft;
    }
    return {};
}

std::string csvField(const QString& text) {
    std::string s = text.toStdString(); // UTF-8
    if (s.find_first_of(",\"\r\n") == std::string::npos)
        return s;
    std::string quoted = "\"";
    for (char c : s) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

void appendCsvRow(std::string& out, const QStringList& fields) {
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        out += csvField(fields[i]);
    }
    out += "\r\n";
}

} // namespace

const std::vector<LegColumn>& legColumns() {
    static const std::vector<LegColumn> columns = makeColumns();
    return columns;
}

QStringList legTableHeadings() {
    QStringList row{QStringLiteral("#")};
    for (const LegColumn* c : shown(&LegColumn::heading))
        row << QString::fromLatin1(c->heading);
    return row;
}

QStringList legTableRow(int number, const LegRecord& leg) {
    QStringList row{QString::number(number)};
    for (const LegColumn* c : shown(&LegColumn::heading))
        row << c->text(leg);
    return row;
}

QStringList legTableTotals(const Trip& trip, const Totals& totals) {
    QStringList row{QStringLiteral("Total")};
    for (const LegColumn* c : shown(&LegColumn::heading))
        row << totalText(c->total, trip, totals);
    return row;
}

int legTableTotalsFrom() {
    const auto columns = shown(&LegColumn::heading);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i]->total != ColumnTotal::None)
            return static_cast<int>(i) + 1; // after "#"
    }
    return static_cast<int>(columns.size()) + 1;
}

bool legTableLeftAligned(int column) {
    const auto columns = shown(&LegColumn::heading);
    return column >= 1 && column <= static_cast<int>(columns.size()) &&
           columns[static_cast<std::size_t>(column - 1)]->leftAligned;
}

std::string tripCsv(const Trip& trip, int reserveMin) {
    const auto columns = shown(&LegColumn::csvHeading);
    std::string out;
    QStringList row{QStringLiteral("Leg")};
    for (const LegColumn* c : columns)
        row << QString::fromLatin1(c->csvHeading);
    row << kReserveHeading << kSideHeading << kProblemHeading;
    appendCsvRow(out, row);
    int number = 0;
    for (const LegRecord& leg : trip.legs) {
        row = QStringList{QString::number(++number)};
        for (const LegColumn* c : columns)
            row << c->text(leg);
        row << (leg.computed() && belowReserve(leg, reserveMin) ? kBelowReserve : QString())
            << sideOf(leg.windCorrection) << leg.problem;
        appendCsvRow(out, row);
    }
    const Totals t = totalsOf(trip, reserveMin);
    row = QStringList{QStringLiteral("Total")};
    for (const LegColumn* c : columns)
        row << totalText(c->total, trip, t);
    row << (t.hasEndurance ? QStringLiteral("%1 min above")
                                 .arg(QString::fromStdString(
                                     core::formatGeneral(std::round(t.aboveReserveMin))))
                           : QString())
        << QString()
        << (t.complete ? QString() : QStringLiteral("incomplete: ") + missingText(t.missingLegs));
    appendCsvRow(out, row);
    return out;
}

QString missingText(const QList<int>& legs) {
    QStringList numbers;
    for (int leg : legs)
        numbers << QString::number(leg);
    return QStringLiteral("%1 %2 could not be computed")
        .arg(numbers.size() == 1 ? QStringLiteral("leg") : QStringLiteral("legs"),
             numbers.join(QStringLiteral(", ")));
}

QString reserveSummary(const Totals& totals, int reserveMin) {
    if (!totals.complete)
        return QStringLiteral("No totals: %1.").arg(missingText(totals.missingLegs));
    if (!totals.hasEndurance)
        return QStringLiteral("No fuel flow: no endurance to compare with the reserve.");
    return QStringLiteral("Fuel left at the end lasts %1 min: %2 min %3 the %4 min reserve.")
        .arg(qRound(totals.enduranceMin))
        .arg(qAbs(qRound(totals.aboveReserveMin)))
        .arg(totals.aboveReserveMin >= 0 ? QStringLiteral("above") : QStringLiteral("below"))
        .arg(reserveMin);
}

} // namespace navlog
