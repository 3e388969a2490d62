// Updating the world data against a web server this test starts on the
// loopback address: the four files taken in, and every way it can fail (a
// 404, a file cut short, a malformed file, a server that stalls, a cancel)
// leaving the database byte for byte as it was and naming the file.
#include "WorldServer.h"
#include "navdb/WorldUpdate.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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
    testing::FileServer server;
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
    testing::FileServer server;
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
