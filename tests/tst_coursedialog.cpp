// The course dialog, opened from the leg dialog's TC button: lists,
// preselection, picks, OK with its refusals, Add, and what TC hands back.
#include "TestSupport.h"
#include "course/CourseDialog.h"
#include "course/CourseDialogIds.h"
#include "leg/LegDialog.h"
#include "leg/LegDialogIds.h"
#include "navdb/NavDatabase.h"
#include "store/Globals.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QTest>

#include <memory>

using testing::setText;
using testing::text;

namespace {

using namespace ids::course;
namespace legid = ids::leg;

const QByteArray kDefaults = "home_airport:ABC\r\nhome_latitude:1.000000\r\n"
                             "home_longitude:2.000000\r\nTAS:110.000000\r\n"
                             "Variation:0.000000\r\nMagnetic Deviation:0.000000\r\n"
                             "Galons/Hour:8.000000\r\nTotal Fuel:40.000000\r\n";
const QByteArray kAirports = "KLA:51.5;-0.5,\r\nABC:40.5;-74.25,\r\nxyz:10;20,\r\nNOR:0;0,\r\n";

QComboBox* combo(const platform::Dialog& d, int id) {
    return d.itemAs<QComboBox>(id);
}

QStringList entries(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

void pick(const platform::Dialog& d, int id, const QString& entry) {
    QComboBox* box = combo(d, id);
    const int i = box->findText(entry);
    QVERIFY2(i >= 0, qPrintable(entry));
    box->setCurrentIndex(i);
    emit box->activated(i);
}

void typeArrival(const platform::Dialog& d, const QString& typed) {
    QComboBox* box = combo(d, ARRIVAL);
    box->lineEdit()->clear();
    // Key presses as a keyboard sends them, letters beyond ASCII included.
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, box->lineEdit(), Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
}

struct Fixture {
    explicit Fixture(const QByteArray& airports = kAirports, bool dataDir = true) : dir(dataDir) {
        g_mapAirports.clear();
        if (dataDir) {
            dir.write("config.fly", kDefaults);
            if (!airports.isNull())
                dir.write("airports.fly", airports);
        }
        restart();
    }
    // The program starts (again) on the files as they are now.
    void restart() {
        leg.reset();
        services = testing::services();
        leg = std::make_unique<CLegDialog>(*services);
        leg->createModeless(nullptr);
        messages.list.clear();
    }
    // Presses TC and runs `inside` on the course dialog; Quit follows unless
    // the dialog has been closed.
    void trueCourse(std::function<void(CCourseDialog&)> inside) {
        testing::whenModal<CCourseDialog>([inside](CCourseDialog& d) {
            inside(d);
            if (d.isVisible())
                testing::click(d, QUIT);
        });
        testing::click(*leg, legid::TCBTN);
    }
    testing::DataDir dir;
    testing::Messages messages;
    std::unique_ptr<store::Services> services;
    std::unique_ptr<CLegDialog> leg;
};

} // namespace

class TestCourseDialog : public QObject {
    Q_OBJECT
private slots:
    void opensWithListsAndHomeAirport();
    void acceptedCourseFillsTheLeg();
    void routeMemoryOffersLastArrival();
    void zeroDistanceRefused();
    void rangeRefusalKeepsDialogOpen();
    void pickFillsOnlyThePickedAirport();
    void typingIsNotAPick_data();
    void typingIsNotAPick();
    void listChoiceIsAPick();
    void lowerCaseIdentifierIsFound();
    void identifierBeyondAsciiIsFound();
    void installedAirportsUntilTheFirstAdd();
    void userFolderIsMadeOnFirstAdd();
    void variationIsOfferedNotImposed();
    void variationNotShownNearThePole();
    void variationWithoutModel();
    void noAirportFile();
    void courseRounding_data();
    void courseRounding();
    void addRefusals_data();
    void addRefusals();
    void addStoresAndCloses();
    void addWithoutDataDirectoryStoresNothing();
    void accessibleNames();
    void findByNameAndChoose();
};

void TestCourseDialog::opensWithListsAndHomeAirport() {
    Fixture f;
    f.trueCourse([](CCourseDialog& d) {
        QCOMPARE(d.windowTitle(), QString("Get True Course"));
        QCOMPARE(entries(combo(d, DEPARTURE)), (QStringList{"ABC", "KLA", "NOR", "xyz"}));
        QCOMPARE(entries(combo(d, ARRIVAL)), (QStringList{"ABC", "KLA", "NOR", "XYZ"}));
        QCOMPARE(combo(d, DEPARTURE)->currentText(), QString("ABC"));
        QCOMPARE(text(d, DEP_LAT), QString("40.5")); // listed: its stored position
        QCOMPARE(text(d, DEP_LON), QString("-74.25"));
        QCOMPARE(text(d, ARR_LAT), QString("0"));
        QCOMPARE(text(d, ARR_LON), QString("0"));
        QCOMPARE(combo(d, ARRIVAL)->currentIndex(), -1);
    });
    QVERIFY(f.messages.list.isEmpty());
}

void TestCourseDialog::acceptedCourseFillsTheLeg() {
    Fixture f;
    f.trueCourse([](CCourseDialog& d) {
        pick(d, ARRIVAL, "KLA");
        QCOMPARE(text(d, ARR_LAT), QString("51.5"));
        QCOMPARE(text(d, ARR_LON), QString("-0.5"));
        testing::click(d, OK);
        QVERIFY(!d.isVisible());
    });
    QCOMPARE(f.messages.list,
             QStringList{"True Course is: 51.12 degrees\nDistance is: 3009.25 nautical miles"});
    QCOMPARE(text(*f.leg, legid::TC), QString("51"));
    QCOMPARE(text(*f.leg, legid::DIST), QString("3009.25"));
    QVERIFY(platform::Dialog::hasDefaultMark(f.leg->itemAs<QPushButton>(legid::RUN)));
    QVERIFY(!platform::Dialog::hasDefaultMark(f.leg->itemAs<QPushButton>(legid::TCBTN)));
    QCOMPARE(f.leg->focusWidget(), f.leg->item(legid::RUN));
    QCOMPARE(f.leg->legs().home().airport, QString("ABC"));
    QCOMPARE(f.leg->legs().arrival().airport, QString("KLA"));
    QCOMPARE(f.leg->legs().arrival().position.latitudeDeg, 51.5);
}

void TestCourseDialog::routeMemoryOffersLastArrival() {
    Fixture f;
    f.trueCourse([](CCourseDialog& d) {
        pick(d, ARRIVAL, "KLA");
        testing::click(d, OK);
    });
    f.messages.list.clear();
    f.trueCourse([](CCourseDialog& d) {
        QCOMPARE(combo(d, DEPARTURE)->currentText(), QString("KLA"));
        QCOMPARE(combo(d, ARRIVAL)->currentText(), QString("KLA"));
        QCOMPARE(text(d, DEP_LAT), QString("51.5"));
    });
    // A Reset keeps the arrival route.
    testing::click(*f.leg, 1023);
    f.trueCourse(
        [](CCourseDialog& d) { QCOMPARE(combo(d, DEPARTURE)->currentText(), QString("KLA")); });
}

void TestCourseDialog::zeroDistanceRefused() {
    Fixture f;
    f.trueCourse([&f](CCourseDialog& d) {
        setText(d, ARR_LAT, "40.5");
        setText(d, ARR_LON, "-74.25");
        testing::click(d, OK);
        QCOMPARE(f.messages.list, QStringList{"Distance is zero, enter correct data!"});
        QVERIFY(d.isVisible());
        QCOMPARE(text(d, ARR_LAT), QString("40.5"));
    });
    QCOMPARE(text(*f.leg, legid::TC), QString("0"));
}

void TestCourseDialog::rangeRefusalKeepsDialogOpen() {
    Fixture f;
    f.trueCourse([&f](CCourseDialog& d) {
        setText(d, DEP_LAT, "400");
        testing::click(d, OK);
        const QString range = "Please enter a number between -360 and 360.";
        QCOMPARE(f.messages.list, QStringList{range});
        QVERIFY(d.isVisible());
        QCOMPARE(d.m_dResultDistance, 0.0); // nothing computed from a refused field
        QCOMPARE(text(d, DEP_LAT), QString("400"));
        f.messages.list.clear();
        // Within the field's limits but no place on the earth: refused too,
        // the arrival latitude (which has no limits of its own) as well.
        const QString latitude = "A latitude lies between -90 and 90 degrees!";
        for (const auto& [dep, arr] :
             {std::pair{"360", "40"}, {"-90.5", "40"}, {"40", "91"}, {"40", "1000"}}) {
            setText(d, DEP_LAT, dep);
            setText(d, ARR_LAT, arr);
            testing::click(d, OK);
            QCOMPARE(f.messages.list, QStringList{latitude});
            QVERIFY(d.isVisible());
            QCOMPARE(d.focusWidget(), d.item(QString(dep) == "40" ? ARR_LAT : DEP_LAT));
            f.messages.list.clear();
        }
        setText(d, DEP_LAT, "-90");
        setText(d, ARR_LAT, "90");
        testing::click(d, OK);
        QVERIFY(f.messages.list.isEmpty());
    });
    QCOMPARE(f.messages.list.size(), 1);
}

void typeInto(QWidget* field, const QString& typed) {
    field->setFocus(Qt::TabFocusReason);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, typed);
}

