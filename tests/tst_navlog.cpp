// The nav log's trip model: legs in order, trips across Reset and restarts,
// the reserve rule, totals and the CSV a pilot exports.
#include "TestData.h"
#include "navlog/LegColumns.h"
#include "navlog/TripLog.h"
#include "store/Globals.h"

#include <QTest>

using navlog::LegRecord;
using navlog::Trip;
using navlog::TripLog;

namespace {

// A leg as the leg dialog shows it; fuelLeft, gph and the totals vary.
LegRecord aLeg(const QString& dist, const QString& ete, const QString& fuelLeft,
               const QString& gph = "8") {
    LegRecord l;
    l.from = "ABC";
    l.to = "KLA";
    l.trueCourse = "90";
    l.windDirection = "45";
    l.windVelocity = "20";
    l.tas = "110";
    l.windCorrection = "7";
    l.trueHeading = "83";
    l.variation = "13";
    l.magHeading = "96";
    l.magDeviation = "2";
    l.compassHeading = "98";
    l.groundSpeed = "95";
    l.distance = dist;
    l.timeOff = "10:00:00";
    l.ete = ete;
    l.eta = "10:31:36";
    l.fuelUsed = "4.21";
    l.fuelLeft = fuelLeft;
    l.gph = gph;
    l.fuelAtStart = "40";
    l.totalBurnt = "4.21";
    l.totalDistance = dist;
    return l;
}

const QDateTime kStart(QDate(2026, 12, 7), QTime(10, 0));

} // namespace

class TestNavLog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::checkRequestedLocale(); }
    void legsJoinTheTripInOrder();
    void resetBeginsANewTripAndKeepsTheOld();
    void atMostFiftyTrips();
    void reserveBoundary_data();
    void reserveBoundary();
    void totalsSumTheShownTimes();
    void csvOfAThreeLegTrip();
    void csvOfATripWithAMissingLeg();
    void csvQuotesWhatNeedsIt();
    void tripsSurviveARestart();
    void unreadableLogIsPutAside_data();
    void unreadableLogIsPutAside();
    void failedWriteIsReported();
};

void TestNavLog::legsJoinTheTripInOrder() {
    TripLog log(store::dataPlaces());
    QVERIFY(!log.latest());
    log.legComputed(aLeg("50", "31.6", "35.79"), kStart);
    log.legComputed(aLeg("42.5", "24.25", "32.56"), kStart.addSecs(1800));
    QCOMPARE(log.trips().size(), std::size_t(1));
    QCOMPARE(log.latest()->started, kStart);
    QCOMPARE(log.latest()->legs.size(), std::size_t(2));
    QCOMPARE(log.latest()->legs[1].distance, QString("42.5"));
}

void TestNavLog::resetBeginsANewTripAndKeepsTheOld() {
    TripLog log(store::dataPlaces());
    log.legComputed(aLeg("50", "31.6", "35.79"), kStart);
    log.reset();
    // Right after a Reset the finished trip is still the latest: a stray
    // Reset loses nothing.
    QCOMPARE(log.trips().size(), std::size_t(1));
    QCOMPARE(log.latest()->legs[0].distance, QString("50"));
    log.reset(); // a second Reset makes no empty trip either
    log.legComputed(aLeg("61", "38.38", "27.44"), kStart.addDays(1));
    QCOMPARE(log.trips().size(), std::size_t(2));
    QCOMPARE(log.latest()->legs[0].distance, QString("61"));
    QCOMPARE(log.trips()[1].legs[0].distance, QString("50"));
}

void TestNavLog::atMostFiftyTrips() {
    TripLog log(store::dataPlaces());
    for (int i = 0; i < 60; ++i) {
        log.legComputed(aLeg(QString::number(i), "1", "30"), kStart.addDays(i));
        log.reset();
    }
    QCOMPARE(log.trips().size(), TripLog::kMaxTrips);
    QCOMPARE(log.latest()->legs[0].distance, QString("59"));
    QCOMPARE(log.trips().back().legs[0].distance, QString("10"));
}

void TestNavLog::reserveBoundary_data() {
    QTest::addColumn<QString>("fuelLeft");
    QTest::addColumn<QString>("gph");
    QTest::addColumn<int>("reserveMin");
    QTest::addColumn<bool>("below");
    // 30 min at 8 gal/h is 4 gal.
    QTest::newRow("exactly the reserve is not below") << "4"
                                                      << "8" << 30 << false;
    QTest::newRow("a hundredth short") << "3.99"
                                       << "8" << 30 << true;
    QTest::newRow("no fuel flow never is") << "0"
                                           << "0" << 30 << false;
    QTest::newRow("no reserve asked") << "0"
                                      << "8" << 0 << false;
    QTest::newRow("45 min at 9.5 gal/h is 7.125 gal") << "7.12"
                                                      << "9.5" << 45 << true;
}

