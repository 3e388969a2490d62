// The flight plan window as a pilot uses it: opened from the leg dialog,
// waypoints added by position, by a choice from the database's list and by
// code, a wind typed into a leg, undo and redo, keys that delete and move,
// and the plan saved and opened again.
#include "TestSupport.h"
#include "WeatherServer.h"
#include "WorldServer.h"
#include "core/Preferences.h"
#include "core/Text.h"
#include "leg/LegDialog.h"
#include "leg/LegDialogIds.h"
#include "navdb/NavDatabase.h"
#include "plan/AircraftEditor.h"
#include "plan/PlanFile.h"
#include "plan/PlanWindow.h"

#include "kneeboard/KneeboardPrint.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <memory>

namespace {

// A cell as the view shows it, by its column's heading.
QString cell(const QAbstractItemView* view, int row, const QString& heading) {
    const QAbstractItemModel* model = view->model();
    for (int c = 0; c < model->columnCount(); ++c) {
        if (model->headerData(c, Qt::Horizontal).toString() == heading)
            return model->index(row, c).data().toString();
    }
    return QStringLiteral("<no column %1>").arg(heading);
}

QPushButton* button(QWidget* window, const QString& text) {
    for (auto* b : window->findChildren<QPushButton*>()) {
        if (b->text().remove('&') == text)
            return b;
    }
    return nullptr;
}

// The window's field of that accessible name, as assistive technology finds it.
template <class T> T* named(QWidget* window, const QString& name) {
    for (auto* child : window->findChildren<T*>()) {
        if (child->accessibleName() == name)
            return child;
    }
    return nullptr;
}

// A plan of waypoints north-east of one another, each leg in a 250/10 wind,
// at TAS 110 kt and 8 gal/h.
plan::FlightPlan windyRoute(int waypoints, double fuelGal) {
    plan::FlightPlan start;
    start.aircraft = {110, 8, fuelGal, 1};
    start.variationDeg = -2;
    for (int i = 0; i < waypoints; ++i) {
        plan::Waypoint w{
            QStringLiteral("P%1").arg(i), QString(), {47.0 + 0.1 * i, 8.0 + 0.2 * i}, {}};
        w.leg.wind = plan::Wind{250, 10};
        start.waypoints.push_back(w);
    }
    return start;
}

void typeInto(QWidget* field, const QString& text) {
    field->setFocus(Qt::TabFocusReason);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString pdfText(const QString& path, int page) {
    return testing::runTool("pdftotext",
                            {"-f", QString::number(page), "-l", QString::number(page), path, "-"});
}

} // namespace

class TestPlanWindow : public QObject {
    Q_OBJECT
private slots:
    void buildEditUndoSave();
    void kneeboardExportAndPicture();
    void leavingAFieldTakesIt();
    void decimalCommaIsAPoint_data();
    void decimalCommaIsAPoint();
    void opensWithinTheScreen();
    void aircraftAndLoadsByKeys();
    void aircraftEditorByKeys();
    void worldDataByTheButtonWithProgressAndCancel();
    void temperatureAloftByKeys();
    void briefingByKeys();
    void fetchWeatherByTheButton();
};

void TestPlanWindow::buildEditUndoSave() {
    testing::DataDir dir;
    {
        auto db = navdb::NavDatabase::open(
            QFile::encodeName(dir.path("navdata.sqlite")).toStdString(), true);
        QVERIFY(db->import(navdb::Table::Airports,
                           "id,ident,type,name,latitude_deg,longitude_deg,elevation_ft,iso_country,"
                           "iso_region,municipality,gps_code,iata_code,local_code\n"
                           "1,LSZB,medium_airport,Bern Belp Airport,46.9133,7.4997,1674,CH,CH-BE,"
                           "Bern,LSZB,BRN,\n"
                           "2,LSGG,large_airport,Geneva Airport,46.2381,6.1089,1411,CH,CH-GE,"
                           "Geneva,LSGG,GVA,\n",
                           {})
                    .ok);
    }
    testing::Messages messages;
    const auto services = testing::services();
    CLegDialog leg(*services);
    leg.createModeless(nullptr);
    leg.m_wndSplash.destroyWindow();
    auto* planButton = leg.itemAs<QPushButton>(ids::leg::PLAN);
    QCOMPARE(QAccessible::queryAccessibleInterface(planButton)->text(QAccessible::Name),
             QString("Flight plan"));
    QTest::mouseClick(planButton, Qt::LeftButton);
    plan::PlanWindow* w = leg.planWindow();
    QVERIFY(w && w->isVisible());
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QVERIFY(w->geometry().width() > 400);

    // A position of the pilot's own, with a name.
    auto* name = named<QLineEdit>(w, "Checkpoint name");
    QVERIFY(name);
    typeInto(name, "Home field");
    typeInto(w->findBox(), "47 27.5N 008 33.0E");
    QTest::keyClick(w->findBox(), Qt::Key_Return);
    QCOMPARE(w->currentPlan().waypoints.size(), std::size_t(1));
    QCOMPARE(w->currentPlan().waypoints[0].name, QString("Home field"));
    // A name chosen from the list.
    typeInto(w->findBox(), "bern");
    QAbstractItemView* list = w->findBox()->completer()->popup();
    QTRY_VERIFY(list->isVisible());
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(w->currentPlan().waypoints.size(), std::size_t(2));
    QCOMPARE(w->currentPlan().waypoints[1].ident, QString("LSZB"));
    // A code typed whole, then Add.
    typeInto(w->findBox(), "LSGG");
    if (list->isVisible())
        QTest::keyClick(list, Qt::Key_Escape);
    QTest::mouseClick(button(w, "Add"), Qt::LeftButton);
    QCOMPARE(w->currentPlan().waypoints.size(), std::size_t(3));
    // What cannot be read is said, and nothing is added.
    messages.list.clear();
    typeInto(w->findBox(), "nowhere at all");
    if (list->isVisible())
        QTest::keyClick(list, Qt::Key_Escape);
    QTest::mouseClick(button(w, "Add"), Qt::LeftButton);
    QCOMPARE(messages.list.size(), 1);
    QVERIFY(messages.list[0].contains("neither a known code nor a position"));
    QVERIFY(messages.list[0].contains("Update world data"));
    QCOMPARE(w->currentPlan().waypoints.size(), std::size_t(3));
    QCOMPARE(w->findBox()->text(), QString("nowhere at all")); // nothing lost

    // No wind yet: the legs say so rather than show a silent 0.
    QTableView* legs = w->legTable();
    QCOMPARE(legs->model()->rowCount(), 2);
    QVERIFY(cell(legs, 0, "Note").startsWith("no wind"));
    QCOMPARE(cell(legs, 0, "TH"), QString());
    // No defaults were saved: the aircraft is typed in.
    for (const auto& [field, value] :
         {std::pair{"TAS", "110"}, {"Fuel flow", "8"}, {"Fuel on board", "40"}}) {
        auto* box = named<QDoubleSpinBox>(w, field);
        QVERIFY(box);
        typeInto(box, value);
    }
    QCOMPARE(w->currentPlan().aircraft.tasKt, 110.0);
    // No magnetic model is installed here: one variation for every leg.
    auto* useModel = w->findChild<QCheckBox*>();
    QVERIFY(useModel->isChecked());
    QTest::mouseClick(useModel, Qt::LeftButton, {}, QPoint(5, useModel->height() / 2));
    QVERIFY(!w->currentPlan().waypoints.empty() && w->currentPlan().variationDeg.has_value());
    // A wind typed into the first leg's row, by keys.
    QTableWidget* waypoints = w->waypointTable();
    waypoints->setFocus();
    waypoints->setCurrentCell(1, 3);
    QTest::keyClick(waypoints, Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor && editor != waypoints);
    QTest::keyClicks(editor, "270/15");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(w->currentPlan().waypoints[1].leg.wind, (plan::Wind{270, 15}));
    QCOMPARE(cell(legs, 0, "Wind"), QString("270/15"));
    QVERIFY(cell(legs, 0, "WCA").endsWith(" L") || cell(legs, 0, "WCA").endsWith(" R"));
    QCOMPARE(cell(legs, 0, "ETE"), core::numberText(w->computed().legs[0].result.eteMin));

    // Undo and redo by keys.
    QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!w->currentPlan().waypoints[1].leg.wind);
    QVERIFY(cell(legs, 0, "Note").startsWith("no wind"));
    QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(cell(legs, 0, "Wind"), QString("270/15"));

