// The nav log window as a pilot uses it: legs run in the leg dialog appear at
// once, Reset keeps the finished trip on show, earlier trips open from the
// list, low fuel is marked, and the log leaves as CSV and as a PDF that a
// real reader takes apart.
#include "TestSupport.h"
#include "kneeboard/KneeboardPrint.h"
#include "leg/LegDialog.h"
#include "leg/LegDialogIds.h"
#include "navlog/LegColumns.h"
#include "navlog/NavLogWindow.h"
#include "store/Globals.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>

#include <memory>

using namespace ids::leg;
using testing::text;

namespace {

struct Fixture {
    Fixture() { start(); }
    void start() {
        dlg.reset();
        services = testing::services();
        dlg = std::make_unique<CLegDialog>(*services);
        dlg->createModeless(nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        dlg->m_wndSplash.destroyWindow();
        messages.list.clear();
    }
    void type(int id, const QString& typed) {
        QWidget* field = dlg->item(id);
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, typed);
    }
    void press(int id) { QTest::mouseClick(dlg->itemAs<QPushButton>(id), Qt::LeftButton); }
    // A leg of the worked example's aircraft.
    void leg(const char* tc, const char* dist, const char* fuel = nullptr) {
        type(TC, tc);
        type(WD, "45");
        type(WV, "20");
        type(TAS, "110");
        type(VAR, "13");
        type(MD, "2");
        type(GPH, "8");
        if (fuel)
            type(FUEL, fuel);
        type(DIST, dist);
        press(RUN);
    }
    navlog::NavLogWindow* window() const { return dlg->findChild<navlog::NavLogWindow*>(); }
    QString cell(int row, const QString& heading) const {
        const int column = navlog::NavLogWindow::columnHeadings().indexOf(heading);
        return window()->table()->model()->index(row, column).data().toString();
    }
    int legRows() const { return window()->table()->model()->rowCount() - 1; }

    testing::DataDir dir;
    testing::Messages messages;
    std::unique_ptr<store::Services> services;
    std::unique_ptr<CLegDialog> dlg;
};

} // namespace

class TestNavLogWindow : public QObject {
    Q_OBJECT
private slots:
    void legsAppearAsTheyAreRun();
    void refusedRunAddsNoRow();
    void resetKeepsTheFinishedTripOnShow();
    void lowFuelIsMarkedAndTheReserveKept();
    void courseFromTheTcButtonNamesTheAirports();
    void tripsSurviveARestart();
    void csvThroughTheSaveButton();
    void pdfHasEveryLegAndTheTotalsOnTheLastPage();
    void failedLogWriteIsSaid();
};

void TestNavLogWindow::legsAppearAsTheyAreRun() {
    Fixture f;
    f.type(FUEL, "40");
    f.leg("90", "50");
    f.press(NEXT);
    f.leg("135", "42.5");
    f.press(LOG);
    QVERIFY(f.window() && f.window()->isVisible());
    QCOMPARE(f.legRows(), 2);
    // Every figure as the leg dialog shows it now (the second leg).
    const QList<std::pair<QString, int>> shown = {
        {"TC", TC}, {"TAS", TAS},   {"WCA", WCA}, {"TH", TH},        {"MH", MH},      {"CH", CH},
        {"GS", GS}, {"Dist", DIST}, {"ETE", ETE}, {"F.used", FUSED}, {"F.left", FUEL}};
    for (const auto& [heading, id] : shown)
        QCOMPARE(f.cell(1, heading), text(*f.dlg, id));
    QCOMPARE(f.cell(1, "ETA"), testing::picker(*f.dlg, ETA)->text());
    QCOMPARE(f.cell(0, "ETE"), QString("31.6"));
    QCOMPARE(f.cell(0, "WD/WV"), QString("45/20"));
    QCOMPARE(f.cell(2, "#"), QString("Total"));
    QCOMPARE(f.cell(2, "Dist"), text(*f.dlg, TOTDIST));
    QCOMPARE(f.cell(2, "F.used"), text(*f.dlg, BURNT));

    // With the window open, the next leg shows at once.
    f.press(NEXT);
    f.leg("210", "61");
    QCOMPARE(f.legRows(), 3);
    QCOMPARE(f.cell(2, "Dist"), QString("61"));
    QCOMPARE(f.cell(3, "Dist"), QString("153.5"));
}

