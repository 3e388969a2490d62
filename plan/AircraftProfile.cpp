#include "plan/AircraftProfile.h"

#include "core/DataPlaces.h"
#include "core/Files.h"
#include "core/JsonReader.h"
#include "core/Text.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cmath>

namespace plan {
namespace {

const QString kFormat = QStringLiteral("skyvane-aircraft");
namespace limits = core::limits;

// The profile's parts, each read by the one rule of the files' values; the
// first thing wrong is kept.
struct ProfileReader : core::JsonReader {
    QJsonObject part(const QJsonObject& o, const char* key) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isObject())
            fail(QStringLiteral("\"%1\" is missing").arg(QLatin1String(key)));
        return v.toObject();
    }
    QJsonArray list(const QJsonObject& o, const char* key) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isArray() && !v.isUndefined())
            fail(QStringLiteral("\"%1\" is not a list").arg(QLatin1String(key)));
        return v.toArray();
    }
    SteadyRate rate(const QJsonObject& o) {
        return {number(o, "rateFpm", limits::kRateFpm, 1, true),
                number(o, "tasKt", limits::kTasKt, 0, true),
                number(o, "fuelFlowGph", limits::kFuelFlowGph, 0, true)};
    }
    template <typename Row, typename Read>
    std::vector<Row> rows(const QJsonArray& list, Read read) {
        std::vector<Row> out;
        for (const QJsonValue& v : list)
            out.push_back(read(v.toObject()));
        return out;
    }
    void units(const QJsonObject& o, AircraftProfile& p);
    void fuel(const QJsonObject& o, AircraftProfile& p);
    void performance(const QJsonObject& root, AircraftProfile& p);
    void weights(const QJsonObject& root, AircraftProfile& p);
    Envelope envelope(const QJsonObject& o);
};

void ProfileReader::units(const QJsonObject& o, AircraftProfile& p) {
    const QString weight = text(o, "weight"), arm = text(o, "arm");
    if (weight != QLatin1String("lb") && weight != QLatin1String("kg"))
        fail(QStringLiteral("\"weight\" is not lb or kg"));
    if (arm != QLatin1String("in") && arm != QLatin1String("mm") && arm != QLatin1String("m"))
        fail(QStringLiteral("\"arm\" is not in, mm or m"));
    p.weightUnit = weight == QLatin1String("kg") ? WeightUnit::Kilogram : WeightUnit::Pound;
    p.armUnit = arm == QLatin1String("mm")  ? ArmUnit::Millimetre
                : arm == QLatin1String("m") ? ArmUnit::Metre
                                            : ArmUnit::Inch;
}

void ProfileReader::fuel(const QJsonObject& o, AircraftProfile& p) {
    p.usableGal = number(o, "usableGal", limits::kUsableGal, 0, true);
    p.densityPerGal = number(o, "densityPerGal", limits::kDensityPerGal, 6, true);
    p.fuelArm = number(o, "arm", limits::kArm, 0, true);
    p.taxiGal = number(o, "taxiGal", limits::kTaxiGal);
}

void ProfileReader::performance(const QJsonObject& root, AircraftProfile& p) {
    p.cruise = rows<CruiseRow>(list(root, "cruise"), [this](const QJsonObject& o) {
        return CruiseRow{number(o, "altitudeFt", limits::kAltitudeFt, 0, true),
                         number(o, "tasKt", limits::kTasKt, 0, true),
                         number(o, "fuelFlowGph", limits::kFuelFlowGph, 0, true)};
    });
    if (p.cruise.empty())
        fail(QStringLiteral("\"cruise\" has no row"));
    const QJsonObject climb = part(root, "climb");
    if (climb.contains(QStringLiteral("table"))) {
        p.climbTable = rows<ClimbRow>(list(climb, "table"), [this](const QJsonObject& o) {
            return ClimbRow{number(o, "pressureAltitudeFt", limits::kAltitudeFt, 0, true),
                            number(o, "minutes", limits::kClimbMinutes, 0, true),
                            number(o, "fuelGal", limits::kClimbFuelGal, 0, true),
                            number(o, "distanceNm", limits::kClimbDistanceNm, 0, true)};
        });
        if (p.climbTable.size() < 2)
            fail(QStringLiteral("the climb \"table\" has fewer than two rows"));
    } else {
        p.climbRate = rate(climb);
    }
    p.descent = rate(part(root, "descent"));
    p.patternAltitudeFt =
        number(root, "patternAltitudeFt", limits::kPatternAltitudeFt, p.patternAltitudeFt);
    p.maxCrosswindKt = optionalNumber(root, "maxCrosswindKt", limits::kCrosswindKt);
    auto rising = [](const auto& a, const auto& b) { return a < b; };
    for (std::size_t i = 1; i < p.cruise.size(); ++i) {
        if (!rising(p.cruise[i - 1].altitudeFt, p.cruise[i].altitudeFt))
            fail(QStringLiteral("the \"cruise\" rows are not in rising altitude"));
    }
    for (std::size_t i = 1; i < p.climbTable.size(); ++i) {
        const ClimbRow &a = p.climbTable[i - 1], &b = p.climbTable[i];
        if (!rising(a.pressureAltitudeFt, b.pressureAltitudeFt))
            fail(QStringLiteral("the climb table is not in rising altitude"));
        if (b.minutes < a.minutes || b.fuelGal < a.fuelGal || b.distanceNm < a.distanceNm)
            fail(QStringLiteral("the climb table's time, fuel or distance falls at %1 ft")
                     .arg(core::numberText(b.pressureAltitudeFt)));
    }
}

