// Aircraft profiles and weight and balance: the shipped example reads and
// writes back the same, damaged, newer and out-of-range profiles are refused
// with the key named, the cruise and climb tables against hand-worked
// figures, the envelope test on edges, corners and a concave envelope, and
// two loadings worked by hand, one in lb and in, one in kg and mm by moment.
#include "PlanSamples.h"
#include "core/Files.h"
#include "kneeboard/Sheet.h"
#include "plan/AircraftProfile.h"
#include "plan/DecisionPoints.h"
#include "plan/WeightBalance.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cmath>

using plan::AircraftProfile;

namespace {

AircraftProfile example() {
    const auto bytes = core::readFileBytes(SKYVANE_EXAMPLE_AIRCRAFT, 1 << 20);
    const plan::ProfileRead read = plan::readProfile(bytes.value_or(std::string()));
    if (!read.profile)
        qFatal("the example profile does not read: %s", qPrintable(read.error));
    return *read.profile;
}

// The example's JSON with one part replaced (a null value removes the key).
std::string changed(const QString& key, const QJsonValue& value) {
    QJsonObject root =
        QJsonDocument::fromJson(QByteArray::fromStdString(plan::profileJson(example()))).object();
    const QStringList path = key.split('.');
    if (path.size() == 1) {
        if (value.isNull())
            root.remove(key);
        else
            root.insert(key, value);
    } else {
        QJsonObject part = root.value(path[0]).toObject();
        part.insert(path[1], value);
        root.insert(path[0], part);
    }
    return QJsonDocument(root).toJson().toStdString();
}

} // namespace

class TestAircraft : public QObject {
    Q_OBJECT
private slots:
    void exampleWritesBackTheSame();
    void refused_data();
    void refused();
    void cruiseByAltitude_data();
    void cruiseByAltitude();
    void climbByTable_data();
    void climbByTable();
    void envelopeEdgesCornersAndConcave_data();
    void envelopeEdgesCornersAndConcave();
    void loadingByHandInPoundsAndInches();
    void loadingByHandInKilogramsByMoment();
    void thePlanCarriesItToThePage();
};

void TestAircraft::exampleWritesBackTheSame() {
    const AircraftProfile p = example();
    QVERIFY(p.note.contains("not for flight"));
    QCOMPARE(p.stations.size(), std::size_t(4));
    const std::string written = plan::profileJson(p);
    const plan::ProfileRead again = plan::readProfile(written);
    QVERIFY2(again.profile, qPrintable(again.error));
    QCOMPARE(plan::profileJson(*again.profile), written);
}

void TestAircraft::refused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("why");
    auto row = [](const char* name, const std::string& bytes, const char* why) {
        QTest::newRow(name) << QByteArray::fromStdString(bytes) << why;
    };
    row("damaged", "{\"format\": \"skyvane-aircraft\", \"vers", "damaged JSON");
    row("a plan, not a profile", R"({"format": "skyvane-plan", "version": 1})", "not an aircraft");
    row("newer", changed("version", 2), "newer Skyvane (aircraft format 2");
    row("far newer", changed("version", 1e300), "newer Skyvane");
    row("no version", changed("version", QJsonValue::Null), "version is missing");
    row("a TAS beyond the limits",
        changed("cruise",
                QJsonArray{QJsonObject{{"altitudeFt", 0}, {"tasKt", 300}, {"fuelFlowGph", 8}}}),
        "\"tasKt\" is 300, outside 0 to 250");
    row("no cruise", changed("cruise", QJsonArray{}), "\"cruise\" has no row");
    row("cruise falling",
        changed("cruise",
                QJsonArray{QJsonObject{{"altitudeFt", 5000}, {"tasKt", 100}, {"fuelFlowGph", 8}},
                           QJsonObject{{"altitudeFt", 3000}, {"tasKt", 100}, {"fuelFlowGph", 8}}}),
        "not in rising altitude");
    row("a climb table whose fuel falls",
        changed("climb", QJsonObject{{"table", QJsonArray{QJsonObject{{"pressureAltitudeFt", 0},
                                                                      {"minutes", 0},
                                                                      {"fuelGal", 1},
                                                                      {"distanceNm", 0}},
                                                          QJsonObject{{"pressureAltitudeFt", 2000},
                                                                      {"minutes", 4},
                                                                      {"fuelGal", 0.5},
                                                                      {"distanceNm", 5}}}}}),
        "falls at 2000 ft");
    row("a weight unit it does not know", changed("units.weight", "stone"), "not lb or kg");
    row("a density as text", changed("fuel.densityPerGal", "6"),
        "\"densityPerGal\" is not a number");
    row("a rate of 0 would never climb",
        changed("climb", QJsonObject{{"rateFpm", 0}, {"tasKt", 80}, {"fuelFlowGph", 10}}),
        "\"rateFpm\" is 0, outside 1 to 10000");
    row("an envelope of two points",
        changed("envelopes", QJsonArray{QJsonObject{{"name", "N"},
                                                    {"axis", "arm"},
                                                    {"points", QJsonArray{QJsonArray{35, 1500},
                                                                          QJsonArray{40, 2500}}}}}),
        "fewer than three points");
    row("two stations of one name",
        changed("stations", QJsonArray{QJsonObject{{"name", "Seat"}, {"arm", 37}, {"max", 200}},
                                       QJsonObject{{"name", "Seat"}, {"arm", 73}, {"max", 200}}}),
        "two stations are named \"Seat\"");
}