    // Move with Ctrl+Down, delete with Delete, undo both.
    waypoints->setFocus();
    waypoints->selectRow(0);
    QTest::keyClick(waypoints, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(w->currentPlan().waypoints[1].name, QString("Home field"));
    QTest::keyClick(waypoints, Qt::Key_Delete);
    QCOMPARE(w->currentPlan().waypoints.size(), std::size_t(2));
    w->undoStack()->undo();
    w->undoStack()->undo();
    QCOMPARE(w->currentPlan().waypoints[0].name, QString("Home field"));
    QCOMPARE(w->currentPlan().waypoints.size(), std::size_t(3));

    // An alternate after the destination: one more leg, marked so.
    auto* alternate = named<QLineEdit>(w, "Alternate");
    QVERIFY(alternate);
    typeInto(alternate, "LSZB");
    QTest::keyClick(alternate, Qt::Key_Return);
    QTRY_VERIFY(w->currentPlan().alternate.has_value());
    QCOMPARE(legs->model()->rowCount(), 3);
    QVERIFY(cell(legs, 2, "From").endsWith("(alternate)"));
    // A deviation card, typed: each leg takes its MD at its MH.
    auto* card = named<QLineEdit>(w, "Deviation card");
    QVERIFY(card);
    typeInto(card, "1 2 3");
    QTest::keyClick(card, Qt::Key_Return);
    QVERIFY(messages.list.last().startsWith("A deviation card is 12 numbers"));
    QVERIFY(!w->currentPlan().deviationCard);
    typeInto(card, "3 3 3 3 3 3 3 3 3 3 3 3");
    QTest::keyClick(card, Qt::Key_Return);
    QTRY_VERIFY(w->currentPlan().deviationCard.has_value());
    QCOMPARE(cell(legs, 0, "MD"), QString("3"));

    // Saved and opened again: the same plan.
    const QString path = dir.home.path() + "/trip.skyplan";
    QVERIFY(w->saveAs(path));
    QVERIFY(w->undoStack()->isClean());
    bool listed = false;
    for (auto* b : w->findChildren<QPushButton*>())
        if (b->menu())
            for (QAction* a : b->menu()->actions())
                listed = listed || a->text() == "trip.skyplan";
    QVERIFY2(listed, "a saved plan is among the recent ones");
    const std::string saved = plan::planJson(w->currentPlan());
    QVERIFY(w->openFile(path));
    QCOMPARE(plan::planJson(w->currentPlan()), saved);
    // A damaged file changes nothing.
    QFile damaged(dir.home.path() + "/damaged.skyplan");
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"format\":");
    damaged.close();
    messages.list.clear();
    QVERIFY(!w->openFile(damaged.fileName()));
    QVERIFY(messages.list.value(0).contains("cannot be opened"));
    QCOMPARE(plan::planJson(w->currentPlan()), saved);
    // The second leg has no wind: no totals and no verdict, only why.
    const QString summary = w->fuelSummary()->text();
    QVERIFY2(summary.contains("Route incomplete: legs 2, 3 could not be computed") &&
                 summary.contains("Cannot be planned: leg 2 (") &&
                 !summary.contains("Enough fuel") && !summary.contains("required"),
             qPrintable(summary));

