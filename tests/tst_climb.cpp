// Climb, cruise and descent by the aircraft profile: a leg cut into its
// pieces against a hand computation, a climb over two legs, climbs and
// descents that cannot be flown, and the decision points over the pieces
// against a brute-force walk along the route.
#include "course/GreatCircle.h"
#include "leg/LegCalc.h"
#include "navlog/LegColumns.h"
#include "plan/DecisionPoints.h"
#include "plan/FlightPlan.h"
#include "plan/PlanFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cmath>
#include <fstream>
#include <sstream>

using plan::FlightPlan;
using plan::Phase;
using plan::Wind;

namespace {

// The example trainer with round numbers a pilot can work by hand: climb
// 500 ft/min at 70 kt burning 10 gal/h, descent 500 ft/min at 100 kt and
// 6 gal/h, cruise 100 kt at 8 gal/h at every altitude.
plan::AircraftProfile handProfile() {
    std::ifstream in(SKYVANE_EXAMPLE_AIRCRAFT, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    plan::AircraftProfile p = *plan::readProfile(bytes.str()).profile;
    p.climbTable.clear();
    p.climbRate = plan::SteadyRate{500, 70, 10};
    p.descent = plan::SteadyRate{500, 100, 6};
    p.cruise = {plan::CruiseRow{0, 100, 8}};
    p.patternAltitudeFt = 1000;
    return p;
}

// Along the equator from 0°E, a waypoint at each longitude, every leg at
// 5000 ft; the destination's field at 1000 ft (so the descent ends at 2000).
// The wind from the north grows with height: calm at the surface, 360/40 at
// 5000 ft, so the climb flies in 360/20 and the descent to 2000 ft in 360/28.
FlightPlan eastward(const std::vector<double>& longitudes) {
    FlightPlan p;
    p.aircraft = {100, 8, 50, 1};
    p.off = QDateTime(QDate(2026, 6, 1), QTime(10, 0, 0), Qt::UTC);
    p.variationDeg = 0;
    p.windsAloft = {{0, Wind{360, 0}}, {5000, Wind{360, 40}}};
    for (std::size_t i = 0; i < longitudes.size(); ++i) {
        plan::Waypoint w(QStringLiteral("P%1").arg(i), QString(), {0, longitudes[i]});
        w.leg.altitudeFt = 5000;
        p.waypoints.push_back(w);
    }
    p.waypoints.front().elevationFt = 0;
    p.waypoints.back().elevationFt = 1000;
    p.profile = handProfile();
    return p;
}

double legNm(const FlightPlan& p, std::size_t i) {
    return course::calcCourseAndDistance(p.waypoints[i].position, p.waypoints[i + 1].position)
        .distanceNm;
}

// Ground speed across a wind from the north on an eastward course.
double across(double tasKt, double windKt) {
    return std::sqrt(tasKt * tasKt - windKt * windKt);
}

struct Hand {
    double climbNm, climbMin, climbGal;
    double descentNm, descentMin, descentGal;
};

// The climb from 0 to 5000 ft and the descent from 5000 to 2000 ft, by hand.
Hand byHand() {
    const double climbMin = 5000.0 / 500, descentMin = 3000.0 / 500;
    return {across(70, 20) * climbMin / 60,    climbMin,   10 * climbMin / 60,
            across(100, 28) * descentMin / 60, descentMin, 6 * descentMin / 60};
}

} // namespace

class TestClimb : public QObject {
    Q_OBJECT
private slots:
    void oneLegByHand();
    void climbOverTwoLegs();
    void changesThatCannotBeFlown_data();
    void changesThatCannotBeFlown();
    void piecesInTheCsvAndJson();
    void decisionPointsWalkThePieces_data();
    void decisionPointsWalkThePieces();
    void temperatureAboveStandardLengthensTheClimb();
};

void TestClimb::oneLegByHand() {
    const FlightPlan p = eastward({0, 1});
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    QVERIFY2(c.complete(), qPrintable(c.fuel.verdict));
    QCOMPARE(c.legs.size(), std::size_t(3));
    const Hand h = byHand();
    const double cruiseNm = legNm(p, 0) - h.climbNm - h.descentNm;
    const double cruiseMin = cruiseNm / across(100, 40) * 60;
    struct Expect {
        Phase phase;
        double nm, min, gal;
        const char *from, *to;
    } const expect[] = {{Phase::Climb, h.climbNm, h.climbMin, h.climbGal, "P0", "TOC"},
                        {Phase::Cruise, cruiseNm, cruiseMin, 8 * cruiseMin / 60, "TOC", "TOD"},
                        {Phase::Descent, h.descentNm, h.descentMin, h.descentGal, "TOD", "P1"}};
    double gal = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const plan::PlanLeg& leg = c.legs[i];
        QCOMPARE(leg.phase, expect[i].phase);
        QCOMPARE(leg.number, 1);
        QVERIFY2(std::fabs(leg.input.distanceNm - expect[i].nm) < 0.1,
                 qPrintable(QString::number(i)));
        QVERIFY(std::fabs(leg.result.eteMin - expect[i].min) < 0.1);
        QVERIFY(std::fabs(leg.result.fuelUsedGal - expect[i].gal) < 0.05);
        QCOMPARE(leg.figures.from, QString::fromLatin1(expect[i].from));
        QCOMPARE(leg.figures.to, QString::fromLatin1(expect[i].to));
        gal += expect[i].gal;
    }
    // The pieces add up to the leg, and the trip fuel counts the climb's and
    // descent's burn.
    QCOMPARE(c.distanceNm, core::roundTo2Places(legNm(p, 0)));
    QVERIFY(std::fabs(c.fuel.tripGal - gal) < 0.05);
    QVERIFY(c.topOfClimb && c.topOfDescent);
    QVERIFY(std::fabs(c.topOfClimb->point.distanceNm - h.climbNm) < 0.1);
    QVERIFY(std::fabs(c.topOfClimb->point.minutes - h.climbMin) < 0.1);
    QCOMPARE(c.topOfClimb->altitudeFt, 5000.);
    QVERIFY(std::fabs(c.topOfDescent->point.distanceNm - (legNm(p, 0) - h.descentNm)) < 0.1);
    QVERIFY(std::fabs(c.topOfDescent->point.minutes - (h.climbMin + cruiseMin)) < 0.1);
    // On the equator eastward, a point's longitude is its distance in arc.
    QVERIFY(std::fabs(c.topOfClimb->point.position.latitudeDeg) < 1e-6);
    QVERIFY(std::fabs(c.topOfClimb->point.position.longitudeDeg - h.climbNm / legNm(p, 0)) < 0.002);
}

