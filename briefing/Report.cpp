#include "briefing/Report.h"

#include "core/Files.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <map>

namespace briefing {
namespace {

constexpr double kMetresPerMile = 1609.344;

QRegularExpression pattern(const char* text) {
    return QRegularExpression(QLatin1String(text));
}

bool matches(const QRegularExpression& re, const QString& token, QRegularExpressionMatch* m) {
    *m = re.match(token);
    return m->hasMatch();
}

// The report's words, upper case, without the closing "=".
QStringList tokensOf(const QString& text) {
    QString t = text.left(kMaxReportChars).toUpper();
    t.replace(QLatin1Char('='), QLatin1Char(' '));
    return t.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

// The day of the month nearest a date: this month's, the one before or after.
std::optional<QDate> dayNear(int day, const QDate& near) {
    std::optional<QDate> best;
    for (int months : {-1, 0, 1}) {
        const QDate month = near.addMonths(months);
        const QDate d(month.year(), month.month(), day);
        if (d.isValid() && (!best || std::abs(d.daysTo(near)) < std::abs(best->daysTo(near))))
            best = d;
    }
    return best;
}

// ddhhmm (with Z) or ddhh (minutes 0); hour 24 is the next day's midnight.
std::optional<QDateTime> timeOf(const QString& digits, const QDate& near) {
    const int day = digits.mid(0, 2).toInt(), hour = digits.mid(2, 2).toInt();
    const int minute = digits.size() >= 6 ? digits.mid(4, 2).toInt() : 0;
    const std::optional<QDate> date = dayNear(day, near);
    if (!date || hour > 24 || minute > 59 || (hour == 24 && minute > 0))
        return std::nullopt;
    QDateTime t(*date, QTime(hour % 24, minute), Qt::UTC);
    return hour == 24 ? t.addDays(1) : t;
}

double knotsOf(double speed, const QString& unit) {
    if (unit == QLatin1String("MPS"))
        return speed * 1.943844;
    if (unit == QLatin1String("KMH"))
        return speed / 1.852;
    return speed;
}

bool readWind(const QString& token, Conditions& c) {
    static const QRegularExpression re =
        pattern("^(\\d{3}|VRB|///)(\\d{2,3}|//)(?:G(\\d{2,3}))?(KT|MPS|KMH)$");
    QRegularExpressionMatch m;
    if (!matches(re, token, &m))
        return false;
    ReportWind w;
    const QString unit = m.captured(4);
    if (m.captured(1) == QLatin1String("VRB"))
        w.variable = true;
    else if (m.captured(1) != QLatin1String("///"))
        w.directionDeg = m.captured(1).toInt();
    if (m.captured(2) != QLatin1String("//"))
        w.speedKt = knotsOf(m.captured(2).toInt(), unit);
    if (!m.captured(3).isEmpty())
        w.gustKt = knotsOf(m.captured(3).toInt(), unit);
    if (w.directionDeg && *w.directionDeg > 360) {
        c.undecoded << token;
        return true;
    }
    c.wind = w;
    return true;
}

bool readVarying(const QString& token, Conditions& c) {
    static const QRegularExpression re = pattern("^(\\d{3})V(\\d{3})$");
    QRegularExpressionMatch m;
    if (!c.wind || !matches(re, token, &m))
        return false;
    c.wind->varyingFromDeg = m.captured(1).toInt();
    c.wind->varyingToDeg = m.captured(2).toInt();
    return true;
}

// "1/2", "3/4": a fraction's value, none for a zero denominator.
std::optional<double> fraction(const QString& numerator, const QString& denominator) {
    const int d = denominator.toInt();
    if (d == 0)
        return std::nullopt;
    return numerator.toDouble() / d;
}

// 9999, 0800, 1500NDV, 10SM, P6SM, M1/4SM; "1 1/2SM" takes the next token.
bool readVisibility(const QStringList& tokens, int& i, Conditions& c) {
    static const QRegularExpression metres = pattern("^(\\d{4})(NDV)?$");
    static const QRegularExpression miles = pattern("^([PM])?(\\d{1,2})?(?:(\\d)/(\\d{1,2}))?SM$");
    static const QRegularExpression whole = pattern("^\\d$");
    QRegularExpressionMatch m;
    const QString& token = tokens.at(i);
    Visibility v;
    if (matches(metres, token, &m)) {
        v.metres = m.captured(1).toInt();
        v.orMore = v.metres >= 9999;
        v.text = token;
    } else if (whole.match(token).hasMatch() && i + 1 < tokens.size() &&
               matches(miles, tokens.at(i + 1), &m) && m.captured(2).isEmpty() &&
               !m.captured(3).isEmpty()) {
        const auto part = fraction(m.captured(3), m.captured(4));
        if (!part)
            return false;
        v.metres = (token.toInt() + *part) * kMetresPerMile;
        v.text = token + QLatin1Char(' ') + tokens.at(i + 1);
        v.lessThan = m.captured(1) == QLatin1String("M");
        ++i;
    } else if (matches(miles, token, &m) &&
               (!m.captured(2).isEmpty() || !m.captured(3).isEmpty())) {
        double sm = m.captured(2).toInt();
        if (!m.captured(3).isEmpty()) {
            const auto part = fraction(m.captured(3), m.captured(4));
            if (!part)
                return false;
            sm += *part;
        }
        v.metres = sm * kMetresPerMile;
        v.orMore = m.captured(1) == QLatin1String("P");
        v.lessThan = m.captured(1) == QLatin1String("M");
        v.text = token;
    } else {
        return false;
    }
    c.visibility = v;
    return true;
}

const std::map<QString, QString>& weatherWords() {
    static const std::map<QString, QString> words = {
        {QStringLiteral("MI"), QStringLiteral("shallow")},
        {QStringLiteral("PR"), QStringLiteral("partial")},
        {QStringLiteral("BC"), QStringLiteral("patches of")},
        {QStringLiteral("DR"), QStringLiteral("low drifting")},
        {QStringLiteral("BL"), QStringLiteral("blowing")},
        {QStringLiteral("SH"), QStringLiteral("showers of")},
        {QStringLiteral("TS"), QStringLiteral("thunderstorm")},
        {QStringLiteral("FZ"), QStringLiteral("freezing")},
        {QStringLiteral("DZ"), QStringLiteral("drizzle")},
        {QStringLiteral("RA"), QStringLiteral("rain")},
        {QStringLiteral("SN"), QStringLiteral("snow")},
        {QStringLiteral("SG"), QStringLiteral("snow grains")},
        {QStringLiteral("IC"), QStringLiteral("ice crystals")},
        {QStringLiteral("PL"), QStringLiteral("ice pellets")},
        {QStringLiteral("GR"), QStringLiteral("hail")},
        {QStringLiteral("GS"), QStringLiteral("small hail")},
        {QStringLiteral("UP"), QStringLiteral("unknown precipitation")},
        {QStringLiteral("BR"), QStringLiteral("mist")},
        {QStringLiteral("FG"), QStringLiteral("fog")},
        {QStringLiteral("FU"), QStringLiteral("smoke")},
        {QStringLiteral("VA"), QStringLiteral("volcanic ash")},
        {QStringLiteral("DU"), QStringLiteral("dust")},
        {QStringLiteral("SA"), QStringLiteral("sand")},
        {QStringLiteral("HZ"), QStringLiteral("haze")},
        {QStringLiteral("PY"), QStringLiteral("spray")},
        {QStringLiteral("PO"), QStringLiteral("dust whirls")},
        {QStringLiteral("SQ"), QStringLiteral("squalls")},
        {QStringLiteral("FC"), QStringLiteral("funnel cloud")},
        {QStringLiteral("SS"), QStringLiteral("sandstorm")},
        {QStringLiteral("DS"), QStringLiteral("duststorm")}};
    return words;
}

// -SHRA, +TSRA, VCFG, FZFG, RERA (recent), TS alone; // is weather missing.
bool readWeather(const QString& token, Conditions& c) {
    static const QRegularExpression re = pattern(
        "^(RE)?(\\+|-|VC)?(MI|PR|BC|DR|BL|SH|TS|FZ)?((?:DZ|RA|SN|SG|IC|PL|GR|GS|UP|BR|FG|FU|VA|"
        "DU|SA|HZ|PY|PO|SQ|FC|SS|DS)*)$");
    QRegularExpressionMatch m;
    if (token == QLatin1String("//")) {
        c.weather << QStringLiteral("weather not observed");
        return true;
    }
    if (!matches(re, token, &m) || (m.captured(3).isEmpty() && m.captured(4).isEmpty()))
        return false;
    QStringList words;
    const QString intensity = m.captured(2);
    if (intensity == QLatin1String("-"))
        words << QStringLiteral("light");
    else if (intensity == QLatin1String("+"))
        words << QStringLiteral("heavy");
    if (!m.captured(3).isEmpty())
        words << weatherWords().at(m.captured(3));
    const QString phenomena = m.captured(4);
    QStringList kinds;
    for (int p = 0; p + 1 < phenomena.size(); p += 2)
        kinds << weatherWords().at(phenomena.mid(p, 2));
    if (!kinds.isEmpty())
        words << kinds.join(QLatin1String(" and "));
    if (m.captured(3) == QLatin1String("TS") && !kinds.isEmpty())
        words[words.size() - 2] = QStringLiteral("thunderstorm with");
    if (m.captured(3) == QLatin1String("SH") && kinds.isEmpty())
        words.last() = QStringLiteral("showers");
    if (intensity == QLatin1String("VC"))
        words << QStringLiteral("in the vicinity");
    if (!m.captured(1).isEmpty())
        words.prepend(QStringLiteral("recent"));
    c.weather << words.join(QLatin1Char(' '));
    return true;
}

bool readCloud(const QString& token, Conditions& c) {
    static const QRegularExpression layer =
        pattern("^(FEW|SCT|BKN|OVC|VV)(\\d{3}|///)(CB|TCU|///)?$");
    static const QRegularExpression unknown = pattern("^//////(CB|TCU)?$");
    QRegularExpressionMatch m;
    if (token == QLatin1String("NSC") || token == QLatin1String("SKC") ||
        token == QLatin1String("CLR") || token == QLatin1String("NCD")) {
        c.noCloud = token;
        return true;
    }
    if (matches(unknown, token, &m)) {
        c.cloudUnknown = true;
        return true;
    }
    if (!matches(layer, token, &m))
        return false;
    CloudLayer l;
    l.cover = m.captured(1);
    if (m.captured(2) != QLatin1String("///"))
        l.baseFt = m.captured(2).toInt() * 100;
    if (m.captured(3) != QLatin1String("///"))
        l.type = m.captured(3);
    c.clouds.push_back(l);
    return true;
}

// A group of the conditions a METAR and a TAF share; false when it is none.
bool readCondition(const QStringList& tokens, int& i, Conditions& c) {
    const QString& token = tokens.at(i);
    if (token == QLatin1String("CAVOK")) {
        c.cavok = true;
        return true;
    }
    if (token == QLatin1String("NSW")) {
        c.noSignificantWeather = true;
        return true;
    }
    return readWind(token, c) || readVarying(token, c) || readVisibility(tokens, i, c) ||
           readWeather(token, c) || readCloud(token, c);
}

std::optional<double> temperatureOf(const QString& text) {
    if (text.isEmpty() || text.startsWith(QLatin1String("//")))
        return std::nullopt;
    const bool minus = text.startsWith(QLatin1Char('M'));
    const double value = text.mid(minus ? 1 : 0).toInt();
    return minus ? -value : value;
}

// The groups a METAR has and a TAF has not: temperatures, altimeter, RVR.
bool readMetarGroup(const QString& token, Metar& metar) {
    static const QRegularExpression temps = pattern("^(M?\\d{2}|//)/(M?\\d{2}|//)?$");
    static const QRegularExpression q = pattern("^Q(\\d{4}|////)$");
    static const QRegularExpression a = pattern("^A(\\d{4}|////)$");
    static const QRegularExpression rvr =
        pattern("^R\\d{2}[LCR]?/[PM]?\\d{4}(V[PM]?\\d{4})?(FT)?[UDN/]?$");
    QRegularExpressionMatch m;
    if (matches(temps, token, &m)) {
        metar.temperatureC = temperatureOf(m.captured(1));
        metar.dewPointC = temperatureOf(m.captured(2));
        return true;
    }
    if (matches(q, token, &m)) {
        if (m.captured(1) != QLatin1String("////"))
            metar.altimeterHpa = m.captured(1).toInt();
        return true;
    }
    if (matches(a, token, &m)) {
        metar.altimeterInHg = true;
        if (m.captured(1) != QLatin1String("////"))
            metar.altimeterHpa = m.captured(1).toInt() / 100.0 * 33.8639;
        return true;
    }
    if (matches(rvr, token, &m)) {
        metar.runwayVisualRange << token;
        return true;
    }
    return false;
}

bool isTrend(const QString& token) {
    return token == QLatin1String("NOSIG") || token == QLatin1String("BECMG") ||
           token == QLatin1String("TEMPO");
}

// The report's first words: its kind, station, time, AUTO, COR, NIL.
int readMetarHeader(const QStringList& tokens, const QDate& nearDate, Metar& metar) {
    static const QRegularExpression station = pattern("^[A-Z][A-Z0-9]{3}$");
    static const QRegularExpression time = pattern("^(\\d{6})Z$");
    int i = 0;
    if (i < tokens.size() &&
        (tokens.at(i) == QLatin1String("METAR") || tokens.at(i) == QLatin1String("SPECI"))) {
        metar.kind = tokens.at(i);
        ++i;
    }
    if (i < tokens.size() && tokens.at(i) == QLatin1String("COR")) {
        metar.corrected = true;
        ++i;
    }
    if (i < tokens.size() && station.match(tokens.at(i)).hasMatch())
        metar.station = tokens.at(i++);
    QRegularExpressionMatch m;
    if (i < tokens.size() && matches(time, tokens.at(i), &m)) {
        metar.observed = timeOf(m.captured(1), nearDate);
        ++i;
    }
    for (; i < tokens.size(); ++i) {
        if (tokens.at(i) == QLatin1String("AUTO"))
            metar.automatic = true;
        else if (tokens.at(i) == QLatin1String("COR"))
            metar.corrected = true;
        else if (tokens.at(i) == QLatin1String("NIL"))
            metar.nil = true;
        else
            break;
    }
    return i;
}

} // namespace

std::optional<QString> readWeatherFile(const QString& path) {
    const auto bytes =
        core::readFileBytes(QFile::encodeName(path).toStdString(), kMaxWeatherFileBytes + 1);
    if (!bytes || bytes->size() > kMaxWeatherFileBytes)
        return std::nullopt;
    return QString::fromStdString(*bytes);
}

QString periodKindCode(TafPeriod::Kind kind) {
    switch (kind) {
    case TafPeriod::Kind::Base:
        break;
    case TafPeriod::Kind::From:
        return QStringLiteral("FM");
    case TafPeriod::Kind::Becoming:
        return QStringLiteral("BECMG");
    case TafPeriod::Kind::Temporary:
        return QStringLiteral("TEMPO");
    case TafPeriod::Kind::Probability:
        return QStringLiteral("PROB");
    }
    return {};
}

QString categoryName(FlightCategory category) {
    switch (category) {
    case FlightCategory::Vfr:
        return QStringLiteral("VFR");
    case FlightCategory::Mvfr:
        return QStringLiteral("MVFR");
    case FlightCategory::Ifr:
        return QStringLiteral("IFR");
    case FlightCategory::Lifr:
        return QStringLiteral("LIFR");
    case FlightCategory::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

QStringList splitReports(const QString& text) {
    static const QRegularExpression starts = pattern("^\\s*(METAR|SPECI|TAF)\\b");
    QStringList reports;
    QString current;
    const QString bounded = text.left(kMaxReportChars);
    for (const QString& line : bounded.split(QLatin1Char('\n'))) {
        if (starts.match(line.toUpper()).hasMatch() && !current.trimmed().isEmpty()) {
            reports << current.simplified();
            current.clear();
        }
        for (const QChar ch : line + QLatin1Char('\n')) {
            current += ch;
            if (ch == QLatin1Char('=')) {
                if (!current.trimmed().isEmpty() && current.trimmed() != QLatin1String("="))
                    reports << current.simplified();
                current.clear();
            }
        }
    }
    if (!current.trimmed().isEmpty())
        reports << current.simplified();
    return reports;
}

MetarRead decodeMetar(const QString& text, const QDate& nearDate) {
    MetarRead out;
    QString report;
    for (const QString& r : splitReports(text)) {
        if (!r.toUpper().startsWith(QLatin1String("TAF"))) {
            report = r;
            break;
        }
    }
    const QStringList tokens = tokensOf(report);
    Metar metar;
    metar.kind = QStringLiteral("METAR");
    metar.text = report;
    int i = readMetarHeader(tokens, nearDate, metar);
    if (metar.station.isEmpty()) {
        out.error = report.isEmpty() ? QStringLiteral("there is no report")
                                     : QStringLiteral("it does not name a station");
        return out;
    }
    for (; i < tokens.size(); ++i) {
        const QString& token = tokens.at(i);
        if (token == QLatin1String("RMK")) {
            metar.remarks = tokens.mid(i + 1).join(QLatin1Char(' '));
            break;
        }
        if (isTrend(token)) {
            const int rmk = static_cast<int>(tokens.indexOf(QStringLiteral("RMK"), i));
            metar.trend = tokens.mid(i, rmk < 0 ? -1 : rmk - i).join(QLatin1Char(' '));
            if (rmk >= 0)
                metar.remarks = tokens.mid(rmk + 1).join(QLatin1Char(' '));
            break;
        }
        if (!readMetarGroup(token, metar) && !readCondition(tokens, i, metar.now))
            metar.now.undecoded << token;
    }
    out.metar = std::move(metar);
    return out;
}

namespace {

// A TAF's change group starting at token i, or none: FMddhhmm, BECMG,
// TEMPO, PROB30/40 [TEMPO], each but FM with its ddhh/ddhh.
std::optional<TafPeriod> changeAt(const QStringList& tokens, int& i, const QDate& nearDate) {
    static const QRegularExpression from = pattern("^FM(\\d{6})$");
    static const QRegularExpression prob = pattern("^PROB(\\d{2})$");
    static const QRegularExpression span = pattern("^(\\d{4})/(\\d{4})$");
    QRegularExpressionMatch m;
    TafPeriod p;
    const QString& token = tokens.at(i);
    if (matches(from, token, &m)) {
        const auto t = timeOf(m.captured(1), nearDate);
        if (!t)
            return std::nullopt;
        p.kind = TafPeriod::Kind::From;
        p.from = *t;
        ++i;
        return p;
    }
    int at = i;
    if (token == QLatin1String("BECMG")) {
        p.kind = TafPeriod::Kind::Becoming;
    } else if (token == QLatin1String("TEMPO")) {
        p.kind = TafPeriod::Kind::Temporary;
    } else if (matches(prob, token, &m)) {
        p.kind = TafPeriod::Kind::Probability;
        p.probabilityPercent = m.captured(1).toInt();
        if (at + 1 < tokens.size() && tokens.at(at + 1) == QLatin1String("TEMPO")) {
            p.temporary = true;
            ++at;
        }
    } else {
        return std::nullopt;
    }
    if (at + 1 >= tokens.size() || !matches(span, tokens.at(at + 1), &m))
        return std::nullopt;
    const auto start = timeOf(m.captured(1), nearDate), end = timeOf(m.captured(2), nearDate);
    if (!start || !end)
        return std::nullopt;
    p.from = *start;
    p.to = *end < *start ? end->addMonths(1) : *end;
    i = at + 2;
    return p;
}

// The TAF's first words up to its validity; the index after them, or -1.
int readTafHeader(const QStringList& tokens, const QDate& nearDate, Taf& taf) {
    static const QRegularExpression station = pattern("^[A-Z][A-Z0-9]{3}$");
    static const QRegularExpression time = pattern("^(\\d{6})Z$");
    static const QRegularExpression span = pattern("^(\\d{4})/(\\d{4})$");
    int i = 0;
    if (i < tokens.size() && tokens.at(i) == QLatin1String("TAF"))
        ++i;
    for (; i < tokens.size(); ++i) {
        if (tokens.at(i) == QLatin1String("AMD"))
            taf.amended = true;
        else if (tokens.at(i) == QLatin1String("COR"))
            taf.corrected = true;
        else
            break;
    }
    if (i < tokens.size() && station.match(tokens.at(i)).hasMatch())
        taf.station = tokens.at(i++);
    QRegularExpressionMatch m;
    if (i < tokens.size() && matches(time, tokens.at(i), &m)) {
        taf.issued = timeOf(m.captured(1), nearDate);
        ++i;
    }
    if (i < tokens.size() && tokens.at(i) == QLatin1String("NIL")) {
        taf.nil = true;
        return -1;
    }
    if (i >= tokens.size() || !matches(span, tokens.at(i), &m))
        return -1;
    const auto start = timeOf(m.captured(1), nearDate), end = timeOf(m.captured(2), nearDate);
    if (!start || !end)
        return -1;
    taf.validFrom = *start;
    taf.validTo = *end < *start ? end->addMonths(1) : *end;
    return i + 1;
}

} // namespace

TafRead decodeTaf(const QString& text, const QDate& nearDate) {
    static const QRegularExpression temperature = pattern("^T[XN]M?\\d{2}/\\d{4}Z$");
    TafRead out;
    // The first TAF, else the first report (a TAF given without its word).
    const QStringList reports = splitReports(text);
    QString report = reports.isEmpty() ? QString() : reports.first();
    for (const QString& r : reports) {
        if (r.toUpper().startsWith(QLatin1String("TAF"))) {
            report = r;
            break;
        }
    }
    const QStringList tokens = tokensOf(report);
    Taf taf;
    taf.text = report;
    int i = readTafHeader(tokens, nearDate, taf);
    if (taf.station.isEmpty() || (i < 0 && !taf.nil)) {
        out.error = taf.station.isEmpty() ? QStringLiteral("it does not name a station")
                                          : QStringLiteral("its period of validity cannot be read");
        return out;
    }
    if (taf.nil) {
        out.taf = std::move(taf);
        return out;
    }
    TafPeriod current;
    current.from = taf.validFrom;
    current.to = taf.validTo;
    while (i < tokens.size()) {
        const int start = i;
        if (auto change = changeAt(tokens, i, nearDate)) {
            taf.periods.push_back(std::move(current));
            current = std::move(*change);
            current.text = tokens.mid(start, i - start).join(QLatin1Char(' '));
            continue;
        }
        const QString& token = tokens.at(i);
        if (token == QLatin1String("CNL"))
            taf.cancelled = true;
        else if (temperature.match(token).hasMatch())
            taf.temperatures << token;
        else if (!readCondition(tokens, i, current.conditions))
            current.conditions.undecoded << token;
        current.text += (current.text.isEmpty() ? QString() : QStringLiteral(" ")) +
                        tokens.mid(start, i + 1 - start).join(QLatin1Char(' '));
        ++i;
    }
    taf.periods.push_back(std::move(current));
    // An FM period lasts until the next FM, or the TAF's end.
    for (std::size_t p = 0; p < taf.periods.size(); ++p) {
        if (taf.periods[p].kind != TafPeriod::Kind::From)
            continue;
        taf.periods[p].to = taf.validTo;
        for (std::size_t q = p + 1; q < taf.periods.size(); ++q) {
            if (taf.periods[q].kind == TafPeriod::Kind::From) {
                taf.periods[p].to = std::min(taf.periods[q].from, taf.validTo);
                break;
            }
        }
    }
    out.taf = std::move(taf);
    return out;
}

std::vector<std::size_t> periodsAt(const Taf& taf, const QDateTime& utc) {
    std::vector<std::size_t> out;
    if (taf.periods.empty() || utc < taf.validFrom || utc >= taf.validTo)
        return out;
    std::size_t prevailing = 0;
    for (std::size_t p = 1; p < taf.periods.size(); ++p) {
        if (taf.periods[p].kind == TafPeriod::Kind::From && taf.periods[p].from <= utc)
            prevailing = p;
    }
    out.push_back(prevailing);
    for (std::size_t p = prevailing + 1; p < taf.periods.size(); ++p) {
        const TafPeriod& period = taf.periods[p];
        if (period.kind == TafPeriod::Kind::From)
            break;
        const bool begun = period.from <= utc;
        const bool holds = begun && utc < period.to;
        if ((period.kind == TafPeriod::Kind::Becoming && begun) || holds)
            out.push_back(p);
    }
    return out;
}

std::optional<int> ceilingFt(const Conditions& c) {
    std::optional<int> lowest;
    for (const CloudLayer& l : c.clouds) {
        if (l.cover == QLatin1String("FEW") || l.cover == QLatin1String("SCT") || !l.baseFt)
            continue;
        if (!lowest || *l.baseFt < *lowest)
            lowest = l.baseFt;
    }
    return lowest;
}

namespace {

// Whether the clouds are told well enough to say there is or is no ceiling.
bool cloudsKnown(const Conditions& c) {
    if (c.cavok || !c.noCloud.isEmpty())
        return true;
    if (c.cloudUnknown || c.clouds.empty())
        return false;
    return std::none_of(c.clouds.begin(), c.clouds.end(), [](const CloudLayer& l) {
        return !l.baseFt && l.cover != QLatin1String("FEW") && l.cover != QLatin1String("SCT");
    });
}

FlightCategory byCeiling(std::optional<int> ceiling) {
    if (!ceiling || *ceiling > 3000)
        return FlightCategory::Vfr;
    if (*ceiling >= 1000)
        return FlightCategory::Mvfr;
    return *ceiling >= 500 ? FlightCategory::Ifr : FlightCategory::Lifr;
}

FlightCategory byVisibility(const Visibility& v) {
    const double sm = v.metres / kMetresPerMile;
    // Within a metre of a limit counts as on it (metres of a whole mile).
    constexpr double kSlack = 1 / kMetresPerMile;
    if (v.orMore ? sm >= 5 : sm > 5 + kSlack)
        return FlightCategory::Vfr;
    if (sm >= 3 - kSlack && !(v.lessThan && sm <= 3 + kSlack))
        return FlightCategory::Mvfr;
    if (sm >= 1 - kSlack && !(v.lessThan && sm <= 1 + kSlack))
        return FlightCategory::Ifr;
    return FlightCategory::Lifr;
}

} // namespace

FlightCategory categoryOf(const Conditions& c) {
    std::optional<FlightCategory> byCloud, byVis;
    if (cloudsKnown(c))
        byCloud = byCeiling(c.cavok ? std::nullopt : ceilingFt(c));
    if (c.cavok)
        byVis = FlightCategory::Vfr;
    else if (c.visibility)
        byVis = byVisibility(*c.visibility);
    if (byCloud && byVis)
        return std::max(*byCloud, *byVis);
    if (byCloud == FlightCategory::Lifr || byVis == FlightCategory::Lifr)
        return FlightCategory::Lifr;
    return FlightCategory::Unknown;
}

QString windText(const ReportWind& w) {
    if (!w.speedKt)
        return QStringLiteral("wind missing");
    const long speed = std::lround(*w.speedKt);
    if (speed == 0 && !w.gustKt)
        return QStringLiteral("calm");
    QString text = w.variable       ? QStringLiteral("variable")
                   : w.directionDeg ? QStringLiteral("%1°").arg(std::lround(*w.directionDeg), 3, 10,
                                                                QLatin1Char('0'))
                                    : QStringLiteral("direction missing");
    text += QStringLiteral(" %1").arg(speed);
    if (w.gustKt)
        text += QStringLiteral(" gusting %1").arg(std::lround(*w.gustKt));
    text += QStringLiteral(" kt");
    if (w.varyingFromDeg && w.varyingToDeg)
        text += QStringLiteral(", varying %1° to %2°")
                    .arg(*w.varyingFromDeg, 3, 10, QLatin1Char('0'))
                    .arg(*w.varyingToDeg, 3, 10, QLatin1Char('0'));
    return text;
}

QString visibilityText(const Visibility& v) {
    QString amount;
    if (v.text.endsWith(QLatin1String("SM"))) {
        amount = QString(v.text)
                     .remove(QLatin1String("SM"))
                     .remove(QLatin1Char('P'))
                     .remove(QLatin1Char('M')) +
                 QStringLiteral(" SM");
    } else {
        amount = v.metres >= 5000 ? QStringLiteral("%1 km").arg(std::lround(v.metres / 1000))
                                  : QStringLiteral("%1 m").arg(std::lround(v.metres));
    }
    if (v.orMore)
        return amount + QStringLiteral(" or more");
    return v.lessThan ? QStringLiteral("less than ") + amount : amount;
}

QString conditionsText(const Conditions& c) {
    QStringList parts;
    if (c.wind)
        parts << QStringLiteral("wind ") + windText(*c.wind);
    if (c.cavok)
        parts << QStringLiteral("CAVOK");
    if (c.visibility)
        parts << QStringLiteral("visibility ") + visibilityText(*c.visibility);
    parts << c.weather;
    if (c.noSignificantWeather)
        parts << QStringLiteral("no significant weather");
    if (!c.noCloud.isEmpty())
        parts << c.noCloud;
    if (c.cloudUnknown)
        parts << QStringLiteral("clouds not observed");
    for (const CloudLayer& l : c.clouds)
        parts << l.cover + QLatin1Char(' ') +
                     (l.baseFt ? QStringLiteral("%1 ft").arg(*l.baseFt)
                               : QStringLiteral("base missing")) +
                     (l.type.isEmpty() ? QString() : QLatin1Char(' ') + l.type);
    if (!c.undecoded.isEmpty())
        parts << QStringLiteral("not decoded: ") + c.undecoded.join(QLatin1Char(' '));
    return parts.join(QStringLiteral(", "));
}

} // namespace briefing
