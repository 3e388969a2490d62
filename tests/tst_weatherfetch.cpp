// Fetching the weather against a web server this test starts on the
// loopback address: the reports and the bulletin taken in and placed on
// the plan's airports, and each way it fails (a 404, a server that stalls,
// no server at all, a cancel) said and nothing used.
#include "PlanSamples.h"
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

const char* kMetars = "METAR LSZH 081150Z 24012KT 9999 FEW040 08/05 Q1008\n"
                      "METAR LSGG 081150Z 22008KT 9999 BKN030 09/04 Q1010\n";
const char* kTafs = "TAF LSZH 081100Z 0812/0918 24010KT 9999 SCT030\n";
const char* kWinds = "FT  3000    6000    9000\nZUE 2415 2520+02 2625-04\n";

// /good/ answers all three; /missing/ has no TAFs (404); /slow/ never
// answers the winds aloft. A request without the plan's airports is a 400.
class WeatherServer : public QObject {
public:
    WeatherServer() {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QUrl base(const char* folder) const {
        return QUrl(
            QStringLiteral("http://127.0.0.1:%1/%2/").arg(m_server.serverPort()).arg(folder));
    }
    QStringList asked;

private:
    void answer(QTcpSocket* socket) {
        const QUrl url(QString::fromLatin1(socket->readAll().split(' ').value(1)));
        asked << url.path();
        const QString folder = url.path().section('/', 1, 1), what = url.path().section('/', -1);
        const QString ids = QUrlQuery(url).queryItemValue("ids");
        QByteArray body;
        if (what == "metar" && ids == "LSZH,LSGG")
            body = kMetars;
        else if (what == "taf" && ids == "LSZH,LSGG" && folder != "missing")
            body = kTafs;
        else if (what == "windtemp" && QUrlQuery(url).queryItemValue("level") == "low")
            body = kWinds;
        if (folder == "slow" && what == "windtemp")
            return;
        if (body.isEmpty()) {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
            return;
        }
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
    }
    QTcpServer m_server;
};

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
    WeatherServer server;
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
    WeatherServer server;
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