    // Quitting with unsaved changes asks; Cancel keeps everything open.
    w->deleteSelected();
    QVERIFY(!w->undoStack()->isClean());
    testing::answer(QMessageBox::Cancel);
    testing::click(leg, ids::leg::QUIT);
    QVERIFY(w->isVisible() && leg.isVisible());
    testing::answer(QMessageBox::Discard);
    testing::click(leg, ids::leg::QUIT);
    QVERIFY(!w->isVisible() && !leg.isVisible());
}

void TestPlanWindow::kneeboardExportAndPicture() {
    testing::DataDir dir;
    testing::Messages messages;
    const plan::FlightPlan start = windyRoute(3, 40);
    const auto services = testing::services();
    plan::PlanWindow w(start, *services);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const QString home = dir.home.path();

    // The kneeboard PDF, the suffix added as the filter says; the route
    // picture on its own page unless the pilot chose otherwise.
    testing::saveThrough(&w, "Save PDF…", home + "/kneeboard");
    QVERIFY(contents(home + "/kneeboard.pdf").startsWith("%PDF-"));
    QVERIFY(pdfText(home + "/kneeboard.pdf", 1).contains("Skyvane flight plan"));
    QVERIFY(
        QRegularExpression("(^|\\n)N\\n").match(pdfText(home + "/kneeboard.pdf", 2)).hasMatch());
    // Beside the log instead, and a column more, by the keyboard alone: Tab
    // from Save PDF… through the page box to the picture box, Down; Tab to
    // Columns…, Space; in the list, End, Space, Enter. Each key goes where
    // the focus is, as in a real window.
    auto key = [](Qt::Key k) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, k);
    };
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    button(&w, "Save PDF…")->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), named<QComboBox>(&w, "Route picture"));
    key(Qt::Key_Down);
    QCOMPARE(kneeboard::rememberedPicture(), kneeboard::PicturePlace::BesideLog);
    key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), named<QPushButton>(&w, "Kneeboard columns"));
    bool chosen = false;
    testing::whenModal<QDialog>([&](QDialog& d) {
        // Once the dialog is up, the keys go to the list.
        auto* list = d.findChild<QListWidget*>();
        if (!QTest::qWaitFor([list] { return QApplication::focusWidget() == list; }, 5000)) {
            d.reject();
            QFAIL("the column list does not have the keyboard focus");
        }
        key(Qt::Key_End);
        key(Qt::Key_Space);
        key(Qt::Key_Return);
        chosen = true;
    });
    key(Qt::Key_Space);
    QVERIFY(chosen);
    QVERIFY(kneeboard::rememberedColumns().contains("notes"));
    testing::saveThrough(&w, "Save PDF…", home + "/beside.pdf");
    const QString page = pdfText(home + "/beside.pdf", 1);
    QVERIFY2(page.contains("Notes") && QRegularExpression("(^|\\n)N\\n").match(page).hasMatch(),
             qPrintable(page));
    QVERIFY(pdfText(home + "/beside.pdf", 2).isEmpty());

    // The route for other planners and devices.
    testing::saveThrough(&w, "Export route…", home + "/route.fpl");
    QVERIFY(contents(home + "/route.fpl").contains("<flight-plan"));
    testing::saveThrough(&w, "Export route…", home + "/route");
    QVERIFY(contents(home + "/route.gpx").contains("<gpx"));
    // A route opened over unsaved changes of a plan file asks first, naming
    // the file; Cancel keeps everything.
    QVERIFY(w.saveAs(home + "/three.skyplan"));
    const QByteArray three = contents(home + "/three.skyplan");
    w.waypointTable()->selectRow(0);
    w.deleteSelected();
    QString asked;
    testing::answer(QMessageBox::Cancel, &asked);
    QVERIFY(!w.openFile(home + "/route.gpx"));
    QVERIFY2(asked.contains("three.skyplan"), qPrintable(asked));
    QCOMPARE(w.currentPlan().waypoints.size(), std::size_t(2));
    QCOMPARE(w.filePath(), home + "/three.skyplan");
    // Otherwise the route replaces the waypoints as one change to undo, in a
    // new plan without a file: nothing can save it over the first plan.
    testing::answer(QMessageBox::Discard);
    QVERIFY(w.openFile(home + "/route.gpx"));
    QCOMPARE(w.currentPlan().waypoints.size(), std::size_t(3));
    QCOMPARE(w.currentPlan().waypoints[0].name, QString("P0"));
    QCOMPARE(w.filePath(), QString());
    QVERIFY(w.windowTitle().startsWith("New plan *"));
    w.undoStack()->undo();
    QCOMPARE(w.currentPlan().waypoints.size(), std::size_t(2));
    // A plan file over unsaved changes asks first, saying Save would ask for
    // a file; Cancel keeps them.
    testing::answer(QMessageBox::Cancel, &asked);
    QVERIFY(!w.openFile(home + "/three.skyplan"));
    QVERIFY2(asked.contains("new file") && !asked.contains("three"), qPrintable(asked));
    QCOMPARE(w.currentPlan().waypoints.size(), std::size_t(2));
    testing::answer(QMessageBox::Discard);
    QVERIFY(w.openFile(home + "/three.skyplan"));
    QCOMPARE(w.currentPlan().waypoints.size(), std::size_t(3));
    QCOMPARE(contents(home + "/three.skyplan"), three);
    // The picture as PNG and as SVG.
    testing::saveThrough(&w, "Save picture…", home + "/route.png");
    QCOMPARE(QImage(home + "/route.png").size(), QSize(1200, 900));
    testing::saveThrough(&w, "Save picture…", home + "/route.svg");
    QVERIFY(contents(home + "/route.svg").contains("<svg"));
    QVERIFY(messages.list.isEmpty());

    // Where nothing can be written, said, and nothing claimed.
    testing::saveThrough(&w, "Save PDF…", home + "/none/x.pdf");
    testing::saveThrough(&w, "Export route…", home + "/none/x.gpx");
    testing::saveThrough(&w, "Save picture…", home + "/none/x.png");
    QCOMPARE(messages.list, (QStringList{"Cannot open PDF file!", "Cannot open GPX file!",
                                         "Cannot write picture file!"}));
}

