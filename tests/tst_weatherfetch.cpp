// Fetching the weather against a web server this test starts on the
// loopback address: the reports and the bulletin taken in and placed on
// the plan's airports, and each way it fails (a 404, a server that stalls,
// no server at all, a cancel) said and nothing used.
#include "PlanSamples.h"
#include "WeatherServer.h"
#include "briefing/Briefing.h"
#include "briefing/WeatherFetch.h"
#include "briefing/WindsBulletin.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

namespace {

std::pair<bool, QString> run(briefing::WeatherFetch& fetch, int cancelAfterMs = -1) {
    fetch.setTimeoutMs(1500);
    QSignalSpy finished(&fetch, &briefing::WeatherFetch::finished);
    if (cancelAfterMs >= 0)
        QTimer::singleShot(cancelAfterMs, &fetch, &briefing::WeatherFetch::cancel);
    fetch.start({"LSZH", "LSGG"}, true);
    if (!finished.wait(15000))
        return {false, QStringLiteral("no end")};
    return {finished.first().at(0).toBool(), finished.first().at(1).toString()};
}

} // namespace

class TestWeatherFetch : public QObject {
    Q_OBJECT
private slots:
    void fetchedAndPlaced();
    void failures_data();
    void failures();
};

void TestWeatherFetch::fetchedAndPlaced() {
    testing::WeatherServer server;
    briefing::WeatherFetch fetch(server.base("good"));
    const auto [ok, message] = run(fetch);
    QVERIFY2(ok, qPrintable(message));
    QCOMPARE(server.asked, QStringList({"/good/api/data/metar", "/good/api/data/taf",
                                        "/good/api/data/windtemp"}));
    plan::FlightPlan p = testing::threeLegs();
    p.waypoints.front().ident = "LSZH";
    p.waypoints.back().ident = "LSGG";
    const auto metars =
        briefing::placeReports(fetch.weather().metars, briefing::ReportKind::Metar, p);
    const auto tafs = briefing::placeReports(fetch.weather().tafs, briefing::ReportKind::Taf, p);
    QCOMPARE(metars.placed + tafs.placed, 3);
    QVERIFY(p.weather[1].metar.startsWith("METAR LSGG"));
    QVERIFY(p.weather[0].taf.startsWith("TAF LSZH"));
    const auto bulletin = briefing::decodeWindsBulletin(fetch.weather().windsAloft);
    QVERIFY(bulletin.bulletin);
    QCOMPARE(briefing::windRowsOf(bulletin.bulletin->stations.front()).size(), std::size_t(3));
}

void TestWeatherFetch::failures_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("cancelAfterMs");
    QTest::addColumn<QString>("says");
    QTest::newRow("404") << "missing" << -1 << "the TAFs: the server answered 404";
    QTest::newRow("time-out") << "slow" << -1 << "the winds aloft: nothing came for 1.5 s";
    QTest::newRow("offline") << "" << -1 << "no connection";
    QTest::newRow("cancel") << "slow" << 300 << "Cancelled while fetching the winds aloft";
}

void TestWeatherFetch::failures() {
    QFETCH(QString, folder);
    QFETCH(int, cancelAfterMs);
    QFETCH(QString, says);
    testing::WeatherServer server;
    QUrl base = server.base(folder.toLatin1().constData());
    if (folder.isEmpty()) { // a port no one listens on
        QTcpServer gone;
        gone.listen(QHostAddress::LocalHost);
        base = QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(gone.serverPort()));
    }
    briefing::WeatherFetch fetch(base);
    const auto [ok, message] = run(fetch, cancelAfterMs);
    QVERIFY(!ok);
    QVERIFY2(message.contains(says), qPrintable(message));
    QVERIFY(fetch.weather().metars.isEmpty()); // what came before is not used
}

QTEST_GUILESS_MAIN(TestWeatherFetch)
#include "tst_weatherfetch.moc"
