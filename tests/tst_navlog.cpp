// The nav log's trip model: legs in order, trips across Reset and restarts,
// the reserve rule, totals and the CSV a pilot exports.
#include "TestData.h"
#include "navlog/LegColumns.h"
#include "navlog/TripLog.h"
#include "store/Globals.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using navlog::LegFigures;
using navlog::Trip;
using navlog::TripLog;

namespace {

// A leg as the leg dialog shows it; fuelLeft, gph and the totals vary.
LegFigures aLeg(const QString& dist, const QString& ete, const QString& fuelLeft,
                const QString& gph = "8") {
    LegFigures l;
    l.from = "ABC";
    l.to = "KLA";
    l.trueCourseDeg = 90;
    l.windDirectionDeg = 45;
    l.windVelocityKt = 20;
    l.tasKt = 110;
    l.windCorrectionDeg = 7;
    l.trueHeadingDeg = 83;
    l.variationDeg = 13;
    l.magHeadingDeg = 96;
    l.magDeviationDeg = 2;
    l.compassHeadingDeg = 98;
    l.groundSpeedKt = 95;
    l.distanceNm = dist.toDouble();
    l.off.time = QTime(10, 0);
    l.eteMin = ete.toDouble();
    l.eta.time = QTime(10, 31, 36);
    l.fuelUsedGal = 4.21;
    l.fuelLeftGal = fuelLeft.toDouble();
    l.fuelFlowGph = gph.toDouble();
    l.fuelAtStartGal = 40;
    l.totalBurntGal = 4.21;
    l.totalDistanceNm = dist.toDouble();
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
    QCOMPARE(log.latest()->legs[1].distanceNm, 42.5);
}

void TestNavLog::resetBeginsANewTripAndKeepsTheOld() {
    TripLog log(store::dataPlaces());
    log.legComputed(aLeg("50", "31.6", "35.79"), kStart);
    log.reset();
    // Right after a Reset the finished trip is still the latest: a stray
    // Reset loses nothing.
    QCOMPARE(log.trips().size(), std::size_t(1));
    QCOMPARE(log.latest()->legs[0].distanceNm, 50.0);
    log.reset(); // a second Reset makes no empty trip either
    log.legComputed(aLeg("61", "38.38", "27.44"), kStart.addDays(1));
    QCOMPARE(log.trips().size(), std::size_t(2));
    QCOMPARE(log.latest()->legs[0].distanceNm, 61.0);
    QCOMPARE(log.trips()[1].legs[0].distanceNm, 50.0);
}

void TestNavLog::atMostFiftyTrips() {
    TripLog log(store::dataPlaces());
    for (int i = 0; i < 60; ++i) {
        log.legComputed(aLeg(QString::number(i), "1", "30"), kStart.addDays(i));
        log.reset();
    }
    QCOMPARE(log.trips().size(), TripLog::kMaxTrips);
    QCOMPARE(log.latest()->legs[0].distanceNm, 59.0);
    QCOMPARE(log.trips().back().legs[0].distanceNm, 10.0);
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
    trip.legs.back().totalBurntGal = 12.56;
    trip.legs.back().eta.time = QTime(11, 34, 13);
    const navlog::Totals t = navlog::totalsOf(trip, 30);
    QCOMPARE(t.distanceNm, 153.5);
    QCOMPARE(t.eteMin, 94.23);
    QCOMPARE(t.fuelBurntGal, 12.56);
    QCOMPARE(t.lastEta.time, QTime(11, 34, 13));
    QCOMPARE(t.fuelLeftGal, 27.44);
    // The nav log window's totals row, under its headings.
    const QStringList headings = navlog::headingsOf(navlog::Output::Log);
    const QStringList row = navlog::totalsRowOf(navlog::Output::Log, t);
    const std::pair<const char*, const char*> shown[] = {
        {"#", "Total"},      {"Dist", "153.5"},   {"ETE", "94.23"}, {"ETA", "11:34:13"},
        {"F.used", "12.56"}, {"F.left", "27.44"}, {"TC", ""},       {"Reserve", ""}};
    for (const auto& [heading, text] : shown)
        QCOMPARE(row.value(headings.indexOf(heading), "?"), QString(text));
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
    trip.legs.back().totalBurntGal = 12.56;
    trip.legs.back().eta.time = QTime(11, 34, 13);
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
    LegFigures missing;
    missing.computed = false;
    missing.planned = true;
    trip.legs = {aLeg("50", "31.6", "35.79"), missing, aLeg("20", "10", "30")};
    trip.legs[1].from = "KLA";
    trip.legs[1].to = "XYZ";
    trip.legs[1].problem = "no wind: type one or fill the winds aloft";
    trip.legs[2].windCorrectionDeg = -3.5;
    const QStringList rows = QString::fromStdString(navlog::tripCsv(trip, 30)).split("\r\n");
    QCOMPARE(rows.value(2), QString("2,KLA,XYZ,,,,,,,,,,,,,,,,,,,,no wind: type one or fill the "
                                    "winds aloft"));
    QVERIFY2(rows.value(3).endsWith(",,R,"), qPrintable(rows.value(3)));
    QCOMPARE(rows.value(4), QString("Total,,,,,,,,,,,,,,,,,,,,,,incomplete: leg 2 could not be "
                                    "computed"));
    const navlog::Totals t = navlog::totalsOf(trip, 30);
    QVERIFY(!t.complete && !t.hasEndurance);
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
    QCOMPARE(again.trips()[1].legs[1].eteMin, 24.25);
    QCOMPARE(again.trips()[1].legs[1].fuelAtStartGal, 40.0);
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
    // A whole leg as the log keeps it, then spoilt in one place.
    auto spoilt = [&log](const QString& key, const QJsonValue& value) {
        QJsonObject leg = navlog::storedLeg(aLeg("50", "31.6", "35.79"));
        if (value.isUndefined())
            leg.remove(key);
        else
            leg.insert(key, value);
        const QJsonArray trips{
            QJsonObject{{"started", "2026-12-07T10:00:00"}, {"legs", QJsonArray{leg}}}};
        return log("1", QJsonDocument(trips).toJson());
    };
    QTest::newRow("a figure that is not a number")
        << spoilt("fuelLeft", "35,79") << "\"fuelLeft\" is not a number";
    QTest::newRow("a time that is not one") << spoilt("eta", "25:00:00") << "\"eta\" is not a time";
    QTest::newRow("a figure left out") << spoilt("ete", QJsonValue::Undefined) << "has no \"ete\"";
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