void TestPlanWindow::leavingAFieldTakesIt() {
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        QSKIP("leaving a field by Tab needs a real window's focus: tst_planwindow_x11 runs this "
              "under Xvfb");
    testing::DataDir dir;
    testing::Messages messages;
    const auto services = testing::services();
    plan::PlanWindow w(plan::FlightPlan{}, *services);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // The alternate and the deviation card are taken as the pilot tabs on,
    // without Enter; a card that cannot be read is said on the way out.
    auto* alternate = named<QLineEdit>(&w, "Alternate");
    typeInto(alternate, "47 10N 008 20E");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != alternate);
    QTRY_VERIFY(w.currentPlan().alternate.has_value());
    auto* card = named<QLineEdit>(&w, "Deviation card");
    typeInto(card, "1 2 3");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(messages.list.size(), 1);
    QVERIFY(messages.list[0].startsWith("A deviation card is 12 numbers"));

    // A card of more digits than the field shows: tabbing through the field
    // untouched is no change, no undo step.
    plan::FlightPlan fine;
    fine.deviationCard = plan::DeviationCard{1.0 / 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    plan::PlanWindow other(fine, *services);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    auto* fineCard = named<QLineEdit>(&other, "Deviation card");
    fineCard->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), fineCard);
    QTest::keyClick(fineCard, Qt::Key_Tab);
    QTRY_VERIFY(QApplication::focusWidget() != fineCard);
    QCOMPARE(other.undoStack()->count(), 0);
    // A figure typed with a decimal comma is taken as the pilot tabs on.
    auto* gph = named<QDoubleSpinBox>(&other, "Fuel flow");
    typeInto(gph, "8,5");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_VERIFY(QApplication::focusWidget() != gph);
    QCOMPARE(other.currentPlan().aircraft.fuelFlowGph, 8.5);
    QCOMPARE(gph->text(), QString("8.5 gal/h"));
}