Envelope ProfileReader::envelope(const QJsonObject& o) {
    Envelope e;
    e.name = text(o, "name");
    const QString axis = text(o, "axis");
    if (axis != QLatin1String("arm") && axis != QLatin1String("moment"))
        fail(QStringLiteral("envelope \"%1\": \"axis\" is not arm or moment").arg(e.name));
    e.byMoment = axis == QLatin1String("moment");
    const core::Limit& x = e.byMoment ? limits::kMoment : limits::kArm;
    for (const QJsonValue& point : list(o, "points")) {
        const QJsonArray pair = point.toArray();
        const QJsonObject asObject{{QStringLiteral("x"), pair.at(0)},
                                   {QStringLiteral("weight"), pair.at(1)}};
        if (pair.size() != 2)
            fail(QStringLiteral("envelope \"%1\": a point is not [x, weight]").arg(e.name));
        e.points.emplace_back(number(asObject, "x", x, 0, true),
                              number(asObject, "weight", limits::kWeight, 0, true));
    }
    if (e.points.size() < 3)
        fail(QStringLiteral("envelope \"%1\" has fewer than three points").arg(e.name));
    return e;
}

void ProfileReader::weights(const QJsonObject& root, AircraftProfile& p) {
    const QJsonObject w = part(root, "weights");
    p.emptyWeight = number(w, "empty", limits::kWeight, 0, true);
    p.emptyArm = number(w, "emptyArm", limits::kArm, 0, true);
    p.maxRampWeight = number(w, "maxRamp", limits::kWeight, 0, true);
    p.maxTakeoffWeight = number(w, "maxTakeoff", limits::kWeight, 0, true);
    p.maxLandingWeight = number(w, "maxLanding", limits::kWeight, 0, true);
    p.stations = rows<Station>(list(root, "stations"), [this](const QJsonObject& o) {
        return Station{text(o, "name"), number(o, "arm", limits::kArm, 0, true),
                       number(o, "max", limits::kWeight, 0, true)};
    });
    for (std::size_t i = 0; i < p.stations.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (p.stations[i].name == p.stations[j].name)
                fail(QStringLiteral("two stations are named \"%1\"").arg(p.stations[i].name));
        }
    }
    p.envelopes = rows<Envelope>(list(root, "envelopes"),
                                 [this](const QJsonObject& o) { return envelope(o); });
}

QJsonObject rateJson(const SteadyRate& r) {
    return {{QStringLiteral("rateFpm"), r.rateFpm},
            {QStringLiteral("tasKt"), r.tasKt},
            {QStringLiteral("fuelFlowGph"), r.fuelFlowGph}};
}

QJsonArray cruiseJson(const AircraftProfile& p) {
    QJsonArray cruise;
    for (const CruiseRow& r : p.cruise)
        cruise.append(QJsonObject{{QStringLiteral("altitudeFt"), r.altitudeFt},
                                  {QStringLiteral("tasKt"), r.tasKt},
                                  {QStringLiteral("fuelFlowGph"), r.fuelFlowGph}});
    return cruise;
}

