// The flight plan without widgets: positions as pilots write them, winds
// aloft and the deviation card, the fuel block, legs that cannot be flown,
// and the plan file.
#include "plan/Coordinates.h"
#include "plan/FlightPlan.h"
#include "plan/PlanFile.h"
#include "plan/RouteExchange.h"

#include "core/Math.h"

#include <QTest>

using plan::FlightPlan;
using plan::Wind;

namespace {

FlightPlan threeLegs() {
    FlightPlan p;
    p.aircraft = {110, 8, 40, 1};
    p.off = QDateTime(QDate(2026, 6, 1), QTime(10, 0, 0));
    p.variationDeg = -2;
    p.deviationDeg = 1;
    for (const auto& [name, lat, lon] : {std::tuple{"LSZH", 47.458, 8.548},
                                         {"Lake bridge", 47.2, 8.9},
                                         {"LSZB", 46.913, 7.499},
                                         {"LSGG", 46.238, 6.109}}) {
        plan::Waypoint w;
        w.name = name;
        w.position = {lat, lon};
        w.leg.altitudeFt = 4500;
        w.leg.wind = Wind{270, 15};
        p.waypoints.push_back(w);
    }
    return p;
}

} // namespace

class TestFlightPlan : public QObject {
    Q_OBJECT
private slots:
    void positions_data();
    void positions();
    void windsAloftAsVectors_data();
    void windsAloftAsVectors();
    void deviationCardAcross360();
    void fuelBlockAndVerdict();
    void legsThatCannotBeFlownSaySo();
    void planFileRoundTripAndRefusals();
    void routesRoundTrip_data();
    void routesRoundTrip();
    void damagedRoutesAreRefused_data();
    void damagedRoutesAreRefused();
};

void TestFlightPlan::positions_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QString>("error"); // part of the message when refused
    QTest::newRow("decimal") << "47.4581 8.5481" << 47.4581 << 8.5481 << "";
    QTest::newRow("decimal with a comma and signs") << "-33.95, -151.18" << -33.95 << -151.18 << "";
    QTest::newRow("degrees and minutes, letters after")
        << "47 27.5N 008 33.0E" << 47 + 27.5 / 60 << 8 + 33.0 / 60 << "";
    QTest::newRow("marks, letters before") << "N47°27.5' E8°33'" << 47 + 27.5 / 60 << 8.55 << "";
    QTest::newRow("south and west")
        << "S33 57.0 W151 10.8" << -(33 + 57.0 / 60) << -(151 + 10.8 / 60) << "";
    QTest::newRow("seconds") << "47°27'29\"N 8°32'53\"E" << 47 + 27 / 60.0 + 29 / 3600.0
                             << 8 + 32 / 60.0 + 53 / 3600.0 << "";
    QTest::newRow("minutes without letters") << "47 27.5 8 33" << 47 + 27.5 / 60 << 8.55 << "";
    QTest::newRow("lower-case letters") << "47.5n 8.5w" << 47.5 << -8.5 << "";
    QTest::newRow("letters and no spaces") << "47.5N8.5E" << 47.5 << 8.5 << "";
    QTest::newRow("latitude 91") << "91 8" << 0. << 0. << "between -90 and 90";
    QTest::newRow("longitude 181") << "47 181" << 0. << 0. << "between -180 and 180";
    QTest::newRow("60 minutes") << "47 60N 8 0E" << 0. << 0. << "below 60";
    QTest::newRow("east for a latitude") << "47E 8N" << 0. << 0. << "no position";
    QTest::newRow("a sign and a letter") << "-47N 8E" << 0. << 0. << "both a sign";
    QTest::newRow("one number") << "47.5" << 0. << 0. << "no position";
    QTest::newRow("decimal degrees with minutes")
        << "47.5 10N 8 0E" << 0. << 0. << "decimal degrees";
    QTest::newRow("halves written unlike") << "47 30N 8.5E" << 0. << 0. << "not written alike";
    QTest::newRow("words") << "lake bridge" << 0. << 0. << "no position";
}

void TestFlightPlan::positions() {
    QFETCH(QString, text);
    QFETCH(QString, error);
    const plan::ParsedPosition parsed = plan::parsePosition(text);
    if (!error.isEmpty()) {
        QVERIFY(!parsed.position);
        QVERIFY2(parsed.error.contains(error), qPrintable(parsed.error));
        return;
    }
    QFETCH(double, lat);
    QFETCH(double, lon);
    QVERIFY2(parsed.position, qPrintable(parsed.error));
    QVERIFY(std::fabs(parsed.position->latitudeDeg - lat) < 1e-12);
    QVERIFY(std::fabs(parsed.position->longitudeDeg - lon) < 1e-12);
}

