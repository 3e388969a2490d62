#include "navlog/LegColumns.h"

#include "core/NumberText.h"
#include "core/Text.h"
#include "core/Wind.h"

#include <QJsonValue>

#include <algorithm>
#include <cmath>

namespace navlog {
namespace {

// An entry, written as a chain: its value first, then where it shows.
struct Entry {
    LegColumn c;
    Entry& log(const char* heading) { return c.logHeading = heading, *this; }
    Entry& csv(const char* heading) { return c.csvHeading = heading, *this; }
    Entry& plan(const char* heading) { return c.planHeading = heading, *this; }
    Entry& paper(const char* key, const char* heading, const char* title) {
        c.paperKey = key, c.paperHeading = heading, c.paperTitle = title;
        return *this;
    }
    // In each of the nav log window, the CSV and the plan window, and on
    // paper under key with that title.
    Entry& everywhere(const char* heading, const char* paperTitle) {
        return log(heading).csv(heading).plan(heading).paper(c.key, heading, paperTitle);
    }
    Entry& totals(ColumnTotal total) { return c.total = total, *this; }
    Entry& left() { return c.leftAligned = true, *this; }
    Entry& onlyPlanned() { return c.plannedOnly = true, *this; }
    Entry& onlyPhased() { return c.phasedOnly = true, *this; }
    // Shown for a planned leg that could not be computed too.
    Entry& always() { return c.figure = false, *this; }
    Entry& keptAs(const char* key, unsigned kept) { return c.key = key, c.kept = kept, *this; }
};

Entry figure(const char* key, unsigned kept, double LegFigures::*number) {
    Entry e;
    e.c.key = key, e.c.kept = kept, e.c.number = number, e.c.figure = true;
    return e;
}
Entry text(const char* key, unsigned kept, QString LegFigures::*member) {
    Entry e;
    e.c.key = key, e.c.kept = kept, e.c.text = member;
    return e;
}
Entry time(const char* key, DayTime LegFigures::*member) {
    Entry e;
    e.c.key = key, e.c.kept = kLog | kJson, e.c.time = member, e.c.figure = true;
    return e;
}
Entry made(QString (*how)(const LegRow&, Output), bool isFigure = true) {
    Entry e;
    e.c.made = how, e.c.figure = isFigure;
    return e;
}
Entry writeIn(const char* key, const char* heading, const char* title) {
    Entry e;
    e.c.writeIn = true;
    return e.paper(key, heading, title);
}

QString wcaWithSide(const LegRow& row, Output) {
    return wcaText(row.leg.windCorrectionDeg);
}

// The route and the figures of the wind triangle, as a leg reads from left
// to right up to the ground speed.
std::vector<Entry> triangleEntries() {
    using F = LegFigures;
    using T = ColumnTotal;
    const unsigned both = kLog | kJson;
    return {
        made([](const LegRow& r,
                Output) { return QString::number(r.leg.routeLeg > 0 ? r.leg.routeLeg : r.number); },
             false)
            .log("#")
            .csv("Leg")
            .paper("leg", "#", "Leg number")
            .totals(T::Label),
        text("from", both, &F::from).log("From").csv("From").paper("from", "From", "From").left(),
        made(
            [](const LegRow& r, Output) {
                return r.leg.from + (r.leg.alternate ? QStringLiteral(" (alternate)") : QString());
            },
            false)
            .plan("From")
            .left(),
        text("to", both, &F::to).log("To").csv("To").plan("To").left(),
        made(
            [](const LegRow& r, Output) {
                QString to = r.leg.to;
                if (!r.leg.toFrequency.isEmpty())
                    to += QLatin1Char(' ') + r.leg.toFrequency;
                return to + (r.leg.alternate ? QStringLiteral(" (alt.)") : QString());
            },
            false)
            .paper("checkpoint", "Checkpoint", "Checkpoint (where the leg ends)")
            .left(),
        text("phase", kJson, &F::phase).csv("Phase").plan("Phase").left().onlyPhased(),
        figure("altitudeFt", kJson, &F::altitudeFt)
            .plan("Alt")
            .paper("alt", "Alt", "Altitude (ft)")
            .onlyPlanned()
            .always(),
        figure("tc", both, &F::trueCourseDeg).everywhere("TC", "True course"),
        made([](const LegRow& r, Output) { return core::windText(r.leg.plannedWind); })
            .plan("Wind")
            .onlyPlanned(),
        figure("wd", both, &F::windDirectionDeg).csv("WD"),
        figure("wv", both, &F::windVelocityKt).csv("WV"),
        made([](const LegRow& r, Output) {
            return core::numberText(r.leg.windDirectionDeg) + QLatin1Char('/') +
                   core::numberText(r.leg.windVelocityKt);
        })
            .log("WD/WV")
            .paper("wind", "W/V", "Wind (direction/speed)"),
        figure("tas", both, &F::tasKt).log("TAS").csv("TAS").paper("tas", "TAS", "True airspeed"),
        figure("wca", both, &F::windCorrectionDeg).log("WCA").csv("WCA"),
        made(wcaWithSide).keptAs("wcaSide", kJson).plan("WCA"),
        figure("th", both, &F::trueHeadingDeg).everywhere("TH", "True heading"),
        figure("var", both, &F::variationDeg).everywhere("Var", "Variation"),
        figure("mh", both, &F::magHeadingDeg).everywhere("MH", "Magnetic heading"),
        figure("md", both, &F::magDeviationDeg).everywhere("MD", "Deviation"),
        figure("ch", both, &F::compassHeadingDeg).everywhere("CH", "Compass heading"),
        made(wcaWithSide).paper("wca", "WCA", "Wind correction angle with its side"),
        figure("gs", both, &F::groundSpeedKt).everywhere("GS", "Ground speed"),
    };
}

// Distance, times and fuel, what the plan adds, and the marks and notes.
std::vector<Entry> progressEntries() {
    using F = LegFigures;
    using T = ColumnTotal;
    const unsigned both = kLog | kJson;
    return {
        figure("dist", both, &F::distanceNm)
            .everywhere("Dist", "Distance (nm)")
            .totals(T::Distance),
        time("off", &F::off).log("Off").csv("Off").paper("off", "Off", "Time off"),
        figure("ete", both, &F::eteMin)
            .everywhere("ETE", "Time en route (min)")
            .totals(T::TimeEnRoute),
        time("eta", &F::eta).everywhere("ETA", "Estimated time of arrival").totals(T::LastEta),
        writeIn("ata", "ATA", "Actual time of arrival (to write in)"),
        figure("fuelUsed", both, &F::fuelUsedGal)
            .everywhere("F.used", "Fuel used")
            .totals(T::FuelBurnt),
        figure("fuelLeft", both, &F::fuelLeftGal)
            .everywhere("F.left", "Fuel left")
            .totals(T::FuelLeft),
        writeIn("fuelAct", "F.act", "Actual fuel (to write in)"),
        figure("gph", kLog, &F::fuelFlowGph),
        figure("fuelAtStart", kLog, &F::fuelAtStartGal),
        figure("totalBurnt", kLog, &F::totalBurntGal),
        figure("totalDist", kLog, &F::totalDistanceNm),
        figure("toGoNm", kJson, &F::toGoNm).plan("To go nm").onlyPlanned(),
        figure("toGoMin", kJson, &F::toGoMin).plan("To go min").onlyPlanned(),
        made([](const LegRow& r, Output output) {
            if (!r.belowReserve)
                return QString();
            return output == Output::Paper ? kBelowReserveShort : kBelowReserve;
        })
            .log("Reserve")
            .csv("Reserve")
            .paper("res", "Res", "Below the reserve")
            .totals(T::AboveReserve),
        made([](const LegRow& r, Output) {
            const double wca = r.leg.windCorrectionDeg;
            return wca == 0 ? QString() : wca < 0 ? QStringLiteral("R") : QStringLiteral("L");
        }).csv("WCA side"),
        text("problem", kJson, &F::problem).csv("Problem").plan("Note").left().totals(T::Missing),
        writeIn("notes", "Notes", "Notes (to write in)").left(),
    };
}

std::vector<LegColumn> makeColumns() {
    std::vector<LegColumn> out;
    for (const auto& part : {triangleEntries(), progressEntries()}) {
        for (const Entry& e : part)
            out.push_back(e.c);
    }
    return out;
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

const char* LegColumn::heading(Output output) const {
    switch (output) {
    case Output::Log:
        return logHeading;
    case Output::Csv:
        return csvHeading;
    case Output::Plan:
        return planHeading;
    case Output::Paper:
        return paperHeading;
    }
    return nullptr;
}

QString LegColumn::cell(const LegRow& row, Output output) const {
    const LegFigures& leg = row.leg;
    if (writeIn || (figure && !leg.computed) || (plannedOnly && !leg.planned))
        return {};
    if (number && output == Output::Paper && number == &LegFigures::eteMin)
        return paperMinutesText(leg.*number);
    if (number)
        return core::numberText(leg.*number);
    if (text)
        return leg.*text;
    if (time)
        return output == Output::Paper ? paperTimeText(leg.*time) : dayTimeText(leg.*time);
    return made(row, output);
}

QString LegColumn::totalCell(const Totals& totals, Output output) const {
    // Paper says "Total" in a box of its own over the empty cells that lead.
    if (total == ColumnTotal::Label)
        return output == Output::Paper ? QString() : QStringLiteral("Total");
    if (total == ColumnTotal::Missing && output == Output::Csv && !totals.complete)
        return QStringLiteral("incomplete: ") + missingText(totals.missingLegs);
    if (!totals.complete)
        return {};
    switch (total) {
    case ColumnTotal::None:
    case ColumnTotal::Label:
    case ColumnTotal::Missing:
        return {};
    case ColumnTotal::Distance:
        return core::numberText(totals.distanceNm);
    case ColumnTotal::TimeEnRoute:
        return output == Output::Paper ? paperMinutesText(totals.eteMin)
                                       : core::numberText(totals.eteMin);
    case ColumnTotal::LastEta:
        return output == Output::Paper ? paperTimeText(totals.lastEta)
                                       : dayTimeText(totals.lastEta);
    case ColumnTotal::FuelBurnt:
        return core::numberText(totals.fuelBurntGal);
    case ColumnTotal::FuelLeft:
        return core::numberText(totals.fuelLeftGal);
    case ColumnTotal::AboveReserve:
        return output == Output::Csv && totals.hasEndurance
                   ? QStringLiteral("%1 min above")
                         .arg(core::numberText(std::round(totals.aboveReserveMin)))
                   : QString();
    }
    return {};
}

const std::vector<LegColumn>& legColumns() {
    static const std::vector<LegColumn> columns = makeColumns();
    return columns;
}

std::vector<const LegColumn*> columnsOf(Output output, bool phased) {
    std::vector<const LegColumn*> out;
    for (const LegColumn& c : legColumns()) {
        if (c.heading(output) && (phased || !c.phasedOnly))
            out.push_back(&c);
    }
    return out;
}

bool isPhased(const Trip& trip) {
    return std::any_of(trip.legs.begin(), trip.legs.end(),
                       [](const LegFigures& leg) { return !leg.phase.isEmpty(); });
}

const LegColumn* columnByKey(const char* key) {
    for (const LegColumn& c : legColumns()) {
        if (c.key && qstrcmp(c.key, key) == 0)
            return &c;
    }
    return nullptr;
}

QStringList headingsOf(Output output, bool phased) {
    QStringList out;
    for (const LegColumn* c : columnsOf(output, phased))
        out << QString::fromLatin1(c->heading(output));
    return out;
}

QStringList rowOf(Output output, const LegRow& row, bool phased) {
    QStringList out;
    for (const LegColumn* c : columnsOf(output, phased))
        out << c->cell(row, output);
    return out;
}

QStringList totalsRowOf(Output output, const Totals& totals, bool phased) {
    QStringList out;
    for (const LegColumn* c : columnsOf(output, phased))
        out << c->totalCell(totals, output);
    return out;
}

QString wcaText(double windCorrectionDeg) {
    if (windCorrectionDeg == 0)
        return QStringLiteral("0");
    return QStringLiteral("%1 %2")
        .arg(core::numberText(std::fabs(windCorrectionDeg)))
        .arg(windCorrectionDeg > 0 ? QLatin1Char('L') : QLatin1Char('R'));
}

QString paperTimeText(const DayTime& time) {
    if (!time.time.isValid())
        return {};
    // To the nearest minute, which may carry into the next day.
    const int seconds = time.time.msecsSinceStartOfDay() / 1000 + 30;
    const int days = time.days + seconds / 86400;
    const QString clock = QTime(0, 0).addSecs(seconds % 86400).toString(QStringLiteral("HH:mm"));
    return days > 0 ? QStringLiteral("%1 +%2").arg(clock).arg(days) : clock;
}

QString paperMinutesText(double minutes) {
    const long whole = std::lround(minutes);
    if (whole < 60)
        return QString::number(whole);
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QString dayTimeText(const DayTime& time) {
    const QString clock = time.time.toString(QStringLiteral("HH:mm:ss"));
    return time.days > 0 ? QStringLiteral("%1 +%2").arg(clock).arg(time.days) : clock;
}

QJsonObject storedLeg(const LegFigures& leg) {
    QJsonObject o;
    for (const LegColumn& c : legColumns()) {
        // The log's legs are the leg dialog's, with no day after the start.
        if (c.kept & kLog)
            o.insert(QLatin1String(c.key),
                     c.time ? (leg.*c.time).time.toString(QStringLiteral("HH:mm:ss"))
                            : c.cell(LegRow{leg}, Output::Log));
    }
    return o;
}

namespace {

// Why a stored value cannot be column c's, or nothing when it can.
QString storedProblem(const LegColumn& c, const QJsonValue& v) {
    if (!v.isString())
        return QStringLiteral("is not a text");
    if (c.number && !core::parseNumber(v.toString().toStdString()))
        return QStringLiteral("is not a number");
    if (c.time && !QTime::fromString(v.toString(), QStringLiteral("HH:mm:ss")).isValid())
        return QStringLiteral("is not a time");
    return {};
}

} // namespace

std::optional<LegFigures> legOfStored(const QJsonObject& stored, QString* error) {
    LegFigures leg;
    int known = 0;
    const char* missing = nullptr;
    for (const LegColumn& c : legColumns()) {
        if (!(c.kept & kLog))
            continue;
        if (!stored.contains(QLatin1String(c.key))) {
            missing = missing ? missing : c.key;
            continue;
        }
        ++known;
        const QJsonValue v = stored.value(QLatin1String(c.key));
        const QString wrong = storedProblem(c, v);
        if (!wrong.isEmpty()) {
            *error = QStringLiteral("a leg's \"%1\" %2").arg(QLatin1String(c.key), wrong);
            return std::nullopt;
        }
        const QString text = v.toString();
        if (c.number)
            leg.*c.number = *core::parseNumber(text.toStdString());
        else if (c.time)
            (leg.*c.time).time = QTime::fromString(text, QStringLiteral("HH:mm:ss"));
        else
            leg.*c.text = text;
    }
    if (known != stored.size())
        *error = QStringLiteral("a leg has a key this Skyvane does not know");
    else if (missing) // a figure left out would read as 0 and pass into the totals
        *error = QStringLiteral("a leg has no \"%1\"").arg(QLatin1String(missing));
    else
        return leg;
    return std::nullopt;
}

QJsonObject plannedLegJson(const LegFigures& leg) {
    QJsonObject o;
    for (const LegColumn& c : legColumns()) {
        if (!(c.kept & kJson) || (c.figure && !leg.computed))
            continue;
        const QString text = c.cell(LegRow{leg}, Output::Plan);
        if (c.number)
            o.insert(QLatin1String(c.key), leg.*c.number);
        else if (!text.isEmpty())
            o.insert(QLatin1String(c.key), text);
    }
    o.insert(QStringLiteral("alternate"), leg.alternate);
    return o;
}

std::string tripCsv(const Trip& trip, int reserveMin) {
    std::string out;
    const bool phased = isPhased(trip);
    appendCsvRow(out, headingsOf(Output::Csv, phased));
    int number = 0;
    for (const LegFigures& leg : trip.legs)
        appendCsvRow(out,
                     rowOf(Output::Csv, {leg, ++number, belowReserve(leg, reserveMin)}, phased));
    appendCsvRow(out, totalsRowOf(Output::Csv, totalsOf(trip, reserveMin), phased));
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
