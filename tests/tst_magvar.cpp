// The magnetic variation: NOAA's published WMM2025 test values through
// GeographicLib and the shipped coefficients, this program's sign (Var =
// -declination), the model's years and its unreliable polar caps.
#include "course/GreatCircle.h"
#include "magvar/MagneticVariation.h"

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

QTEST_GUILESS_MAIN(TestMagVar)
#include "tst_magvar.moc"
