// Routes for other planners and devices: GPX and FPL written and read
// back, and damaged files refused.
#include "PlanSamples.h"
#include "plan/FlightPlan.h"
#include "plan/RouteExchange.h"

#include "core/Math.h"

#include <QTest>

using plan::FlightPlan;
using plan::Wind;
using testing::threeLegs;

class TestRouteExchange : public QObject {
    Q_OBJECT
private slots:
    void routesRoundTrip_data();
    void routesRoundTrip();
    void damagedRoutesAreRefused_data();
    void damagedRoutesAreRefused();
};

void TestRouteExchange::routesRoundTrip_data() {
    QTest::addColumn<bool>("fpl");
    QTest::newRow("GPX 1.1") << false;
    QTest::newRow("Garmin FPL") << true;
}

void TestRouteExchange::routesRoundTrip() {
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

void TestRouteExchange::damagedRoutesAreRefused_data() {
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

void TestRouteExchange::damagedRoutesAreRefused() {
    QFETCH(bool, fpl);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    const plan::RouteRead read =
        fpl ? plan::readFpl(bytes.toStdString()) : plan::readGpx(bytes.toStdString());
    QVERIFY(!read.waypoints);
    QVERIFY2(read.error.contains(says), qPrintable(read.error));
}

QTEST_GUILESS_MAIN(TestRouteExchange)
#include "tst_routeexchange.moc"
