// The plan file: what is saved reads back the same, and what is damaged,
// newer or out of shape is refused.
#include "PlanSamples.h"
#include "core/Files.h"
#include "plan/FlightPlan.h"
#include "plan/PlanFile.h"

#include "core/Math.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using plan::FlightPlan;
using plan::Wind;
using testing::threeLegs;

class TestPlanFile : public QObject {
    Q_OBJECT
private slots:
    void planFileRoundTripAndRefusals();
    void figuresOutsideTheLimits_data();
    void figuresOutsideTheLimits();
    void theAircraftTravelsWithThePlan();
    void aFileWithoutAFuelSectionKeepsTheReserve();
};

void TestPlanFile::planFileRoundTripAndRefusals() {
    FlightPlan p = threeLegs();
    p.deviationCard = plan::DeviationCard{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    p.windsAloft = {{3000, Wind{350, 20}, -2.5}, {6000, Wind{350, 25}}};
    p.waypoints[0].elevationFt = 1416;
    p.alternate = p.waypoints[1];
    // Without the zone and weather it stays readable by an older Skyvane.
    QVERIFY(plan::planJson(p).find("\"version\": 1") != std::string::npos);
    QCOMPARE(plan::readPlan(plan::planJson(p)).plan->zone, plan::PlanZone::Local);
    p.zone = plan::PlanZone::Utc;
    p.weather[0].metar = "METAR LSZH 081150Z 24012KT 9999 FEW040 08/05 Q1008";
    p.weather[2].taf = "TAF LSGG 081100Z 0812/0918 24010KT CAVOK";
    p.weather[1].surfaceWind = Wind{250, 8};
    const std::string json = plan::planJson(p);
    QVERIFY(json.find("\"version\": 3") != std::string::npos);
    const plan::PlanRead back = plan::readPlan(json);
    QVERIFY2(back.plan, qPrintable(back.error));
    QCOMPARE(plan::planJson(*back.plan), json);
    QCOMPARE(back.plan->waypoints[1].name, QString("Lake bridge"));
    QCOMPARE(back.plan->off, p.off);
    QCOMPARE(back.plan->deviationCard, p.deviationCard);
    QCOMPARE(back.plan->windsAloft[0].temperatureC, std::optional<double>(-2.5));
    QVERIFY(!back.plan->windsAloft[1].temperatureC);
    QCOMPARE(back.plan->waypoints[0].elevationFt, std::optional<double>(1416));
    QVERIFY(!back.plan->waypoints[1].elevationFt);
    QCOMPARE(back.plan->zone, plan::PlanZone::Utc);
    QCOMPARE(back.plan->weather[0].metar, p.weather[0].metar);
    QCOMPARE(back.plan->weather[2].taf, p.weather[2].taf);
    QCOMPARE(back.plan->weather[1].surfaceWind, p.weather[1].surfaceWind);
    const struct {
        std::string bytes;
        const char* says;
    } refused[] = {
        {json.substr(0, json.size() / 2), "damaged"},
        {"[]", "damaged"},
        {"{\"format\":\"other\"}", "not a Skyvane plan"},
        {"{\"format\":\"skyvane-plan\",\"version\":4}", "newer Skyvane"},
        {"{\"format\":\"skyvane-plan\",\"version\":3,\"timeZone\":\"Mars\"}", "timeZone"},
        {"{\"format\":\"skyvane-plan\",\"version\":1,\"waypoints\":[{\"name\":\"x\"}]}", "missing"},
        {"{\"format\":\"skyvane-plan\",\"version\":1,\"waypoints\":[{\"name\":\"x\","
         "\"latitudeDeg\":95,\"longitudeDeg\":1}]}",
         "lies nowhere"}};
    for (const auto& r : refused) {
        const plan::PlanRead read = plan::readPlan(r.bytes);
        QVERIFY(!read.plan);
        QVERIFY2(read.error.contains(r.says), qPrintable(read.error));
    }
}

void TestPlanFile::figuresOutsideTheLimits_data() {
    QTest::addColumn<QString>("from"); // a piece of a good file
    QTest::addColumn<QString>("to");   // what it becomes
    QTest::addColumn<QString>("says"); // empty: still read
    QTest::newRow("TAS 3e9") << "\"tasKt\": 110"
                             << "\"tasKt\": 3e9"
                             << "\"tasKt\" is 3000000000";
    QTest::newRow("TAS at its limit") << "\"tasKt\": 110"
                                      << "\"tasKt\": 250"
                                      << "";
    QTest::newRow("negative fuel flow") << "\"fuelFlowGph\": 8"
                                        << "\"fuelFlowGph\": -1"
                                        << "\"fuelFlowGph\" is -1, outside 0";
    QTest::newRow("negative fuel") << "\"fuelGal\": 40"
                                   << "\"fuelGal\": -5"
                                   << "\"fuelGal\"";
    QTest::newRow("negative reserve") << "\"reserveMin\": 30"
                                      << "\"reserveMin\": -30"
                                      << "\"reserveMin\"";
    QTest::newRow("negative contingency") << "\"contingencyPercent\": 5"
                                          << "\"contingencyPercent\": -5"
                                          << "\"contingencyPercent\"";
    QTest::newRow("variation 1e6") << "\"variationDeg\": -2"
                                   << "\"variationDeg\": 1e6"
                                   << "\"variationDeg\" is 1000000";
    QTest::newRow("a card entry of 1e308") << "12\n"
                                           << "1e308\n"
                                           << "\"card\"";
    QTest::newRow("a card entry of text") << "12\n"
                                          << "\"x\"\n"
                                          << "\"card\" is not a number";
    QTest::newRow("a card of eleven") << ",\n            12\n"
                                      << "\n"
                                      << "not 12 headings";
    QTest::newRow("a wind from 999") << "\"directionDeg\": 270"
                                     << "\"directionDeg\": 999"
                                     << "\"directionDeg\" is 999";
    QTest::newRow("a wind of -50 kt") << "\"speedKt\": 15"
                                      << "\"speedKt\": -50"
                                      << "\"speedKt\" is -50";
    QTest::newRow("an altitude of 1e9") << "\"altitudeFt\": 4500"
                                        << "\"altitudeFt\": 1e9"
                                        << "\"altitudeFt\"";
    QTest::newRow("an unreadable time off") << "\"off\": \"2026-06-01T10:00:00\""
                                            << "\"off\": \"tomorrow\""
                                            << "\"off\"";
    QTest::newRow("a format version of 1e300") << "\"version\": 1"
                                               << "\"version\": 1e300"
                                               << "newer Skyvane";
    QTest::newRow("no format version") << "\"version\": 1,"
                                       << ""
                                       << "version is missing";
    QTest::newRow("a temperature aloft of 99 °C") << "\"temperatureC\": -5"
                                                  << "\"temperatureC\": 99"
                                                  << "\"temperatureC\" is 99";
    QTest::newRow("a field 1e6 ft high") << "\"elevationFt\": 1416"
                                         << "\"elevationFt\": 1e6"
                                         << "\"elevationFt\"";
    QTest::newRow("a name that is a number") << "\"name\": \"LSZB\""
                                             << "\"name\": 7"
                                             << "\"name\" is not a text";
}

void TestPlanFile::figuresOutsideTheLimits() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, says);
    FlightPlan p = threeLegs();
    p.deviationCard = plan::DeviationCard{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    p.windsAloft = {{3000, Wind{350, 20}, -5.}};
    p.waypoints[0].elevationFt = 1416;
    QString json = QString::fromStdString(plan::planJson(p));
    QVERIFY2(json.contains(from), qPrintable(json));
    json.replace(json.indexOf(from), from.size(), to);
    const plan::PlanRead read = plan::readPlan(json.toStdString());
    if (says.isEmpty()) {
        QVERIFY2(read.plan, qPrintable(read.error));
        return;
    }
    QVERIFY(!read.plan);
    QVERIFY2(read.error.contains(says), qPrintable(read.error));
}