void TestNavLogWindow::refusedRunAddsNoRow() {
    Fixture f;
    f.leg("90", "50", "40");
    f.press(NEXT);
    f.type(WV, "500"); // no heading holds against that
    f.press(RUN);
    QCOMPARE(f.messages.list.last(), QString("Wind too strong for this TAS!"));
    f.type(DIST, "abc"); // nor against a field that cannot be read
    f.press(RUN);
    f.press(LOG);
    QCOMPARE(f.legRows(), 1);
}

void TestNavLogWindow::resetKeepsTheFinishedTripOnShow() {
    Fixture f;
    f.press(LOG);
    QCOMPARE(f.window()->summary()->text(), QString("No legs computed yet."));
    f.leg("90", "50", "40");
    f.press(RESET);
    QCOMPARE(f.legRows(), 1); // the trip just finished stays on show
    f.leg("135", "20", "40");
    f.press(NEXT);
    f.leg("140", "30");
    QCOMPARE(f.window()->tripList()->count(), 2);
    QCOMPARE(f.legRows(), 2);
    QCOMPARE(f.cell(0, "Dist"), QString("20"));
    // The earlier trip, picked from the list with the keyboard.
    QComboBox* trips = f.window()->tripList();
    trips->setFocus(Qt::TabFocusReason);
    QTest::keyClick(trips, Qt::Key_Down);
    QCOMPARE(f.legRows(), 1);
    QCOMPARE(f.cell(0, "Dist"), QString("50"));
}

