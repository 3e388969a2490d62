#include "navlog/TripLog.h"

#include "core/Math.h"
#include "core/NumberText.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <limits>

namespace navlog {
namespace {

constexpr const char* kFileName = "navlog.json";

struct Field {
    const char* key;        // in the stored log
    const char* csvHeading; // its CSV column, or null when the CSV leaves it out
    QString LegRecord::*member;
};

// Every member of a leg; the CSV columns in their order.
constexpr Field kFields[] = {
    {"from", "From", &LegRecord::from},
    {"to", "To", &LegRecord::to},
    {"tc", "TC", &LegRecord::trueCourse},
    {"wd", "WD", &LegRecord::windDirection},
    {"wv", "WV", &LegRecord::windVelocity},
    {"tas", "TAS", &LegRecord::tas},
    {"wca", "WCA", &LegRecord::windCorrection},
    {"th", "TH", &LegRecord::trueHeading},
    {"var", "Var", &LegRecord::variation},
    {"mh", "MH", &LegRecord::magHeading},
    {"md", "MD", &LegRecord::magDeviation},
    {"ch", "CH", &LegRecord::compassHeading},
    {"gs", "GS", &LegRecord::groundSpeed},
    {"dist", "Dist", &LegRecord::distance},
    {"off", "Off", &LegRecord::timeOff},
    {"ete", "ETE", &LegRecord::ete},
    {"eta", "ETA", &LegRecord::eta},
    {"fuelUsed", "F.used", &LegRecord::fuelUsed},
    {"fuelLeft", "F.left", &LegRecord::fuelLeft},
    {"gph", nullptr, &LegRecord::gph},
    {"fuelAtStart", nullptr, &LegRecord::fuelAtStart},
    {"totalBurnt", nullptr, &LegRecord::totalBurnt},
    {"totalDist", nullptr, &LegRecord::totalDistance},
};

double numberOf(const QString& text) {
    return core::parseNumber(text.toStdString()).value_or(0);
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

void appendCsvRow(std::string& out, const std::vector<QString>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        out += csvField(fields[i]);
    }
    out += "\r\n";
}

QString numberText(double value) {
    return QString::fromStdString(core::formatGeneral(value));
}

} // namespace

bool belowReserve(const LegRecord& leg, int reserveMin) {
    const double gph = numberOf(leg.gph);
    return gph > 0 && numberOf(leg.fuelLeft) < gph * reserveMin / 60.0;
}

Totals totalsOf(const Trip& trip, int reserveMin) {
    Totals t;
    if (trip.legs.empty())
        return t;
    const LegRecord& last = trip.legs.back();
    double eteSum = 0;
    for (const LegRecord& leg : trip.legs)
        eteSum += numberOf(leg.ete);
    t.distance = last.totalDistance;
    t.timeEnRoute = numberText(core::roundTo2Places(eteSum));
    t.fuelBurnt = last.totalBurnt;
    t.lastEta = last.eta;
    const double gph = numberOf(last.gph);
    if (gph > 0) {
        t.hasEndurance = true;
        t.enduranceMin = numberOf(last.fuelLeft) / gph * 60;
        t.aboveReserveMin = t.enduranceMin - reserveMin;
    }
    return t;
}

QString routeOf(const Trip& trip) {
    if (trip.legs.empty())
        return {};
    const QString from = trip.legs.front().from;
    const QString to = trip.legs.back().to;
    if (from.isEmpty() && to.isEmpty())
        return {};
    return (from.isEmpty() ? QStringLiteral("-") : from) + QStringLiteral(" - ") +
           (to.isEmpty() ? QStringLiteral("-") : to);
}

std::string tripCsv(const Trip& trip, int reserveMin) {
    std::vector<const Field*> columns;
    for (const Field& f : kFields) {
        if (f.csvHeading)
            columns.push_back(&f);
    }
    std::string out;
    std::vector<QString> row{QStringLiteral("Leg")};
    for (const Field* c : columns)
        row.push_back(QString::fromLatin1(c->csvHeading));
    row.push_back(QStringLiteral("Reserve"));
    appendCsvRow(out, row);
    int number = 0;
    for (const LegRecord& leg : trip.legs) {
        row = {QString::number(++number)};
        for (const Field* c : columns)
            row.push_back(leg.*c->member);
        row.push_back(belowReserve(leg, reserveMin) ? QStringLiteral("below reserve") : QString());
        appendCsvRow(out, row);
    }
    const Totals t = totalsOf(trip, reserveMin);
    row.assign(columns.size() + 2, QString());
    row[0] = QStringLiteral("Total");
    auto put = [&](QString LegRecord::*member, const QString& value) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i]->member == member)
                row[i + 1] = value;
        }
    };
    put(&LegRecord::distance, t.distance);
    put(&LegRecord::ete, t.timeEnRoute);
    put(&LegRecord::eta, t.lastEta);
    put(&LegRecord::fuelUsed, t.fuelBurnt);
    if (!trip.legs.empty())
        put(&LegRecord::fuelLeft, trip.legs.back().fuelLeft);
    if (t.hasEndurance)
        row.back() = QStringLiteral("%1 min above").arg(numberText(std::round(t.aboveReserveMin)));
    appendCsvRow(out, row);
    return out;
}

