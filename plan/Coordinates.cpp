#include "plan/Coordinates.h"

#include "core/Math.h"
#include "core/NumberText.h"

#include <QRegularExpression>

#include <cmath>

namespace plan {
namespace {

// One coordinate: an optional hemisphere letter, one to three numbers, an
// optional letter. The numbers take an optional sign and decimals.
QString part(const char* letters) {
    return QStringLiteral(R"((%1)?\s*([-+]?\d+(?:\.\d+)?)(?:\s+(\d+(?:\.\d+)?))?)"
                          R"((?:\s+(\d+(?:\.\d+)?))?\s*(%1)?)")
        .arg(QLatin1String(letters));
}

struct Part {
    double value = 0;
    QChar letter;
    QString error;
};

Part readPart(const QRegularExpressionMatch& m, int first, const QString& negative, double limit,
              const QString& what) {
    Part p;
    const QString before = m.captured(first), after = m.captured(first + 4);
    if (!before.isEmpty() && !after.isEmpty()) {
        p.error = QStringLiteral("the %1 has two hemisphere letters").arg(what);
        return p;
    }
    const QString letter = (before + after).toUpper();
    const QString degreesText = m.captured(first + 1);
    const QString minutesText = m.captured(first + 2), secondsText = m.captured(first + 3);
    const bool sign =
        degreesText.startsWith(QLatin1Char('-')) || degreesText.startsWith(QLatin1Char('+'));
    if (sign && !letter.isEmpty()) {
        p.error = QStringLiteral("the %1 has both a sign and a hemisphere letter").arg(what);
        return p;
    }
    // A number too long to read is refused, never taken as 0.
    const auto read = [&](const QString& text) { return core::parseNumber(text.toStdString()); };
    if (!read(degreesText) || (!minutesText.isEmpty() && !read(minutesText)) ||
        (!secondsText.isEmpty() && !read(secondsText))) {
        p.error = QStringLiteral("the %1 has a number too long to read").arg(what);
        return p;
    }
    double degrees = *read(degreesText);
    const bool south =
        degrees < 0 || degreesText.startsWith(QLatin1Char('-')) || letter == negative;
    degrees = std::fabs(degrees);
    double value = degrees;
    if (!minutesText.isEmpty()) {
        if (degrees != std::floor(degrees)) {
            p.error = QStringLiteral("the %1 has decimal degrees and minutes").arg(what);
            return p;
        }
        const double minutes = *read(minutesText);
        double seconds = 0;
        if (!secondsText.isEmpty()) {
            if (minutes != std::floor(minutes)) {
                p.error = QStringLiteral("the %1 has decimal minutes and seconds").arg(what);
                return p;
            }
            seconds = *read(secondsText);
        }
        if (minutes >= 60 || seconds >= 60) {
            p.error = QStringLiteral("the %1's minutes and seconds are below 60").arg(what);
            return p;
        }
        value = degrees + minutes / 60 + seconds / 3600;
    }
    if (value > limit) {
        p.error = QStringLiteral("a %1 lies between -%2 and %2 degrees").arg(what).arg(limit);
        return p;
    }
    p.value = south ? -value : value;
    p.letter = letter.isEmpty() ? QChar() : letter.at(0);
    return p;
}

QString dm(double value, int degreeDigits, QChar positive, QChar negative) {
    const double magnitude = std::fabs(value);
    int degrees = static_cast<int>(magnitude);
    double minutes = core::roundTo2Places((magnitude - degrees) * 60);
    if (minutes >= 60) {
        minutes -= 60;
        ++degrees;
    }
    return QStringLiteral("%1 %2%3")
        .arg(degrees, degreeDigits, 10, QLatin1Char('0'))
        .arg(QString::fromStdString(core::formatFixed(minutes, 2))
                 .rightJustified(5, QLatin1Char('0')))
        .arg(value < 0 ? negative : positive);
}

} // namespace

ParsedPosition parsePosition(const QString& typed) {
    ParsedPosition out;
    QString text = typed.trimmed();
    // Where no point marks a decimal, a comma between two digits is a decimal
    // comma ("47,5 8,5"), never a separator that would read 47 and 5 minutes.
    static const QRegularExpression decimalComma(QStringLiteral(R"((\d),(\d))"));
    if (!text.contains(QLatin1Char('.')))
        text.replace(decimalComma, QStringLiteral("\\1.\\2"));
    // Degree, minute and second marks read as spaces; a comma or semicolon
    // between the two halves too.
    for (const QString& mark :
         {QStringLiteral("°"), QStringLiteral("º"), QStringLiteral("'"), QStringLiteral("′"),
          QStringLiteral("\""), QStringLiteral("″"), QStringLiteral(","), QStringLiteral(";")})
        text.replace(mark, QStringLiteral(" "));
    text = text.simplified();
    if (text.isEmpty()) {
        out.error = QStringLiteral("no position");
        return out;
    }
    // Latitude and longitude; where no letter shows the split, the numbers are
    // shared out evenly.
    if (!text.contains(QRegularExpression(QStringLiteral("[A-Za-z]")))) {
        const QStringList numbers = text.split(QLatin1Char(' '));
        if (numbers.size() % 2 == 0)
            text = numbers.mid(0, numbers.size() / 2).join(QLatin1Char(' ')) +
                   QStringLiteral(" | ") + numbers.mid(numbers.size() / 2).join(QLatin1Char(' '));
    }
    static const QRegularExpression both(QStringLiteral("^") + part("[NSns]") +
                                         QStringLiteral(R"((?:\s*\|\s*|\s+|(?<=[NSns])))") +
                                         part("[EWew]") + QStringLiteral("$"));
    const QRegularExpressionMatch m = both.match(text);
    if (!m.hasMatch()) {
        out.error = QStringLiteral("\"%1\" is no position: write latitude then longitude, e.g. "
                                   "47.458 8.548 or 47 27.5N 008 33.0E")
                        .arg(typed.trimmed());
        return out;
    }
    auto numbers = [&m](int first) {
        int count = 0;
        for (int i = first + 1; i <= first + 3; ++i)
            count += m.captured(i).isEmpty() ? 0 : 1;
        return count;
    };
    if (numbers(1) != numbers(6)) {
        out.error = QStringLiteral("the latitude and the longitude are not written alike");
        return out;
    }
    const Part lat = readPart(m, 1, QStringLiteral("S"), 90, QStringLiteral("latitude"));
    if (!lat.error.isEmpty()) {
        out.error = lat.error;
        return out;
    }
    const Part lon = readPart(m, 6, QStringLiteral("W"), 180, QStringLiteral("longitude"));
    if (!lon.error.isEmpty()) {
        out.error = lon.error;
        return out;
    }
    out.position = core::GeoPoint{lat.value, lon.value};
    return out;
}

QString positionText(const core::GeoPoint& p) {
    return dm(p.latitudeDeg, 2, QLatin1Char('N'), QLatin1Char('S')) + QLatin1Char(' ') +
           dm(p.longitudeDeg, 3, QLatin1Char('E'), QLatin1Char('W'));
}

} // namespace plan
