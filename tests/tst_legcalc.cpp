// The leg computation against worked legs whose values were computed by hand
// (E6B-style wind triangle) and the rounding rules the display depends on.
#include "leg/LegCalc.h"

#include <QTest>

#include <cmath>
#include <limits>

using leg::LegInput;
using leg::LegResult;
using leg::LegStatus;

Q_DECLARE_METATYPE(LegInput)

namespace {
LegInput legOf(double tc, double wd, double wv, double tas, double var = 0, double md = 0,
               double dist = 0, double gph = 0, double fuel = 0) {
    LegInput in;
    in.trueCourseDeg = tc;
    in.windDirectionDeg = wd;
    in.windVelocityKt = wv;
    in.tasKt = tas;
    in.variationDeg = var;
    in.magDeviationDeg = md;
    in.distanceNm = dist;
    in.fuelFlowGph = gph;
    in.fuelGal = fuel;
    return in;
}
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

class TestLegCalc : public QObject {
    Q_OBJECT
private slots:
    void headingsAndSpeed_data();
    void headingsAndSpeed();
    void workedExampleInFull();
    void fuel_data();
    void fuel();
    void totalsAccumulate();
    void refusedWinds_data();
    void refusedWinds();
    void inputsComeBackRounded();
    void roundHalfUp_data();
    void roundHalfUp();
    void roundTo2Places_data();
    void roundTo2Places();
    void roundTo2PlacesMatchesItsText();
    void arrivalOffset_data();
    void arrivalOffset();
    void outOfLimitInputsStayDefined();
};

void TestLegCalc::headingsAndSpeed_data() {
    QTest::addColumn<LegInput>("in");
    QTest::addColumn<double>("wca");
    QTest::addColumn<double>("th");
    QTest::addColumn<double>("mh");
    QTest::addColumn<double>("ch");
    QTest::addColumn<double>("gs");
    QTest::newRow("worked example")
        << legOf(90, 45, 20, 110, 13, 2) << 7. << 83. << 96. << 98. << 95.;
    QTest::newRow("wind from the right: TC 0 WD 90")
        << legOf(0, 90, 20, 100) << -12. << 12. << 12. << 12. << 98.;
    QTest::newRow("headwind: WD = TC")
        << legOf(120, 120, 30, 100) << 0. << 120. << 120. << 120. << 70.;
    QTest::newRow("tailwind: WD = TC + 180")
        << legOf(120, 300, 30, 100) << 0. << 120. << 120. << 120. << 130.;
    QTest::newRow("tailwind: WD = TC - 180")
        << legOf(270, 90, 25, 100) << 0. << 270. << 270. << 270. << 125.;
    QTest::newRow("TC 360, negative variation and deviation")
        << legOf(360, 10, 15, 100, -5, -3) << -1. << 1. << 356. << 353. << 85.;
    QTest::newRow("TC 360 without wind stays 360")
        << legOf(360, 0, 0, 100) << 0. << 360. << 360. << 360. << 100.;
    QTest::newRow("TH 359.7 shows 360, not 0")
        << legOf(359.7, 0, 0, 100) << 0. << 360. << 360. << 360. << 100.;
    QTest::newRow("TH just past 360 wraps")
        << legOf(360, 90, 20, 100) << -12. << 12. << 12. << 12. << 98.;
    QTest::newRow("two roundings: 82.4951 gives 83")
        << legOf(82.4951, 0, 0, 100) << 0. << 83. << 83. << 83. << 100.;
    QTest::newRow("MH 359 with MD 3 gives CH 362")
        << legOf(359, 0, 0, 100, 0, 3) << 0. << 359. << 359. << 362. << 100.;
    QTest::newRow("MH 1 with MD -3 gives CH -2")
        << legOf(1, 0, 0, 100, 0, -3) << 0. << 1. << 1. << -2. << 100.;
    QTest::newRow("TAS 60 is computed") << legOf(0, 0, 0, 60) << 0. << 0. << 0. << 0. << 60.;
    QTest::newRow("TH just below 0 turns up: 348, not -12")
        << legOf(0, 270, 20, 100) << 12. << 348. << 348. << 348. << 98.;
    QTest::newRow("variation takes MH below 0, one turn up")
        << legOf(5, 0, 0, 100, -10) << 0. << 5. << 355. << 355. << 100.;
}

void TestLegCalc::headingsAndSpeed() {
    QFETCH(LegInput, in);
    const LegResult r = leg::computeLeg(in);
    QCOMPARE(r.status, LegStatus::Computed);
    QTEST(r.windCorrectionDeg, "wca");
    QTEST(r.trueHeadingDeg, "th");
    QTEST(r.magHeadingDeg, "mh");
    QTEST(r.correctedHeadingDeg, "ch");
    QTEST(r.groundSpeedKt, "gs");
}

void TestLegCalc::workedExampleInFull() {
    const LegResult r = leg::computeLeg(legOf(90, 45, 20, 110, 13, 2, 50, 8, 40));
    QCOMPARE(r.eteMin, 31.6);
    QCOMPARE(r.fuelUsedGal, 4.21);
    QCOMPARE(r.fuelLeftGal, 35.79);
    QCOMPARE(r.totalBurntGal, 4.21);
    QCOMPARE(r.distanceSumNm, 50.0);
    QVERIFY(!r.fuelShort);
    QCOMPARE(leg::arrivalOffsetSeconds(r.eteMin), 1896u);
}

void TestLegCalc::fuel_data() {
    QTest::addColumn<LegInput>("in");
    QTest::addColumn<double>("ete");
    QTest::addColumn<double>("used");
    QTest::addColumn<double>("left");
    QTest::addColumn<bool>("short");
    QTest::newRow("runs out: fuel shows 0")
        << legOf(360, 10, 15, 100, -5, -3, 120, 9, 10) << 84.52 << 12.68 << 0. << true;
    QTest::newRow("exactly enough: 0 and no warning")
        << legOf(0, 0, 0, 120, 0, 0, 60, 10, 5) << 30. << 5. << 0. << false;
    QTest::newRow("distance 0: nothing used")
        << legOf(0, 0, 0, 100, 0, 0, 0, 10, 20) << 0. << 0. << 20. << false;
    QTest::newRow("no fuel on board, any burn warns")
        << legOf(0, 0, 0, 100, 0, 0, 10, 10, 0) << 6. << 1. << 0. << true;
}

void TestLegCalc::fuel() {
    QFETCH(LegInput, in);
    const LegResult r = leg::computeLeg(in);
    QTEST(r.eteMin, "ete");
    QTEST(r.fuelUsedGal, "used");
    QTEST(r.fuelLeftGal, "left");
    QTEST(r.fuelShort, "short");
}

void TestLegCalc::totalsAccumulate() {
    // The fuel burnt counts in full even when the tanks ran dry.
    LegInput in = legOf(360, 10, 15, 100, -5, -3, 120, 9, 10);
    in.totalBurntGal = 4.21;
    in.distanceSumNm = 50;
    const LegResult r = leg::computeLeg(in);
    QCOMPARE(r.totalBurntGal, 16.89);
    QCOMPARE(r.distanceSumNm, 170.0);
}

void TestLegCalc::refusedWinds_data() {
    QTest::addColumn<LegInput>("in");
    QTest::newRow("crosswind above the TAS") << legOf(90, 0, 150, 100);
    QTest::newRow("headwind equal to the TAS: GS 0") << legOf(0, 0, 100, 100);
    QTest::newRow("headwind above the TAS: GS negative") << legOf(0, 0, 120, 100);
    QTest::newRow("crosswind equal to the TAS") << legOf(90, 0, 100, 100);
    QTest::newRow("no airspeed at all") << legOf(0, 0, 0, 0);
}

void TestLegCalc::refusedWinds() {
    QFETCH(LegInput, in);
    QCOMPARE(leg::computeLeg(in).status, LegStatus::WindTooStrong);
}

void TestLegCalc::inputsComeBackRounded() {
    const LegResult r = leg::computeLeg(legOf(123.456, 45.678, 10, 100, -13.125));
    QCOMPARE(r.trueCourseDeg, 123.46);
    QCOMPARE(r.windDirectionDeg, 45.68);
    QCOMPARE(r.variationDeg, -13.12); // -13.125 is an exact tie: to even
}

void TestLegCalc::roundHalfUp_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("n");
    QTest::newRow("half goes up") << 2.5 << 3;
    QTest::newRow("negative half goes up") << -2.5 << -2;
    QTest::newRow("below negative half") << -2.6 << -3;
    QTest::newRow("whole stays") << 7.0 << 7;
    QTest::newRow("just below half") << 82.49 << 82;
    QTest::newRow("NaN gives 0") << kNaN << 0;
    QTest::newRow("huge saturates") << 1e300 << std::numeric_limits<int>::max();
    QTest::newRow("huge negative saturates") << -1e300 << std::numeric_limits<int>::min();
    QTest::newRow("infinity saturates") << kInf << std::numeric_limits<int>::max();
}

