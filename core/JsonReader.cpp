#include "core/JsonReader.h"

#include "core/Text.h"

#include <cmath>

namespace core {

void JsonReader::fail(const QString& why) {
    if (error.isEmpty())
        error = why;
}

double JsonReader::number(const QJsonObject& o, const char* key, const Limit& limit,
                          double fallback, bool required) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull()) {
        if (required)
            fail(QStringLiteral("\"%1\" is missing").arg(QLatin1String(key)));
        return fallback;
    }
    if (!v.isDouble() || !std::isfinite(v.toDouble())) {
        fail(QStringLiteral("\"%1\" is not a number").arg(QLatin1String(key)));
        return fallback;
    }
    if (!limit.contains(v.toDouble())) {
        fail(QStringLiteral("\"%1\" is %2, outside %3 to %4")
                 .arg(QLatin1String(key), numberText(v.toDouble()), numberText(limit.low),
                      numberText(limit.high)));
        return fallback;
    }
    return v.toDouble();
}

std::optional<double> JsonReader::optionalNumber(const QJsonObject& o, const char* key,
                                                 const Limit& limit) {
    if (!o.contains(QLatin1String(key)) || o.value(QLatin1String(key)).isNull())
        return std::nullopt;
    return number(o, key, limit);
}

QString JsonReader::text(const QJsonObject& o, const char* key) {
    const QJsonValue v = o.value(QLatin1String(key));
    if ((!v.isUndefined() && !v.isNull() && !v.isString()) ||
        !QStringView(v.toString()).isValidUtf16())
        fail(QStringLiteral("\"%1\" is not a text").arg(QLatin1String(key)));
    return v.toString();
}

QString formatVersionProblem(const QJsonValue& version, int known, const char* kind) {
    if (version.isUndefined() || version.isNull())
        return QStringLiteral("its format version is missing");
    const double v = version.toDouble(-1);
    if (!version.isDouble() || v != std::floor(v) || v < 1)
        return QStringLiteral("its format version is not one Skyvane wrote");
    if (v > known)
        return QStringLiteral("it was written by a newer Skyvane (%1 format %2; this one "
                              "reads %3)")
            .arg(QLatin1String(kind), numberText(v))
            .arg(known);
    return {};
}

} // namespace core
