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
    void severalRoutesSayWhichIsTaken();
    void writersNeverLeaveABrokenFile();
    void ownPointsOfOneNameStayApart();
    void fileSizeLimit();
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
    const std::string bytes = *(fpl ? plan::fplOf(p) : plan::gpxOf(p));
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
    QTest::newRow("GPX latitude 95")
        << false
        << QByteArray("<gpx><rte><rtept lat=\"95\" lon=\"2\"><name>A</name></rtept></rte></gpx>")
        << "no valid lat and lon";
    QTest::newRow("FPL with an element inside an identifier")
        << true
        << QByteArray("<flight-plan><waypoint-table><waypoint><identifier>X<" +
                      QByteArray(100000, 'b') + ">Y</" + QByteArray(100000, 'b') +
                      "></identifier><type>USER WAYPOINT</type><lat>1</lat><lon>1</lon>"
                      "</waypoint></waypoint-table></flight-plan>")
        << "damaged XML";
    QByteArray many = "<gpx><rte>";
    for (std::size_t i = 0; i <= plan::kMaxWaypoints; ++i)
        many += "<rtept lat=\"1\" lon=\"2\"/>";
    QTest::newRow("GPX with one point too many") << false << many + "</rte></gpx>"
                                                 << "more than 1000 route points";
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

void TestRouteExchange::severalRoutesSayWhichIsTaken() {
    const QByteArray gpx = "<gpx><rte><name>North</name><rtept lat=\"1\" lon=\"2\"/>"
                           "<rtept lat=\"1\" lon=\"3\"/></rte>"
                           "<rte><name>South</name><rtept lat=\"-1\" lon=\"2\"/></rte></gpx>";
    const plan::RouteRead read = plan::readGpx(gpx.toStdString());
    QVERIFY(read.waypoints);
    QCOMPARE(read.waypoints->size(), std::size_t(2));
    QCOMPARE(read.note, QString("The file holds 2 routes; the first, \"North\", is taken."));
    const plan::RouteRead one =
        plan::readGpx(gpx.left(gpx.indexOf("<rte><name>South")).toStdString() + "</gpx>");
    QVERIFY(one.waypoints && one.note.isEmpty());
}

void TestRouteExchange::writersNeverLeaveABrokenFile() {
    FlightPlan p = threeLegs();
    p.waypoints[1].name = QString("Lake ") + QChar(0xD800); // a lone surrogate
    for (bool fpl : {false, true}) {
        QString error;
        QVERIFY(!(fpl ? plan::fplOf(p, &error) : plan::gpxOf(p, &error)));
        QVERIFY2(error.contains("waypoint 2"), qPrintable(error));
    }
}

void TestRouteExchange::ownPointsOfOneNameStayApart() {
    FlightPlan p = threeLegs();
    p.waypoints[1].name = "Bridge";
    p.waypoints[2].name = "Bridge"; // another place of the same name
    const plan::RouteRead back = plan::readFpl(*plan::fplOf(p));
    QVERIFY2(back.waypoints, qPrintable(back.error));
    QCOMPARE((*back.waypoints)[1].name, QString("Bridge"));
    QCOMPARE((*back.waypoints)[2].name, QString("Bridge"));
    QCOMPARE((*back.waypoints)[1].position.latitudeDeg, p.waypoints[1].position.latitudeDeg);
    QCOMPARE((*back.waypoints)[2].position.latitudeDeg, p.waypoints[2].position.latitudeDeg);
}

void TestRouteExchange::fileSizeLimit() {
    QVERIFY(plan::routeFileSizeProblem(qint64(plan::kMaxRouteFileBytes)).isEmpty());
    QVERIFY(plan::routeFileSizeProblem(qint64(plan::kMaxRouteFileBytes) + 1).contains("larger"));
}

QTEST_GUILESS_MAIN(TestRouteExchange)
#include "tst_routeexchange.moc"
