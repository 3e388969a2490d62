// The flight plan's computation without widgets: winds aloft and the
// deviation card, the fuel block, legs that cannot be flown.
#include "PlanSamples.h"
#include "kneeboard/Sheet.h"
#include "navlog/LegColumns.h"
#include "navlog/TripLog.h"
#include "plan/DecisionPoints.h"
#include "plan/FlightPlan.h"

#include "core/Math.h"

#include <QTest>

using plan::FlightPlan;
using plan::Wind;
using testing::threeLegs;

class TestFlightPlan : public QObject {
    Q_OBJECT
private slots:
    void windsAloftAsVectors_data();
    void windsAloftAsVectors();
    void deviationCardAcross360();
    void fuelBlockAndVerdict();
    void legsThatCannotBeFlownSaySo();
    void noVerdictOverMissingLegs_data();
    void noVerdictOverMissingLegs();
    void aWaypointGivenTwiceIsNothingToFly_data();
    void aWaypointGivenTwiceIsNothingToFly();
    void eachLegTakesItsOwnConditions();
    void fuelExactlyTheRequiredIsEnough();
};

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
    QCOMPARE(navlog::wcaText(7), QString("7 L"));
    QCOMPARE(navlog::wcaText(-5), QString("5 R"));
    QCOMPARE(navlog::wcaText(0), QString("0"));
}

void TestFlightPlan::noVerdictOverMissingLegs_data() {
    QTest::addColumn<int>("breakage");
    QTest::addColumn<QList<int>>("missing");
    QTest::addColumn<QString>("why");
    QTest::newRow("a wind beyond the airspeed") << 0 << QList<int>{2} << "wind 250/150 too strong";
    QTest::newRow("TAS 0") << 1 << QList<int>{1, 2, 3} << "TAS below 60 kt";
    QTest::newRow("the alternate's leg") << 3 << QList<int>{4} << "no wind";
    QTest::newRow("all well") << 4 << QList<int>{} << "";
}

void TestFlightPlan::noVerdictOverMissingLegs() {
    QFETCH(int, breakage);
    QFETCH(QList<int>, missing);
    QFETCH(QString, why);
    FlightPlan p = threeLegs();
    p.aircraft.fuelGal = 100; // fuel is never the reason here
    if (breakage == 0)
        p.waypoints[2].leg.wind = Wind{250, 150};
    if (breakage == 1)
        p.aircraft.tasKt = 0;
    if (breakage == 3) {
        p.alternate = p.waypoints[0];
        p.alternate->leg.wind.reset();
    }
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    QCOMPARE(QList<int>(c.missingLegs.begin(), c.missingLegs.end()), missing);
    QCOMPARE(c.fuel.plannable, missing.isEmpty());
    if (missing.isEmpty()) {
        QVERIFY(c.fuel.enough && c.fuel.verdict.startsWith("Enough fuel"));
        QVERIFY(plan::routeTotalsText(c).startsWith("Route "));
        return;
    }
    QVERIFY(!c.fuel.enough);
    QVERIFY2(c.fuel.verdict.startsWith(QString("Cannot be planned: leg %1 (").arg(missing[0])) &&
                 c.fuel.verdict.contains(why),
             qPrintable(c.fuel.verdict));
    QVERIFY(!c.fuel.verdict.contains("Enough"));
    QVERIFY(plan::fuelBlockText(c.fuel).contains("cannot be computed"));
    QVERIFY2(plan::routeTotalsText(c).startsWith("Route incomplete: leg"),
             qPrintable(plan::routeTotalsText(c)));
    // The kneeboard's notes number the legs from 1, as the window does.
    const kneeboard::Sheet sheet = kneeboard::planSheet(p, c, plan::DecisionPoints{}, nullptr);
    QVERIFY2(sheet.endNotes.filter(QString("Leg %1: ").arg(missing[0])).size() == 1,
             qPrintable(sheet.endNotes.join('|')));
    // The nav log of the plan has no totals to pass for the route's.
    const navlog::Totals t = navlog::totalsOf(plan::tripOf(c, p.off), 30);
    QVERIFY(!t.complete);
    const QStringList headings = navlog::headingsOf(navlog::Output::Csv);
    const QStringList totals = navlog::totalsRowOf(navlog::Output::Csv, t);
    QCOMPARE(totals.value(headings.indexOf("Dist"), "?"), QString());
    QCOMPARE(totals.value(headings.indexOf("ETE"), "?"), QString());
    QVERIFY(totals.value(headings.indexOf("Problem")).startsWith("incomplete: leg"));
}

