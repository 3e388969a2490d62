#include "navdb/WorldUpdate.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace navdb {
namespace {

constexpr const char* kUpdatedNote = "worldDataUpdated";
constexpr const char* kSourceNote = "worldDataSource";
// OurAirports' largest file is some 12 MB; anything far beyond is no such file.
constexpr qint64 kMaxFileBytes = qint64(256) << 20;

QString decoded(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The copy the update fills, and what SQLite may leave beside it.
void removeCopy(const QString& copy) {
    for (const char* extra : {"", "-journal", "-wal", "-shm"})
        QFile::remove(copy + QLatin1String(extra));
}

// Written to the disk before it takes the database's place.
bool synced(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && ::fsync(file.handle()) == 0;
}

// "HTTP 404 Not Found", or what the network said.
QString problemOf(const QNetworkReply& reply, int status) {
    if (status < 400)
        return reply.errorString();
    return QStringLiteral("HTTP %1 %2")
        .arg(status)
        .arg(reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
}

} // namespace

const std::vector<WorldFile>& worldFiles() {
    static const std::vector<WorldFile> files = {{Table::Airports, "airports.csv"},
                                                 {Table::Navaids, "navaids.csv"},
                                                 {Table::Runways, "runways.csv"},
                                                 {Table::Frequencies, "airport-frequencies.csv"}};
    return files;
}

std::optional<QDateTime> lastWorldUpdate(const std::string& databasePath) {
    if (!QFile::exists(decoded(databasePath)))
        return std::nullopt;
    const auto db = NavDatabase::open(databasePath, false);
    const auto note = db ? db->note(kUpdatedNote) : std::nullopt;
    if (!note)
        return std::nullopt;
    const QDateTime when = QDateTime::fromString(*note, Qt::ISODate);
    return when.isValid() ? std::optional<QDateTime>(when) : std::nullopt;
}

QString lastWorldUpdateText(const std::string& databasePath) {
    const auto when = lastWorldUpdate(databasePath);
    return when ? QStringLiteral("World data of %1 UTC")
                      .arg(when->toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm")))
                : QStringLiteral("World data never updated");
}

WorldUpdate::WorldUpdate(std::string databasePath, const QUrl& base, QObject* parent)
    : QObject(parent), m_path(std::move(databasePath)), m_base(base),
      m_network(new QNetworkAccessManager(this)) {
    if (!m_base.path().endsWith(QLatin1Char('/')))
        m_base.setPath(m_base.path() + QLatin1Char('/'));
}

WorldUpdate::~WorldUpdate() {
    if (m_reply)
        m_reply->abort();
}

void WorldUpdate::start() {
    m_bodies.clear();
    m_cancelled = m_done = false;
    fetch();
}

void WorldUpdate::cancel() {
    if (m_done)
        return;
    m_cancelled = true;
    if (m_reply)
        m_reply->abort(); // fetched() says so
    else
        fail(QStringLiteral("Cancelled"));
}

void WorldUpdate::fetch() {
    const int index = static_cast<int>(m_bodies.size());
    QNetworkRequest request(
        m_base.resolved(QUrl(QLatin1String(worldFiles()[m_bodies.size()].name))));
    request.setTransferTimeout(m_stallMs);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::downloadProgress, this,
            [this, index](qint64 received, qint64 total) {
                if (received > kMaxFileBytes && m_reply)
                    m_reply->abort();
                emit progress(index, received, total);
            });
    connect(m_reply, &QNetworkReply::finished, this, &WorldUpdate::fetched);
    emit fetching(index);
}

void WorldUpdate::fetched() {
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    reply->deleteLater();
    m_reply = nullptr;
    const QString name = QLatin1String(worldFiles()[m_bodies.size()].name);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray body = reply->readAll();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (m_cancelled)
        return fail(QStringLiteral("Cancelled while fetching %1").arg(name));
    if (reply->error() == QNetworkReply::OperationCanceledError)
        return fail(QStringLiteral("%1: nothing came for %2 s, or it was too large")
                        .arg(name)
                        .arg(m_stallMs / 1000.0));
    if (reply->error() != QNetworkReply::NoError || (status != 0 && status != 200))
        return fail(QStringLiteral("%1: %2").arg(name, problemOf(*reply, status)));
    if (length.isValid() && length.toLongLong() != body.size())
        return fail(QStringLiteral("%1 was cut short: %2 of %3 bytes")
                        .arg(name)
                        .arg(body.size())
                        .arg(length.toLongLong()));
    m_bodies.push_back(body.toStdString());
    if (m_bodies.size() < worldFiles().size())
        return fetch();
    emit importing();
    const QString why = importAll();
    m_bodies.clear();
    m_bodies.shrink_to_fit();
    if (!why.isEmpty())
        return fail(why);
    m_done = true;
    emit finished(
        true, QStringLiteral("The world data is updated: %1.").arg(lastWorldUpdateText(m_path)));
}

void WorldUpdate::fail(const QString& why) {
    if (m_done)
        return;
    m_done = true;
    m_bodies.clear();
    emit finished(false,
                  QStringLiteral("The world data was not updated (%1); the navigation database is "
                                 "as it was.")
                      .arg(why));
}

// Into a copy, which replaces the database only when all four went in;
// meanwhile the database holds off every other writer. Why not, or empty.
QString WorldUpdate::importAll() {
    const QString path = decoded(m_path);
    const QString copy = path + QStringLiteral(".update");
    QString error;
    std::unique_ptr<NavDatabase> held;
    if (QFile::exists(path)) {
        held = NavDatabase::open(m_path, true, &error);
        if (!held || !held->holdWriters(&error))
            return error;
    }
    removeCopy(copy); // what an update killed half-way left
    if (held && !QFile::copy(path, copy)) {
        removeCopy(copy);
        return QStringLiteral("the database cannot be copied beside itself (is the disk full?)");
    }
    {
        const auto db = NavDatabase::open(copy.toStdString(), true, &error);
        if (!db) {
            removeCopy(copy);
            return error;
        }
        for (std::size_t i = 0; i < worldFiles().size(); ++i) {
            const ImportResult r = db->import(worldFiles()[i].table, m_bodies[i], {});
            m_bodies[i] = std::string(); // done with it
            if (!r.ok) {
                error = QStringLiteral("%1: %2").arg(QLatin1String(worldFiles()[i].name), r.error);
                break;
            }
        }
        if (error.isEmpty() &&
            (!db->setNote(kUpdatedNote, QDateTime::currentDateTimeUtc().toString(Qt::ISODate)) ||
             !db->setNote(kSourceNote, m_base.toString())))
            error = QStringLiteral("the date of the update cannot be written");
    }
    if (error.isEmpty() && !synced(copy))
        error = QStringLiteral("the new database cannot be written to the disk");
    if (error.isEmpty() &&
        std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(path).constData()) != 0)
        error = QStringLiteral("the new database cannot take the old one's place: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(errno)));
    if (!error.isEmpty())
        removeCopy(copy);
    return error;
}

} // namespace navdb
