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
    const char* key;
    QString LegRecord::*member;
};

// Every member of a leg, under its key in the stored log.
constexpr Field kFields[] = {
    {"from", &LegRecord::from},
    {"to", &LegRecord::to},
    {"tc", &LegRecord::trueCourse},
    {"wd", &LegRecord::windDirection},
    {"wv", &LegRecord::windVelocity},
    {"tas", &LegRecord::tas},
    {"wca", &LegRecord::windCorrection},
    {"th", &LegRecord::trueHeading},
    {"var", &LegRecord::variation},
    {"mh", &LegRecord::magHeading},
    {"md", &LegRecord::magDeviation},
    {"ch", &LegRecord::compassHeading},
    {"gs", &LegRecord::groundSpeed},
    {"dist", &LegRecord::distance},
    {"off", &LegRecord::timeOff},
    {"ete", &LegRecord::ete},
    {"eta", &LegRecord::eta},
    {"fuelUsed", &LegRecord::fuelUsed},
    {"fuelLeft", &LegRecord::fuelLeft},
    {"gph", &LegRecord::gph},
    {"fuelAtStart", &LegRecord::fuelAtStart},
    {"totalBurnt", &LegRecord::totalBurnt},
    {"totalDist", &LegRecord::totalDistance},
};

// The CSV columns: a heading and the member it shows.
struct Column {
    const char* heading;
    QString LegRecord::*member;
};
constexpr Column kCsvColumns[] = {
    {"From", &LegRecord::from},
    {"To", &LegRecord::to},
    {"TC", &LegRecord::trueCourse},
    {"WD", &LegRecord::windDirection},
    {"WV", &LegRecord::windVelocity},
    {"TAS", &LegRecord::tas},
    {"WCA", &LegRecord::windCorrection},
    {"TH", &LegRecord::trueHeading},
    {"Var", &LegRecord::variation},
    {"MH", &LegRecord::magHeading},
    {"MD", &LegRecord::magDeviation},
    {"CH", &LegRecord::compassHeading},
    {"GS", &LegRecord::groundSpeed},
    {"Dist", &LegRecord::distance},
    {"Off", &LegRecord::timeOff},
    {"ETE", &LegRecord::ete},
    {"ETA", &LegRecord::eta},
    {"F.used", &LegRecord::fuelUsed},
    {"F.left", &LegRecord::fuelLeft},
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
    std::string out;
    std::vector<QString> row{QStringLiteral("Leg")};
    for (const Column& c : kCsvColumns)
        row.push_back(QString::fromLatin1(c.heading));
    row.push_back(QStringLiteral("Reserve"));
    appendCsvRow(out, row);
    int number = 0;
    for (const LegRecord& leg : trip.legs) {
        row = {QString::number(++number)};
        for (const Column& c : kCsvColumns)
            row.push_back(leg.*c.member);
        row.push_back(belowReserve(leg, reserveMin) ? QStringLiteral("below reserve") : QString());
        appendCsvRow(out, row);
    }
    const Totals t = totalsOf(trip, reserveMin);
    row.assign(std::size(kCsvColumns) + 2, QString());
    row[0] = QStringLiteral("Total");
    auto put = [&row](const char* heading, const QString& value) {
        for (std::size_t i = 0; i < std::size(kCsvColumns); ++i) {
            if (qstrcmp(kCsvColumns[i].heading, heading) == 0)
                row[i + 1] = value;
        }
    };
    put("Dist", t.distance);
    put("ETE", t.timeEnRoute);
    put("ETA", t.lastEta);
    put("F.used", t.fuelBurnt);
    if (!trip.legs.empty())
        put("F.left", trip.legs.back().fuelLeft);
    if (t.hasEndurance)
        row.back() = QStringLiteral("%1 min above").arg(numberText(std::round(t.aboveReserveMin)));
    appendCsvRow(out, row);
    return out;
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
