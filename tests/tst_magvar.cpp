// The magnetic variation: NOAA's published WMM2025 test values through
// GeographicLib and the shipped coefficients, this program's sign (Var =
// -declination), the model's years and its unreliable polar caps.
#include "course/GreatCircle.h"
#include "magvar/MagneticVariation.h"
#include "plan/FlightPlan.h"

#include <QTest>

using magvar::GeoPoint;
using magvar::MagneticVariation;
using magvar::VarStatus;

class TestMagVar : public QObject {
    Q_OBJECT
private slots:
    void noaaTestValues_data();
    void noaaTestValues();
    void westIsPositive();
    void onlyWithinTheModelYears();
    void notNearTheGeomagneticPoles();
    void missingModelSaysSo();
    void midpointAndText();
    void aPlanTakesTheModelsVariation();
};

void TestMagVar::noaaTestValues_data() {
    QTest::addColumn<double>("year");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<double>("declination");
    QTest::newRow("2025.0 80N 0E") << 2025.0 << 80. << 0. << 1.28;
    QTest::newRow("2025.0 0 120E") << 2025.0 << 0. << 120. << -0.16;
    QTest::newRow("2025.0 80S 240E") << 2025.0 << -80. << 240. << 68.78;
    QTest::newRow("2027.5 80N 0E") << 2027.5 << 80. << 0. << 2.59;
    QTest::newRow("2027.5 0 120E") << 2027.5 << 0. << 120. << -0.24;
    QTest::newRow("2027.5 80S 240E") << 2027.5 << -80. << 240. << 68.49;
}

void TestMagVar::noaaTestValues() {
    QFETCH(double, year);
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(double, declination);
    const MagneticVariation model(SKYVANE_MAGNETIC_DIR);
    QVERIFY(model.hasModel());
    const auto v = model.at({lat, lon}, year);
    QCOMPARE(v.status, VarStatus::Computed);
    QVERIFY2(std::fabs(v.declinationDeg - declination) < 0.005,
             qPrintable(QString::number(v.declinationDeg, 'f', 4)));
}

void TestMagVar::westIsPositive() {
    const MagneticVariation model(SKYVANE_MAGNETIC_DIR);
    // New York: about 12.3 degrees west, so MH = TH + 12.
    const auto west = model.at({40.5, -74.25}, 2026.0);
    QVERIFY(west.declinationDeg < -12 && west.declinationDeg > -12.5);
    QCOMPARE(west.varDeg, 12);
    // 80S 240E: 68.78 east becomes Var -69.
    QCOMPARE(model.at({-80, 240}, 2025.0).varDeg, -69);
}

void TestMagVar::onlyWithinTheModelYears() {
    const MagneticVariation model(SKYVANE_MAGNETIC_DIR);
    QCOMPARE(model.at({47, 8}, 2024.999).status, VarStatus::OutsideDates);
    QCOMPARE(model.at({47, 8}, 2025.0).status, VarStatus::Computed);
    QCOMPARE(model.at({47, 8}, 2029.999).status, VarStatus::Computed);
    QCOMPARE(model.at({47, 8}, 2030.0).status, VarStatus::OutsideDates);
    QCOMPARE(magvar::decimalYear(QDate(2025, 1, 1)), 2025.0);
    QCOMPARE(magvar::decimalYear(QDate(2030, 1, 1)), 2030.0);
    QVERIFY(magvar::decimalYear(QDate(2029, 12, 31)) < 2030.0);
}

void TestMagVar::notNearTheGeomagneticPoles() {
    // The published WMM2025 north geomagnetic pole: 80.8 N, 72.8 W.
    const GeoPoint pole = magvar::northGeomagneticPole(2025.0);
    QVERIFY(std::fabs(pole.latitudeDeg - 80.8) < 0.05);
    QVERIFY(std::fabs(pole.longitudeDeg + 72.8) < 0.05);
    const MagneticVariation model(SKYVANE_MAGNETIC_DIR);
    QCOMPARE(model.at(pole, 2025.0).status, VarStatus::NearPole);
    QCOMPARE(model.at({pole.latitudeDeg - 0.99, pole.longitudeDeg}, 2025.0).status,
             VarStatus::NearPole);
    QCOMPARE(model.at({pole.latitudeDeg - 1.01, pole.longitudeDeg}, 2025.0).status,
             VarStatus::Computed);
    QCOMPARE(model.at({-pole.latitudeDeg, pole.longitudeDeg + 180}, 2026.0).status,
             VarStatus::NearPole);
}

void TestMagVar::missingModelSaysSo() {
    QCOMPARE(MagneticVariation("/nonexistent").at({47, 8}, 2026).status, VarStatus::NoModel);
    QCOMPARE(MagneticVariation("").at({47, 8}, 2026).status, VarStatus::NoModel);
}

void TestMagVar::midpointAndText() {
    const GeoPoint mid = course::midpoint({0, 10}, {0, 40});
    QVERIFY(std::fabs(mid.latitudeDeg) < 1e-9 && std::fabs(mid.longitudeDeg - 25) < 1e-9);
    const GeoPoint same = course::midpoint({12, 34}, {12, 34});
    QCOMPARE(same.latitudeDeg, 12.0);
    QCOMPARE(magvar::varText(12), QString::fromUtf8("12° W"));
    QCOMPARE(magvar::varText(-1), QString::fromUtf8("1° E"));
    QCOMPARE(magvar::varText(0), QString::fromUtf8("0°"));
}

void TestMagVar::aPlanTakesTheModelsVariation() {
    // A leg whose midpoint is New York's test point (12.3 W there in 2026):
    // Var +12 in the leg, MH = TH + 12; a leg's own variation still wins.
    const MagneticVariation model(SKYVANE_MAGNETIC_DIR);
    plan::FlightPlan p;
    p.aircraft = {110, 8, 40, 0};
    p.off = QDateTime(QDate(2026, 1, 1), QTime(12, 0));
    for (double lat : {40.3, 40.7, 41.1}) {
        plan::Waypoint w;
        w.position = {lat, -74.25};
        w.leg.wind = plan::Wind{270, 10};
        p.waypoints.push_back(w);
    }
    p.waypoints[2].leg.variationDeg = -4;
    const plan::ComputedPlan c = plan::computePlan(p, &model);
    QCOMPARE(c.legs[0].problem, plan::LegProblem::None);
    QCOMPARE(c.legs[0].variationDeg, 12.0);
    QCOMPARE(c.legs[0].result.magHeadingDeg,
             std::fmod(c.legs[0].result.trueHeadingDeg + 12, 360.0)); // north: turned past 360
    QCOMPARE(c.legs[1].variationDeg, -4.0);
    // Without a model such a leg says so.
    QCOMPARE(plan::computePlan(p, nullptr).legs[0].problem, plan::LegProblem::NoVariation);
}

QTEST_GUILESS_MAIN(TestMagVar)
#include "tst_magvar.moc"
