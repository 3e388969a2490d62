#include "core/Text.h"

#include "core/Math.h"
#include "core/NumberText.h"

#include <cmath>

namespace core {

QString numberText(double value) {
    return QString::fromStdString(formatGeneral(value));
}

double asShown(double value) {
    // Most figures are already whole hundredths: the nearest double to one,
    // below 10^12, prints in 15 digits as those hundredths and reads back as
    // itself, so the round trip through text can be skipped (it is most of
    // a plan's time).
    if (std::fabs(value) < 1e12 && roundTo2Places(value) == value)
        return value;
    return parseNumber(formatGeneral(value)).value_or(value);
}

QString fromLatin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::optional<std::string> toLatin1(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return std::nullopt;
        bytes += static_cast<char>(c.unicode());
    }
    return bytes;
}

QString caseKey(const QString& text) {
    // Upper case first: the lists show identifiers in upper case, and a few
    // letters only meet their capital that way ("ß" is listed as "SS").
    return text.toUpper().toCaseFolded();
}

} // namespace core