QJsonObject climbJson(const AircraftProfile& p) {
    if (p.climbRate)
        return rateJson(*p.climbRate);
    QJsonArray table;
    for (const ClimbRow& r : p.climbTable)
        table.append(QJsonObject{{QStringLiteral("pressureAltitudeFt"), r.pressureAltitudeFt},
                                 {QStringLiteral("minutes"), r.minutes},
                                 {QStringLiteral("fuelGal"), r.fuelGal},
                                 {QStringLiteral("distanceNm"), r.distanceNm}});
    return {{QStringLiteral("table"), table}};
}

QJsonObject loadingJson(const AircraftProfile& p, QJsonObject root) {
    root.insert(QStringLiteral("weights"),
                QJsonObject{{QStringLiteral("empty"), p.emptyWeight},
                            {QStringLiteral("emptyArm"), p.emptyArm},
                            {QStringLiteral("maxRamp"), p.maxRampWeight},
                            {QStringLiteral("maxTakeoff"), p.maxTakeoffWeight},
                            {QStringLiteral("maxLanding"), p.maxLandingWeight}});
    QJsonArray stations, envelopes;
    for (const Station& s : p.stations)
        stations.append(QJsonObject{{QStringLiteral("name"), s.name},
                                    {QStringLiteral("arm"), s.arm},
                                    {QStringLiteral("max"), s.maxWeight}});
    for (const Envelope& e : p.envelopes) {
        QJsonArray points;
        for (const auto& [x, weight] : e.points)
            points.append(QJsonArray{x, weight});
        envelopes.append(QJsonObject{
            {QStringLiteral("name"), e.name},
            {QStringLiteral("axis"), e.byMoment ? QStringLiteral("moment") : QStringLiteral("arm")},
            {QStringLiteral("points"), points}});
    }
    root.insert(QStringLiteral("stations"), stations);
    root.insert(QStringLiteral("envelopes"), envelopes);
    return root;
}

// A climb table's cumulative time, fuel and distance at a pressure altitude
// within it.
ClimbRow climbRowAt(const std::vector<ClimbRow>& table, double altitudeFt) {
    std::size_t i = 1;
    while (i + 1 < table.size() && table[i].pressureAltitudeFt < altitudeFt)
        ++i;
    const ClimbRow &a = table[i - 1], &b = table[i];
    const double f =
        (altitudeFt - a.pressureAltitudeFt) / (b.pressureAltitudeFt - a.pressureAltitudeFt);
    auto at = [f](double x, double y) { return x + (y - x) * f; };
    return {altitudeFt, at(a.minutes, b.minutes), at(a.fuelGal, b.fuelGal),
            at(a.distanceNm, b.distanceNm)};
}

} // namespace

ProfileRead readProfile(const std::string& bytes) {
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(bytes), &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        ProfileRead out;
        out.error = QStringLiteral("it is not an aircraft profile (damaged JSON)");
        return out;
    }
    return profileOf(doc.object());
}

ProfileRead readProfileFile(const QString& path) {
    const auto bytes = core::readFileBytes(QFile::encodeName(path).toStdString(), 1 << 20);
    if (!bytes) {
        ProfileRead out;
        out.error = QStringLiteral("no such file");
        return out;
    }
    return readProfile(*bytes);
}

ProfileRead profileOf(const QJsonObject& root) {
    ProfileRead out;
    if (root.value(QStringLiteral("format")).toString() != kFormat) {
        out.error = QStringLiteral("it is not an aircraft profile");
        return out;
    }
    out.error = core::formatVersionProblem(root.value(QStringLiteral("version")),
                                           kAircraftFormatVersion, "aircraft");
    if (!out.error.isEmpty())
        return out;
    ProfileReader r;
    AircraftProfile p;
    p.registration = r.text(root, "registration");
    p.type = r.text(root, "type");
    p.note = r.text(root, "note");
    r.units(r.part(root, "units"), p);
    r.fuel(r.part(root, "fuel"), p);
    r.performance(root, p);
    r.weights(root, p);
    if (!r.error.isEmpty()) {
        out.error = r.error;
        return out;
    }
    out.profile = std::move(p);
    return out;
}

std::string profileJson(const AircraftProfile& p) {
    return QJsonDocument(profileObject(p)).toJson(QJsonDocument::Indented).toStdString();
}