void TestFlightPlan::windsAloftAsVectors_data() {
    QTest::addColumn<double>("altitude");
    QTest::addColumn<double>("direction");
    QTest::addColumn<double>("speed");
    // 3000 ft: 350/20, 5000 ft: 010/20, 9000 ft: 090/40.
    QTest::newRow("a row") << 3000. << 350. << 20.;
    QTest::newRow("across north, halfway: 360, a little slower") << 4000. << 360. << 20.;
    QTest::newRow("a quarter of the way") << 3500. << 355. << 20.;
    QTest::newRow("below the table") << 1000. << 350. << 20.;
    QTest::newRow("above the table") << 12000. << 90. << 40.;
    QTest::newRow("between 010 and 090, as vectors") << 7000. << 66. << 24.;
}

void TestFlightPlan::windsAloftAsVectors() {
    QFETCH(double, altitude);
    const std::vector<plan::WindRow> table = {
        {5000, Wind{10, 20}}, {3000, Wind{350, 20}}, {9000, Wind{90, 40}}};
    const auto wind = plan::windAt(table, altitude);
    QVERIFY(wind);
    QTEST(wind->directionDeg, "direction");
    QTEST(wind->speedKt, "speed");
    QVERIFY(!plan::windAt({}, altitude));
    // Opposite winds cancel: a calm is 000/0.
    QCOMPARE(plan::windAt({{0, Wind{90, 10}}, {2000, Wind{270, 10}}}, 1000), (Wind{0, 0}));
}

void TestFlightPlan::deviationCardAcross360() {
    plan::DeviationCard card{};
    card[0] = 2;   // 000
    card[1] = 4;   // 030
    card[11] = -4; // 330
    QCOMPARE(plan::deviationAt(card, 0), 2.0);
    QCOMPARE(plan::deviationAt(card, 15), 3.0);
    QCOMPARE(plan::deviationAt(card, 345), -1.0); // halfway from 330 to 360 (= 000)
    QCOMPARE(plan::deviationAt(card, 360), 2.0);
    QCOMPARE(plan::deviationAt(card, -15), -1.0);
    QCOMPARE(plan::deviationAt(card, 45), 2.0); // 030 to 060 (0)
}

void TestFlightPlan::fuelBlockAndVerdict() {
    FlightPlan p = threeLegs();
    p.fuel = {10, 30, 2};
    p.alternate = plan::Waypoint{"LSGC", "LSGC", {47.083, 6.793}, {4500, Wind{270, 15}, {}}};
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    QCOMPARE(c.legs.size(), std::size_t(4));
    QVERIFY(c.legs.back().alternate);
    const plan::FuelBlock& f = c.fuel;
    // Trip: the chain's total burnt over the three route legs, as Next keeps it.
    QCOMPARE(f.tripGal, c.legs[2].result.totalBurntGal);
    QCOMPARE(f.contingencyGal, core::roundTo2Places(f.tripGal * 0.1));
    QCOMPARE(f.alternateGal, c.legs[3].result.fuelUsedGal);
    QCOMPARE(f.reserveGal, 4.0);
    QCOMPARE(f.requiredGal,
             core::roundTo2Places(1 + f.tripGal + f.contingencyGal + f.alternateGal + 4 + 2));
    QVERIFY(f.enough);
    QVERIFY2(f.verdict.startsWith("Enough fuel: 40.0 gal on board"), qPrintable(f.verdict));
    // The legs chain on: each starts at the last one's ETA with its fuel left.
    QCOMPARE(c.legs[0].input.fuelGal, 39.0); // after taxi
    QCOMPARE(c.legs[1].off, c.legs[0].eta);
    QCOMPARE(c.legs[1].input.fuelGal, c.legs[0].result.fuelLeftGal);
    QCOMPARE(c.legs[0].toGoNm, core::roundTo2Places(c.distanceNm - c.legs[0].input.distanceNm));
    QCOMPARE(c.legs[2].toGoNm, 0.0);
    p.aircraft.fuelGal = 12;
    QVERIFY2(plan::computePlan(p, nullptr).fuel.verdict.startsWith("Not enough fuel"),
             "a short plan says so");
}

void TestFlightPlan::legsThatCannotBeFlownSaySo() {
    FlightPlan p = threeLegs();
    p.waypoints[2].leg.wind = Wind{250, 150}; // a headwind beyond the airspeed on leg 2
    p.aircraft.fuelGal = 2;                   // and the fuel runs out on leg 1
    p.waypoints[3].leg.wind.reset();          // and no wind at all on leg 3
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    QVERIFY(!c.flyable);
    QCOMPARE(c.legs[1].problem, plan::LegProblem::WindTooStrong);
    QVERIFY(plan::problemText(c.legs[1]).startsWith("cannot be flown: wind 250/150"));
    QCOMPARE(c.legs[2].problem, plan::LegProblem::NoWind);
    QCOMPARE(c.legs[0].problem, plan::LegProblem::None);
    QVERIFY(c.legs[0].fuelShortGal > 0);
    QVERIFY(plan::problemText(c.legs[0]).startsWith("runs out of fuel"));
    QCOMPARE(plan::wcaText(7), QString("7 L"));
    QCOMPARE(plan::wcaText(-5), QString("5 R"));
    QCOMPARE(plan::wcaText(0), QString("0"));
}