void TestNavLog::reserveBoundary() {
    QFETCH(QString, fuelLeft);
    QFETCH(QString, gph);
    QFETCH(int, reserveMin);
    QTEST(navlog::belowReserve(aLeg("1", "1", fuelLeft, gph), reserveMin), "below");
}

void TestNavLog::totalsSumTheShownTimes() {
    Trip trip;
    trip.legs = {aLeg("50", "31.6", "35.79"), aLeg("92.5", "24.25", "32.56"),
                 aLeg("153.5", "38.38", "27.44")};
    trip.legs.back().totalBurnt = "12.56";
    trip.legs.back().eta = "11:34:13";
    const navlog::Totals t = navlog::totalsOf(trip, 30);
    QCOMPARE(t.distance, QString("153.5"));
    QCOMPARE(t.timeEnRoute, QString("94.23"));
    QCOMPARE(t.fuelBurnt, QString("12.56"));
    QCOMPARE(t.lastEta, QString("11:34:13"));
    QVERIFY(t.hasEndurance);
    QCOMPARE(t.enduranceMin, 27.44 / 8 * 60);
    QCOMPARE(t.aboveReserveMin, 27.44 / 8 * 60 - 30);
}

void TestNavLog::csvOfAThreeLegTrip() {
    Trip trip;
    trip.started = kStart;
    trip.legs = {aLeg("50", "31.6", "35.79"), aLeg("92.5", "24.25", "3.5"),
                 aLeg("153.5", "38.38", "27.44")};
    trip.legs[1].from = "KLA";
    trip.legs[1].to = "";
    trip.legs.back().totalBurnt = "12.56";
    trip.legs.back().eta = "11:34:13";
    const QByteArray expected =
        "Leg,From,To,TC,WD,WV,TAS,WCA,TH,Var,MH,MD,CH,GS,Dist,Off,ETE,ETA,F.used,F.left,Reserve,"
        "WCA side,Problem\r\n"
        "1,ABC,KLA,90,45,20,110,7,83,13,96,2,98,95,50,10:00:00,31.6,10:31:36,4.21,35.79,,L,\r\n"
        "2,KLA,,90,45,20,110,7,83,13,96,2,98,95,92.5,10:00:00,24.25,10:31:36,4.21,3.5,"
        "below reserve,L,\r\n"
        "3,ABC,KLA,90,45,20,110,7,83,13,96,2,98,95,153.5,10:00:00,38.38,11:34:13,4.21,27.44,,L,"
        "\r\n"
        "Total,,,,,,,,,,,,,,153.5,,94.23,11:34:13,12.56,27.44,176 min above,,\r\n";
    QCOMPARE(QByteArray::fromStdString(navlog::tripCsv(trip, 30)), expected);
}

void TestNavLog::csvOfATripWithAMissingLeg() {
    // A planned leg that could not be computed: its row says why, the side
    // follows the sign, and no totals stand for the route.
    Trip trip;
    trip.legs = {aLeg("50", "31.6", "35.79"), LegRecord{}, aLeg("20", "10", "30")};
    trip.legs[1].from = "KLA";
    trip.legs[1].to = "XYZ";
    trip.legs[1].problem = "no wind: type one or fill the winds aloft";
    trip.legs[2].windCorrection = "-3.5";
    const QStringList rows = QString::fromStdString(navlog::tripCsv(trip, 30)).split("\r\n");
    QCOMPARE(rows.value(2), QString("2,KLA,XYZ,,,,,,,,,,,,,,,,,,,,no wind: type one or fill the "
                                    "winds aloft"));
    QVERIFY2(rows.value(3).endsWith(",,R,"), qPrintable(rows.value(3)));
    QCOMPARE(rows.value(4), QString("Total,,,,,,,,,,,,,,,,,,,,,,incomplete: leg 2 could not be "
                                    "computed"));
    const navlog::Totals t = navlog::totalsOf(trip, 30);
    QVERIFY(!t.complete && !t.hasEndurance && t.distance.isEmpty());
    QCOMPARE(navlog::reserveSummary(t, 30), QString("No totals: leg 2 could not be computed."));
}

void TestNavLog::csvQuotesWhatNeedsIt() {
    Trip trip;
    trip.legs = {aLeg("50", "31.6", "35.79")};
    trip.legs[0].from = QString::fromUtf8("Z\xc3\xbcrich, \"LSZH\"");
    trip.legs[0].to = "\"";
    const std::string csv = navlog::tripCsv(trip, 30);
    QVERIFY(csv.find("1,\"Z\xc3\xbcrich, \"\"LSZH\"\"\",\"\"\"\",") != std::string::npos);
}