void TestLegCalc::roundHalfUp() {
    QFETCH(double, x);
    QFETCH(int, n);
    QCOMPARE(core::roundHalfUp(x), n);
}

void TestLegCalc::roundTo2Places_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("rounded");
    QTest::newRow("third decimal decides") << 82.4951 << 82.5;
    QTest::newRow("exact tie to even") << 0.125 << 0.12;
    QTest::newRow("1.005 is below the tie in binary") << 1.005 << 1.0;
    QTest::newRow("negative") << -13.3333 << -13.33;
    QTest::newRow("largest double stays exact")
        << std::numeric_limits<double>::max() << std::numeric_limits<double>::max();
    QTest::newRow("1e300 stays exact") << 1e300 << 1e300;
    QTest::newRow("infinity unchanged") << kInf << kInf;
}

void TestLegCalc::roundTo2Places() {
    QFETCH(double, x);
    QFETCH(double, rounded);
    QCOMPARE(core::roundTo2Places(x), rounded);
}

void TestLegCalc::roundTo2PlacesMatchesItsText() {
    // The arithmetic rounding must agree with printf-and-parse everywhere:
    // random values of every magnitude, hundredths, and exact ties.
    std::uint64_t state = 0x9e3779b97f4a7c15u;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < 200000; ++i) {
        const double unit = double(next() >> 11) * 0x1p-53;
        const int exponent = int(next() % 100) - 50;
        double x = std::ldexp(unit, exponent) * ((next() & 1) ? 1 : -1);
        if (i % 4 == 1)
            x = double(std::int64_t(next() % 2000001) - 1000000) / 1000; // thousandths
        if (i % 4 == 2)
            x = double(std::int64_t(next() % 200001) - 100000) * 0.125; // exact ties
        const double fast = core::roundTo2Places(x);
        const double text = core::roundTo2PlacesViaText(x);
        if (fast != text || std::signbit(fast) != std::signbit(text))
            QFAIL(qPrintable(QString::number(x, 'g', 17)));
    }
}