void TestFlightPlan::planFileRoundTripAndRefusals() {
    FlightPlan p = threeLegs();
    p.deviationCard = plan::DeviationCard{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    p.windsAloft = {{3000, Wind{350, 20}}};
    p.alternate = p.waypoints[1];
    const std::string json = plan::planJson(p);
    const plan::PlanRead back = plan::readPlan(json);
    QVERIFY2(back.plan, qPrintable(back.error));
    QCOMPARE(plan::planJson(*back.plan), json);
    QCOMPARE(back.plan->waypoints[1].name, QString("Lake bridge"));
    QCOMPARE(back.plan->off, p.off);
    const struct {
        std::string bytes;
        const char* says;
    } refused[] = {
        {json.substr(0, json.size() / 2), "damaged"},
        {"[]", "damaged"},
        {"{\"format\":\"other\"}", "not a Skyvane plan"},
        {"{\"format\":\"skyvane-plan\",\"version\":2}", "newer Skyvane"},
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

void TestFlightPlan::routesRoundTrip_data() {
    QTest::addColumn<bool>("fpl");
    QTest::newRow("GPX 1.1") << false;
    QTest::newRow("Garmin FPL") << true;
}

void TestFlightPlan::routesRoundTrip() {
    QFETCH(bool, fpl);
    FlightPlan p = threeLegs();
    p.waypoints[0].ident = "LSZH";
    p.waypoints[0].name = "Zürich Airport";
    p.waypoints.push_back(p.waypoints[0]); // back where it began: one table entry, two points
    const std::string bytes = fpl ? plan::fplOf(p) : plan::gpxOf(p);
    QCOMPARE(plan::formatOf(bytes), fpl ? plan::RouteFormat::Fpl : plan::RouteFormat::Gpx);
    const plan::RouteRead back = fpl ? plan::readFpl(bytes) : plan::readGpx(bytes);
    QVERIFY2(back.waypoints, qPrintable(back.error));
    QCOMPARE(back.waypoints->size(), p.waypoints.size());
    for (std::size_t i = 0; i < p.waypoints.size(); ++i) {
        const plan::Waypoint& a = p.waypoints[i];
        const plan::Waypoint& b = (*back.waypoints)[i];
        QVERIFY(std::fabs(a.position.latitudeDeg - b.position.latitudeDeg) < 1e-6);
        QVERIFY(std::fabs(a.position.longitudeDeg - b.position.longitudeDeg) < 1e-6);
        // A code stays a code; a point of the pilot's keeps its name.
        QCOMPARE(b.ident.isEmpty() ? b.name : b.ident, a.ident.isEmpty() ? a.name : a.ident);
    }
    if (fpl) // the same place twice is one entry of the waypoint table
        QCOMPARE(QByteArray::fromStdString(bytes).count("<waypoint>"), 4);
}

void TestFlightPlan::damagedRoutesAreRefused_data() {
    QTest::addColumn<bool>("fpl");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("says");
    QTest::newRow("GPX cut short") << false
                                   << QByteArray("<gpx version=\"1.1\"><rte><rtept lat=\"1\" "
                                                 "lon=\"2\"><name>A</na")
                                   << "damaged XML";
    QTest::newRow("GPX point without lon")
        << false << QByteArray("<gpx><rte><rtept lat=\"1\"><name>A</name></rtept></rte></gpx>")
        << "no valid lat and lon";
    QTest::newRow("GPX without a route")
        << false << QByteArray("<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>") << "no route";
    QTest::newRow("FPL naming a waypoint its table lacks")
        << true
        << QByteArray("<flight-plan><waypoint-table></waypoint-table><route><route-point>"
                      "<waypoint-identifier>LSZH</waypoint-identifier><waypoint-type>AIRPORT"
                      "</waypoint-type></route-point></route></flight-plan>")
        << "lacks";
    QTest::newRow("FPL latitude 95")
        << true
        << QByteArray("<flight-plan><waypoint-table><waypoint><identifier>X</identifier><type>"
                      "USER WAYPOINT</type><lat>95</lat><lon>1</lon></waypoint></waypoint-table>"
                      "</flight-plan>")
        << "no valid lat and lon";
}

void TestFlightPlan::damagedRoutesAreRefused() {
    QFETCH(bool, fpl);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    const plan::RouteRead read =
        fpl ? plan::readFpl(bytes.toStdString()) : plan::readGpx(bytes.toStdString());
    QVERIFY(!read.waypoints);
    QVERIFY2(read.error.contains(says), qPrintable(read.error));
}

QTEST_GUILESS_MAIN(TestFlightPlan)
#include "tst_flightplan.moc"