void TestClimb::climbOverTwoLegs() {
    // The first leg (0.1°, 6 nm) is shorter than the climb (11.2 nm).
    const FlightPlan p = eastward({0, 0.1, 1});
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    QVERIFY2(c.complete(), qPrintable(c.fuel.verdict));
    const Hand h = byHand();
    QCOMPARE(c.legs[0].phase, Phase::Climb);
    QCOMPARE(c.legs[0].input.distanceNm, legNm(p, 0));
    QCOMPARE(c.legs[0].figures.problem, QStringLiteral("climb carries on into leg 2"));
    QVERIFY(!c.legs[0].figures.flagged);
    QCOMPARE(c.legs[1].number, 2);
    QCOMPARE(c.legs[1].phase, Phase::Climb);
    QCOMPARE(c.legs[1].figures.from, QStringLiteral("P1"));
    QCOMPARE(c.legs[1].figures.to, QStringLiteral("TOC"));
    // Both legs lie on one course in one wind: the climb's two parts make
    // the whole hand-worked climb.
    QVERIFY(std::fabs(c.legs[0].input.distanceNm + c.legs[1].input.distanceNm - h.climbNm) < 0.1);
    QVERIFY(std::fabs(c.legs[0].result.eteMin + c.legs[1].result.eteMin - h.climbMin) < 0.1);
    QCOMPARE(c.topOfClimb->point.leg, 2);
    QVERIFY(std::fabs(c.topOfClimb->point.intoLegNm - (h.climbNm - legNm(p, 0))) < 0.1);
    QVERIFY(std::fabs(c.topOfClimb->point.minutes - h.climbMin) < 0.1);
}

void TestClimb::changesThatCannotBeFlown_data() {
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("altitudeFt");
    QTest::addColumn<bool>("byTable");
    QTest::addColumn<QString>("says");
    // 0.3° is 18 nm: the climb's 11.2 and the descent's 9.6 do not fit.
    QTest::newRow("descent longer than the route")
        << 0.3 << 5000. << false
        << "the descent from 5000 ft to 2000 ft over the destination does not fit";
    QTest::newRow("climb beyond the table")
        << 1.0 << 14000. << true << "the climb table covers 0 to 12000 ft";
    QTest::newRow("climb longer than the route")
        << 0.1 << 5000. << false << "the climb from 0 ft to 5000 ft does not end";
    QTest::newRow("leg below the field") << 1.0 << -500. << false << "below the departure field";
}

