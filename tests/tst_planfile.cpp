// The plan file: what is saved reads back the same, and what is damaged,
// newer or out of shape is refused.
#include "PlanSamples.h"
#include "plan/FlightPlan.h"
#include "plan/PlanFile.h"

#include "core/Math.h"

#include <QTest>

using plan::FlightPlan;
using plan::Wind;
using testing::threeLegs;

class TestPlanFile : public QObject {
    Q_OBJECT
private slots:
    void planFileRoundTripAndRefusals();
};

void TestPlanFile::planFileRoundTripAndRefusals() {
    FlightPlan p = threeLegs();
    p.deviationCard = plan::DeviationCard{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    p.windsAloft = {{3000, Wind{350, 20}}};
    p.alternate = p.waypoints[1];
    const std::string json = plan::planJson(p);
    const plan::PlanRead back = plan::readPlan(json);
    QVERIFY2(back.plan, qPrintable(back.error));
    QCOMPARE(plan::planJson(*back.plan), json);
    QCOMPARE(back.plan->waypoints[1].name, QString("Lake bridge"));
    QCOMPARE(back.plan->off, p.off);
    const struct {
        std::string bytes;
        const char* says;
    } refused[] = {
        {json.substr(0, json.size() / 2), "damaged"},
        {"[]", "damaged"},
        {"{\"format\":\"other\"}", "not a Skyvane plan"},
        {"{\"format\":\"skyvane-plan\",\"version\":2}", "newer Skyvane"},
        {"{\"format\":\"skyvane-plan\",\"version\":1,\"waypoints\":[{\"name\":\"x\"}]}", "missing"},
        {"{\"format\":\"skyvane-plan\",\"version\":1,\"waypoints\":[{\"name\":\"x\","
         "\"latitudeDeg\":95,\"longitudeDeg\":1}]}",
         "lies nowhere"}};
    for (const auto& r : refused) {
        const plan::PlanRead read = plan::readPlan(r.bytes);
        QVERIFY(!read.plan);
        QVERIFY2(read.error.contains(r.says), qPrintable(read.error));
    }
}

QTEST_GUILESS_MAIN(TestPlanFile)
#include "tst_planfile.moc"
