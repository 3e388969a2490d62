// Where to turn back: the equal-time point and the point of no return against
// their closed forms on one leg and a brute-force walk over several, a wind
// that allows no way back, and the wind margin against recomputed plans.
#include "core/Math.h"
#include "course/GreatCircle.h"
#include "navlog/LegColumns.h"
#include "plan/DecisionPoints.h"

#include <QTest>

#include <cmath>

using plan::FlightPlan;
using plan::Wind;

namespace {

FlightPlan route(const std::vector<std::tuple<double, double, Wind>>& points, double fuelGal) {
    FlightPlan p;
    p.aircraft = {110, 8, fuelGal, 1};
    p.off = QDateTime(QDate(2026, 6, 1), QTime(10, 0, 0));
    p.variationDeg = 0;
    p.fuel.reserveMin = 30;
    for (const auto& [lat, lon, wind] : points) {
        plan::Waypoint w;
        w.name = QStringLiteral("P%1").arg(p.waypoints.size());
        w.position = {lat, lon};
        w.leg.wind = wind;
        p.waypoints.push_back(w);
    }
    return p;
}

struct Speeds {
    double d, out, back;
};

std::vector<Speeds> speedsOf(const plan::ComputedPlan& c) {
    std::vector<Speeds> s;
    for (const plan::PlanLeg& l : c.legs) {
        const auto& in = l.input;
        s.push_back(
            {in.distanceNm,
             leg::groundSpeedKt(in.trueCourseDeg, in.windDirectionDeg, in.windVelocityKt, in.tasKt),
             leg::groundSpeedKt(std::fmod(in.trueCourseDeg + 180, 360), in.windDirectionDeg,
                                in.windVelocityKt, in.tasKt)});
    }
    return s;
}

// Walks the route in steps of 0.001 nm: the first place where `past` holds.
double walk(const std::vector<Speeds>& legs,
            const std::function<bool(double, double, double)>& past, double& minutesOut) {
    double total = 0;
    for (const Speeds& s : legs)
        total += s.d;
    constexpr double kStep = 0.001;
    for (double x = 0; x <= total * 3; x += kStep) {
        // Time out to x, back from x, and on from x to the destination.
        double out = 0, back = 0, on = 0, left = x;
        for (std::size_t i = 0; i < legs.size(); ++i) {
            const bool last = i + 1 == legs.size();
            const double here = last ? left : std::min(left, legs[i].d);
            out += here / legs[i].out * 60;
            back += here / legs[i].back * 60;
            on += std::max(0.0, legs[i].d - here) / legs[i].out * 60;
            left -= here;
        }
        if (past(out, back, on)) {
            minutesOut = out;
            return x;
        }
    }
    return -1;
}

} // namespace

class TestDecisionPoints : public QObject {
    Q_OBJECT
private slots:
    void oneLegClosedForms();
    void severalLegsAgainstAWalk();
    void noWayBack();
    void windMarginAgainstRecomputedPlans();
    void antipodesAndMidnight();
    void pointsAreMeasuredFromTheirLegsStart();
};

void TestDecisionPoints::oneLegClosedForms() {
    const FlightPlan p = route({{47, 8, Wind{}}, {47, 10, Wind{90, 25}}}, 40);
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    const plan::DecisionPoints d = plan::decisionPoints(p, c, nullptr);
    const Speeds s = speedsOf(c)[0];
    QVERIFY(s.out < s.back); // into the wind out, with it back
    QVERIFY(d.etp.point);
    QVERIFY(std::fabs(d.etp.point->distanceNm - s.d * s.back / (s.out + s.back)) < 1e-9);
    QCOMPARE(d.etp.point->leg, 1);
    const double enduranceMin = (40 - 1 - 30 * 8 / 60.0) / 8 * 60;
    QVERIFY(d.pnr.point);
    QVERIFY(std::fabs(d.pnr.point->minutes - enduranceMin * s.back / (s.out + s.back)) < 1e-9);
    QVERIFY(d.pnr.beyondDestination); // 82 nm there and back is well within the fuel
    // The point lies on the great circle, as far along as it says.
    QVERIFY(std::fabs(d.etp.point->position.latitudeDeg - 47) < 0.01);
}