void TestClimb::changesThatCannotBeFlown() {
    QFETCH(double, longitude);
    QFETCH(double, altitudeFt);
    QFETCH(bool, byTable);
    QFETCH(QString, says);
    FlightPlan p = eastward({0, longitude});
    p.waypoints.back().leg.altitudeFt = altitudeFt;
    if (byTable) {
        std::ifstream in(SKYVANE_EXAMPLE_AIRCRAFT, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        p.profile->climbTable = plan::readProfile(bytes.str()).profile->climbTable;
    }
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    // A stated problem, never a silent 0 or a verdict over it.
    QVERIFY(!c.complete());
    QCOMPARE(c.missingLegs, std::vector<int>{1});
    QVERIFY2(c.fuel.verdict.startsWith("Cannot be planned: leg 1 (P0 - P1): "),
             qPrintable(c.fuel.verdict));
    QVERIFY2(c.fuel.verdict.contains(says), qPrintable(c.fuel.verdict));
    QVERIFY(!c.fuel.enough);
    QVERIFY(!c.topOfClimb && !c.topOfDescent);
    const plan::DecisionPoints d = plan::decisionPoints(p, c, nullptr);
    QVERIFY(!d.etp.point && !d.pnr.point);
}

void TestClimb::piecesInTheCsvAndJson() {
    const FlightPlan p = eastward({0, 1});
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    const std::string csv = navlog::tripCsv(plan::tripOf(c, p.off), 30);
    const QStringList lines = QString::fromStdString(csv).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5); // heading, three pieces, totals
    const QStringList heading = lines[0].split(',');
    const int phase = heading.indexOf("Phase"), leg = heading.indexOf("Leg"),
              to = heading.indexOf("To");
    QVERIFY(phase >= 0);
    const char* phases[] = {"climb", "cruise", "descent"};
    const char* ends[] = {"TOC", "TOD", "P1"};
    for (int i = 0; i < 3; ++i) {
        const QStringList row = lines[i + 1].split(',');
        QCOMPARE(row[phase], QString::fromLatin1(phases[i]));
        QCOMPARE(row[leg], QStringLiteral("1"));
        QCOMPARE(row[to], QString::fromLatin1(ends[i]));
    }
    // Without a profile the CSV is what it always was: no Phase column.
    FlightPlan cruiseOnly = p;
    cruiseOnly.profile.reset();
    const std::string plain =
        navlog::tripCsv(plan::tripOf(plan::computePlan(cruiseOnly, nullptr), p.off), 30);
    QVERIFY(!QString::fromStdString(plain).contains("Phase"));

    const QJsonObject json =
        QJsonDocument::fromJson(QByteArray::fromStdString(plan::computedPlanJson(
                                    c, plan::decisionPoints(p, c, nullptr), std::nullopt)))
            .object();
    QCOMPARE(json["legs"].toArray()[0].toObject()["phase"].toString(), QStringLiteral("climb"));
    QCOMPARE(json["legs"].toArray()[2].toObject()["phase"].toString(), QStringLiteral("descent"));
    const QJsonObject toc = json["toc"].toObject();
    QCOMPARE(toc["altitudeFt"].toDouble(), 5000.);
    QCOMPARE(toc["leg"].toInt(), 1);
    QCOMPARE(toc["distanceNm"].toDouble(), c.topOfClimb->point.distanceNm);
    QCOMPARE(json["tod"].toObject()["minutes"].toDouble(), c.topOfDescent->point.minutes);
}

void TestClimb::decisionPointsWalkThePieces_data() {
    QTest::addColumn<std::vector<double>>("longitudes");
    QTest::addColumn<double>("fuelGal");
    QTest::newRow("one leg, the PNR in the cruise") << std::vector<double>{0, 2} << 13.;
    QTest::newRow("three legs, the PNR in the climb") << std::vector<double>{0, 0.1, 1, 2} << 6.;
    QTest::newRow("a long route") << std::vector<double>{0, 0.5, 1.5, 3} << 30.;
}