void TestLegCalc::arrivalOffset_data() {
    QTest::addColumn<double>("ete");
    QTest::addColumn<uint>("seconds");
    QTest::newRow("0.29 min adds 17 s, fraction dropped") << 0.29 << 17u;
    QTest::newRow("worked example") << 31.6 << 1896u;
    QTest::newRow("20 min") << 20.0 << 1200u;
    QTest::newRow("7.5 s: a half second is dropped, not rounded") << 0.125 << 7u;
    QTest::newRow("22.5 s") << 0.375 << 22u;
    QTest::newRow("59.75 s stays in the minute") << 0.99583333333333333 << 59u;
    QTest::newRow("zero") << 0.0 << 0u;
    QTest::newRow("negative gives 0") << -5.0 << 0u;
    QTest::newRow("NaN gives 0") << kNaN << 0u;
    QTest::newRow("tens of millions of minutes fit") << 6e7 << 3600000000u;
    QTest::newRow("beyond 32 bits saturates") << 1e12 << 4294967295u;
    QTest::newRow("infinity saturates") << kInf << 4294967295u;
}

void TestLegCalc::arrivalOffset() {
    QFETCH(double, ete);
    QFETCH(uint, seconds);
    QCOMPARE(leg::arrivalOffsetSeconds(ete), seconds);
}

void TestLegCalc::outOfLimitInputsStayDefined() {
    // Values beyond the field limits reach the computation when a read stops
    // at an earlier field; they must give defined (if useless) results.
    for (const LegInput& in :
         {legOf(1e300, 0, 0, 100), legOf(0, 0, 0, 1e300, 0, 0, 1e308, 100, 1e308),
          legOf(0, 0, 0, 100, 0, 1e300, std::numeric_limits<double>::max(), 1e300, 0),
          legOf(-1e300, 1e300, 1e300, 250)}) {
        const LegResult r = leg::computeLeg(in);
        if (r.status == LegStatus::Computed) {
            QVERIFY(!std::isnan(r.eteMin));
            QVERIFY(r.fuelLeftGal >= 0);
        }
    }
}

QTEST_APPLESS_MAIN(TestLegCalc)
#include "tst_legcalc.moc"
