#pragma once
// Keeps the world data current: downloads OurAirports' four files (airports,
// navaids, runways, airport frequencies) and imports them into the user's
// navigation database, all or nothing. No widgets: the plan window shows its
// progress with a Cancel, the command line prints it.
//
// The files are fetched one after the other from a base URL (OurAirports'
// own data by default, over HTTPS) and held in memory, then imported into a
// copy of the database, which replaces it only when all four went in. An
// HTTP error, a file cut short or malformed, a time-out, a full disk or a
// cancel leaves the database byte for byte as it was, and says which file
// failed. While an update runs no other Skyvane writes the database.

#include "navdb/NavDatabase.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <optional>
#include <string>
#include <vector>

class QNetworkAccessManager;
class QNetworkReply;

namespace navdb {

// Where OurAirports publishes its files.
constexpr const char* kWorldDataUrl = "https://davidmegginson.github.io/ourairports-data/";

struct WorldFile {
    Table table;
    const char* name; // "airports.csv"
};
// The four files, in the order they are fetched and imported.
const std::vector<WorldFile>& worldFiles();

// When the database at path last took the world data in; none if never.
std::optional<QDateTime> lastWorldUpdate(const std::string& databasePath);
// "World data of 2026-12-08 14:03 UTC", or "World data never updated".
QString lastWorldUpdateText(const std::string& databasePath);

class WorldUpdate : public QObject {
    Q_OBJECT
public:
    // base: the folder the four files are in (a trailing "/" is added).
    WorldUpdate(std::string databasePath, const QUrl& base, QObject* parent = nullptr);
    ~WorldUpdate() override;

    // A file that sends nothing for this long fails (default 30 s).
    void setStallTimeoutMs(int milliseconds) { m_stallMs = milliseconds; }
    void start();
    // Stops at once; the database stays as it was. finished() follows.
    void cancel();

signals:
    // A file (0 to 3) is asked for, then how much of it came: bytes so far
    // and in all (-1: unknown). importing() once all four are in.
    void fetching(int file);
    void progress(int file, qint64 received, qint64 total);
    void importing();
    // ok, or why not (naming the file); message is for the pilot either way.
    void finished(bool ok, const QString& message);

private:
    void fetch();
    void fetched();
    void fail(const QString& why);
    QString importAll();

    std::string m_path;
    QUrl m_base;
    int m_stallMs = 30000;
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    std::vector<std::string> m_bodies;
    bool m_cancelled = false;
    bool m_done = false;
};

} // namespace navdb
