// Updating the world data against a web server this test starts on the
// loopback address: the four files taken in, and every way it can fail (a
// 404, a file cut short, a malformed file, a server that stalls, a cancel)
// leaving the database byte for byte as it was and naming the file.
#include "TestData.h"
#include "navdb/WorldUpdate.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QByteArray testFile(const char* name) {
    QFile f(QStringLiteral(SKYVANE_TEST_DATA "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Serves OurAirports' four files from the test data under /good/; under
// another first folder one file misbehaves as the folder says:
// /missing/ (navaids.csv: 404), /cut/ (runways.csv: half its bytes, then the
// connection closes), /bad/ (airports.csv: a quote never closed), /slow/
// (airport-frequencies.csv: never answered).
class FileServer : public QObject {
public:
    FileServer() {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QString base(const char* folder) const {
        return QStringLiteral("http://127.0.0.1:%1/%2/").arg(m_server.serverPort()).arg(folder);
    }

private:
    void answer(QTcpSocket* socket) {
        const QByteArray request = socket->readAll();
        const QList<QByteArray> path = request.split(' ').value(1).split('/');
        const QByteArray folder = path.value(1), file = path.value(2);
        const std::map<QByteArray, const char*> data = {
            {"airports.csv", "ourairports-sample.csv"},
            {"navaids.csv", "ourairports-navaids.csv"},
            {"runways.csv", "ourairports-runways.csv"},
            {"airport-frequencies.csv", "ourairports-frequencies.csv"}};
        if (folder == "slow" && file == "airport-frequencies.csv")
            return; // never a word
        QByteArray body = data.count(file) ? testFile(data.at(file)) : QByteArray();
        if ((folder == "missing" && file == "navaids.csv") || body.isEmpty()) {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
            return;
        }
        if (folder == "bad" && file == "airports.csv")
            body += "\"99\",\"XX\",\"small_airport\",\"never closed,1,2\n";
        const qsizetype length = body.size();
        if (folder == "cut" && file == "runways.csv")
            body.truncate(body.size() / 2);
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/csv\r\nContent-Length: " +
                      QByteArray::number(length) + "\r\n\r\n" + body);
        if (folder == "cut")
            socket->disconnectFromHost();
    }

    QTcpServer m_server;
};

// The result of an update of the database at path from base.
std::pair<bool, QString> update(const QString& path, const QString& base, int cancelAfterMs = -1) {
    navdb::WorldUpdate update(QFile::encodeName(path).toStdString(), QUrl(base));
    update.setStallTimeoutMs(1500);
    QSignalSpy finished(&update, &navdb::WorldUpdate::finished);
    if (cancelAfterMs >= 0)
        QTimer::singleShot(cancelAfterMs, &update, &navdb::WorldUpdate::cancel);
    update.start();
    if (!finished.wait(20000))
        return {false, QStringLiteral("no end")};
    return {finished.first().at(0).toBool(), finished.first().at(1).toString()};
}

} // namespace

class TestWorldUpdate : public QObject {
    Q_OBJECT
private slots:
    void fourFilesTakenIn();
    void failuresLeaveTheDatabaseAsItWas_data();
    void failuresLeaveTheDatabaseAsItWas();
};

void TestWorldUpdate::fourFilesTakenIn() {
    FileServer server;
    QTemporaryDir dir;
    const QString path = dir.filePath("navdata.sqlite");
    QCOMPARE(navdb::lastWorldUpdateText(path.toStdString()), QString("World data never updated"));
    const auto [ok, message] = update(path, server.base("good"));
    QVERIFY2(ok, qPrintable(message));
    const navdb::NavData data(path.toStdString(), std::nullopt);
    QCOMPARE(data.search("LSZH", 1).size(), std::size_t(1));
    QCOMPARE(data.search("ZUE", 3).size(), std::size_t(2)); // the navaids
    QCOMPARE(data.runwayEnds("LSZH").front().headingDegT, std::optional<double>(154.4));
    QVERIFY(data.airportFacts("LSZH")->frequencies.size() > 0);
    const auto when = navdb::lastWorldUpdate(path.toStdString());
    QVERIFY(when && std::abs(when->secsTo(QDateTime::currentDateTimeUtc())) < 60);
    QVERIFY(message.contains(navdb::lastWorldUpdateText(path.toStdString())));
    QVERIFY(!QFile::exists(path + ".update"));
}

void TestWorldUpdate::failuresLeaveTheDatabaseAsItWas_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("cancelAfterMs");
    QTest::addColumn<QString>("says");
    QTest::newRow("a file not found") << "missing" << -1 << "navaids.csv: HTTP 404 Not Found";
    QTest::newRow("a file cut short") << "cut" << -1 << "runways.csv";
    QTest::newRow("a malformed file") << "bad" << -1 << "airports.csv: ";
    QTest::newRow("a server that stalls")
        << "slow" << -1 << "airport-frequencies.csv: nothing came";
    QTest::newRow("cancelled while it waits") << "slow" << 300 << "Cancelled while fetching";
    QTest::newRow("no server at all") << "none" << -1 << "airports.csv: ";
}

void TestWorldUpdate::failuresLeaveTheDatabaseAsItWas() {
    QFETCH(QString, folder);
    QFETCH(int, cancelAfterMs);
    QFETCH(QString, says);
    FileServer server;
    QTemporaryDir dir;
    const QString path = dir.filePath("navdata.sqlite");
    // A database with the pilot's own import in it.
    {
        auto db = navdb::NavDatabase::open(path.toStdString(), true);
        QVERIFY(db->import(navdb::Table::Airports,
                           "id,ident,type,name,latitude_deg,longitude_deg\n"
                           "900,KPAO,small_airport,Palo Alto,37.46,-122.11\n",
                           {})
                    .ok);
    }
    const QByteArray before = fileBytes(path);
    const QString base = folder == "none" ? QStringLiteral("http://127.0.0.1:9/x/")
                                          : server.base(folder.toLatin1().constData());
    const auto [ok, message] = update(path, base, cancelAfterMs);
    QVERIFY(!ok);
    QVERIFY2(message.contains(says), qPrintable(message));
    QVERIFY(message.contains("the navigation database is as it was"));
    QCOMPARE(fileBytes(path), before);
    QVERIFY(!QFile::exists(path + ".update"));
    QVERIFY(!navdb::lastWorldUpdate(path.toStdString()));
}

QTEST_GUILESS_MAIN(TestWorldUpdate)
#include "tst_worldupdate.moc"
