// The plan window's seams without a window: the editor's edits and their
// undo, the typed fields' grammars at their limits, and which place a typed
// text means.
#include "TestData.h"
#include "core/Text.h"
#include "navdb/NavDatabase.h"
#include "plan/PlanEditor.h"
#include "plan/TypedFields.h"
#include "plan/WaypointResolver.h"
#include "store/AirportDatabase.h"

#include <QSignalSpy>
#include <QUndoStack>

using plan::FlightPlan;
using plan::LegCell;
using plan::LegSettings;
using plan::PlanEditor;
using plan::Waypoint;

namespace {

Waypoint point(const QString& name, double lat, double lon, double altitudeFt = 0) {
    Waypoint w{name, QString(), {lat, lon}, {}};
    w.leg.altitudeFt = altitudeFt;
    return w;
}

FlightPlan threePoints() {
    FlightPlan p;
    p.aircraft = {110, 8, 40, 1};
    p.variationDeg = 2;
    p.windsAloft = {{3000, plan::Wind{270, 10}}};
    p.waypoints = {point("A", 47, 8), point("B", 47.2, 8.3, 4500), point("C", 47.4, 8.6, 5500)};
    return p;
}

QStringList names(const PlanEditor& e) {
    QStringList out;
    for (const Waypoint& w : e.plan().waypoints)
        out << w.name;
    return out;
}

} // namespace

class TestPlanEditor : public QObject {
    Q_OBJECT
private slots:
    void editsAndTheirUndo_data();
    void editsAndTheirUndo();
    void typedFieldsMerge();
    void newLegTakesTheAltitudeBefore();
    void replacingForgetsTheHistory();
    void legCells_data();
    void legCells();
    void deviationCards_data();
    void deviationCards();
    void windRows_data();
    void windRows();
    void resolver_data();
    void resolver();
};

void TestPlanEditor::editsAndTheirUndo_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("done");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("insert first") << "insert" << 0 << true << QStringList{"N", "A", "B", "C"};
    QTest::newRow("insert last") << "insert" << 3 << true << QStringList{"A", "B", "C", "N"};
    QTest::newRow("insert past the end") << "insert" << 4 << false << QStringList{"A", "B", "C"};
    QTest::newRow("delete middle") << "delete" << 1 << true << QStringList{"A", "C"};
    QTest::newRow("delete none") << "delete" << -1 << false << QStringList{"A", "B", "C"};
    QTest::newRow("move up") << "up" << 2 << true << QStringList{"A", "C", "B"};
    QTest::newRow("move the first up") << "up" << 0 << false << QStringList{"A", "B", "C"};
    QTest::newRow("move the last down") << "down" << 2 << false << QStringList{"A", "B", "C"};
    QTest::newRow("the first waypoint has no leg")
        << "leg" << 0 << false << QStringList{"A", "B", "C"};
    QTest::newRow("a leg") << "leg" << 2 << true << QStringList{"A", "B", "C"};
}

void TestPlanEditor::editsAndTheirUndo() {
    QFETCH(QString, edit);
    QFETCH(int, row);
    QFETCH(bool, done);
    QFETCH(QStringList, after);
    PlanEditor editor(threePoints(), nullptr);
    QSignalSpy changed(&editor, &PlanEditor::changed);
    const std::string before = QStringList(names(editor)).join(',').toStdString();
    LegSettings leg;
    leg.altitudeFt = 7500;
    leg.wind = plan::Wind{90, 20};
    const bool result = edit == "insert"   ? editor.insertWaypoint(row, point("N", 47.1, 8.1))
                        : edit == "delete" ? editor.deleteWaypoint(row)
                        : edit == "up"     ? editor.moveWaypoint(row, -1)
                        : edit == "down"   ? editor.moveWaypoint(row, 1)
                                           : editor.setLeg(row, leg);
    QCOMPARE(result, done);
    QCOMPARE(names(editor), after);
    QCOMPARE(editor.undoStack()->count(), done ? 1 : 0);
    QCOMPARE(changed.count(), done ? 1 : 0);
    // Every change is computed at once: a leg per pair of waypoints.
    QCOMPARE(editor.computed().legs.size(), editor.plan().waypoints.size() - 1);
    if (edit == "leg" && done) {
        QCOMPARE(editor.computed().legs[1].wind, (plan::Wind{90, 20}));
        QCOMPARE(editor.computed().legs[1].altitudeFt, 7500.0);
    }
    editor.undoStack()->undo();
    QCOMPARE(names(editor).join(',').toStdString(), before);
    QCOMPARE(editor.computed().legs[1].wind, (plan::Wind{270, 10}));
    editor.undoStack()->redo();
    QCOMPARE(names(editor), after);
}