void TestCourseDialog::pickFillsOnlyThePickedAirport() {
    Fixture f;
    f.trueCourse([](CCourseDialog& d) {
        typeInto(d.item(ARR_LAT), "5");
        typeInto(d.item(ARR_LON), "6");
        // "N" in the departure list picks NOR, as a pilot's key press does.
        QTest::keyClick(d.item(DEPARTURE), Qt::Key_N);
        QCOMPARE(combo(d, DEPARTURE)->currentText(), QString("NOR"));
        QCOMPARE(text(d, DEP_LAT), QString("0"));
        QCOMPARE(text(d, ARR_LAT), QString("5")); // typed, and still there
        QCOMPARE(text(d, ARR_LON), QString("6"));

        typeInto(d.item(DEP_LAT), "7");
        // Down in the arrival box moves to the next entry: ABC, then KLA.
        combo(d, ARRIVAL)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(d.item(ARRIVAL), Qt::Key_Down);
        QTest::keyClick(d.item(ARRIVAL), Qt::Key_Down);
        QCOMPARE(combo(d, ARRIVAL)->currentText(), QString("KLA"));
        QCOMPARE(text(d, ARR_LAT), QString("51.5"));
        QCOMPARE(text(d, DEP_LAT), QString("7"));
    });
}

void TestCourseDialog::typingIsNotAPick_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Tab") << int(Qt::Key_Tab);
    QTest::newRow("Enter") << int(Qt::Key_Return);
}

