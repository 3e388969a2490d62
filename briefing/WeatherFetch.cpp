#include "briefing/WeatherFetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrlQuery>

namespace briefing {
namespace {

constexpr qint64 kMaxBytes = 8 * 1024 * 1024; // the whole low-level bulletin is far less

QString whatOf(const QString& path) {
    if (path.contains(QLatin1String("metar")))
        return QStringLiteral("the METARs");
    if (path.contains(QLatin1String("taf")))
        return QStringLiteral("the TAFs");
    return QStringLiteral("the winds aloft");
}

QString problemOf(QNetworkReply& reply, int status) {
    switch (reply.error()) {
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::UnknownNetworkError:
        return QStringLiteral("no connection to %1 (offline?)").arg(reply.url().host());
    default:
        break;
    }
    if (status != 0 && status != 200)
        return QStringLiteral("the server answered %1 %2")
            .arg(status)
            .arg(reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    return reply.errorString();
}

} // namespace

WeatherFetch::WeatherFetch(const QUrl& base, QObject* parent)
    : QObject(parent), m_base(base), m_network(new QNetworkAccessManager(this)) {
    if (!m_base.path().endsWith(QLatin1Char('/')))
        m_base.setPath(m_base.path() + QLatin1Char('/'));
}

WeatherFetch::~WeatherFetch() {
    if (m_reply)
        m_reply->abort();
}

void WeatherFetch::start(const QStringList& stations, bool windsAloft) {
    m_stations = stations;
    m_weather = {};
    m_cancelled = m_done = false;
    m_paths.clear();
    if (!stations.isEmpty())
        m_paths = {QStringLiteral("api/data/metar"), QStringLiteral("api/data/taf")};
    if (windsAloft)
        m_paths.push_back(QStringLiteral("api/data/windtemp"));
    m_steps = static_cast<int>(m_paths.size());
    if (m_paths.empty())
        return end(false, QStringLiteral("Nothing to fetch: the plan has no airport codes."));
    next();
}

void WeatherFetch::cancel() {
    if (m_done)
        return;
    m_cancelled = true;
    if (m_reply)
        m_reply->abort();
    else
        end(false, QStringLiteral("Cancelled"));
}

void WeatherFetch::next() {
    const QString path = m_paths.front();
    QUrl url = m_base.resolved(QUrl(path));
    QUrlQuery query;
    if (path.endsWith(QLatin1String("windtemp"))) {
        query.addQueryItem(QStringLiteral("region"), QStringLiteral("all"));
        query.addQueryItem(QStringLiteral("level"), QStringLiteral("low"));
        query.addQueryItem(QStringLiteral("fcst"), QStringLiteral("06"));
    } else {
        query.addQueryItem(QStringLiteral("ids"), m_stations.join(QLatin1Char(',')));
        query.addQueryItem(QStringLiteral("format"), QStringLiteral("raw"));
    }
    url.setQuery(query);
    QNetworkRequest request(url);
    request.setTransferTimeout(m_timeoutMs);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > kMaxBytes && m_reply)
            m_reply->abort();
    });
    connect(m_reply, &QNetworkReply::finished, this, &WeatherFetch::fetched);
    emit fetching(m_steps - static_cast<int>(m_paths.size()), m_steps, whatOf(path));
}

void WeatherFetch::fetched() {
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    reply->deleteLater();
    m_reply = nullptr;
    const QString what = whatOf(m_paths.front());
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_cancelled)
        return end(false, QStringLiteral("Cancelled while fetching %1.").arg(what));
    if (reply->error() == QNetworkReply::OperationCanceledError)
        return end(false, QStringLiteral("Fetching %1: nothing came for %2 s, or it was too large.")
                              .arg(what)
                              .arg(m_timeoutMs / 1000.0));
    if (reply->error() != QNetworkReply::NoError || (status != 0 && status != 200))
        return end(false, QStringLiteral("Fetching %1: %2.").arg(what, problemOf(*reply, status)));
    const QString body = QString::fromUtf8(reply->readAll());
    const QString path = m_paths.front();
    (path.endsWith(QLatin1String("metar")) ? m_weather.metars
     : path.endsWith(QLatin1String("taf")) ? m_weather.tafs
                                           : m_weather.windsAloft) = body;
    m_paths.erase(m_paths.begin());
    if (m_paths.empty())
        return end(true, QStringLiteral("Weather fetched."));
    next();
}

void WeatherFetch::end(bool ok, const QString& message) {
    if (m_done)
        return;
    m_done = true;
    if (!ok)
        m_weather = {};
    emit finished(ok, message);
}

} // namespace briefing