void TestDecisionPoints::severalLegsAgainstAWalk() {
    const FlightPlan p = route({{47.46, 8.55, Wind{}},
                                {47.2, 8.9, Wind{270, 20}},
                                {46.91, 7.5, Wind{40, 30}},
                                {46.24, 6.11, Wind{200, 15}},
                                {45.6, 5.0, Wind{300, 35}}},
                               18);
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    QVERIFY(c.flyable);
    const plan::DecisionPoints d = plan::decisionPoints(p, c, nullptr);
    const auto legs = speedsOf(c);
    double minutes = 0;
    const double etp = walk(
        legs, [](double, double back, double on) { return back >= on; }, minutes);
    QVERIFY(d.etp.point);
    QVERIFY2(std::fabs(d.etp.point->distanceNm - etp) < 0.1,
             qPrintable(QString("%1 vs %2").arg(d.etp.point->distanceNm).arg(etp)));
    QVERIFY(std::fabs(d.etp.point->minutes - minutes) < 0.1);
    const double endurance = (18 - 1 - 4.0) / 8 * 60;
    const double pnr = walk(
        legs, [endurance](double out, double back, double) { return out + back >= endurance; },
        minutes);
    QVERIFY(d.pnr.point && !d.pnr.beyondDestination);
    QVERIFY2(std::fabs(d.pnr.point->distanceNm - pnr) < 0.1,
             qPrintable(QString("%1 vs %2").arg(d.pnr.point->distanceNm).arg(pnr)));
    QVERIFY(std::fabs(d.pnr.point->minutes - minutes) < 0.1);
    // Leg and distance past its start agree with the distance from the departure.
    double before = 0;
    for (int i = 0; i + 1 < d.pnr.point->leg; ++i)
        before += legs[static_cast<std::size_t>(i)].d;
    QVERIFY(std::fabs(before + d.pnr.point->intoLegNm - d.pnr.point->distanceNm) < 1e-9);
}

void TestDecisionPoints::noWayBack() {
    // A gale from behind: out it is flown, back it is not.
    FlightPlan p = route({{47, 8, Wind{}}, {47, 9, Wind{270, 120}}}, 40);
    p.aircraft.tasKt = 110;
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    QVERIFY(c.flyable);
    const plan::DecisionPoints d = plan::decisionPoints(p, c, nullptr);
    QVERIFY(!d.etp.point && !d.pnr.point);
    QVERIFY2(d.etp.why.contains("cannot fly back"), qPrintable(d.etp.why));
    QVERIFY(d.pnr.why.contains("cannot fly back"));
    // No fuel above the reserve: no point of no return either, said why.
    FlightPlan dry = route({{47, 8, Wind{}}, {47, 9, Wind{270, 10}}}, 4);
    const plan::DecisionPoints none =
        plan::decisionPoints(dry, plan::computePlan(dry, nullptr), nullptr);
    QVERIFY(none.pnr.why.contains("does not cover the final reserve"));
}

void TestDecisionPoints::windMarginAgainstRecomputedPlans() {
    const FlightPlan p = route({{47.46, 8.55, Wind{}},
                                {47.2, 8.9, Wind{270, 20}},
                                {46.91, 7.5, Wind{40, 30}},
                                {46.24, 6.11, Wind{200, 15}}},
                               20);
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    const plan::DecisionPoints d = plan::decisionPoints(p, c, nullptr);
    QVERIFY(d.windMargin.headwindKt);
    const int h = *d.windMargin.headwindKt;
    QVERIFY(h > 0);
    QVERIFY(d.windMargin.summary.startsWith(QString("The reserve holds up to %1 kt").arg(h)));
    // Recomputed with h and with h + 1 more knots of headwind on every leg.
    auto marginWith = [&](double extra) {
        FlightPlan harder = p;
        for (std::size_t i = 1; i < harder.waypoints.size(); ++i) {
            const plan::PlanLeg& leg = c.legs[i - 1];
            const double course = leg.input.trueCourseDeg * M_PI / 180;
            const double from = leg.wind.directionDeg * M_PI / 180;
            const double east = leg.wind.speedKt * std::sin(from) + extra * std::sin(course);
            const double north = leg.wind.speedKt * std::cos(from) + extra * std::cos(course);
            double direction = std::atan2(east, north) * 180 / M_PI;
            if (direction < 0)
                direction += 360;
            harder.waypoints[i].leg.wind = Wind{direction, std::hypot(east, north)};
        }
        const plan::ComputedPlan hc = plan::computePlan(harder, nullptr);
        const plan::PlanLeg& last = hc.legs.back();
        return last.result.fuelLeftGal - last.fuelShortGal - 30 * 8 / 60.0;
    };
    QVERIFY(marginWith(0) >= 0);
    QVERIFY(marginWith(h) >= 0);
    QVERIFY(marginWith(h + 1) < 0);
    QCOMPARE(d.windMargin.cases.size(), std::size_t(4));
    QVERIFY(d.windMargin.cases[0].fuelChangeGal != 0);
    // The most sensitive leg exactly: the one whose fuel grows most with 10
    // kt more headwind on every leg, found by recomputing.
    FlightPlan harder = p;
    for (std::size_t i = 1; i < harder.waypoints.size(); ++i) {
        const plan::PlanLeg& leg = c.legs[i - 1];
        const double course = leg.input.trueCourseDeg * M_PI / 180;
        const double from = leg.wind.directionDeg * M_PI / 180;
        const double east = leg.wind.speedKt * std::sin(from) + 10 * std::sin(course);
        const double north = leg.wind.speedKt * std::cos(from) + 10 * std::cos(course);
        harder.waypoints[i].leg.wind = Wind{
            std::fmod(std::atan2(east, north) * 180 / M_PI + 360, 360), std::hypot(east, north)};
    }
    const plan::ComputedPlan hc = plan::computePlan(harder, nullptr);
    int most = 0;
    double gain = -1;
    for (std::size_t i = 0; i < hc.legs.size(); ++i) {
        const double g = hc.legs[i].result.fuelUsedGal - c.legs[i].result.fuelUsedGal;
        if (g > gain) {
            gain = g;
            most = static_cast<int>(i) + 1;
        }
    }
    QCOMPARE(d.windMargin.mostSensitiveLeg, most);
    // Each wind case's own reserve margin: "10 kt stronger" recomputed.
    FlightPlan stronger = p;
    for (std::size_t i = 1; i < stronger.waypoints.size(); ++i)
        stronger.waypoints[i].leg.wind->speedKt = c.legs[i - 1].wind.speedKt + 10;
    const plan::ComputedPlan sc = plan::computePlan(stronger, nullptr);
    const plan::PlanLeg& last = sc.legs.back();
    QCOMPARE(d.windMargin.cases[0].name, QString("10 kt stronger"));
    QCOMPARE(d.windMargin.cases[0].reserveMarginGal,
             core::roundTo2Places(last.result.fuelLeftGal - last.fuelShortGal - 30 * 8 / 60.0));
    QVERIFY(d.windMargin.cases[0].reserveMarginGal != d.windMargin.cases[1].reserveMarginGal);
}