void TestPlanWindow::decimalCommaIsAPoint_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("taken");
    QTest::newRow("fuel flow with a comma") << "Fuel flow"
                                            << "8,5" << 8.5;
    QTest::newRow("fuel flow with a point") << "Fuel flow"
                                            << "8.5" << 8.5;
    QTest::newRow("fuel on board, no thousands") << "Fuel on board"
                                                 << "40,5" << 40.5;
    QTest::newRow("whole knots: the comma is no separator") << "TAS"
                                                            << "1,10" << 1.0;
}

void TestPlanWindow::decimalCommaIsAPoint() {
    // Typed as a pilot with a comma keyboard types it: never 85 for 8,5.
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(double, taken);
    testing::DataDir dir;
    const auto services = testing::services();
    plan::PlanWindow w(plan::FlightPlan{}, *services);
    w.show();
    auto* box = named<QDoubleSpinBox>(&w, field);
    QVERIFY(box);
    typeInto(box, typed);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->value(), taken);
    // Typed positions too: 47,5 8,5 is 47.5 and 8.5, not 47°05'.
    typeInto(w.findBox(), "47,5 8,5");
    QTest::keyClick(w.findBox(), Qt::Key_Return);
    QCOMPARE(w.currentPlan().waypoints.size(), std::size_t(1));
    QCOMPARE(w.currentPlan().waypoints[0].position.latitudeDeg, 47.5);
    QCOMPARE(w.currentPlan().waypoints[0].position.longitudeDeg, 8.5);
}

void TestPlanWindow::opensWithinTheScreen() {
    // Whatever the screen (offscreen: 800 x 800, smaller than a 1920 x 1080
    // laptop at 150 % sees), the window and all it needs fit on it.
    testing::DataDir dir;
    const auto services = testing::services();
    plan::PlanWindow w(plan::FlightPlan{}, *services);
    w.show();
    const QRect screen = w.screen()->availableGeometry();
    QVERIFY2(screen.contains(w.geometry()), qPrintable(QString("%1x%2 at %3,%4 on %5x%6")
                                                           .arg(w.width())
                                                           .arg(w.height())
                                                           .arg(w.x())
                                                           .arg(w.y())
                                                           .arg(screen.width())
                                                           .arg(screen.height())));
    QVERIFY(w.minimumSizeHint().width() <= screen.width());
    QVERIFY(w.minimumSizeHint().height() <= screen.height());
}

