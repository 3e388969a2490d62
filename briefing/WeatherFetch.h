#pragma once
// Fetches the current weather of the plan's airports from the aviation
// weather service's public data API, as text the briefing decodes: METARs,
// TAFs and the low-level winds-aloft bulletin. No widgets: the plan window
// shows its progress with a Cancel.
//
// The three are asked for one after the other from a base URL (the
// service's own by default):
//   <base>api/data/metar?ids=KPAO,KHAF&format=raw
//   <base>api/data/taf?ids=KPAO,KHAF&format=raw
//   <base>api/data/windtemp?region=all&level=low&fcst=06
// An HTTP error, a server that sends nothing for the time-out, no network
// or a cancel ends it with a message naming what failed; what came before
// is not used.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace briefing {

constexpr const char* kWeatherUrl = "https://aviationweather.gov/";

struct FetchedWeather {
    QString metars, tafs, windsAloft;
};

class WeatherFetch : public QObject {
    Q_OBJECT
public:
    explicit WeatherFetch(const QUrl& base, QObject* parent = nullptr);
    ~WeatherFetch() override;

    // A request that sends nothing for this long fails (default 20 s).
    void setTimeoutMs(int milliseconds) { m_timeoutMs = milliseconds; }
    // stations: the airports' codes; windsAloft: the bulletin too.
    void start(const QStringList& stations, bool windsAloft);
    void cancel();

    const FetchedWeather& weather() const { return m_weather; }

signals:
    void fetching(int step, int steps, const QString& what);
    // ok, or why not; message is for the pilot either way.
    void finished(bool ok, const QString& message);

private:
    void next();
    void fetched();
    void end(bool ok, const QString& message);

    QUrl m_base;
    int m_timeoutMs = 20000;
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QStringList m_stations;
    std::vector<QString> m_paths; // still to fetch, in order
    int m_steps = 0;
    FetchedWeather m_weather;
    bool m_cancelled = false, m_done = false;
};

} // namespace briefing