void TestDecisionPoints::antipodesAndMidnight() {
    // A leg from one point to its antipode in a calm: the equal-time point is
    // half way, 90° of arc from the departure, not at the departure.
    FlightPlan p = route({{10, 20, Wind{}}, {-10, -160, Wind{}}}, 100);
    p.aircraft.fuelFlowGph = 0.01; // half the earth round on little fuel
    p.off = QDateTime(QDate(2026, 6, 1), QTime(23, 0, 0));
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    QCOMPARE(c.legs[0].problem, plan::LegProblem::None);
    const plan::DecisionPoints d = plan::decisionPoints(p, c, nullptr);
    QVERIFY(d.etp.point);
    QVERIFY(std::fabs(d.etp.point->distanceNm - c.legs[0].input.distanceNm / 2) < 1e-6);
    const double arc = course::arcDeg(p.waypoints[0].position, d.etp.point->position);
    QVERIFY2(std::fabs(arc - 90) < 0.01, qPrintable(QString::number(arc)));
    // The ETA, days later, says which day.
    const int days = static_cast<int>((23 * 60 + c.legs[0].result.eteMin) / (24 * 60));
    QVERIFY(days >= 1);
    const QString eta = navlog::dayTimeText(c.legs[0].figures.eta);
    QVERIFY2(eta.endsWith(QString(" +%1").arg(days)), qPrintable(eta));
    QVERIFY(!navlog::dayTimeText(c.legs[0].figures.off).contains('+'));
}

void TestDecisionPoints::pointsAreMeasuredFromTheirLegsStart() {
    // North, then north-east: both points fall in the second leg, which is
    // neither north-south nor east-west, so both coordinates must come from
    // that leg's start, P1.
    const FlightPlan p = route({{46, 7, Wind{}}, {46.3, 7, Wind{}}, {47.5, 9, Wind{200, 10}}}, 40);
    const plan::ComputedPlan c = plan::computePlan(p, nullptr);
    const plan::DecisionPoints d = plan::decisionPoints(p, c, nullptr);
    for (const plan::PointResult* point : {&d.etp, &d.pnr}) {
        QVERIFY(point->point);
        const plan::RoutePoint& r = *point->point;
        QCOMPARE(r.leg, 2);
        QVERIFY(std::fabs(r.distanceNm - (c.legs[0].input.distanceNm + r.intoLegNm)) < 1e-9);
        const core::GeoPoint expected =
            course::pointAlong(p.waypoints[1].position, p.waypoints[2].position,
                               r.intoLegNm / c.legs[1].input.distanceNm);
        QVERIFY(std::fabs(r.position.latitudeDeg - expected.latitudeDeg) < 1e-9);
        QVERIFY(std::fabs(r.position.longitudeDeg - expected.longitudeDeg) < 1e-9);
        const QString text = plan::pointText("ETP", *point, p);
        QVERIFY2(text.contains(" nm past P1)") && text.contains("from P0"), qPrintable(text));
    }
}

QTEST_GUILESS_MAIN(TestDecisionPoints)
#include "tst_decisionpoints.moc"