void TestPlanWindow::aircraftAndLoadsByKeys() {
    testing::DataDir dir;
    testing::Messages messages;
    QDir(dir.home.path()).mkpath("system/skyvane/aircraft");
    QVERIFY(QFile::copy(SKYVANE_EXAMPLE_AIRCRAFT,
                        dir.home.path() + "/system/skyvane/aircraft/example-trainer.json"));
    const plan::FlightPlan start = windyRoute(2, 60); // more than the example's 53 gal usable
    const auto services = testing::services();
    plan::PlanWindow w(start, *services);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* box = named<QComboBox>(&w, "Aircraft");
    QVERIFY(box && box->accessibleDescription() == "Aircraft");
    QCOMPARE(box->itemText(1), QString("example-trainer"));

    // Chosen by the keyboard, it is refused while the tanks cannot hold the fuel.
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(messages.list.size(), 1);
    QVERIFY2(messages.list[0].contains("the fuel on board, 60 gal, is more than the aircraft's "
                                       "usable 53 gal"),
             qPrintable(messages.list[0]));
    QVERIFY(!w.currentPlan().profile);
    QCOMPARE(box->currentIndex(), 0);

    // With 40 gal it is taken: the loads table lists its stations, and the
    // verdict is the empty aircraft's with the fuel.
    typeInto(named<QDoubleSpinBox>(&w, "Fuel on board"), "40");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(w.currentPlan().aircraft.fuelGal, 40.0);
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_Down);
    QVERIFY(w.currentPlan().profile);
    QCOMPARE(w.currentPlan().stationLoads, std::vector<double>(4, 0));
    // The profile's cruise is flown: the plan's TAS and fuel flow give way,
    // and the legs show their phase.
    QVERIFY(!named<QDoubleSpinBox>(&w, "TAS")->isEnabled());
    QVERIFY(!named<QDoubleSpinBox>(&w, "Fuel flow")->isEnabled());
    QAbstractItemModel* legs = w.legTable()->model();
    int phase = -1;
    for (int c = 0; c < legs->columnCount(); ++c)
        phase = legs->headerData(c, Qt::Horizontal).toString() == "Phase" ? c : phase;
    QVERIFY(phase >= 0);
    QCOMPARE(legs->index(0, phase).data().toString(), QString("cruise"));
    auto* verdict = named<QLabel>(&w, "Weight and balance verdict");
    QCOMPARE(verdict->text(), QString("Within limits."));

    // A load typed into its cell, then too much in the back baggage.
    auto* loads = named<QTableWidget>(&w, "Loads");
    QCOMPARE(loads->rowCount(), 4);
    auto typeLoad = [loads](int row, const QString& weight) {
        loads->setFocus(Qt::TabFocusReason);
        loads->setCurrentCell(row, 1);
        QTest::keyClick(loads, Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, weight);
        QTest::keyClick(editor, Qt::Key_Return);
    };
    typeLoad(0, "340");
    QTRY_COMPARE(w.currentPlan().stationLoads[0], 340.0);
    typeLoad(3, "60");
    QTRY_COMPARE(w.currentPlan().stationLoads[3], 60.0);
    QVERIFY2(verdict->text().contains("Baggage 2 holds 60 lb, 10 lb over its maximum 50 lb"),
             qPrintable(verdict->text()));
    // Undo by the keys takes the last load back.
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.currentPlan().stationLoads[3], 0.0);
    QCOMPARE(verdict->text(), QString("Within limits."));

    // More fuel than the tanks hold, typed, is refused and undone.
    messages.list.clear();
    typeInto(named<QDoubleSpinBox>(&w, "Fuel on board"), "70");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(messages.list.size(), 1);
    QVERIFY(messages.list[0].startsWith("The fuel on board is refused"));
    QCOMPARE(w.currentPlan().aircraft.fuelGal, 40.0);
}

// Update world data against a server on the loopback address: Escape in the
// progress dialog cancels a fetch that never ends and nothing is made; then
// the four files come in and the button says when.
void TestPlanWindow::worldDataByTheButtonWithProgressAndCancel() {
    testing::DataDir dir;
    testing::Messages messages;
    testing::FileServer server;
    core::Preferences().setWorldDataUrl(server.base("slow"));
    const auto services = testing::services();
    plan::PlanWindow w(windyRoute(2, 40), *services);
    w.show();
    QPushButton* button = nullptr;
    for (QPushButton* b : w.findChildren<QPushButton*>())
        button = b->text() == "Update &world data…" ? b : button;
    QVERIFY(button);
    QCOMPARE(button->accessibleDescription(), QString("World data never updated"));
    // Escape once the last file is asked for (the first three come at once,
    // the last never): however slow the machine, the cancel meets a fetch.
    QString shown;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&shown] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<QProgressDialog*>(top);
            if (progress && progress->isVisible() && progress->labelText().contains("4 of 4")) {
                shown = progress->labelText();
                QTest::keyClick(progress, Qt::Key_Escape);
            }
        }
    });
    watch.start(50);
    QTest::mouseClick(button, Qt::LeftButton);
    watch.stop();
    QVERIFY2(shown.startsWith("Fetching airport-frequencies.csv (4 of 4)"), qPrintable(shown));
    QVERIFY2(messages.takeLast().contains("Cancelled while fetching airport-frequencies.csv"),
             qPrintable(messages.list.join('|')));
    QVERIFY(!QFile::exists(dir.home.path() + "/skyvane/navdata.sqlite"));

    core::Preferences().setWorldDataUrl(server.base("good"));
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY2(messages.takeLast().startsWith("The world data is updated"),
             qPrintable(messages.list.join('|')));
    QVERIFY(button->accessibleDescription().startsWith("World data of "));
    // The window's searches see it at once.
    const auto found = services->navData().search("ZUE", 3);
    QCOMPARE(found.size(), std::size_t(2));
}