QJsonObject profileObject(const AircraftProfile& p) {
    QJsonObject root{{QStringLiteral("format"), kFormat},
                     {QStringLiteral("version"), kAircraftFormatVersion},
                     {QStringLiteral("registration"), p.registration},
                     {QStringLiteral("type"), p.type}};
    if (!p.note.isEmpty())
        root.insert(QStringLiteral("note"), p.note);
    root.insert(QStringLiteral("units"),
                QJsonObject{{QStringLiteral("weight"), unitText(p.weightUnit)},
                            {QStringLiteral("arm"), unitText(p.armUnit)}});
    root.insert(QStringLiteral("fuel"),
                QJsonObject{{QStringLiteral("usableGal"), p.usableGal},
                            {QStringLiteral("densityPerGal"), p.densityPerGal},
                            {QStringLiteral("arm"), p.fuelArm},
                            {QStringLiteral("taxiGal"), p.taxiGal}});
    root.insert(QStringLiteral("cruise"), cruiseJson(p));
    root.insert(QStringLiteral("climb"), climbJson(p));
    root.insert(QStringLiteral("descent"), rateJson(p.descent));
    root.insert(QStringLiteral("patternAltitudeFt"), p.patternAltitudeFt);
    if (p.maxCrosswindKt)
        root.insert(QStringLiteral("maxCrosswindKt"), *p.maxCrosswindKt);
    return loadingJson(p, root);
}

CruiseRow cruiseAt(const AircraftProfile& profile, double altitudeFt) {
    const std::vector<CruiseRow>& rows = profile.cruise;
    if (rows.empty())
        return {};
    if (altitudeFt <= rows.front().altitudeFt)
        return {altitudeFt, rows.front().tasKt, rows.front().fuelFlowGph};
    if (altitudeFt >= rows.back().altitudeFt)
        return {altitudeFt, rows.back().tasKt, rows.back().fuelFlowGph};
    std::size_t i = 1;
    while (rows[i].altitudeFt < altitudeFt)
        ++i;
    const CruiseRow &a = rows[i - 1], &b = rows[i];
    const double f = (altitudeFt - a.altitudeFt) / (b.altitudeFt - a.altitudeFt);
    return {altitudeFt, a.tasKt + (b.tasKt - a.tasKt) * f,
            a.fuelFlowGph + (b.fuelFlowGph - a.fuelFlowGph) * f};
}

std::optional<ClimbCost> tableClimb(const std::vector<ClimbRow>& table, double fromFt, double toFt,
                                    double isaDeviationC, QString* why) {
    if (table.size() < 2 || !(fromFt <= toFt)) {
        *why = QStringLiteral("no climb table");
        return std::nullopt;
    }
    const double low = table.front().pressureAltitudeFt, high = table.back().pressureAltitudeFt;
    if (fromFt < low || toFt > high) {
        *why = QStringLiteral("the climb table covers %1 to %2 ft, not a climb from %3 to %4 ft")
                   .arg(core::numberText(low), core::numberText(high), core::numberText(fromFt),
                        core::numberText(toFt));
        return std::nullopt;
    }
    const ClimbRow a = climbRowAt(table, fromFt), b = climbRowAt(table, toFt);
    // 10% more of each for every 10 °C above standard; a cold day is not
    // counted as a gain.
    const double factor = 1 + std::max(0.0, isaDeviationC) / 100;
    return ClimbCost{(b.minutes - a.minutes) * factor, (b.fuelGal - a.fuelGal) * factor,
                     (b.distanceNm - a.distanceNm) * factor};
}

QStringList aircraftFiles(const core::DataPlaces& places) {
    QStringList paths, names;
    QStringList folders{places.userFolder()};
    folders << places.installedFolders();
    for (const QString& folder : folders) {
        const QDir dir(folder + QStringLiteral("/aircraft"));
        for (const QString& name :
             dir.entryList({QStringLiteral("*.json")}, QDir::Files | QDir::Readable, QDir::Name)) {
            if (names.contains(name))
                continue;
            names << name;
            paths << dir.filePath(name);
        }
    }
    return paths;
}

QString unitText(WeightUnit unit) {
    return unit == WeightUnit::Kilogram ? QStringLiteral("kg") : QStringLiteral("lb");
}

QString unitText(ArmUnit unit) {
    switch (unit) {
    case ArmUnit::Inch:
        return QStringLiteral("in");
    case ArmUnit::Millimetre:
        return QStringLiteral("mm");
    case ArmUnit::Metre:
        return QStringLiteral("m");
    }
    return {};
}

} // namespace plan
