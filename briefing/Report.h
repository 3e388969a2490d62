#pragma once
// The weather reports pilots get as text: METAR and SPECI (WMO FM 15 and the
// North American variant) and TAF (FM 51), decoded group by group. What is
// not understood is kept as it stands and listed, never guessed; remarks
// (RMK) and a METAR's trend are kept as text. No widgets.
//
// Speeds in knots (MPS and KMH are converted), visibility in metres,
// heights in feet above the field, temperatures in degrees Celsius,
// pressures in hectopascals. Report times are UTC; a report says only the
// day of the month, so the month is the one that puts it nearest a given
// date. At most kMaxReportChars of a text are read.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace briefing {

constexpr int kMaxReportChars = 20000;

struct ReportWind {
    std::optional<double> directionDeg; // none when variable (VRB) or missing
    bool variable = false;
    std::optional<double> speedKt; // none when missing (/////)
    std::optional<double> gustKt;
    std::optional<int> varyingFromDeg, varyingToDeg; // "200V260"
};

struct Visibility {
    double metres = 0;
    bool orMore = false;   // 9999, P6SM
    bool lessThan = false; // M1/4SM
    QString text;          // as the report writes it
};

struct CloudLayer {
    QString cover;             // FEW, SCT, BKN, OVC, or VV (sky obscured)
    std::optional<int> baseFt; // none when ///
    QString type;              // CB, TCU, or empty
};

// What a METAR says of now, or a TAF's period of its time.
struct Conditions {
    std::optional<ReportWind> wind;
    std::optional<Visibility> visibility;
    bool cavok = false;
    QStringList weather;       // decoded: "light rain showers"
    QString noCloud;           // NSC, SKC, CLR or NCD where the report says so
    bool cloudUnknown = false; // ////// (an automatic station cannot tell)
    std::vector<CloudLayer> clouds;
    bool noSignificantWeather = false; // NSW, in a TAF's change
    QStringList undecoded;             // groups as they stand
};

enum class FlightCategory { Unknown, Vfr, Mvfr, Ifr, Lifr };
QString categoryName(FlightCategory category); // "VFR", ..., "unknown"

struct Metar {
    QString kind; // METAR or SPECI
    QString station;
    std::optional<QDateTime> observed;
    bool automatic = false, corrected = false, nil = false;
    Conditions now;
    std::optional<double> temperatureC, dewPointC;
    std::optional<double> altimeterHpa;
    bool altimeterInHg = false;    // the report gave A (inches), converted
    QStringList runwayVisualRange; // as they stand
    QString trend;                 // NOSIG, BECMG ..., TEMPO ...
    QString remarks;               // after RMK
    QString text;                  // the report as read
};

struct TafPeriod {
    enum class Kind { Base, From, Becoming, Temporary, Probability };
    Kind kind = Kind::Base;
    int probabilityPercent = 0; // PROB30, PROB40
    bool temporary = false;     // PROB30 TEMPO
    QDateTime from, to;         // UTC
    Conditions conditions;
    QString text; // the period's groups as they stand
};

struct Taf {
    QString station;
    std::optional<QDateTime> issued;
    QDateTime validFrom, validTo;
    bool amended = false, corrected = false, nil = false, cancelled = false;
    std::vector<TafPeriod> periods; // the base first
    QStringList temperatures;       // TX and TN groups as they stand
    QString text;
};

// A file of reports or a bulletin as text, read whole up to
// kMaxWeatherFileBytes; none when it cannot be read or is larger.
constexpr std::size_t kMaxWeatherFileBytes = 4 * 1024 * 1024;
std::optional<QString> readWeatherFile(const QString& path);

// The group that starts a TAF period of this kind: "FM", "BECMG", "TEMPO",
// "PROB"; empty for the base.
QString periodKindCode(TafPeriod::Kind kind);

// The reports in a text pasted or opened: split where a report ends ("=")
// or a line starts a new one (METAR, SPECI, TAF).
QStringList splitReports(const QString& text);

// The first METAR or SPECI of the text (the word may be left out), or why
// there is none. nearDate: a UTC date the report is near, for its month.
struct MetarRead {
    std::optional<Metar> metar;
    QString error;
};
MetarRead decodeMetar(const QString& text, const QDate& nearDate);

struct TafRead {
    std::optional<Taf> taf;
    QString error;
};
TafRead decodeTaf(const QString& text, const QDate& nearDate);

// The periods of a TAF that cover a time: the prevailing one (the base or
// the last FM begun), the BECMG changes begun since, and the TEMPO and PROB
// periods that hold then. Empty when the TAF does not cover the time.
std::vector<std::size_t> periodsAt(const Taf& taf, const QDateTime& utc);

// By the usual limits of the ceiling (the lowest BKN, OVC or VV layer) and
// the visibility: VFR above 3,000 ft and 5 SM, MVFR from 1,000 ft and 3 SM,
// IFR from 500 ft and 1 SM, LIFR below. Unknown when either cannot be told,
// unless the other alone makes it LIFR.
FlightCategory categoryOf(const Conditions& conditions);
std::optional<int> ceilingFt(const Conditions& conditions); // none: no ceiling or unknown

// One line of the conditions as a pilot reads them: "wind 240/12G20 kt,
// visibility 10 km or more, light rain, BKN 1200 ft".
QString conditionsText(const Conditions& conditions);
QString windText(const ReportWind& wind);
QString visibilityText(const Visibility& visibility);

} // namespace briefing