void TestNavLog::tripsSurviveARestart() {
    testing::DataDir dir;
    {
        TripLog log(store::dataPlaces());
        log.legComputed(aLeg("50", "31.6", "35.79"), kStart);
        log.legComputed(aLeg("92.5", "24.25", "32.56"), kStart);
        log.reset();
        log.legComputed(aLeg("7", "5", "30"), kStart.addDays(1));
        QCOMPARE(log.save(), core::WriteStatus::Written);
    }
    TripLog again(store::dataPlaces());
    again.load();
    QCOMPARE(again.trips().size(), std::size_t(2));
    QCOMPARE(again.latest()->started, kStart.addDays(1));
    QCOMPARE(again.trips()[1].legs.size(), std::size_t(2));
    QCOMPARE(again.trips()[1].legs[1].ete, QString("24.25"));
    QCOMPARE(again.trips()[1].legs[1].fuelAtStart, QString("40"));
    // After a restart the next leg begins a new trip.
    again.legComputed(aLeg("9", "6", "29"), kStart.addDays(2));
    QCOMPARE(again.trips().size(), std::size_t(3));
}

void TestNavLog::unreadableLogIsPutAside_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("why");
    const QByteArray leg = R"({"from": "ABC", "ete": "31.6"})";
    auto log = [](const QByteArray& version, const QByteArray& trips) {
        return "{\"version\": " + version + ", \"trips\": " + trips + "}";
    };
    const QByteArray trip = R"([{"started": "2026-12-07T10:00:00", "legs": [)" + leg + "]}]";
    QTest::newRow("not JSON") << QByteArray("{ not json") << "damaged JSON";
    QTest::newRow("not an object") << QByteArray("[]") << "damaged JSON";
    QTest::newRow("newer version") << log("2", trip) << "newer Skyvane";
    QTest::newRow("huge version") << log("1e300", trip) << "newer Skyvane";
    QTest::newRow("no version") << QByteArray(R"({"trips": []})") << "no version";
    QTest::newRow("trips not a list") << log("1", "{}") << "not a list of trips";
    QTest::newRow("a key of a newer log")
        << QByteArray(R"({"version": 1, "trips": [], "more": 1})") << "not a list of trips";
    QTest::newRow("a trip without a start")
        << log("1", "[{\"legs\": [" + leg + "]}]") << "start time and its legs";
    QTest::newRow("a number where a figure's text was")
        << log("1", R"([{"started": "2026-12-07T10:00:00", "legs": [{"ete": 31.6}]}])")
        << "\"ete\" is not a text";
    QTest::newRow("a column it does not know")
        << log("1", R"([{"started": "2026-12-07T10:00:00", "legs": [{"climbFuel": "2"}]}])")
        << "does not know";
}

void TestNavLog::unreadableLogIsPutAside() {
    // Whatever it does not fully understand is kept aside, never written
    // over, and an earlier copy put aside is never lost.
    QFETCH(QByteArray, stored);
    QFETCH(QString, why);
    testing::DataDir dir;
    const QByteArray earlier = "an earlier log put aside";
    dir.write("navlog.json.unreadable", earlier);
    dir.write("navlog.json", stored);
    TripLog log(store::dataPlaces());
    log.load();
    QVERIFY(!log.latest());
    QVERIFY2(log.problem().contains(why), qPrintable(log.problem()));
    QVERIFY2(log.problem().contains("navlog.json.unreadable.2"), qPrintable(log.problem()));
    QCOMPARE(dir.read("navlog.json.unreadable.2"), stored);
    log.legComputed(aLeg("50", "31.6", "35.79"), kStart);
    QCOMPARE(log.save(), core::WriteStatus::Written);
    QCOMPARE(dir.read("navlog.json.unreadable.2"), stored);
    QCOMPARE(dir.read("navlog.json.unreadable"), earlier);
    // What it writes it reads back whole.
    TripLog again(store::dataPlaces());
    again.load();
    QVERIFY2(again.problem().isEmpty(), qPrintable(again.problem()));
    QCOMPARE(again.trips().size(), std::size_t(1));
}

void TestNavLog::failedWriteIsReported() {
    testing::DataDir dir(false);
    TripLog log(store::dataPlaces());
    log.legComputed(aLeg("50", "31.6", "35.79"), kStart);
    QCOMPARE(log.save(), core::WriteStatus::CannotCreate);
    QCOMPARE(core::writeFailureText(log.save(), "nav log"),
             std::string("Cannot open nav log file!"));
}

QTEST_GUILESS_MAIN(TestNavLog)
#include "tst_navlog.moc"