// The ETP and PNR against a walk along the route in steps of 1/1000 nm,
// each step flown out and back at the speeds and fuel flow of its piece.
void TestClimb::decisionPointsWalkThePieces() {
    QFETCH(std::vector<double>, longitudes);
    QFETCH(double, fuelGal);
    FlightPlan p = eastward(longitudes);
    p.aircraft.fuelGal = fuelGal;
    p.fuel.reserveMin = 20;
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    QVERIFY2(c.complete(), qPrintable(c.fuel.verdict));
    const plan::DecisionPoints d = plan::decisionPoints(p, c, nullptr);
    QVERIFY2(d.etp.point && d.pnr.point, qPrintable(d.etp.why + d.pnr.why));

    struct Step {
        double outMin, backMin, outGal, backGal;
    };
    std::vector<Step> steps;
    const double stepNm = 0.001;
    for (const plan::PlanLeg& leg : c.legs) {
        const auto& in = leg.input;
        const double out =
            leg::groundSpeedKt(in.trueCourseDeg, in.windDirectionDeg, in.windVelocityKt, in.tasKt);
        const double back = leg::groundSpeedKt(std::fmod(in.trueCourseDeg + 180, 360),
                                               in.windDirectionDeg, in.windVelocityKt, in.tasKt);
        for (double x = 0; x < in.distanceNm; x += stepNm)
            steps.push_back({stepNm / out * 60, stepNm / back * 60, stepNm / out * in.fuelFlowGph,
                             stepNm / back * in.fuelFlowGph});
    }
    double totalOut = 0;
    for (const Step& s : steps)
        totalOut += s.outMin;
    const double usable = fuelGal - 1 - 20 * 8.0 / 60; // taxi, reserve at the cruise flow
    double outMin = 0, backMin = 0, outGal = 0, backGal = 0;
    std::optional<double> etpNm, pnrNm;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (!etpNm && totalOut - outMin <= backMin)
            etpNm = i * stepNm;
        if (!pnrNm && outGal + backGal >= usable)
            pnrNm = i * stepNm;
        outMin += steps[i].outMin;
        backMin += steps[i].backMin;
        outGal += steps[i].outGal;
        backGal += steps[i].backGal;
    }
    QVERIFY(etpNm && pnrNm);
    QVERIFY2(std::fabs(d.etp.point->distanceNm - *etpNm) < 0.01,
             qPrintable(QString("%1 %2").arg(d.etp.point->distanceNm).arg(*etpNm)));
    QVERIFY2(std::fabs(d.pnr.point->distanceNm - *pnrNm) < 0.01,
             qPrintable(QString("%1 %2").arg(d.pnr.point->distanceNm).arg(*pnrNm)));
    QVERIFY(!d.pnr.beyondDestination);
}

// 10% more of time, fuel and distance for each 10 °C above standard at the
// cruise altitude: at 6000 ft standard is 3 °C, so 23 °C adds 20%.
void TestClimb::temperatureAboveStandardLengthensTheClimb() {
    FlightPlan p = eastward({0, 1});
    std::ifstream in(SKYVANE_EXAMPLE_AIRCRAFT, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    p.profile->climbTable = plan::readProfile(bytes.str()).profile->climbTable;
    for (plan::Waypoint& w : p.waypoints)
        w.leg.altitudeFt = 6000;
    p.waypoints.back().elevationFt = 0;
    p.windsAloft = {{0, Wind{360, 0}, 27.}, {6000, Wind{360, 0}, 23.}};
    const plan::ComputedPlan warm = plan::computePlan(p, nullptr);
    // The example's table: 0 to 6000 ft in 12 min, 2.2 gal, 16 nm.
    QCOMPARE(warm.legs[0].phase, Phase::Climb);
    QVERIFY(std::fabs(warm.legs[0].result.eteMin - 12 * 1.2) < 0.05);
    QVERIFY(std::fabs(warm.legs[0].input.distanceNm - 16 * 1.2) < 0.01);
    QVERIFY(std::fabs(warm.legs[0].result.fuelUsedGal - 2.2 * 1.2) < 0.02);
    p.windsAloft = {{0, Wind{360, 0}}, {6000, Wind{360, 0}}};
    const plan::ComputedPlan standard = plan::computePlan(p, nullptr);
    QVERIFY(std::fabs(standard.legs[0].result.eteMin - 12) < 0.05);
    QVERIFY(std::fabs(standard.legs[0].input.distanceNm - 16) < 0.01);
}

QTEST_GUILESS_MAIN(TestClimb)
#include "tst_climb.moc"