// A winds-aloft row gets its temperature typed into its cell and committed
// as the editor lets go (Tab); a temperature out of range is refused and the
// row stays as it was.
void TestPlanWindow::temperatureAloftByKeys() {
    testing::DataDir dir;
    testing::Messages messages;
    const auto services = testing::services();
    plan::PlanWindow w(windyRoute(2, 40), *services);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QPushButton* add = nullptr;
    for (QPushButton* b : w.findChildren<QPushButton*>())
        add = b->text() == "Add wind row" ? b : add;
    QVERIFY(add);
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(w.currentPlan().windsAloft.size(), std::size_t(1));
    auto* winds = named<QTableWidget>(&w, "Winds aloft");
    auto typeTemperature = [winds](const QString& text) {
        winds->setFocus(Qt::TabFocusReason);
        winds->setCurrentCell(0, 3);
        QTest::keyClick(winds, Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Tab);
    };
    typeTemperature("-12,5");
    QTRY_COMPARE(w.currentPlan().windsAloft[0].temperatureC, std::optional<double>(-12.5));
    typeTemperature("70");
    QTRY_COMPARE(messages.list.size(), 1);
    QVERIFY(messages.list[0].contains("temperature in °C, -100 to 60"));
    QCOMPARE(w.currentPlan().windsAloft[0].temperatureC, std::optional<double>(-12.5));
    QCOMPARE(winds->item(0, 3)->text(), QString("-12.5"));
}

