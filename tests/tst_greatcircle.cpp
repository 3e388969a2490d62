// Great-circle course and distance against positions whose answers are known
// from spherical trigonometry (quadrant points, antipodes, the dateline) and
// against the handheld's own table.
#include "course/GreatCircle.h"

#include <QTest>

#include <cmath>

class TestGreatCircle : public QObject {
    Q_OBJECT
private slots:
    void courseAndDistance_data();
    void courseAndDistance();
    void swappedEndsReverseTheCourse_data();
    void swappedEndsReverseTheCourse();
    void pointsAlongTheCircle();
};

void TestGreatCircle::courseAndDistance_data() {
    QTest::addColumn<double>("lat1");
    QTest::addColumn<double>("lon1");
    QTest::addColumn<double>("lat2");
    QTest::addColumn<double>("lon2");
    QTest::addColumn<double>("course");
    QTest::addColumn<double>("distance");
    QTest::newRow("due north") << 0. << 0. << 10. << 0. << 0. << 600.;
    QTest::newRow("due east") << 0. << 0. << 0. << 10. << 90. << 600.;
    QTest::newRow("due south") << 0. << 0. << -10. << 0. << 180. << 600.;
    QTest::newRow("due west") << 0. << 0. << 0. << -10. << 270. << 600.;
    QTest::newRow("New York area to London area")
        << 40.5 << -74.25 << 51.5 << -0.5 << 51.12 << 3009.25;
    QTest::newRow("London area to New York area")
        << 51.5 << -0.5 << 40.5 << -74.25 << 288.04 << 3009.25;
    QTest::newRow("Sydney area to Melbourne area")
        << -33.75 << 151.25 << -37.75 << 144.75 << 230.96 << 397.04;
    QTest::newRow("dateline eastbound") << 0. << 179. << 0. << -179. << 90. << 120.;
    QTest::newRow("dateline westbound") << 0. << -179. << 0. << 179. << 270. << 120.;
    QTest::newRow("from the north pole") << 90. << 0. << 0. << 0. << 180. << 5400.;
    QTest::newRow("from the south pole") << -90. << 0. << 0. << 0. << 0. << 5400.;
    QTest::newRow("antipode on the equator") << 0. << 0. << 0. << 180. << 90. << 10800.;
    QTest::newRow("antipode whose haversine sum rounds past 1")
        << 2.5 << -179.3 << -2.5 << 0.7 << 90. << 10800.;
    QTest::newRow("antipode off the equator") << 10. << 20. << -10. << -160. << 270. << 10800.;
    QTest::newRow("equal points") << 45. << 7. << 45. << 7. << 0. << 0.;
    QTest::newRow("same point after wrapping 190 = -170")
        << 45. << 190. << 45. << -170. << 90. << 0.;
    QTest::newRow("same point after wrapping 360 = 0") << 0. << 0. << 0. << 360. << 270. << 0.;
    QTest::newRow("north on one meridian is 0, not 360") << 10. << 5. << 20. << 5. << 0. << 600.;
    QTest::newRow("hundredths west of north: 359.99") << 0. << 0. << 1. << -0.0001 << 359.99 << 60.;
    QTest::newRow("closer than 0.005 west of north: 360.00")
        << 0. << 0. << 10. << -0.00001 << 360. << 600.;
    QTest::newRow("pole to 90 E") << 90. << 0. << 0. << 90. << 90. << 5400.;
    QTest::newRow("pole to 90 W") << 90. << 0. << 0. << -90. << 270. << 5400.;
    QTest::newRow("pole to 180") << 90. << 0. << 0. << 180. << 0. << 5400.;
    QTest::newRow("to the pole from 0 0") << 0. << 0. << 90. << 0. << 0. << 5400.;
    QTest::newRow("to the pole from 0 90") << 0. << 90. << 90. << 0. << 360. << 5400.;
}

void TestGreatCircle::courseAndDistance() {
    QFETCH(double, lat1);
    QFETCH(double, lon1);
    QFETCH(double, lat2);
    QFETCH(double, lon2);
    const course::CourseAndDistance result =
        course::calcCourseAndDistance({lat1, lon1}, {lat2, lon2});
    QTEST(result.trueCourseDeg, "course");
    QTEST(result.distanceNm, "distance");
}

