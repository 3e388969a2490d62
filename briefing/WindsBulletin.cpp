#include "briefing/WindsBulletin.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdlib>

namespace briefing {
namespace {

// A word of a line and the column it ends at.
struct Word {
    QString text;
    int endColumn = 0;
};

std::vector<Word> wordsOf(const QString& line) {
    std::vector<Word> out;
    int i = 0;
    const int n = static_cast<int>(line.size());
    while (i < n) {
        while (i < n && line.at(i).isSpace())
            ++i;
        const int start = i;
        while (i < n && !line.at(i).isSpace())
            ++i;
        if (i > start)
            out.push_back({line.mid(start, i - start), i - 1});
    }
    return out;
}

// The header's times: "DATA BASED ON 081200Z", "VALID 081800Z FOR USE 1400-2100Z".
void readHeader(const QString& line, WindsBulletin& b) {
    static const QRegularExpression based(QStringLiteral("BASED ON (\\d{6}Z)"));
    static const QRegularExpression valid(QStringLiteral("VALID (\\d{6}Z)"));
    static const QRegularExpression use(QStringLiteral("FOR USE (\\d{4}-\\d{4}Z)"));
    if (const auto m = based.match(line); m.hasMatch())
        b.basedOn = m.captured(1);
    if (const auto m = valid.match(line); m.hasMatch())
        b.valid = m.captured(1);
    if (const auto m = use.match(line); m.hasMatch())
        b.forUse = m.captured(1);
}

// The row's groups under their levels: in order when there is one for each,
// else by the column each ends at, which is the column its level's figure
// ends at; none when a group is under no level.
std::optional<std::vector<QString>> groupsByLevel(const std::vector<Word>& words,
                                                  const std::vector<Word>& levels) {
    std::vector<QString> out(levels.size());
    if (words.size() - 1 == levels.size()) {
        for (std::size_t i = 0; i < levels.size(); ++i)
            out[i] = words[i + 1].text;
        return out;
    }
    for (std::size_t w = 1; w < words.size(); ++w) {
        bool placed = false;
        for (std::size_t l = 0; l < levels.size() && !placed; ++l) {
            if (std::abs(levels[l].endColumn - words[w].endColumn) <= 1 && out[l].isEmpty()) {
                out[l] = words[w].text;
                placed = true;
            }
        }
        if (!placed)
            return std::nullopt;
    }
    return out;
}

} // namespace

LevelWind decodeLevel(const QString& group, int altitudeFt) {
    static const QRegularExpression re(QStringLiteral("^(\\d{2})(\\d{2})(?:([+-]?)(\\d{2}))?$"));
    LevelWind out;
    out.altitudeFt = altitudeFt;
    out.text = group;
    if (group.isEmpty())
        return out;
    const auto m = re.match(group);
    if (!m.hasMatch()) {
        out.problem = QStringLiteral("\"%1\" is not a wind group").arg(group);
        return out;
    }
    int tens = m.captured(1).toInt();
    int speed = m.captured(2).toInt();
    if (!m.captured(4).isEmpty()) {
        const double t = m.captured(4).toInt();
        // Above 24,000 ft every temperature is below zero and its sign left out.
        const bool minus =
            m.captured(3) == QLatin1String("-") || (m.captured(3).isEmpty() && altitudeFt > 24000);
        if (m.captured(3).isEmpty() && altitudeFt <= 24000) {
            out.problem = QStringLiteral("\"%1\" has a temperature without its sign").arg(group);
            return out;
        }
        out.temperatureC = minus ? -t : t;
    }
    if (tens == 99 && speed == 0) {
        out.lightAndVariable = true;
        out.wind = core::Wind{0, 0};
        return out;
    }
    if (tens >= 51 && tens <= 86) {
        tens -= 50;
        out.atLeast = speed == 99;
        speed += 100;
    }
    if (tens < 1 || tens > 36) {
        out.problem = QStringLiteral("\"%1\" has no direction of the wind").arg(group);
        out.temperatureC.reset();
        return out;
    }
    out.wind = core::Wind{tens * 10.0, static_cast<double>(speed)};
    return out;
}

BulletinRead decodeWindsBulletin(const QString& text) {
    BulletinRead out;
    WindsBulletin b;
    std::vector<Word> levels;
    static const QRegularExpression station(QStringLiteral("^[A-Z0-9]{2,4}$"));
    const QStringList lines = text.left(kMaxBulletinChars).toUpper().split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = QString(raw).replace(QLatin1Char('\t'), QLatin1Char(' '));
        const std::vector<Word> words = wordsOf(line);
        if (words.empty())
            continue;
        if (words.front().text == QLatin1String("FT")) {
            // One bulletin at a time: two would give a station two rows.
            if (!levels.empty()) {
                out.error = QStringLiteral("it holds more than one row of levels (\"FT\"): "
                                           "paste one bulletin");
                return out;
            }
            levels.assign(words.begin() + 1, words.end());
            for (const Word& w : levels) {
                bool number = false;
                const int feet = w.text.toInt(&number);
                if (!number || feet <= 0 || feet > 60000) {
                    out.error =
                        QStringLiteral("\"%1\" in the row of levels is no altitude").arg(w.text);
                    return out;
                }
                b.levelsFt.push_back(feet);
            }
            continue;
        }
        if (levels.empty()) {
            readHeader(line, b);
            continue;
        }
        if (!station.match(words.front().text).hasMatch() || words.size() - 1 > levels.size())
            continue; // a line of words between the rows
        const auto groups = groupsByLevel(words, levels);
        if (!groups) {
            out.error = QStringLiteral("the row of %1 does not line up with the levels")
                            .arg(words.front().text);
            return out;
        }
        StationWinds s;
        s.station = words.front().text;
        for (std::size_t l = 0; l < levels.size(); ++l)
            s.levels.push_back(decodeLevel((*groups)[l], b.levelsFt[l]));
        b.stations.push_back(std::move(s));
    }
    if (levels.empty()) {
        out.error = QStringLiteral("it has no \"FT\" row of levels");
        return out;
    }
    if (b.stations.empty()) {
        out.error = QStringLiteral("it has no station's row");
        return out;
    }
    out.bulletin = std::move(b);
    return out;
}

std::vector<plan::WindRow> windRowsOf(const StationWinds& station) {
    std::vector<plan::WindRow> rows;
    for (const LevelWind& level : station.levels) {
        if (level.wind)
            rows.emplace_back(level.altitudeFt, *level.wind, level.temperatureC);
    }
    return rows;
}

} // namespace briefing