void TestNavLogWindow::lowFuelIsMarkedAndTheReserveKept() {
    Fixture f;
    f.press(LOG);
    QSpinBox* reserve = f.window()->reserveBox();
    reserve->setFocus(Qt::TabFocusReason);
    QTest::keyClick(reserve, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(reserve, "45");
    QTest::keyClick(reserve, Qt::Key_Tab);
    QCOMPARE(f.window()->reserveMinutes(), 45);
    // 45 min at 8 gal/h is 6 gal: 9.79 left is above, 5.58 below.
    f.leg("90", "50", "14");
    f.press(NEXT);
    f.leg("90", "50");
    QCOMPARE(f.cell(0, "Reserve"), QString());
    QCOMPARE(f.cell(1, "Reserve"), QString("below reserve"));
    const int column = navlog::NavLogWindow::columnHeadings().indexOf("F.left");
    const QAbstractItemModel* legs = f.window()->table()->model();
    QVERIFY(legs->index(1, column).data(Qt::BackgroundRole) !=
            legs->index(0, column).data(Qt::BackgroundRole));
    QVERIFY(f.window()->summary()->text().contains("below the 45 min reserve"));
    // The reserve is the pilot's setting: a new window starts with it.
    navlog::NavLogWindow another(*f.services);
    QCOMPARE(another.reserveMinutes(), 45);
    reserve->setValue(30);
}

void TestNavLogWindow::courseFromTheTcButtonNamesTheAirports() {
    Fixture f;
    f.dir.write("airports.fly", "ABC:40.5;-74.25,KLA:51.5;-0.5,");
    f.dir.write("config.fly", "home_airport:ABC\r\nhome_latitude:40.5\r\nhome_longitude:-74.25"
                              "\r\nTAS:110\r\nVariation:13\r\nMagnetic Deviation:2\r\n"
                              "Galons/Hour:8\r\nTotal Fuel:40\r\n");
    f.start();
    testing::whenModal<platform::Dialog>([](platform::Dialog& d) {
        auto* arrival = d.itemAs<QComboBox>(1036);
        arrival->setFocus(Qt::TabFocusReason);
        QTest::keyClick(arrival, Qt::Key_Down);
        QTest::keyClick(arrival, Qt::Key_Down); // ABC, then KLA
        QTest::mouseClick(d.itemAs<QPushButton>(1), Qt::LeftButton);
    });
    f.press(TCBTN);
    f.type(TAS, "110");
    f.type(FUEL, "40");
    f.type(GPH, "8");
    f.press(RUN);
    f.press(NEXT);
    f.type(TC, "10"); // typed: no airports
    f.press(RUN);
    f.press(LOG);
    QCOMPARE(f.cell(0, "From"), QString("ABC"));
    QCOMPARE(f.cell(0, "To"), QString("KLA"));
    QCOMPARE(f.cell(1, "From"), QString());
    QVERIFY(f.window()->tripList()->currentText().contains("ABC - -"));
}

void TestNavLogWindow::tripsSurviveARestart() {
    Fixture f;
    f.leg("90", "50", "40");
    f.press(NEXT);
    f.leg("135", "42.5");
    f.dlg.reset(); // Quit right after the Run: the pending write still happens
    f.start();
    f.press(LOG);
    QCOMPARE(f.legRows(), 2);
    QCOMPARE(f.cell(1, "Dist"), QString("42.5"));
}

void TestNavLogWindow::csvThroughTheSaveButton() {
    Fixture f;
    f.leg("90", "50", "40");
    f.press(LOG);
    const QString path = f.dir.home.path() + "/trip.csv";
    testing::saveThrough(f.window(), QStringLiteral("Save &CSV…"), path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             QByteArray::fromStdString(navlog::tripCsv(*f.window()->shownTrip(), 30)));
    QVERIFY(f.messages.list.isEmpty());

    // Into a folder that is not there: said, not silently dropped.
    testing::saveThrough(f.window(), QStringLiteral("Save &CSV…"),
                         f.dir.home.path() + "/none/x.csv");
    QCOMPARE(f.messages.list.value(0), QString("Cannot open CSV file!"));
}

void TestNavLogWindow::pdfHasEveryLegAndTheTotalsOnTheLastPage() {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    QVERIFY2(!pdftotext.isEmpty(), "pdftotext (poppler-utils) is not installed");
    Fixture f;
    f.leg("90", "50", "40");
    f.press(NEXT);
    f.leg("135", "42.5");
    f.press(LOG);
    const QString path = f.dir.home.path() + "/trip.pdf";
    testing::saveThrough(f.window(), QStringLiteral("Save P&DF…"), path);
    const QString text = testing::runTool(pdftotext, {"-layout", path, "-"});
    QVERIFY2(text.contains("Skyvane nav log"), qPrintable(text));
    QVERIFY(text.contains("ATA") && text.contains("F.act"));
    // The first leg's ETE, 31.6 in the leg dialog, in whole minutes on paper.
    QVERIFY(text.contains(QRegularExpression("\\b32\\b")));
    QVERIFY(!text.contains("31.6"));
    QVERIFY(text.contains("92.5")); // the total distance
    QVERIFY(text.contains("Page 1 of 1"));
    QVERIFY(testing::runTool(QStandardPaths::findExecutable("pdfinfo"), {path})
                .contains(QRegularExpression("Pages:\\s+1\\n")));

    // 41 legs run over onto more pages: none is lost between them, and the
    // totals close the last.
    navlog::Trip trip = *f.window()->shownTrip();
    while (trip.legs.size() < 41)
        trip.legs.push_back(trip.legs.front());
    QFile many(f.dir.home.path() + "/many.pdf");
    QVERIFY(many.open(QIODevice::WriteOnly));
    many.write(kneeboard::kneeboardPdf(kneeboard::tripSheet(trip, 30, nullptr),
                                       *kneeboard::pageLayout("a5"), {}));
    many.close();
    const QRegularExpression pagesLine("Pages:\\s+(\\d+)\\n");
    const int pages =
        pagesLine
            .match(testing::runTool(QStandardPaths::findExecutable("pdfinfo"), {many.fileName()}))
            .captured(1)
            .toInt();
    QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
    // Each leg's ETE, whole minutes on paper.
    QCOMPARE(testing::runTool(pdftotext, {"-layout", many.fileName(), "-"})
                 .count(QRegularExpression("(?<![\\d:.])32(?![\\d:.])")),
             40);
    const QString last =
        testing::runTool(pdftotext, {"-f", QString::number(pages), "-l", QString::number(pages),
                                     "-layout", many.fileName(), "-"});
    QVERIFY(last.contains("Total") && last.contains(QString("Page %1 of %1").arg(pages)));
}

void TestNavLogWindow::failedLogWriteIsSaid() {
    Fixture f;
    f.leg("90", "50", "40");
    QTRY_VERIFY(f.dir.exists("navlog.json"));
    QVERIFY(QFile::remove(f.dir.path("navlog.json")));
    QVERIFY(QDir().mkpath(f.dir.path("navlog.json"))); // a folder where the file goes
    f.messages.list.clear();
    f.press(NEXT);
    f.leg("135", "42.5");
    QTRY_COMPARE(f.messages.list, QStringList{"Cannot open nav log file!"});
}

QTEST_MAIN(TestNavLogWindow)
#include "tst_navlogwindow.moc"