void TestPlanWindow::aircraftEditorByKeys() {
    testing::DataDir dir;
    testing::Messages messages;
    QDir(dir.home.path()).mkpath("system/skyvane/aircraft");
    QVERIFY(QFile::copy(SKYVANE_EXAMPLE_AIRCRAFT,
                        dir.home.path() + "/system/skyvane/aircraft/example-trainer.json"));
    const auto services = testing::services();
    plan::PlanWindow w(windyRoute(2, 40), *services);
    w.show();
    // The plan window's button opens the editor on the first profile file.
    QPushButton* edit = button(&w, "Edit aircraft profiles…");
    QVERIFY(edit);
    edit->click();
    auto* fromWindow = w.findChild<plan::AircraftEditor*>();
    QVERIFY(fromWindow && fromWindow->isVisible());
    QCOMPARE(named<QLineEdit>(fromWindow, "Registration")->text(), QString("EXAMPLE"));
    fromWindow->close();

    // The editor on its own, driven by keys.
    plan::AircraftEditor editor(dir.path("aircraft"));
    QVERIFY(editor.open(SKYVANE_EXAMPLE_AIRCRAFT));
    editor.show();
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    typeInto(named<QLineEdit>(&editor, "Registration"), "HB-XYZ");
    // The highest cruise row removed by its button.
    QTableWidget* cruise = editor.table("Cruise");
    QCOMPARE(cruise->rowCount(), 3);
    cruise->setFocus(Qt::TabFocusReason);
    cruise->setCurrentCell(2, 0);
    auto* remove = named<QPushButton>(&editor, "Remove row from Cruise");
    remove->setFocus(Qt::TabFocusReason);
    QTest::keyClick(remove, Qt::Key_Space);
    QCOMPARE(cruise->rowCount(), 2);

    // The usable fuel typed: text is not a number, 500 is beyond the limits;
    // each is said with what is wrong, and nothing is saved.
    QTableWidget* figures = named<QTableWidget>(&editor, "Figures");
    // A figure typed into its cell: F2, the text, Return (which the cell
    // commits once the event loop runs, as it does between a pilot's keys).
    auto typeFigure = [figures](const QString& text) {
        figures->setFocus(Qt::TabFocusReason);
        figures->setCurrentCell(0, 1);
        QTest::keyClick(figures, Qt::Key_F2);
        QWidget* cell = QApplication::focusWidget();
        QTest::keyClick(cell, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(cell, text);
        QTest::keyClick(cell, Qt::Key_Return);
        QApplication::processEvents();
    };
    const QString path = dir.path("aircraft/HB-XYZ.json");
    typeFigure("abc");
    QVERIFY(!editor.saveTo(path));
    QVERIFY2(messages.list.last().contains("Figures, row 1: \"abc\" is not a number"),
             qPrintable(messages.list.last()));
    typeFigure("500");
    QVERIFY(!editor.saveTo(path));
    QVERIFY2(messages.list.last().contains("\"usableGal\" is 500, outside 0 to 100"),
             qPrintable(messages.list.last()));
    QVERIFY(!QFile::exists(path));
    typeFigure("50,5");
    QVERIFY(editor.saveTo(path));

    // What was saved reads back as edited, the rest as it was.
    const plan::ProfileRead back = plan::readProfile(contents(path).toStdString());
    QVERIFY2(back.profile, qPrintable(back.error));
    QCOMPARE(back.profile->registration, QString("HB-XYZ"));
    QCOMPARE(back.profile->usableGal, 50.5);
    QCOMPARE(back.profile->cruise.size(), std::size_t(2));
    QCOMPARE(back.profile->climbTable.size(), std::size_t(7));
    QCOMPARE(back.profile->envelopes.front().points.size(), std::size_t(5));
    // Saved from the plan window's editor, it is offered in the box at once.
    fromWindow->setProfile(*back.profile);
    QVERIFY(fromWindow->saveTo(dir.path("aircraft/HB-ABC.json")));
    QVERIFY(named<QComboBox>(&w, "Aircraft")->findText("HB-ABC") >= 0);
}

QTEST_MAIN(TestPlanWindow)
#include "tst_planwindow.moc"

void TestPlanWindow::briefingByKeys() {
    testing::DataDir dir;
    testing::Messages messages;
    const auto services = testing::services();
    plan::FlightPlan start = windyRoute(2, 40);
    start.waypoints[0].name = "LSZH";
    start.waypoints[1].name = "LSGG";
    start.waypoints[0].elevationFt = 1416;
    plan::PlanWindow w(start, *services);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* metar = named<QPlainTextEdit>(&w, "Departure METAR");
    auto* read = named<QLabel>(&w, "Briefing read");
    QVERIFY(metar && read);
    metar->setFocus(Qt::TabFocusReason);
    const QString report = "METAR LSZH 081150Z 24012KT 9999 FEW040 28/05 Q1008";
    QTest::keyClicks(metar, report);
    // Tab leaves the box for the next field, never types a tab into it.
    QTest::keyClick(metar, Qt::Key_Tab);
    QTRY_VERIFY(!metar->hasFocus());
    QCOMPARE(metar->toPlainText(), report);
    QCOMPARE(w.currentPlan().weather[0].metar, report);
    QVERIFY2(read->text().contains("wind 240° 12 kt") && read->text().contains("density altitude"),
             qPrintable(read->text()));
    // The zone by keys: the times read in UTC.
    auto* zone = named<QComboBox>(&w, "Times in");
    QVERIFY(zone);
    zone->setFocus(Qt::TabFocusReason);
    QTest::keyClick(zone, Qt::Key_Down);
    QTRY_COMPARE(w.currentPlan().zone, plan::PlanZone::Utc);
    QVERIFY(read->text().contains(" UTC"));
    // The legs' times name their zone; the figures stay the leg dialog's.
    QVERIFY(!cell(w.legTable(), 0, "ETA UTC").startsWith("<no column"));
    QVERIFY(
        cell(w.legTable(), 0, "ETA UTC").contains(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$")));
    QVERIFY(messages.list.isEmpty());
}

// Fetch weather against a server on this machine: the progress, the
// station chosen by keys, the reports on their airports and the bulletin's
// winds in the table; a 404 said, the plan unchanged. A surface wind typed
// where there is no report.
void TestPlanWindow::fetchWeatherByTheButton() {
    testing::DataDir dir;
    testing::Messages messages;
    testing::WeatherServer server;
    const auto services = testing::services();
    plan::FlightPlan start = windyRoute(2, 40);
    start.waypoints[0].ident = "LSZH";
    start.waypoints[1].ident = "LSGG";
    for (const char* folder : {"good", "missing"}) {
        services->preferences().setWeatherUrl(server.base(folder).toString());
        plan::PlanWindow w(start, *services);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QPushButton* fetch = button(&w, "Fetch weather…");
        QVERIFY(fetch);
        // The station's list comes up when the bulletin is in: Enter takes
        // the first (the nearest).
        QTimer pick;
        connect(&pick, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget()))
                QTest::keyClick(dialog, Qt::Key_Return);
        });
        pick.start(50);
        fetch->click();
        if (QLatin1String(folder) == QLatin1String("good")) {
            QTRY_VERIFY(w.currentPlan().weather[1].metar.startsWith("METAR LSGG"));
            QVERIFY(w.currentPlan().weather[0].taf.startsWith("TAF LSZH"));
            QTRY_COMPARE(w.currentPlan().windsAloft.size(), std::size_t(3));
            QCOMPARE(w.currentPlan().windsAloft[0].wind, (plan::Wind{240, 15}));
            QVERIFY(messages.list.isEmpty());
            // A surface wind typed for the destination, and one refused.
            pick.stop();
            w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            auto* wind = named<QLineEdit>(&w, "Destination surface wind");
            QVERIFY(wind);
            typeInto(wind, "250/12");
            QTest::keyClick(wind, Qt::Key_Tab);
            QTRY_COMPARE(w.currentPlan().weather[1].surfaceWind,
                         std::optional(plan::Wind{250, 12}));
            typeInto(wind, "250");
            QTest::keyClick(wind, Qt::Key_Tab);
            QTRY_COMPARE(messages.list.size(), 1);
            QVERIFY(messages.list[0].contains("DDD/KT"));
            QCOMPARE(w.currentPlan().weather[1].surfaceWind, std::optional(plan::Wind{250, 12}));
        } else {
            QTRY_COMPARE(messages.list.size(), 2);
            QVERIFY2(messages.list[1].contains("TAFs: the server answered 404"),
                     qPrintable(messages.list[1]));
            QVERIFY(w.currentPlan().weather[0].metar.isEmpty());
            QVERIFY(w.currentPlan().windsAloft.empty());
        }
    }
}
