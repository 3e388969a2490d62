#include "core/Preferences.h"

#include <QSettings>

namespace core {
namespace {

const char* const kReserveKey = "navlog/reserveMinutes";
const char* const kRecentKey = "plan/recentFiles";
const char* const kPageKey = "kneeboard/page";
const char* const kColumnsKey = "kneeboard/columns";
const char* const kPictureKey = "kneeboard/picture";
const char* const kWorldDataKey = "navdata/worldDataUrl";
const char* const kWeatherKey = "briefing/weatherUrl";

QSettings settings() {
    return QSettings(QStringLiteral("skyvane"), QStringLiteral("skyvane"));
}

QVariant value(const char* key) {
    return settings().value(QLatin1String(key));
}

void setValue(const char* key, const QVariant& v) {
    settings().setValue(QLatin1String(key), v);
}

} // namespace

std::optional<int> Preferences::navLogReserveMin() const {
    bool ok = false;
    const int minutes = value(kReserveKey).toInt(&ok);
    return ok ? std::optional<int>(minutes) : std::nullopt;
}

void Preferences::setNavLogReserveMin(int minutes) {
    setValue(kReserveKey, minutes);
}

QStringList Preferences::recentPlans() const {
    return value(kRecentKey).toStringList();
}

void Preferences::setRecentPlans(const QStringList& paths) {
    setValue(kRecentKey, paths);
}

QString Preferences::kneeboardPage() const {
    return value(kPageKey).toString();
}

void Preferences::setKneeboardPage(const QString& name) {
    setValue(kPageKey, name);
}

QStringList Preferences::kneeboardColumns() const {
    return value(kColumnsKey).toStringList();
}

void Preferences::setKneeboardColumns(const QStringList& keys) {
    setValue(kColumnsKey, keys);
}

QString Preferences::routePicturePlace() const {
    return value(kPictureKey).toString();
}

void Preferences::setRoutePicturePlace(const QString& name) {
    setValue(kPictureKey, name);
}

QString Preferences::worldDataUrl() const {
    return value(kWorldDataKey).toString();
}

void Preferences::setWorldDataUrl(const QString& url) {
    setValue(kWorldDataKey, url);
}

QString Preferences::weatherUrl() const {
    return value(kWeatherKey).toString();
}

void Preferences::setWeatherUrl(const QString& url) {
    setValue(kWeatherKey, url);
}

} // namespace core