void TestCourseDialog::typingIsNotAPick() {
    QFETCH(int, key);
    Fixture f;
    f.trueCourse([&f, key](CCourseDialog& d) {
        // Leaving the box is what makes Qt look the typed text up: the
        // dialog must be the active window for a real focus change.
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        typeInto(d.item(DEP_LAT), "0");
        typeInto(d.item(DEP_LON), "0");
        typeInto(d.item(ARR_LAT), "10");
        typeInto(d.item(ARR_LON), "20");
        typeInto(combo(d, ARRIVAL)->lineEdit(), "kla");
        QTest::keyClick(combo(d, ARRIVAL)->lineEdit(), Qt::Key(key));
        QCOMPARE(text(d, ARR_LAT), QString("10"));
        QCOMPARE(text(d, ARR_LON), QString("20"));
        QCOMPARE(combo(d, ARRIVAL)->currentIndex(), -1);
        if (d.isVisible()) {
            f.messages.list.clear();
            testing::click(d, OK);
        }
        QVERIFY(f.messages.list.isEmpty());
    });
    // The course to the typed position, not to KLA (359.60 / 3090.10).
    QCOMPARE(f.messages.list.value(0),
             QString("True Course is: 62.73 degrees\nDistance is: 1336.12 nautical miles"));
}