void TestAircraft::refused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    const plan::ProfileRead read = plan::readProfile(bytes.toStdString());
    QVERIFY(!read.profile);
    QVERIFY2(read.error.contains(why), qPrintable(read.error));
}

void TestAircraft::cruiseByAltitude_data() {
    QTest::addColumn<double>("altitudeFt");
    QTest::addColumn<double>("tasKt");
    QTest::addColumn<double>("fuelFlowGph");
    // Rows 2000: 110/8.4, 6000: 114/8.1, 10000: 116/7.6.
    QTest::newRow("below the table") << 500.0 << 110.0 << 8.4;
    QTest::newRow("on a row") << 6000.0 << 114.0 << 8.1;
    QTest::newRow("a quarter of the way") << 3000.0 << 111.0 << 8.325;
    QTest::newRow("halfway up") << 8000.0 << 115.0 << 7.85;
    QTest::newRow("above the table") << 14000.0 << 116.0 << 7.6;
}

void TestAircraft::cruiseByAltitude() {
    QFETCH(double, altitudeFt);
    const plan::CruiseRow row = plan::cruiseAt(example(), altitudeFt);
    QTEST(row.tasKt, "tasKt");
    QTEST(row.fuelFlowGph, "fuelFlowGph");
}

void TestAircraft::climbByTable_data() {
    QTest::addColumn<double>("fromFt");
    QTest::addColumn<double>("toFt");
    QTest::addColumn<double>("isaDeviationC");
    QTest::addColumn<double>("minutes"); // negative: refused
    QTest::addColumn<double>("fuelGal");
    QTest::addColumn<double>("distanceNm");
    // From 1000 ft (2 min, 0.4 gal, 2.5 nm) to 5000 ft (10 min, 1.85 gal, 13 nm).
    QTest::newRow("a standard day") << 1000.0 << 5000.0 << 0.0 << 8.0 << 1.45 << 10.5;
    QTest::newRow("20 °C above standard: 20% more")
        << 1000.0 << 5000.0 << 20.0 << 9.6 << 1.74 << 12.6;
    QTest::newRow("a cold day gains nothing") << 1000.0 << 5000.0 << -15.0 << 8.0 << 1.45 << 10.5;
    QTest::newRow("from sea level to the table's top")
        << 0.0 << 12000.0 << 0.0 << 31.0 << 5.0 << 43.0;
    QTest::newRow("beyond the table") << 0.0 << 12500.0 << 0.0 << -1.0 << 0.0 << 0.0;
    QTest::newRow("below the table") << -500.0 << 3000.0 << 0.0 << -1.0 << 0.0 << 0.0;
}