void TestPlanEditor::typedFieldsMerge() {
    PlanEditor editor(threePoints(), nullptr);
    for (double tas : {1.0, 12.0, 120.0})
        editor.change(
            "TAS", [&](FlightPlan& p) { p.aircraft.tasKt = tas; }, 1);
    editor.change(
        "Fuel flow", [](FlightPlan& p) { p.aircraft.fuelFlowGph = 9; }, 2);
    QCOMPARE(editor.undoStack()->count(), 2);
    editor.undoStack()->undo();
    QCOMPARE(editor.plan().aircraft.tasKt, 120.0);
    editor.undoStack()->undo();
    QCOMPARE(editor.plan().aircraft.tasKt, 110.0);
}

void TestPlanEditor::newLegTakesTheAltitudeBefore() {
    PlanEditor editor(threePoints(), nullptr);
    QVERIFY(editor.insertWaypoint(2, point("N", 47.3, 8.4, 0)));
    QCOMPARE(editor.plan().waypoints[2].leg.altitudeFt, 4500.0);
    QVERIFY(editor.insertWaypoint(1, point("M", 47.1, 8.1, 900)));
    QCOMPARE(editor.plan().waypoints[1].leg.altitudeFt, 900.0); // no leg before the first
}

void TestPlanEditor::replacingForgetsTheHistory() {
    PlanEditor editor(threePoints(), nullptr);
    editor.deleteWaypoint(0);
    QVERIFY(!editor.undoStack()->isClean());
    FlightPlan two = threePoints();
    two.waypoints.pop_back();
    editor.replace(two);
    QCOMPARE(editor.undoStack()->count(), 0);
    QVERIFY(editor.undoStack()->isClean());
    QCOMPARE(names(editor), (QStringList{"A", "B"}));
    QVERIFY(editor.decisions().etp.point.has_value() || !editor.decisions().etp.why.isEmpty());
}

void TestPlanEditor::legCells_data() {
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<QString>("shown"); // the leg's figure afterwards
    const int alt = int(LegCell::Altitude), wind = int(LegCell::Wind),
              var = int(LegCell::Variation);
    QTest::newRow("altitude") << alt << "4500" << true << "4500";
    QTest::newRow("lowest altitude") << alt << "-2000" << true << "-2000";
    QTest::newRow("highest altitude") << alt << "60000" << true << "60000";
    QTest::newRow("above the highest") << alt << "60001" << false << "3000";
    QTest::newRow("empty altitude") << alt << "" << false << "3000";
    QTest::newRow("wind") << wind << "270/15" << true << "270/15";
    QTest::newRow("wind with a space") << wind << " 90 5 " << true << "090/5";
    QTest::newRow("no wind: the winds aloft") << wind << "" << true << "none";
    QTest::newRow("wind from 370") << wind << "370/10" << false << "045/12";
    QTest::newRow("variation") << var << "-3" << true << "-3";
    QTest::newRow("variation at its limit") << var << "360" << true << "360";
    QTest::newRow("variation past it") << var << "361" << false << "4";
    QTest::newRow("no variation: the model") << var << " " << true << "none";
}

void TestPlanEditor::legCells() {
    QFETCH(int, cell);
    QFETCH(QString, typed);
    QFETCH(bool, taken);
    QFETCH(QString, shown);
    LegSettings leg;
    leg.altitudeFt = 3000;
    leg.wind = plan::Wind{45, 12};
    leg.variationDeg = 4;
    const QString refusal = plan::readLegCell(LegCell(cell), typed, leg);
    QCOMPARE(refusal.isEmpty(), taken);
    QString now;
    switch (LegCell(cell)) {
    case LegCell::Altitude:
        now = core::numberText(leg.altitudeFt);
        break;
    case LegCell::Wind:
        now = leg.wind ? core::windText(*leg.wind) : "none";
        break;
    case LegCell::Variation:
        now = leg.variationDeg ? core::numberText(*leg.variationDeg) : "none";
        break;
    }
    QCOMPARE(now, shown);
}

void TestPlanEditor::deviationCards_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("back");
    QTest::newRow("twelve") << "1 2 3 4 5 6 -1 -2 -3 0 0.5 360" << true
                            << "1 2 3 4 5 6 -1 -2 -3 0 0.5 360";
    QTest::newRow("spaces anywhere")
        << "  1  1 1 1 1 1 1 1 1 1 1 1 " << true << "1 1 1 1 1 1 1 1 1 1 1 1";
    QTest::newRow("none") << "" << true << "";
    QTest::newRow("eleven") << "1 1 1 1 1 1 1 1 1 1 1" << false << "";
    QTest::newRow("thirteen") << "1 1 1 1 1 1 1 1 1 1 1 1 1" << false << "";
    QTest::newRow("past the limit") << "1 1 1 1 1 1 1 1 1 1 1 361" << false << "";
    QTest::newRow("text") << "1 1 1 1 1 1 1 1 1 1 1 x" << false << "";
}