void TestCourseDialog::listChoiceIsAPick() {
    // The open list, driven by keys as a pilot does: Alt+Down opens it on the
    // first entry (ABC), Down moves to KLA, Return chooses.
    Fixture f;
    f.trueCourse([](CCourseDialog& d) {
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        typeInto(d.item(ARR_LAT), "10");
        QComboBox* box = combo(d, ARRIVAL);
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClick(box->lineEdit(), Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(box->view()->isVisible());
        QTest::keyClick(box->view(), Qt::Key_Down);
        QTest::keyClick(box->view(), Qt::Key_Return);
        QTRY_VERIFY(!box->view()->isVisible());
        QCOMPARE(box->currentText(), QString("KLA"));
        QCOMPARE(text(d, ARR_LAT), QString("51.5"));
        QCOMPARE(text(d, ARR_LON), QString("-0.5"));
    });
}

void TestCourseDialog::lowerCaseIdentifierIsFound() {
    Fixture f;
    f.trueCourse([](CCourseDialog& d) {
        pick(d, ARRIVAL, "XYZ");
        QCOMPARE(text(d, ARR_LAT), QString("10"));
        QCOMPARE(text(d, ARR_LON), QString("20"));
    });
}

void TestCourseDialog::identifierBeyondAsciiIsFound() {
    // "äbc" in the file is listed as "ÄBC"; picking it must find its record.
    Fixture f(kAirports + QByteArray("\xe4") + "bc:33.5;44.5,\r\n");
    f.trueCourse([](CCourseDialog& d) {
        QComboBox* box = combo(d, ARRIVAL);
        QCOMPARE(box->itemText(box->count() - 1), QString::fromUtf8("\xc3\x84"
                                                                    "BC"));
        box->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < box->count(); ++i)
            QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(text(d, ARR_LAT), QString("33.5"));
        QCOMPARE(text(d, ARR_LON), QString("44.5"));
    });
}

void TestCourseDialog::installedAirportsUntilTheFirstAdd() {
    // No file of the user's: the installed one is listed, and the first Add
    // writes the user's own file, installed records first. The installed copy
    // is never written.
    Fixture f{QByteArray()};
    const QByteArray installed = "KLA:51.5;-0.5,\r\nNOR:0;0,\r\n";
    QFile system(f.dir.installed("airports.fly"));
    QVERIFY(system.open(QIODevice::WriteOnly));
    system.write(installed);
    system.close();
    f.restart(); // now with the installed file
    f.messages.list.clear();
    f.trueCourse([&f](CCourseDialog& d) {
        QCOMPARE(entries(combo(d, ARRIVAL)), (QStringList{"KLA", "NOR"}));
        setText(d, ARR_LAT, "47.25");
        setText(d, ARR_LON, "8.5");
        typeArrival(d, "new");
        testing::click(d, ADD);
        QCOMPARE(f.messages.list, QStringList{"Airport NEW was added to database!"});
    });
    QCOMPARE(f.dir.read("airports.fly"), installed + "NEW:47.250000;8.500000,");
    QFile again(f.dir.installed("airports.fly"));
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), installed);
}

void TestCourseDialog::userFolderIsMadeOnFirstAdd() {
    Fixture f{QByteArray()};
    QVERIFY(QDir(f.dir.path("")).removeRecursively());
    f.trueCourse([&f](CCourseDialog& d) {
        typeArrival(d, "new");
        testing::click(d, ADD);
        QCOMPARE(f.messages.list, QStringList{"Airport NEW was added to database!"});
    });
    QCOMPARE(f.dir.read("airports.fly"), QByteArray("NEW:0.000000;0.000000,"));
    QVERIFY(!f.dir.exists("airports.fly.lock"));
}

void installMagneticModel(const testing::DataDir& dir) {
    for (const char* file : {"wmm2025.wmm", "wmm2025.wmm.cof"}) {
        const QString target = dir.installed(QStringLiteral("magnetic/") + file);
        QDir().mkpath(QFileInfo(target).absolutePath());
        QVERIFY(QFile::copy(QStringLiteral(SKYVANE_MAGNETIC_DIR "/") + file, target));
    }
}

