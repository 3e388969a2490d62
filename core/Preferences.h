#pragma once
// The pilot's choices that the program remembers between runs, each under
// one key of Qt's settings ("skyvane"/"skyvane"), all of them here: no other
// file names a key. Values come back as stored; the caller checks them
// against what it offers (a page or column it no longer knows falls back).

#include <QString>
#include <QStringList>

#include <optional>

namespace core {

class Preferences {
public:
    // The nav log's fuel reserve, minutes; none until chosen.
    std::optional<int> navLogReserveMin() const;
    void setNavLogReserveMin(int minutes);

    // Plan files last opened or saved, most recent first.
    QStringList recentPlans() const;
    void setRecentPlans(const QStringList& paths);

    // The kneeboard page's name ("a5", ...), its columns' keys and the
    // route picture's place ("page", ...); empty until chosen.
    QString kneeboardPage() const;
    void setKneeboardPage(const QString& name);
    QStringList kneeboardColumns() const;
    void setKneeboardColumns(const QStringList& keys);
    QString routePicturePlace() const;
    void setRoutePicturePlace(const QString& name);

    // Where Update world data fetches OurAirports' files from (a folder's
    // address); empty until set, for OurAirports' own.
    QString worldDataUrl() const;
    void setWorldDataUrl(const QString& url);
    // Where Fetch weather asks (the service's address); empty until set,
    // for the aviation weather service's own.
    QString weatherUrl() const;
    void setWeatherUrl(const QString& url);
};

} // namespace core