void TestFlightPlan::eachLegTakesItsOwnConditions() {
    FlightPlan p = threeLegs();
    // Winds from the winds aloft at each leg's own altitude.
    p.windsAloft = {{3000, Wind{350, 20}}, {5000, Wind{10, 20}}, {9000, Wind{90, 40}}};
    p.waypoints[1].leg = {3000, std::nullopt, std::nullopt};
    p.waypoints[2].leg = {9000, std::nullopt, 5.0}; // and its own variation over the plan's
    p.waypoints[3].leg = {4000, std::nullopt, std::nullopt};
    // A card that varies: the deviation read at each leg's magnetic heading.
    p.deviationCard = plan::DeviationCard{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    QCOMPARE(c.legs[0].wind, (Wind{350, 20}));
    QCOMPARE(c.legs[1].wind, (Wind{90, 40}));
    QCOMPARE(c.legs[2].wind, (Wind{360, 20}));
    QCOMPARE(c.legs[0].variationDeg, -2.0);
    QCOMPARE(c.legs[1].variationDeg, 5.0);
    for (const plan::PlanLeg& leg : c.legs) {
        QCOMPARE(leg.problem, plan::LegProblem::None);
        const double expected =
            core::roundHalfUp(plan::deviationAt(*p.deviationCard, leg.result.magHeadingDeg));
        QCOMPARE(leg.deviationDeg, expected);
        QCOMPARE(leg.input.magDeviationDeg, expected);
    }
    QVERIFY(c.legs[0].deviationDeg != c.legs[2].deviationDeg); // the card did vary
}

void TestFlightPlan::fuelExactlyTheRequiredIsEnough() {
    FlightPlan p = threeLegs();
    const plan::ComputedPlan first = plan::computePlan(p, nullptr);
    p.aircraft.fuelGal = first.fuel.requiredGal;
    // The trip is burnt from the fuel after taxi; with exactly the required
    // on board the verdict is enough, a hundredth less is not.
    const plan::ComputedPlan exact = plan::computePlan(p, nullptr);
    QCOMPARE(exact.fuel.requiredGal, p.aircraft.fuelGal);
    QVERIFY(exact.fuel.enough);
    p.aircraft.fuelGal -= 0.01;
    QVERIFY(!plan::computePlan(p, nullptr).fuel.enough);
    // The totals row's fuel left is the destination's.
    const navlog::Totals t = navlog::totalsOf(plan::tripOf(exact, p.off), 30);
    QVERIFY(t.complete);
    QCOMPARE(t.fuelBurntGal, exact.legs.back().figures.totalBurntGal);
    QCOMPARE(t.fuelLeftGal, exact.legs.back().figures.fuelLeftGal);
}

void TestFlightPlan::aWaypointGivenTwiceIsNothingToFly_data() {
    QTest::addColumn<int>("twice");
    QTest::newRow("the departure") << 0;
    QTest::newRow("a waypoint on the way") << 1;
    QTest::newRow("the destination") << 3;
}

void TestFlightPlan::aWaypointGivenTwiceIsNothingToFly() {
    // The same plan without the repeat is the answer: the repeated leg has
    // nothing to fly and takes nothing from the totals, the fuel or the
    // decision points.
    QFETCH(int, twice);
    FlightPlan once = threeLegs();
    once.aircraft.fuelGal = 100;
    FlightPlan repeated = once;
    const auto at = repeated.waypoints.begin() + twice;
    repeated.waypoints.insert(at + 1, *at);
    const plan::ComputedPlan a = plan::computePlan(once, nullptr);
    const plan::ComputedPlan b = plan::computePlan(repeated, nullptr);
    QVERIFY(a.complete() && b.complete() && b.flyable);
    QVERIFY(b.legs[std::size_t(twice)].nothingToFly());
    QVERIFY(plan::problemText(b.legs[std::size_t(twice)]).contains("nothing to fly"));
    QCOMPARE(b.fuel.verdict, a.fuel.verdict);
    QCOMPARE(b.distanceNm, a.distanceNm);
    QCOMPARE(b.eteMin, a.eteMin);
    const navlog::Totals ta = navlog::totalsOf(plan::tripOf(a, once.off), 30);
    const navlog::Totals tb = navlog::totalsOf(plan::tripOf(b, repeated.off), 30);
    QVERIFY(tb.complete);
    QCOMPARE(tb.fuelLeftGal, ta.fuelLeftGal);
    QCOMPARE(tb.distanceNm, ta.distanceNm);
    QCOMPARE(tb.lastEta.time, ta.lastEta.time);
    const plan::DecisionPoints da = plan::decisionPoints(once, a, nullptr);
    const plan::DecisionPoints db = plan::decisionPoints(repeated, b, nullptr);
    QVERIFY(da.etp.point && db.etp.point && da.pnr.point && db.pnr.point);
    QCOMPARE(db.etp.point->distanceNm, da.etp.point->distanceNm);
    QCOMPARE(db.pnr.point->position.latitudeDeg, da.pnr.point->position.latitudeDeg);
    const int sensitive = da.windMargin.mostSensitiveLeg;
    QCOMPARE(db.windMargin.mostSensitiveLeg, sensitive + (sensitive > twice ? 1 : 0));
}

QTEST_GUILESS_MAIN(TestFlightPlan)
#include "tst_flightplan.moc"
