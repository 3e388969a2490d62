#pragma once
// The one rule for the values of Skyvane's JSON files (plans, aircraft
// profiles): a number outside the program's limits (core/Limits.h) is
// refused with its key named, as typing it would be; a text must be a text;
// the first thing wrong is what the pilot is told. And the rule for a file's
// format version. No widgets.

#include "core/Limits.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <optional>

namespace core {

struct JsonReader {
    QString error; // the first thing not as it should be; empty when all was

    void fail(const QString& why);
    // The number under key, within limit; fallback when it is absent (an
    // error too when required) or refused.
    double number(const QJsonObject& o, const char* key, const Limit& limit, double fallback = 0,
                  bool required = false);
    std::optional<double> optionalNumber(const QJsonObject& o, const char* key, const Limit& limit);
    // The text under key; empty when absent.
    QString text(const QJsonObject& o, const char* key);
};

// Why a file's format version is not one this program reads, or empty: it
// is missing, not a whole number from 1, or newer than `known`. kind names
// the file ("plan", "aircraft").
QString formatVersionProblem(const QJsonValue& version, int known, const char* kind);

} // namespace core