void TestPlanEditor::deviationCards() {
    QFETCH(QString, typed);
    QFETCH(bool, read);
    QFETCH(QString, back);
    const auto card = plan::readDeviationCard(typed);
    QCOMPARE(card.has_value(), read);
    if (card)
        QCOMPARE(plan::deviationCardText(*card), back);
}

void TestPlanEditor::windRows_data() {
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<bool>("read");
    QTest::newRow("a row") << QStringList{"6000", "350", "20"} << true;
    QTest::newRow("north as 360, calm") << QStringList{"0", "360", "0"} << true;
    QTest::newRow("direction past 360") << QStringList{"6000", "361", "20"} << false;
    QTest::newRow("negative speed") << QStringList{"6000", "350", "-1"} << false;
    QTest::newRow("no altitude") << QStringList{"", "350", "20"} << false;
    QTest::newRow("altitude past the limit") << QStringList{"70000", "350", "20"} << false;
    QTest::newRow("with a temperature") << QStringList{"6000", "350", "20", "-12,5"} << true;
    QTest::newRow("a blank temperature") << QStringList{"6000", "350", "20", "  "} << true;
    QTest::newRow("a temperature past 60") << QStringList{"6000", "350", "20", "61"} << false;
    QTest::newRow("a temperature of words") << QStringList{"6000", "350", "20", "warm"} << false;
}

void TestPlanEditor::windRows() {
    QFETCH(QStringList, typed);
    QFETCH(bool, read);
    const auto row = plan::readWindRow(typed[0], typed[1], typed[2], typed.value(3));
    QCOMPARE(row.has_value(), read);
    if (row && typed.size() > 3 && !typed[3].trimmed().isEmpty())
        QCOMPARE(row->temperatureC, std::optional<double>(-12.5));
}

void TestPlanEditor::resolver_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label"); // empty: refused
    QTest::addColumn<double>("latitude");
    QTest::newRow("a position named") << "47 27.5N 008 33.0E"
                                      << "Lake"
                                      << "Lake" << 47.458333;
    QTest::newRow("a position unnamed") << "47.5 8.5"
                                        << " "
                                        << "Checkpoint 4" << 47.5;
    QTest::newRow("a navaid code") << "klo"
                                   << ""
                                   << "KLO" << 47.45;
    QTest::newRow("the airport file's code") << "abc"
                                             << ""
                                             << "ABC" << 40.5;
    QTest::newRow("a code of two places picks neither") << "zue"
                                                        << ""
                                                        << "" << 0.0;
    QTest::newRow("neither") << "QQQ"
                             << ""
                             << "" << 0.0;
    QTest::newRow("nothing typed") << "  "
                                   << ""
                                   << "" << 0.0;
}

void TestPlanEditor::resolver() {
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(QString, label);
    QFETCH(double, latitude);
    testing::DataDir dir;
    dir.write("airports.fly", "ABC:40.5;-74.25,\r\n");
    const std::string navPath = QFile::encodeName(dir.path("navdata.sqlite")).toStdString();
    {
        QFile csv(SKYVANE_TEST_DATA "/ourairports-navaids.csv");
        QVERIFY(csv.open(QIODevice::ReadOnly));
        auto db = navdb::NavDatabase::open(navPath, true);
        QVERIFY(db->import(navdb::Table::Navaids, csv.readAll().toStdString(), {}).ok);
    }
    const navdb::NavData navData(navPath, std::nullopt);
    store::AirportDatabase airports(store::dataPlaces());
    const plan::WaypointResolver resolver(navData, airports);
    const plan::Resolved r = resolver.resolve(typed, name, 4, core::GeoPoint{47.6, 8.8});
    QCOMPARE(r.waypoint ? r.waypoint->label() : QString(), label);
    if (r.waypoint)
        QVERIFY(std::fabs(r.waypoint->position.latitudeDeg - latitude) < 1e-6);
    // Refused with the text named, except where nothing was typed.
    QCOMPARE(r.refusal.contains('"' + typed + '"'), label.isEmpty() && !typed.trimmed().isEmpty());
    QCOMPARE(r.ambiguous, typed == "zue");
    if (r.ambiguous) // both named, nearest to Zürich first: the VOR-DME
        QVERIFY2(r.refusal.indexOf("East VOR-DME 110.05") <
                         r.refusal.indexOf("Locator NDB 389 kHz") &&
                     r.refusal.contains("nm away"),
                 qPrintable(r.refusal));
}

QTEST_GUILESS_MAIN(TestPlanEditor)
#include "tst_planeditor.moc"
