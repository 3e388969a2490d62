// The route picture: a projection that keeps distances from the route's
// centre true to the great circle, the land outlines' file, and the picture
// drawn and written as PNG and SVG.
#include "TestData.h"
#include "course/GreatCircle.h"
#include "map/RoutePicture.h"
#include "plan/BalancePicture.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <cmath>

class TestRoutePicture : public QObject {
    Q_OBJECT
private slots:
    void projectionKeepsDistancesFromTheCentre();
    void landOutlinesFile();
    void pictureDrawnAndWritten();
    void balancePictureShowsWhereTheLoadingLies();
};

void TestRoutePicture::projectionKeepsDistancesFromTheCentre() {
    const map::RouteProjection projection({47.0, 8.0});
    for (const core::GeoPoint p : {core::GeoPoint{47.46, 8.55}, core::GeoPoint{46.24, 6.11},
                                   core::GeoPoint{51.47, -0.45}, core::GeoPoint{40.64, -73.78}}) {
        const map::PlanePoint q = projection.forward(p);
        const double projectedNm = std::hypot(q.eastNm, q.northNm);
        const double greatCircleNm = course::arcDeg(projection.centre(), p) * 60;
        // The projection is on the ellipsoid, the great circle on the sphere
        // the course uses: they agree to within half a percent.
        QVERIFY2(std::fabs(projectedNm - greatCircleNm) < greatCircleNm * 0.005,
                 qPrintable(QString("%1 vs %2").arg(projectedNm).arg(greatCircleNm)));
        const core::GeoPoint back = projection.reverse(q);
        QVERIFY(std::fabs(back.latitudeDeg - p.latitudeDeg) < 1e-9);
        QVERIFY(std::fabs(back.longitudeDeg - p.longitudeDeg) < 1e-9);
    }
    // North is up at the centre: a point due north has no east part.
    QVERIFY(std::fabs(projection.forward({48.0, 8.0}).eastNm) < 1e-9);
    QVERIFY(projection.forward({48.0, 8.0}).northNm > 59);
    // The centre of a route: halfway between its farthest points.
    const core::GeoPoint c = map::centreOf({{0, 10}, {0, 20}, {0, 40}});
    QVERIFY(std::fabs(c.longitudeDeg - 25) < 1e-9);
}

void TestRoutePicture::landOutlinesFile() {
    const auto rings = map::readLandOutlines("800 4700 900 4700 900 4800\n"
                                             "1 2 3\n" // too short: no ring
                                             "-1000 -500 -900 -500 -900 -400 -1000 -400");
    QCOMPARE(rings.size(), std::size_t(2));
    QCOMPARE(rings[0][1].longitudeDeg, 9.0);
    QCOMPARE(rings[0][2].latitudeDeg, 48.0);
    QCOMPARE(rings[1].size(), std::size_t(4));
    QCOMPARE(rings[1][0].longitudeDeg, -10.0);
}

void TestRoutePicture::pictureDrawnAndWritten() {
    const auto land = map::readLandOutlines("700 4600 1000 4600 1000 4800 700 4800\n");
    map::RouteScene scene;
    scene.waypoints = {
        {"LSZH", {47.458, 8.548}}, {"LSZB", {46.913, 7.5}}, {"LSGG", {46.238, 6.109}}};
    scene.alternate = map::RouteScene::Point{"LSGS", {46.22, 7.33}};
    scene.etp = core::GeoPoint{46.9, 7.4};
    scene.land = &land;
    QTemporaryDir dir;
    const QString png = dir.path() + "/route.png";
    QVERIFY(map::saveRoutePicture(png, QSize(600, 400), scene));
    const QImage image(png);
    QCOMPARE(image.size(), QSize(600, 400));
    int route = 0, landPixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            route += c.red() > 150 && c.green() < 80 && c.blue() < 80;
            landPixels += c == QColor(222, 230, 205);
        }
    }
    QVERIFY2(route > 200, "the legs are drawn");
    QVERIFY2(landPixels > 1000, "the land is drawn");
    const QString svg = dir.path() + "/route.svg";
    QVERIFY(map::saveRoutePicture(svg, QSize(600, 400), scene));
    QFile file(svg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("<svg") && text.contains("Skyvane route") && text.contains("LSZB"));
    QVERIFY(!map::saveRoutePicture(dir.path() + "/no/such/folder/route.png", QSize(60, 40), scene));
}

void TestRoutePicture::balancePictureShowsWhereTheLoadingLies() {
    // A square envelope, 35 to 45 in from 1500 to 2500 lb; the ramp point
    // inside it, the landing outside (too light for it).
    plan::AircraftProfile p;
    p.envelopes = {{"Normal", false, {{35, 1500}, {35, 2500}, {45, 2500}, {45, 1500}}}};
    plan::WeightAndBalance wb;
    wb.ramp = {2000, 80000, 40, true};
    wb.takeoff = {1990, 79600, 40, true};
    wb.landing = {1400, 58800, 42, false};
    const QRectF bounds = plan::balanceBounds(p, wb);
    for (const auto& [x, weight] : {std::pair{35.0, 1400.0}, std::pair{45.0, 2500.0}})
        QVERIFY(bounds.contains(x, weight) && x > bounds.left() && weight < bounds.bottom());
    const QSize size(600, 450);
    const QRectF area(QPointF(0, 0), size);
    QImage image(size, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        plan::drawBalance(painter, area, p, wb);
    }
    auto colour = [&](double x, double weight) {
        return image.pixelColor(plan::balancePoint(area, bounds, x, weight).toPoint());
    };
    QCOMPARE(colour(40, 2000), QColor(0x10, 0x80, 0x30)); // inside: green
    QCOMPARE(colour(42, 1400), QColor(0xc0, 0x10, 0x10)); // outside: red
    QCOMPARE(colour(37, 2300), QColor(0xd8, 0xe6, 0xf5)); // the envelope's fill
    QCOMPARE(colour(44, 1450), QColor(Qt::white));        // below the envelope
    // Written as the route picture is.
    plan::BalanceView view;
    view.setBalance(p, wb);
    QTemporaryDir dir;
    QVERIFY(view.save(dir.path() + "/wb.png", size));
    QCOMPARE(QImage(dir.path() + "/wb.png").size(), size);
    QVERIFY(view.save(dir.path() + "/wb.svg", size));
    QFile svg(dir.path() + "/wb.svg");
    QVERIFY(svg.open(QIODevice::ReadOnly) && svg.readAll().contains("Skyvane weight and balance"));
    view.setBalance(std::nullopt, std::nullopt);
    QVERIFY(!view.save(dir.path() + "/none.png", size));
}

QTEST_MAIN(TestRoutePicture)
#include "tst_routepicture.moc"