void TestCourseDialog::variationIsOfferedNotImposed() {
    Fixture f;
    installMagneticModel(f.dir);
    f.restart(); // the model is read at start
    const QString legVar = text(*f.leg, legid::VAR);
    // Offered: about 12.3 W between the home airport and a typed arrival.
    f.trueCourse([](CCourseDialog& d) {
        auto* label = d.itemAs<QLabel>(MAG_VAR);
        auto* use = d.itemAs<QCheckBox>(USE_VAR);
        d.item(ARR_LAT)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(d.item(ARR_LAT), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(d.item(ARR_LAT), "40.7");
        d.item(ARR_LON)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(d.item(ARR_LON), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(d.item(ARR_LON), "-73.8");
        QCOMPARE(label->text(), QString::fromUtf8("Var at midpoint: 12° W"));
        QVERIFY(use->isEnabled() && !use->isChecked());
        testing::click(d, OK); // not ticked: Var stays the pilot's
    });
    QCOMPARE(text(*f.leg, legid::VAR), legVar);

    // Ticked with the keyboard: Var becomes 12.
    f.trueCourse([](CCourseDialog& d) {
        auto* use = d.itemAs<QCheckBox>(USE_VAR);
        d.item(DEP_LAT)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(d.item(DEP_LAT), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(d.item(DEP_LAT), "40.5");
        use->setFocus(Qt::TabFocusReason);
        QTest::keyClick(use, Qt::Key_Space);
        QVERIFY(use->isChecked());
        testing::click(d, OK);
    });
    QCOMPARE(text(*f.leg, legid::VAR), QString("12"));
}

void TestCourseDialog::variationNotShownNearThePole() {
    Fixture f;
    installMagneticModel(f.dir);
    f.restart(); // the model is read at start
    const magvar::GeoPoint pole =
        magvar::northGeomagneticPole(magvar::decimalYear(QDate::currentDate()));
    f.trueCourse([pole](CCourseDialog& d) {
        setText(d, DEP_LAT, QString::number(pole.latitudeDeg - 0.3));
        setText(d, DEP_LON, QString::number(pole.longitudeDeg));
        setText(d, ARR_LAT, QString::number(pole.latitudeDeg + 0.3));
        setText(d, ARR_LON, QString::number(pole.longitudeDeg));
        QCOMPARE(d.itemAs<QLabel>(MAG_VAR)->text(),
                 QString("Var: unreliable this near a magnetic pole"));
        QVERIFY(!d.itemAs<QCheckBox>(USE_VAR)->isEnabled());
    });
}

void TestCourseDialog::variationWithoutModel() {
    Fixture f;
    f.trueCourse([](CCourseDialog& d) {
        setText(d, ARR_LAT, "41");
        QCOMPARE(d.itemAs<QLabel>(MAG_VAR)->text(), QString("Var: no magnetic model installed"));
        QVERIFY(!d.itemAs<QCheckBox>(USE_VAR)->isEnabled());
    });
}

void TestCourseDialog::noAirportFile() {
    Fixture f{QByteArray()};
    f.trueCourse([&f](CCourseDialog& d) {
        QCOMPARE(combo(d, DEPARTURE)->count(), 0);
        QCOMPARE(combo(d, ARRIVAL)->count(), 0);
        QCOMPARE(text(d, DEP_LAT), QString("1")); // the home position handed in
        setText(d, ARR_LAT, "11");
        setText(d, ARR_LON, "2");
        testing::click(d, OK);
        QVERIFY(!d.isVisible());
        Q_UNUSED(f);
    });
    QCOMPARE(text(*f.leg, legid::DIST), QString("600"));
    QCOMPARE(text(*f.leg, legid::TC), QString("0"));
}

void TestCourseDialog::courseRounding_data() {
    QTest::addColumn<QString>("lon");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("tc");
    QTest::newRow("359.50 gives TC 360") << "-0.088253"
                                         << "359.50"
                                         << "360";
    QTest::newRow("0.49 gives TC 0") << "0.086315"
                                     << "0.49"
                                     << "0";
}

void TestCourseDialog::courseRounding() {
    QFETCH(QString, lon);
    QFETCH(QString, shown);
    QFETCH(QString, tc);
    Fixture f{QByteArray()};
    f.trueCourse([lon](CCourseDialog& d) {
        setText(d, DEP_LAT, "0");
        setText(d, DEP_LON, "0");
        setText(d, ARR_LAT, "10");
        setText(d, ARR_LON, lon);
        testing::click(d, OK);
    });
    QVERIFY(f.messages.list.value(0).startsWith("True Course is: " + shown + " degrees\n"));
    QCOMPARE(text(*f.leg, legid::TC), tc);
}

void TestCourseDialog::addRefusals_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("arrival"); // "latitude;longitude" typed before Add, if any
    QTest::newRow("space first, though too long as well") << "A B C"
                                                          << "No spaces allowed!" << QString();
    QTest::newRow("a lone space") << " "
                                  << "No spaces allowed!" << QString();
    QTest::newRow("two characters")
        << "AB"
        << "You must enter 3 alphanumeric symbol of the airport" << QString();
    QTest::newRow("four characters")
        << "ABCD"
        << "You must enter 3 alphanumeric symbol of the airport" << QString();
    QTest::newRow("empty") << ""
                           << "You must enter 3 alphanumeric symbol of the airport" << QString();
    QTest::newRow("a separator of the file") << "A:B"
                                             << "No ':', ';' or ',' allowed!" << QString();
    QTest::newRow("a comma") << "A,B"
                             << "No ':', ';' or ',' allowed!" << QString();
    QTest::newRow("the first entry of the sorted list")
        << "abc"
        << "Airport ABC already exist in database!\nif you want update or remove this "
           "airport,\nplease edit the file \"airports.fly\" manually."
        << QString();
    QTest::newRow("a character the file cannot hold")
        << QString(QChar(0x3A9)) + "12"
        << "This identifier has a character the airports file cannot hold!" << QString();
    QTest::newRow("already listed, typed in lower case")
        << "kla"
        << "Airport KLA already exist in database!\nif you want update or remove this "
           "airport,\nplease edit the file \"airports.fly\" manually."
        << QString();
    QTest::newRow("a no-break space") << QString(QChar(0xA0)) + "AB"
                                      << "No spaces allowed!" << QString();
    QTest::newRow("latitude 95 is no place") << "QQQ"
                                             << "A latitude lies between -90 and 90 degrees!"
                                             << "95;1";
    QTest::newRow("longitude 400: only the range message")
        << "QQQ"
        << "Please enter a number between -360 and 360."
        << "10;400";
}

void TestCourseDialog::addRefusals() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, arrival);
    Fixture f;
    f.trueCourse([&](CCourseDialog& d) {
        if (!arrival.isEmpty()) {
            typeInto(d.item(ARR_LAT), arrival.section(';', 0, 0));
            typeInto(d.item(ARR_LON), arrival.section(';', 1, 1));
        }
        typeArrival(d, typed);
        testing::click(d, ADD);
        QCOMPARE(f.messages.list, QStringList{message});
        QVERIFY(d.isVisible());
        if (typed == "kla") {
            QCOMPARE(combo(d, ARRIVAL)->currentText(), QString("KLA"));
            QCOMPARE(text(d, ARR_LAT), QString("51.5"));
        }
        if (!arrival.isEmpty()) // nothing the pilot typed is lost
            QCOMPARE(combo(d, ARRIVAL)->currentText(), typed);
    });
    QCOMPARE(f.dir.read("airports.fly"), kAirports);
}