void TestAircraft::climbByTable() {
    QFETCH(double, fromFt);
    QFETCH(double, toFt);
    QFETCH(double, isaDeviationC);
    QFETCH(double, minutes);
    QString why;
    const auto climb = plan::tableClimb(example().climbTable, fromFt, toFt, isaDeviationC, &why);
    if (minutes < 0) {
        QVERIFY(!climb);
        QVERIFY2(why.contains("climb table covers 0 to 12000 ft"), qPrintable(why));
        return;
    }
    QVERIFY2(climb, qPrintable(why));
    QVERIFY(qFuzzyCompare(climb->minutes, minutes));
    QFETCH(double, fuelGal);
    QFETCH(double, distanceNm);
    QVERIFY(qFuzzyCompare(climb->fuelGal, fuelGal));
    QVERIFY(qFuzzyCompare(climb->distanceNm, distanceNm));
}

void TestAircraft::envelopeEdgesCornersAndConcave_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("weight");
    QTest::addColumn<bool>("square");  // (0,0)-(10,10)
    QTest::addColumn<bool>("concave"); // an L: the square without (5..10, 5..10)
    QTest::newRow("middle") << 2.0 << 2.0 << true << true;
    QTest::newRow("a corner") << 0.0 << 0.0 << true << true;
    QTest::newRow("on an edge") << 10.0 << 3.0 << true << true;
    QTest::newRow("in the notch") << 7.0 << 7.0 << true << false;
    QTest::newRow("the notch's inner corner") << 5.0 << 5.0 << true << true;
    QTest::newRow("on the notch's edge") << 7.0 << 5.0 << true << true;
    QTest::newRow("just outside") << 10.001 << 3.0 << false << false;
    QTest::newRow("level with a corner, outside") << -1.0 << 10.0 << false << false;
}

void TestAircraft::envelopeEdgesCornersAndConcave() {
    QFETCH(double, x);
    QFETCH(double, weight);
    const std::vector<std::pair<double, double>> square = {{0, 0}, {0, 10}, {10, 10}, {10, 0}};
    const std::vector<std::pair<double, double>> concave = {{0, 0}, {0, 10}, {5, 10},
                                                            {5, 5}, {10, 5}, {10, 0}};
    QTEST(plan::insidePolygon(square, x, weight), "square");
    QTEST(plan::insidePolygon(concave, x, weight), "concave");
}

void TestAircraft::loadingByHandInPoundsAndInches() {
    // Empty 1680 lb at 39.6 in (66528), front seats 340 lb at 37 (12580),
    // baggage 30 lb at 95 (2850): 2050 lb, 81958. Fuel at 48 in, 6 lb/gal.
    const plan::WeightAndBalance wb = plan::weightAndBalance(example(), {340, 0, 30}, 40, 1.1, 20);
    QCOMPARE(wb.ramp.weight, 2290.0); // + 240 lb
    QCOMPARE(wb.ramp.moment, 93478.0);
    QVERIFY(std::fabs(wb.takeoff.weight - 2283.4) < 1e-9);
    QVERIFY(std::fabs(wb.takeoff.moment - 93161.2) < 1e-6);
    QVERIFY(std::fabs(wb.landing.arm - 87401.2 / 2163.4) < 1e-9);
    QVERIFY(wb.ramp.insideEnvelopes && wb.landing.insideEnvelopes);
    QVERIFY(wb.withinLimits);
    QCOMPARE(wb.verdict, QString("Within limits."));
    // Two heavy people in the back and full baggage: over the ramp weight and
    // aft of the envelope.
    const plan::WeightAndBalance aft =
        plan::weightAndBalance(example(), {340, 400, 120, 50}, 53, 1.1, 20);
    QVERIFY(!aft.withinLimits);
    QVERIFY2(aft.verdict.contains("ramp weight 2908 lb is 350 lb over the maximum 2558 lb"),
             qPrintable(aft.verdict));
    QVERIFY2(aft.verdict.contains("outside the envelope \"Normal category\""),
             qPrintable(aft.verdict));
}