QStringList legTableHeadings() {
    return {QStringLiteral("#"),     QStringLiteral("From"),  QStringLiteral("To"),
            QStringLiteral("TC"),    QStringLiteral("WD/WV"), QStringLiteral("TAS"),
            QStringLiteral("WCA"),   QStringLiteral("TH"),    QStringLiteral("Var"),
            QStringLiteral("MH"),    QStringLiteral("MD"),    QStringLiteral("CH"),
            QStringLiteral("GS"),    QStringLiteral("Dist"),  QStringLiteral("Off"),
            QStringLiteral("ETE"),   QStringLiteral("ETA"),   QStringLiteral("F.used"),
            QStringLiteral("F.left")};
}

QStringList legTableRow(int number, const LegRecord& leg) {
    return {QString::number(number),
            leg.from,
            leg.to,
            leg.trueCourse,
            leg.windDirection + QLatin1Char('/') + leg.windVelocity,
            leg.tas,
            leg.windCorrection,
            leg.trueHeading,
            leg.variation,
            leg.magHeading,
            leg.magDeviation,
            leg.compassHeading,
            leg.groundSpeed,
            leg.distance,
            leg.timeOff,
            leg.ete,
            leg.eta,
            leg.fuelUsed,
            leg.fuelLeft};
}

QStringList legTableTotals(const Trip& trip, const Totals& totals) {
    QStringList row;
    for (int i = 0; i < kLegTableTotalsFrom; ++i)
        row << QString();
    row[0] = QStringLiteral("Total");
    row << totals.distance << QString() << totals.timeEnRoute << totals.lastEta << totals.fuelBurnt
        << (trip.legs.empty() ? QString() : trip.legs.back().fuelLeft);
    return row;
}

QString reserveSummary(const Totals& totals, int reserveMin) {
    if (!totals.hasEndurance)
        return QStringLiteral("No fuel flow: no endurance to compare with the reserve.");
    return QStringLiteral("Fuel left at the end lasts %1 min: %2 min %3 the %4 min reserve.")
        .arg(qRound(totals.enduranceMin))
        .arg(qAbs(qRound(totals.aboveReserveMin)))
        .arg(totals.aboveReserveMin >= 0 ? QStringLiteral("above") : QStringLiteral("below"))
        .arg(reserveMin);
}

TripLog::TripLog(std::string dataDir) : m_dataDir(std::move(dataDir)) {}

std::string TripLog::filePath() const {
    return core::resolveDevicePath(m_dataDir + kFileName);
}

void TripLog::load() {
    m_trips.clear();
    m_tripOpen = false;
    const auto bytes = core::readFileBytes(filePath(), std::numeric_limits<std::size_t>::max());
    if (!bytes)
        return;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(*bytes), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        // Never written over: the pilot may want what it held.
        const QString path = QFile::decodeName(QByteArray::fromStdString(filePath()));
        const QString aside = path + QStringLiteral(".unreadable");
        QFile::remove(aside);
        QFile::rename(path, aside);
        return;
    }
    for (const QJsonValue& t : doc.object().value(QStringLiteral("trips")).toArray()) {
        Trip trip;
        trip.started = QDateTime::fromString(
            t.toObject().value(QStringLiteral("started")).toString(), Qt::ISODate);
        for (const QJsonValue& l : t.toObject().value(QStringLiteral("legs")).toArray()) {
            LegRecord leg;
            const QJsonObject o = l.toObject();
            for (const Field& f : kFields)
                leg.*f.member = o.value(QLatin1String(f.key)).toString();
            trip.legs.push_back(std::move(leg));
        }
        if (!trip.legs.empty() && m_trips.size() < kMaxTrips)
            m_trips.push_back(std::move(trip));
    }
}

void TripLog::legComputed(LegRecord leg, const QDateTime& now) {
    if (!m_tripOpen) {
        Trip trip;
        trip.started = now;
        m_trips.insert(m_trips.begin(), std::move(trip));
        if (m_trips.size() > kMaxTrips)
            m_trips.pop_back();
        m_tripOpen = true;
    }
    m_trips.front().legs.push_back(std::move(leg));
}

void TripLog::reset() {
    m_tripOpen = false;
}

core::WriteStatus TripLog::save() const {
    QJsonArray trips;
    for (const Trip& trip : m_trips) {
        QJsonArray legs;
        for (const LegRecord& leg : trip.legs) {
            QJsonObject o;
            for (const Field& f : kFields)
                o.insert(QLatin1String(f.key), leg.*f.member);
            legs.append(o);
        }
        trips.append(QJsonObject{{QStringLiteral("started"), trip.started.toString(Qt::ISODate)},
                                 {QStringLiteral("legs"), legs}});
    }
    const QJsonObject root{{QStringLiteral("version"), 1}, {QStringLiteral("trips"), trips}};
    const std::string path = filePath();
    if (!core::makeParentFolder(path))
        return core::WriteStatus::CannotCreate;
    return core::writeFileSafely(path,
                                 QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString());
}

} // namespace navlog