void TestCourseDialog::addStoresAndCloses() {
    Fixture f;
    f.trueCourse([&f](CCourseDialog& d) {
        setText(d, ARR_LAT, "47.25");
        setText(d, ARR_LON, "8.5");
        typeArrival(d, "new");
        QCOMPARE(combo(d, ARRIVAL)->currentText(), QString("NEW"));
        testing::click(d, ADD);
        QCOMPARE(f.messages.list, QStringList{"Airport NEW was added to database!"});
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
    });
    QCOMPARE(f.dir.read("airports.fly"), kAirports + "NEW:47.250000;8.500000,");
    QCOMPARE(text(*f.leg, legid::TC), QString("0")); // the leg is not touched by Add
    QCOMPARE(text(*f.leg, legid::DIST), QString("0"));
    QVERIFY(platform::Dialog::hasDefaultMark(f.leg->itemAs<QPushButton>(legid::TCBTN)));
    f.trueCourse([](CCourseDialog& d) {
        pick(d, ARRIVAL, "NEW");
        QCOMPARE(text(d, ARR_LAT), QString("47.25"));
    });
}

void TestCourseDialog::addWithoutDataDirectoryStoresNothing() {
    Fixture f(QByteArray(), false);
    f.trueCourse([&f](CCourseDialog& d) {
        typeArrival(d, "ZZZ");
        testing::click(d, ADD);
        // Never "added" for a record that is not on disk; the dialog stays
        // open with the identifier for another try.
        QCOMPARE(f.messages.list, QStringList{"Cannot open airports file!"});
        QVERIFY(d.isVisible());
        QCOMPARE(combo(d, ARRIVAL)->currentText(), QString("ZZZ"));
    });
    QVERIFY(g_strAirportText.find("ZZZ") == std::string::npos);
    QVERIFY(!g_mapAirports.count("ZZZ"));
}