void TestAircraft::loadingByHandInKilogramsByMoment() {
    AircraftProfile p;
    p.weightUnit = plan::WeightUnit::Kilogram;
    p.armUnit = plan::ArmUnit::Millimetre;
    p.densityPerGal = 2.72; // avgas in kg per US gallon
    p.fuelArm = 1100;
    p.emptyWeight = 600;
    p.emptyArm = 900;
    p.maxRampWeight = p.maxTakeoffWeight = 900;
    p.maxLandingWeight = 850;
    p.stations = {{"Pilot", 1000, 120}};
    // By moment (kg mm): between 800,000 and 1,000,000 from 600 to 900 kg.
    p.envelopes = {
        {"Utility", true, {{500000, 600}, {800000, 900}, {1000000, 900}, {600000, 600}}}};
    // 600 kg at 900 (540,000) + 80 kg at 1000 (80,000) + 50 gal = 136 kg at
    // 1100 (149,600): 816 kg, 769,600 kg mm, arm 943.1 mm.
    const plan::WeightAndBalance wb = plan::weightAndBalance(p, {80}, 50, 0, 40);
    QVERIFY(std::fabs(wb.ramp.weight - 816) < 1e-9);
    QVERIFY(std::fabs(wb.ramp.moment - 769600) < 1e-6);
    QVERIFY(std::fabs(wb.ramp.arm - 769600.0 / 816) < 1e-9);
    // At 816 kg the envelope spans 716,000 to 888,000: inside.
    QVERIFY(wb.ramp.insideEnvelopes);
    // Landing with 10 gal: 707.2 kg, 649,920: the envelope at 707.2 kg spans
    // 607,200 to 742,933: inside too.
    QVERIFY(wb.landing.insideEnvelopes);
    QVERIFY2(wb.withinLimits, qPrintable(wb.verdict));
    // A heavier pilot lands over the landing weight only if the fuel is not
    // burnt: 120 kg, no trip.
    const plan::WeightAndBalance heavy = plan::weightAndBalance(p, {120}, 50, 0, 0);
    QVERIFY2(heavy.verdict.contains("landing weight 856 kg is 6 kg over the maximum 850 kg"),
             qPrintable(heavy.verdict));
    // Without the trip fuel the landing is not known, and never passes.
    const plan::WeightAndBalance unknown = plan::weightAndBalance(p, {80}, 50, 0, std::nullopt);
    QVERIFY(!unknown.landingKnown && !unknown.withinLimits);
    QCOMPARE(unknown.verdict, QString("Ramp and takeoff within limits; the landing cannot be "
                                      "checked while the trip fuel is unknown."));
    // A station over its own maximum, though the whole is within.
    const plan::WeightAndBalance seat = plan::weightAndBalance(p, {121}, 20, 0, 10);
    QVERIFY2(seat.verdict == "Outside limits: Pilot holds 121 kg, 1 kg over its maximum 120 kg.",
             qPrintable(seat.verdict));
}

void TestAircraft::thePlanCarriesItToThePage() {
    // The plan's own profile and loads: the same figures as the loading
    // alone, with the plan's fuel and trip, and the page says the verdict.
    plan::FlightPlan p = testing::threeLegs();
    p.aircraft.fuelGal = 40;
    p.profile = example();
    p.stationLoads = {340, 0, 30, 0};
    const plan::ComputedPlan computed = plan::computePlan(p, nullptr);
    QVERIFY(computed.complete());
    const auto balance = plan::planBalance(p, computed);
    QVERIFY(balance);
    const plan::WeightAndBalance alone = plan::weightAndBalance(
        example(), {340, 0, 30, 0}, 40, p.aircraft.taxiGal, computed.fuel.tripGal);
    QCOMPARE(balance->landing.moment, alone.landing.moment);
    const kneeboard::Sheet sheet =
        kneeboard::planSheet(p, computed, plan::DecisionPoints{}, nullptr);
    // 1680 + 340 + 30 + 240 lb of fuel at ramp (93478 lb in: 40.82 in).
    QCOMPARE(sheet.balance.value(0),
             QString("EXAMPLE Four-seat trainer (example): empty 1680 lb, Front seats 340 lb, "
                     "Baggage 1 30 lb"));
    QVERIFY2(sheet.balance.value(1).startsWith("ramp 2290 lb at 40.82 in; takeoff "),
             qPrintable(sheet.balance.value(1)));
    QCOMPARE(sheet.balance.value(2), balance->verdict);
    p.profile.reset(); // none without a profile
    QVERIFY(!plan::planBalance(p, computed));
    QVERIFY(plan::tanksProblem(p).isEmpty());
}

QTEST_GUILESS_MAIN(TestAircraft)
#include "tst_aircraft.moc"