void TestGreatCircle::swappedEndsReverseTheCourse_data() {
    QTest::addColumn<double>("lat1");
    QTest::addColumn<double>("lon1");
    QTest::addColumn<double>("lat2");
    QTest::addColumn<double>("lon2");
    QTest::newRow("along the equator") << 0. << 10. << 0. << 40.;
    QTest::newRow("along a meridian") << 10. << 5. << 50. << 5.;
    QTest::newRow("mid latitudes") << 47.25 << 8.5 << 48.75 << 11.25;
    QTest::newRow("southern hemisphere") << -12.5 << 130.75 << -27.25 << 153.0;
    QTest::newRow("across the dateline") << 21.25 << -157.75 << -17.75 << 177.5;
}

void TestGreatCircle::swappedEndsReverseTheCourse() {
    // The way back starts on the reverse of the way out, turned by the
    // meridians' convergence between the ends (Napier's analogy:
    // tan(turn / 2) = tan(dlon / 2) sin(mean lat) / cos(dlat / 2)); on the
    // equator and along a meridian the turn is none. Both ways are equally long.
    QFETCH(double, lat1);
    QFETCH(double, lon1);
    QFETCH(double, lat2);
    QFETCH(double, lon2);
    const auto [c1, d1] = course::calcCourseAndDistance({lat1, lon1}, {lat2, lon2});
    const auto [c2, d2] = course::calcCourseAndDistance({lat2, lon2}, {lat1, lon1});
    QCOMPARE(d1, d2);
    QVERIFY(d1 > 0 && d1 <= 10800);

    const double rad = M_PI / 180;
    const double dlon = std::remainder(lon2 - lon1, 360.0) * rad;
    const double turn = 2 *
                        std::atan(std::tan(dlon / 2) * std::sin((lat1 + lat2) / 2 * rad) /
                                  std::cos((lat2 - lat1) / 2 * rad)) /
                        rad;
    const double expectedBack = std::fmod(c1 + 180 + turn + 720, 360.0);
    const double off = std::remainder(c2 - expectedBack, 360.0);
    QVERIFY2(std::fabs(off) < 0.011,
             qPrintable(QString("out %1, back %2, expected %3").arg(c1).arg(c2).arg(expectedBack)));
}

void TestGreatCircle::pointsAlongTheCircle() {
    // The arc and the points along it lie on the course's own sphere: the
    // arc in minutes is the distance TC gives, and a point a fraction of the
    // way splits the arc in that ratio.
    const core::GeoPoint routes[][2] = {{{47.458, 8.548}, {51.47, -0.454}},
                                        {{21.25, -157.75}, {-17.75, 177.5}},
                                        {{0, 10}, {0, 40}},
                                        {{-33.9, 151.2}, {40.6, -73.8}}};
    for (const auto& route : routes) {
        const double arc = course::arcDeg(route[0], route[1]);
        QVERIFY(std::fabs(arc * 60 - course::calcCourseAndDistance(route[0], route[1]).distanceNm) <
                0.006);
        for (double f : {0.0, 0.25, 0.5, 0.9, 1.0}) {
            const core::GeoPoint p = course::pointAlong(route[0], route[1], f);
            QVERIFY(std::fabs(course::arcDeg(route[0], p) - f * arc) < 1e-9);
            QVERIFY(std::fabs(course::arcDeg(p, route[1]) - (1 - f) * arc) < 1e-9);
        }
    }
    const core::GeoPoint mid = course::midpoint({0, 10}, {0, 40});
    QVERIFY(std::fabs(mid.latitudeDeg) < 1e-12 && std::fabs(mid.longitudeDeg - 25) < 1e-12);
    // No single great circle joins antipodes, nor a point and itself.
    QCOMPARE(course::pointAlong({10, 20}, {-10, -160}, 0.5), (core::GeoPoint{10, 20}));
    QCOMPARE(course::pointAlong({10, 20}, {10, 20}, 0.5), (core::GeoPoint{10, 20}));
}

QTEST_APPLESS_MAIN(TestGreatCircle)
#include "tst_greatcircle.moc"