void TestCourseDialog::accessibleNames() {
    Fixture f;
    f.trueCourse([](CCourseDialog& d) {
        const QList<std::pair<int, QString>> names = {{DEP_LAT, "Departure latitude"},
                                                      {DEP_LON, "Departure longitude"},
                                                      {ARR_LAT, "Arrival latitude"},
                                                      {ARR_LON, "Arrival longitude"},
                                                      {OK, "OK"},
                                                      {QUIT, "Quit"},
                                                      {ADD, "Add"},
                                                      {FIND_DEP, "Find departure"},
                                                      {FIND_ARR, "Find arrival"}};
        for (const auto& [id, name] : names)
            QCOMPARE(QAccessible::queryAccessibleInterface(d.item(id))->text(QAccessible::Name),
                     name);
        QCOMPARE(d.item(DEPARTURE)->accessibleDescription(), QString("Saved airports"));
        QCOMPARE(d.item(ARRIVAL)->accessibleDescription(), QString("Arrival airport"));
        QCOMPARE(QAccessible::queryAccessibleInterface(d.item(DEP_LAT))->text(QAccessible::Value),
                 QString("40.5"));
    });
}

void TestCourseDialog::findByNameAndChoose() {
    Fixture f;
    {
        const auto db = navdb::NavDatabase::open(
            QFile::encodeName(f.dir.path("navdata.sqlite")).toStdString(), true);
        QVERIFY(db);
        const std::string csv =
            "id,ident,type,name,latitude_deg,longitude_deg,elevation_ft,iso_country,iso_region,"
            "municipality,gps_code,iata_code,local_code\n"
            "2434,LSZH,large_airport,Z\xc3\xbcrich Airport,47.458056,8.548056,1416,CH,CH-ZH,"
            "Zurich,LSZH,ZRH,\n"
            "2435,LSZF,small_airport,Birrfeld Airport,47.4436,8.23361,1300,CH,CH-AG,Birrfeld,"
            "LSZF,,\n";
        QVERIFY(db->import(navdb::Table::Airports, csv, {}).ok);
    }
    f.trueCourse([](CCourseDialog& d) {
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        typeInto(d.item(ARR_LAT), "10");
        auto* find = d.itemAs<QLineEdit>(FIND_ARR);
        find->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(find, "zur");
        QAbstractItemView* list = find->completer()->popup();
        QTRY_VERIFY(list->isVisible());
        QCOMPARE(list->model()->rowCount(), 1);
        QCOMPARE(list->model()->index(0, 0).data().toString(),
                 QString::fromUtf8("LSZH  Z\xc3\xbcrich Airport \xe2\x80\x94 Zurich, CH, 1416 ft"));
        QCOMPARE(text(d, ARR_LAT), QString("10")); // typing alone fills nothing
        // Leaving the box is no choice either.
        QTest::keyClick(list, Qt::Key_Escape);
        d.item(ARR_LON)->setFocus(Qt::TabFocusReason);
        QCOMPARE(text(d, ARR_LAT), QString("10"));
        find->setFocus(Qt::TabFocusReason);
        QTest::keyClick(find, Qt::Key_End); // Tab selected it all
        QTest::keyClick(find, Qt::Key_Backspace);
        QTRY_VERIFY(list->isVisible());
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(text(d, ARR_LAT), QString("47.458056"));
        QCOMPARE(text(d, ARR_LON), QString("8.548056"));
        testing::click(d, OK);
    });
    QCOMPARE(f.leg->legs().arrival().airport, QString("LSZH"));
    // The nav log records the full identifier.
    setText(*f.leg, legid::WD, "0");
    setText(*f.leg, legid::WV, "0");
    testing::click(*f.leg, legid::RUN);
    QCOMPARE(f.leg->m_navLog.latest()->legs.back().to, QString("LSZH"));
}

QTEST_MAIN(TestCourseDialog)
#include "tst_coursedialog.moc"
