// The chain of legs without widgets: what it carries from leg to leg, what a
// refused leg leaves, and the airports a leg is logged between.
#include "leg/LegSequence.h"

#include <QTest>

using leg::LegInput;
using leg::LegSequence;
using leg::LegStatus;

namespace {

// The handbook's worked leg: TC 90, wind 045/20, TAS 110, Var 13, MD 2,
// 50 nm, 8 gal/h, 40 gal.
LegInput worked() {
    LegInput in;
    in.trueCourseDeg = 90;
    in.windDirectionDeg = 45;
    in.windVelocityKt = 20;
    in.tasKt = 110;
    in.variationDeg = 13;
    in.magDeviationDeg = 2;
    in.distanceNm = 50;
    in.fuelFlowGph = 8;
    in.fuelGal = 40;
    return in;
}

} // namespace

class TestLegSequence : public QObject {
    Q_OBJECT
private slots:
    void totalsCarryOnAndRoundPerLeg();
    void refusedLegChangesNothing();
    void routeAirportsOnlyForTheRoutesCourse();
};

void TestLegSequence::totalsCarryOnAndRoundPerLeg() {
    LegSequence legs;
    LegInput in = worked();
    in.totalBurntGal = 99; // ignored: the chain's own totals count
    in.distanceSumNm = 99;
    const auto first = legs.run(in);
    QCOMPARE(first.fuelUsedGal, 4.21);
    QCOMPARE(legs.totalBurntGal(), 4.21);
    QCOMPARE(legs.totalDistanceNm(), 50.0);
    in.fuelGal = first.fuelLeftGal; // Next carries the fuel left
    const auto second = legs.run(in);
    QCOMPARE(second.fuelLeftGal, 31.58);
    // 4.21 + 4.2132 rounded after the second leg, not 4.21 + 4.21.
    QCOMPARE(legs.totalBurntGal(), 8.42);
    QCOMPARE(legs.totalDistanceNm(), 100.0);
    QCOMPARE(legs.legs().size(), std::size_t(2));
    QCOMPARE(legs.legs()[1].input.totalBurntGal, 4.21);
    legs.reset();
    QCOMPARE(legs.totalBurntGal(), 0.0);
    QCOMPARE(legs.totalDistanceNm(), 0.0);
    QVERIFY(legs.legs().empty());
}

void TestLegSequence::refusedLegChangesNothing() {
    LegSequence legs;
    legs.run(worked());
    LegInput gale = worked();
    gale.windVelocityKt = 200;
    QCOMPARE(legs.run(gale).status, LegStatus::WindTooStrong);
    QCOMPARE(legs.legs().size(), std::size_t(1));
    QCOMPARE(legs.totalBurntGal(), 4.21);
    QCOMPARE(legs.totalDistanceNm(), 50.0);
}

void TestLegSequence::routeAirportsOnlyForTheRoutesCourse() {
    LegSequence legs;
    legs.setHome({"ABC", {40.5, -74.25}});
    legs.takeRoute({"ABC", {40.5, -74.25}}, {"KLA", {51.5, -0.5}}, 51);
    LegInput typed = worked(); // course 90: typed by the pilot since
    legs.run(typed);
    LegInput onRoute = worked();
    onRoute.trueCourseDeg = 51;
    legs.run(onRoute); // the route's course was used up by the typed leg
    QCOMPARE(legs.legs()[1].from, QString());
    legs.takeRoute({"ABC", {40.5, -74.25}}, {"KLA", {51.5, -0.5}}, 51);
    LegInput gale = onRoute;
    gale.windVelocityKt = 200;
    legs.run(gale); // refused: the route stays pending
    legs.run(onRoute);
    QCOMPARE(legs.legs().back().from, QString("ABC"));
    QCOMPARE(legs.legs().back().to, QString("KLA"));
    legs.reset(); // a new flight keeps the route memory
    QCOMPARE(legs.home().airport, QString("ABC"));
    QCOMPARE(legs.arrival().position.latitudeDeg, 51.5);
}

QTEST_APPLESS_MAIN(TestLegSequence)
#include "tst_legsequence.moc"