void TestPlanFile::aFileWithoutAFuelSectionKeepsTheReserve() {
    FlightPlan p = threeLegs();
    QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(plan::planJson(p))).object();
    o.remove("fuel");
    const plan::PlanRead read = plan::readPlan(QJsonDocument(o).toJson().toStdString());
    QVERIFY2(read.plan, qPrintable(read.error));
    QCOMPARE(read.plan->fuel.reserveMin, 30.0);
    QCOMPARE(read.plan->fuel.contingencyPercent, 5.0);
}

void TestPlanFile::theAircraftTravelsWithThePlan() {
    plan::FlightPlan p = testing::threeLegs();
    QVERIFY(plan::planJson(p).find("\"version\": 1") != std::string::npos); // no aircraft
    const auto bytes = core::readFileBytes(SKYVANE_EXAMPLE_AIRCRAFT, 1 << 20);
    p.profile = plan::readProfile(bytes.value_or(std::string())).profile;
    QVERIFY(p.profile);
    p.stationLoads = {340, 0, 30, 0};
    const std::string json = plan::planJson(p);
    QVERIFY(json.find("\"version\": 2") != std::string::npos);
    const plan::PlanRead back = plan::readPlan(json);
    QVERIFY2(back.plan, qPrintable(back.error));
    QCOMPARE(plan::planJson(*back.plan), json);
    QCOMPARE(back.plan->stationLoads, p.stationLoads);
    // A load for a station the aircraft does not have, and an aircraft that
    // is not one, are refused, never dropped.
    auto spoilt = [&json](const std::string& from, const std::string& to) {
        std::string bytes = json;
        bytes.replace(bytes.find(from), from.size(), to);
        return plan::readPlan(bytes);
    };
    const plan::PlanRead boot = spoilt("\"station\": \"Baggage 1\"", "\"station\": \"Boot\"");
    QVERIFY(!boot.plan && boot.error.contains("\"Boot\""));
    const plan::PlanRead bad = spoilt("\"usableGal\": 53", "\"usableGal\": 500");
    QVERIFY2(!bad.plan && bad.error.startsWith("its aircraft: \"usableGal\" is 500"),
             qPrintable(bad.error));
}

QTEST_GUILESS_MAIN(TestPlanFile)
#include "tst_planfile.moc"
