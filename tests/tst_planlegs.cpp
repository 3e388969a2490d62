// A flight plan's legs are the leg dialog's: the same legs taken through TC
// (typed positions), Run and Next show digit for digit what the plan
// computed, fuel running out and per-leg rounding of the total burnt
// included.
#include "TestSupport.h"
#include "course/CourseDialog.h"
#include "course/CourseDialogIds.h"
#include "leg/LegDialog.h"
#include "leg/LegDialogIds.h"
#include "navlog/LegColumns.h"
#include "plan/FlightPlan.h"

#include <QDateTimeEdit>
#include <QTest>

#include <algorithm>
#include <memory>

namespace legid = ids::leg;
namespace courseid = ids::course;
using testing::setText;
using testing::text;

class TestPlanLegs : public QObject {
    Q_OBJECT
private slots:
    void planLegsAreTheLegDialogs_data();
    void planLegsAreTheLegDialogs();
};

void TestPlanLegs::planLegsAreTheLegDialogs_data() {
    QTest::addColumn<double>("fuelGal");
    QTest::addColumn<double>("fuelFlowGph");
    QTest::addColumn<bool>("runsOut");
    QTest::newRow("enough fuel") << 40.0 << 8.3 << false;
    QTest::newRow("fuel runs out on the way") << 9.0 << 23.7 << true;
}

void TestPlanLegs::planLegsAreTheLegDialogs() {
    QFETCH(double, fuelGal);
    QFETCH(double, fuelFlowGph);
    plan::FlightPlan p;
    p.aircraft = {107, fuelFlowGph, fuelGal, 0};
    p.off = QDateTime(QDate(2026, 3, 14), QTime(23, 41, 7)); // past midnight on the way
    p.deviationDeg = 2;
    const struct {
        double lat, lon, windFrom, windKt, var;
    } route[] = {{47.4581, 8.5481, 0, 0, 0},
                 {47.2, 8.9, 275, 17, -3},
                 {46.9133, 7.4997, 40, 23, -2.5},
                 {46.2381, 6.1089, 190, 31, -1},
                 {46.22, 7.3267, 333, 9, -2}};
    for (const auto& r : route) {
        plan::Waypoint w;
        w.position = {r.lat, r.lon};
        w.leg.wind = plan::Wind{r.windFrom, r.windKt};
        w.leg.variationDeg = r.var;
        p.waypoints.push_back(w);
    }
    const plan::ComputedPlan computed = plan::computePlan(p, nullptr);
    QFETCH(bool, runsOut);
    QCOMPARE(std::any_of(computed.legs.begin(), computed.legs.end(),
                         [](const plan::PlanLeg& l) { return l.fuelShortGal > 0; }),
             runsOut);

    testing::DataDir dir;
    testing::Messages messages;
    const auto services = testing::services();
    auto dlg = std::make_unique<CLegDialog>(*services);
    dlg->createModeless(nullptr);
    dlg->m_wndSplash.destroyWindow();
    testing::picker(*dlg, legid::OUT)->setDateTime(p.off);
    for (std::size_t i = 0; i + 1 < std::size(route); ++i) {
        const plan::PlanLeg& leg = computed.legs[i];
        QCOMPARE(leg.problem, plan::LegProblem::None);
        testing::whenModal<CCourseDialog>([&](CCourseDialog& d) {
            setText(d, courseid::DEP_LAT, QString::number(route[i].lat, 'g', 15));
            setText(d, courseid::DEP_LON, QString::number(route[i].lon, 'g', 15));
            setText(d, courseid::ARR_LAT, QString::number(route[i + 1].lat, 'g', 15));
            setText(d, courseid::ARR_LON, QString::number(route[i + 1].lon, 'g', 15));
            testing::click(d, courseid::OK);
        });
        testing::click(*dlg, legid::TCBTN);
        if (i == 0) { // TC writes the leg to the fields: the aircraft is typed after it
            setText(*dlg, legid::TAS, "107");
            setText(*dlg, legid::GPH, QString::number(fuelFlowGph));
            setText(*dlg, legid::FUEL, QString::number(fuelGal));
            setText(*dlg, legid::MD, "2");
        }
        setText(*dlg, legid::WD, QString::number(route[i + 1].windFrom));
        setText(*dlg, legid::WV, QString::number(route[i + 1].windKt));
        setText(*dlg, legid::VAR, QString::number(route[i + 1].var));
        messages.list.clear();
        testing::click(*dlg, legid::RUN);
        QCOMPARE(messages.list.contains("You don't have enough fuel to complete this trip!"),
                 leg.fuelShortGal > 0);
        // Each figure as the nav log's columns show it, by the one rule.
        auto shownAs = [&leg](const char* key) {
            return navlog::columnByKey(key)->cell({leg.figures}, navlog::Output::Log);
        };
        const std::pair<int, QString> shown[] = {{legid::TC, shownAs("tc")},
                                                 {legid::WD, shownAs("wd")},
                                                 {legid::WV, shownAs("wv")},
                                                 {legid::TAS, shownAs("tas")},
                                                 {legid::WCA, shownAs("wca")},
                                                 {legid::TH, shownAs("th")},
                                                 {legid::VAR, shownAs("var")},
                                                 {legid::MH, shownAs("mh")},
                                                 {legid::MD, shownAs("md")},
                                                 {legid::CH, shownAs("ch")},
                                                 {legid::GS, shownAs("gs")},
                                                 {legid::DIST, shownAs("dist")},
                                                 {legid::ETE, shownAs("ete")},
                                                 {legid::FUSED, shownAs("fuelUsed")},
                                                 {legid::FUEL, shownAs("fuelLeft")},
                                                 {legid::BURNT, shownAs("totalBurnt")},
                                                 {legid::TOTDIST, shownAs("totalDist")}};
        for (const auto& [id, value] : shown)
            QCOMPARE(text(*dlg, id), value);
        // The leg dialog's picker holds the day; the plan writes it after a
        // time past midnight ("00:20:21 +1").
        auto clock = [](const QDateTimeEdit* picker, const QDate& start) {
            const qint64 days = start.daysTo(picker->date());
            return picker->time().toString("HH:mm:ss") +
                   (days > 0 ? QString(" +%1").arg(days) : QString());
        };
        const QDate start = p.off.date();
        QCOMPARE(clock(testing::picker(*dlg, legid::OUT), start), shownAs("off"));
        QCOMPARE(clock(testing::picker(*dlg, legid::ETA), start), shownAs("eta"));
        testing::click(*dlg, legid::NEXT);
    }
    QCOMPARE(computed.fuel.tripGal, dlg->legs().totalBurntGal());
}

QTEST_MAIN(TestPlanLegs)
#include "tst_planlegs.moc"
