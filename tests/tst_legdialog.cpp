// The leg dialog through its widgets: start-up, the field limits, Run with its
// messages, the default-button cycle, Next, Reset and Save.
#include "TestSupport.h"
#include "leg/LegDialog.h"
#include "leg/LegDialogIds.h"
#include "store/Globals.h"

#include <QAccessible>
#include <QTest>

#include <memory>

using testing::click;
using testing::picker;
using testing::setText;
using testing::text;

namespace {

using namespace ids::leg;

const QByteArray kDefaults = "home_airport:ABC\r\nhome_latitude:40.500000\r\n"
                             "home_longitude:-74.250000\r\nTAS:110.000000\r\n"
                             "Variation:13.000000\r\nMagnetic Deviation:2.000000\r\n"
                             "Galons/Hour:8.000000\r\nTotal Fuel:40.000000\r\n";

QDateTime today(int h, int m, int s) {
    return QDateTime(QDate(2026, 3, 14), QTime(h, m, s));
}

struct Fixture {
    explicit Fixture(const QByteArray& defaults = QByteArray(), bool dataDir = true)
        : dir(dataDir) {
        if (!defaults.isNull())
            dir.write("config.fly", defaults);
        dlg.reset();
        services = testing::services();
        dlg = std::make_unique<CLegDialog>(*services);
        dlg->createModeless(nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        dlg->activateWindow();
    }
    void fill(std::initializer_list<std::pair<int, const char*>> fields) {
        for (const auto& [id, value] : fields)
            setText(*dlg, id, QString::fromLatin1(value));
    }
    // The worked leg of the handbook.
    void workedLeg() {
        fill({{TC, "90"},
              {WD, "45"},
              {WV, "20"},
              {TAS, "110"},
              {VAR, "13"},
              {MD, "2"},
              {DIST, "50"},
              {GPH, "8"},
              {FUEL, "40"}});
        picker(*dlg, OUT)->setDateTime(today(10, 0, 0));
    }
    // Types into a field as the pilot does: focus, select all, keys.
    void type(int id, const QString& typed) {
        QWidget* field = dlg->item(id);
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, typed);
    }
    QPushButton* button(int id) const { return dlg->itemAs<QPushButton>(id); }
    bool marked(int id) const { return platform::Dialog::hasDefaultMark(button(id)); }

    testing::DataDir dir;
    testing::Messages messages;
    std::unique_ptr<store::Services> services;
    std::unique_ptr<CLegDialog> dlg;
};

} // namespace

class TestLegDialog : public QObject {
    Q_OBJECT
private slots:
    void startsWithoutFiles();
    void startsFromDefaultsFile();
    void accessibleNamesAndValues();
    void workedExample();
    void limits_data();
    void limits();
    void readStopsAtFirstBadField();
    void runRefusals_data();
    void runRefusals();
    void fuelWarningGoesOn();
    void distanceZeroStaysUncomputed();
    void etaPastMidnight();
    void enterActivatesTheLastMarkedButton();
    void nextChainsLegs();
    void nextAfterFuelRanOut();
    void nextReplacesTypedWind();
    void resetFromDefaults();
    void resetWithoutDefaultsFile();
    void saveWritesTheFieldsAndLoadsBack();
    void saveWithoutDataDirectory();
    void saveMakesTheUserFolder();
    void saveStopsAtBadField();
    void saveRefusesValuesThatWouldNotLoadBack();
    void saveRefusesHomeCodeThatWouldNotLoad();
    void runStopsAtBadField();
    void tasOf60IsFlown();
    void chainedTotalsKeepTheUnroundedBurn();
    void defaultButtonIsAnnounced();
    void quitEndsTheDialog();
};

void TestLegDialog::startsWithoutFiles() {
    Fixture f;
    QCOMPARE(f.messages.list,
             (QStringList{"Cannot open congfiguration file!", "Cannot open airports file!"}));

    for (int id : {TC, WD, WV, TAS, VAR, MD, DIST, GPH, FUEL, WCA, TH, MH, CH, GS, ETE, FUSED,
                   BURNT, TOTDIST})
        QCOMPARE(text(*f.dlg, id), QString("0"));
    QVERIFY(f.marked(TCBTN));
    QVERIFY(!f.marked(RUN) && !f.marked(NEXT));
    QCOMPARE(f.dlg->focusWidget(), f.dlg->item(TC));
    QCOMPARE(f.dlg->windowTitle(), QString("Skyvane ..."));

    // The first start of an installed copy: its defaults stand in, no error.
    f.dlg.reset();
    f.messages.list.clear();
    QFile defaults(f.dir.installed("config.fly"));
    QVERIFY(defaults.open(QIODevice::WriteOnly));
    defaults.write(kDefaults);
    defaults.close();
    f.dlg.reset();
    f.services = testing::services();
    f.dlg = std::make_unique<CLegDialog>(*f.services);
    f.dlg->createModeless(nullptr);
    QCOMPARE(f.messages.list, QStringList{"Cannot open airports file!"});
    QCOMPARE(text(*f.dlg, TAS), QString("110"));
}

void TestLegDialog::startsFromDefaultsFile() {
    Fixture f(kDefaults);
    QCOMPARE(f.messages.list, QStringList{"Cannot open airports file!"});
    QCOMPARE(text(*f.dlg, TAS), QString("110"));
    QCOMPARE(text(*f.dlg, VAR), QString("13"));
    QCOMPARE(text(*f.dlg, MD), QString("2"));
    QCOMPARE(text(*f.dlg, GPH), QString("8"));
    QCOMPARE(text(*f.dlg, FUEL), QString("40"));
    QCOMPARE(f.dlg->legs().home().airport, QString("ABC"));
    QCOMPARE(f.dlg->legs().home().position.longitudeDeg, -74.25);
}

void TestLegDialog::accessibleNamesAndValues() {
    Fixture f(kDefaults);
    const QList<std::pair<int, QString>> names = {{TC, "TC"},
                                                  {WD, "WD"},
                                                  {WV, "WV"},
                                                  {TAS, "TAS"},
                                                  {VAR, "Var"},
                                                  {MD, "MD"},
                                                  {DIST, "Dist"},
                                                  {OUT, "Out"},
                                                  {GPH, "GPH"},
                                                  {FUEL, "Fuel"},
                                                  {WCA, "WCA"},
                                                  {TH, "TH"},
                                                  {MH, "MH"},
                                                  {CH, "CH"},
                                                  {GS, "GS"},
                                                  {ETE, "ETE"},
                                                  {ETA, "ETA"},
                                                  {FUSED, "F.used"},
                                                  {BURNT, "Total Burnt"},
                                                  {TOTDIST, "Total Dist"},
                                                  {TCBTN, "TC"},
                                                  {RUN, "Run"},
                                                  {NEXT, "Next"},
                                                  {RESET, "Reset"},
                                                  {SAVE, "Save"},
                                                  {QUIT, "Quit"},
                                                  {1024, "About"},
                                                  {1029, "Help"},
                                                  {1030, "Tools"}};
    for (const auto& [id, name] : names) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(f.dlg->item(id));
        QVERIFY2(a, qPrintable(name));
        QCOMPARE(a->text(QAccessible::Name), name);
    }
    QAccessibleInterface* tas = QAccessible::queryAccessibleInterface(f.dlg->item(TAS));
    QCOMPARE(tas->text(QAccessible::Value), QString("110"));
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(f.dlg.get());
    QCOMPARE(window->text(QAccessible::Name), QString("Skyvane ..."));
}

void TestLegDialog::workedExample() {
    Fixture f;
    f.messages.list.clear();
    f.workedLeg();
    click(*f.dlg, RUN);
    QCOMPARE(f.messages.list, QStringList{});
    const QList<std::pair<int, QString>> shown = {
        {WCA, "7"},    {TH, "83"},      {MH, "96"},      {CH, "98"},      {GS, "95"},
        {ETE, "31.6"}, {FUSED, "4.21"}, {FUEL, "35.79"}, {BURNT, "4.21"}, {TOTDIST, "50"},
        {TC, "90"},    {WD, "45"},      {VAR, "13"}};
    for (const auto& [id, value] : shown)
        QCOMPARE(text(*f.dlg, id), value);
    QCOMPARE(picker(*f.dlg, ETA)->dateTime(), today(10, 31, 36));
    QCOMPARE(picker(*f.dlg, ETA)->text(), QString("10:31:36"));
    QVERIFY(f.marked(NEXT));
    QVERIFY(!f.marked(RUN));
    QVERIFY(f.marked(TCBTN)); // only Run is made plain
    QCOMPARE(f.dlg->focusWidget(), f.button(NEXT));
}

void TestLegDialog::limits_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("refusal");
    const QString range = "Please enter a number between %1 and %2.";
    QTest::newRow("TC 360 accepted") << int(TC) << "360"
                                     << "";
    QTest::newRow("TC 360.01 refused") << int(TC) << "360.01" << range.arg("0", "360");
    QTest::newRow("WD 360 accepted") << int(WD) << "360"
                                     << "";
    QTest::newRow("WD 360.01 refused") << int(WD) << "360.01" << range.arg("0", "360");
    QTest::newRow("TAS 250 accepted") << int(TAS) << "250"
                                      << "";
    QTest::newRow("TAS 251 refused") << int(TAS) << "251" << range.arg("0", "250");
    QTest::newRow("Var -360 accepted") << int(VAR) << "-360"
                                       << "";
    QTest::newRow("Var -360.01 refused") << int(VAR) << "-360.01" << range.arg("-360", "360");
    QTest::newRow("MD -360 accepted") << int(MD) << "-360"
                                      << "";
    QTest::newRow("WV 1000 accepted") << int(WV) << "1000"
                                      << "";
    QTest::newRow("Dist 10000.5 refused") << int(DIST) << "10000.5" << range.arg("0", "10000");
    QTest::newRow("Fuel -1 refused") << int(FUEL) << "-1" << range.arg("0", "100");
    QTest::newRow("GPH letters refused") << int(GPH) << "abc"
                                         << "Please enter a number.";
    QTest::newRow("empty field refused") << int(TC) << ""
                                         << "Please enter a number.";
}

void TestLegDialog::limits() {
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(QString, refusal);
    Fixture f(kDefaults);
    f.messages.list.clear();
    setText(*f.dlg, field, value);
    QCOMPARE(f.dlg->exchangeData(true), refusal.isEmpty());
    if (refusal.isEmpty()) {
        QVERIFY(f.messages.list.isEmpty());
        return;
    }
    QCOMPARE(f.messages.list, QStringList{refusal});
    QCOMPARE(f.dlg->focusWidget(), f.dlg->item(field));
    QCOMPARE(testing::edit(*f.dlg, field)->selectedText(), value);
}

void TestLegDialog::readStopsAtFirstBadField() {
    Fixture f(kDefaults);
    f.messages.list.clear();
    // In exchange order TAS comes before TC, TC before Var and WD.
    f.fill({{TAS, "120"}, {TC, "400"}, {VAR, "7"}, {WD, "abc"}});
    QVERIFY(!f.dlg->exchangeData(true));
    QCOMPARE(f.messages.list.size(), 1);
    QCOMPARE(f.dlg->m_dTAS, 120.0);
    QCOMPARE(f.dlg->m_dTrueCourse, 400.0); // stored, then refused
    QCOMPARE(f.dlg->m_dVariation, 13.0);   // not read
    QCOMPARE(f.dlg->m_dWindDirection, 0.0);
}

void TestLegDialog::runRefusals_data() {
    QTest::addColumn<QString>("tas");
    QTest::addColumn<QString>("wv");
    QTest::addColumn<bool>("runFirst");
    QTest::addColumn<QString>("message");
    QTest::newRow("TAS 59.99") << "59.99"
                               << "0" << false << "Enter correct TAS!";
    QTest::newRow("second Run before Next or Reset")
        << "110"
        << "20" << true << "Press 'Next'  or 'Reset' button first!";
    QTest::newRow("crosswind above the TAS") << "100"
                                             << "150" << false << "Wind too strong for this TAS!";
}

void TestLegDialog::runRefusals() {
    QFETCH(QString, tas);
    QFETCH(QString, wv);
    QFETCH(bool, runFirst);
    QFETCH(QString, message);
    Fixture f(kDefaults);
    f.workedLeg();
    setText(*f.dlg, TAS, tas);
    setText(*f.dlg, WV, wv);
    setText(*f.dlg, WD, "0");
    if (runFirst)
        click(*f.dlg, RUN);
    f.messages.list.clear();
    QStringList before;
    for (int id : {WCA, TH, MH, CH, GS, ETE, FUSED, FUEL, BURNT, TOTDIST})
        before << text(*f.dlg, id);
    const QDateTime eta = picker(*f.dlg, ETA)->dateTime();
    const bool runMarked = f.marked(RUN);
    const double sum = f.dlg->legs().totalDistanceNm();

    click(*f.dlg, RUN);
    QCOMPARE(f.messages.list, QStringList{message});
    QStringList after;
    for (int id : {WCA, TH, MH, CH, GS, ETE, FUSED, FUEL, BURNT, TOTDIST})
        after << text(*f.dlg, id);
    QCOMPARE(after, before);
    QCOMPARE(picker(*f.dlg, ETA)->dateTime(), eta);
    QCOMPARE(f.marked(RUN), runMarked);
    QCOMPARE(f.dlg->legs().totalDistanceNm(), sum);
}

void TestLegDialog::fuelWarningGoesOn() {
    Fixture f;
    f.fill({{TC, "360"},
            {WD, "10"},
            {WV, "15"},
            {TAS, "100"},
            {VAR, "-5"},
            {MD, "-3"},
            {DIST, "120"},
            {GPH, "9"},
            {FUEL, "10"}});
    f.messages.list.clear();
    click(*f.dlg, RUN);
    QCOMPARE(f.messages.list, QStringList{"You don't have enough fuel to complete this trip!"});
    QCOMPARE(text(*f.dlg, FUEL), QString("0"));
    QCOMPARE(text(*f.dlg, FUSED), QString("12.68"));
    QCOMPARE(text(*f.dlg, CH), QString("353"));
    QCOMPARE(text(*f.dlg, ETE), QString("84.52"));
}

void TestLegDialog::distanceZeroStaysUncomputed() {
    Fixture f(kDefaults);
    f.fill({{TC, "90"}, {DIST, "0"}});
    f.messages.list.clear();
    click(*f.dlg, RUN);
    click(*f.dlg, RUN);
    QVERIFY(f.messages.list.isEmpty());
    QCOMPARE(text(*f.dlg, ETE), QString("0"));
}

void TestLegDialog::etaPastMidnight() {
    Fixture f(kDefaults);
    // 40 nm at 120 kt: 20 minutes.
    f.fill({{TAS, "120"}, {DIST, "40"}, {VAR, "0"}, {MD, "0"}});
    picker(*f.dlg, OUT)->setDateTime(today(23, 50, 0));
    click(*f.dlg, RUN);
    QCOMPARE(picker(*f.dlg, ETA)->dateTime(), today(0, 10, 0).addDays(1));
}

void TestLegDialog::enterActivatesTheLastMarkedButton() {
    Fixture f(kDefaults);
    f.workedLeg();
    click(*f.dlg, RUN);
    f.dlg->item(WD)->setFocus();
    QTest::keyClick(f.dlg->item(WD), Qt::Key_Return); // Next is marked last
    QVERIFY(f.marked(TCBTN));
    QVERIFY(!f.marked(NEXT));
    QCOMPARE(text(*f.dlg, ETE), QString("0"));
    QCOMPARE(picker(*f.dlg, OUT)->dateTime(), today(10, 31, 36));
    QVERIFY(f.dlg->isVisible());
    // A focused button activates itself.
    f.button(RUN)->setFocus();
    QTest::keyClick(f.button(RUN), Qt::Key_Return);
    QCOMPARE(text(*f.dlg, ETE), QString("31.6"));
    QVERIFY(f.dlg->isVisible());
}

void TestLegDialog::nextChainsLegs() {
    Fixture f;
    f.workedLeg();
    f.messages.list.clear();
    click(*f.dlg, RUN);
    click(*f.dlg, NEXT);
    QCOMPARE(picker(*f.dlg, OUT)->dateTime(), today(10, 31, 36));
    QCOMPARE(text(*f.dlg, ETE), QString("0"));
    QCOMPARE(text(*f.dlg, WCA), QString("0"));
    QCOMPARE(text(*f.dlg, FUEL), QString("35.79"));
    QVERIFY(f.marked(TCBTN) && !f.marked(NEXT));
    QCOMPARE(f.dlg->focusWidget(), f.button(TCBTN));
    click(*f.dlg, RUN);
    QVERIFY(f.messages.list.isEmpty());
    QCOMPARE(text(*f.dlg, TOTDIST), QString("100"));
    QCOMPARE(text(*f.dlg, BURNT), QString("8.42")); // 4.21 + 4.2132, rounded per leg
    QCOMPARE(text(*f.dlg, FUEL), QString("31.58"));
    QCOMPARE(picker(*f.dlg, ETA)->dateTime(), today(11, 3, 12));
}

void TestLegDialog::nextAfterFuelRanOut() {
    Fixture f;
    f.fill({{TC, "0"}, {TAS, "100"}, {DIST, "100"}, {GPH, "10"}, {FUEL, "5"}});
    click(*f.dlg, RUN);
    click(*f.dlg, NEXT);
    f.messages.list.clear();
    click(*f.dlg, RUN);
    QCOMPARE(f.messages.list, QStringList{"You don't have enough fuel to complete this trip!"});
    QCOMPARE(text(*f.dlg, BURNT), QString("20"));
}

void TestLegDialog::nextReplacesTypedWind() {
    Fixture f;
    f.workedLeg();
    click(*f.dlg, RUN);
    picker(*f.dlg, ETA)->setDateTime(today(23, 40, 0));
    f.fill({{WD, "200"}, {WV, "35"}});
    click(*f.dlg, NEXT);
    QCOMPARE(text(*f.dlg, WD), QString("45"));
    QCOMPARE(text(*f.dlg, WV), QString("20"));
    QCOMPARE(picker(*f.dlg, OUT)->text(), QString("23:40:00"));
    click(*f.dlg, RUN);
    QCOMPARE(picker(*f.dlg, ETA)->dateTime(), today(0, 11, 36).addDays(1));
}

void TestLegDialog::resetFromDefaults() {
    Fixture f(kDefaults);
    f.workedLeg();
    f.fill({{TAS, "120"}, {GPH, "9"}});
    click(*f.dlg, RUN); // computed state
    f.messages.list.clear();
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    click(*f.dlg, RESET);
    QVERIFY(f.messages.list.isEmpty());
    for (int id : {TC, WD, WV, DIST, WCA, TH, ETE, FUSED, BURNT, TOTDIST})
        QCOMPARE(text(*f.dlg, id), QString("0"));
    QCOMPARE(text(*f.dlg, TAS), QString("110"));
    QCOMPARE(text(*f.dlg, GPH), QString("8"));
    QCOMPARE(text(*f.dlg, FUEL), QString("40"));
    QCOMPARE(f.dlg->legs().totalDistanceNm(), 0.0);
    QVERIFY(picker(*f.dlg, OUT)->dateTime() >= before);
    QCOMPARE(picker(*f.dlg, ETA)->dateTime(), picker(*f.dlg, OUT)->dateTime());
    QVERIFY(f.marked(NEXT)); // Reset leaves the buttons alone
    f.workedLeg();
    click(*f.dlg, RUN); // no "Press 'Next'..." after Reset
    QVERIFY(f.messages.list.isEmpty());
    QCOMPARE(text(*f.dlg, TOTDIST), QString("50"));
}

void TestLegDialog::resetWithoutDefaultsFile() {
    Fixture f;
    f.workedLeg();
    click(*f.dlg, RUN);
    f.messages.list.clear();
    click(*f.dlg, RESET);
    QCOMPARE(f.messages.list, QStringList{"Cannot open congfiguration file!"});
    QCOMPARE(text(*f.dlg, FUEL), QString("35.79")); // the fuel left by the last leg
    QCOMPARE(text(*f.dlg, TAS), QString("110"));
    QCOMPARE(text(*f.dlg, TC), QString("0"));
}

void TestLegDialog::saveWritesTheFieldsAndLoadsBack() {
    Fixture f(kDefaults);
    f.fill({{TAS, "95.5"}, {VAR, "-13"}, {FUEL, "38"}});
    f.messages.list.clear();
    click(*f.dlg, SAVE);
    QCOMPARE(f.messages.list, QStringList{"Defaults saved!"});
    const QByteArray file = f.dir.read("config.fly");
    QVERIFY(file.contains("TAS:95.500000\r\n"));
    QVERIFY(file.contains("Variation:-13.000000\r\n"));
    QVERIFY(file.startsWith("home_airport:ABC\r\nhome_latitude:40.500000\r\n"));
    f.fill({{TAS, "150"}});
    click(*f.dlg, RESET);
    QCOMPARE(text(*f.dlg, TAS), QString("95.5"));
    QCOMPARE(text(*f.dlg, FUEL), QString("38"));
}

void TestLegDialog::saveWithoutDataDirectory() {
    Fixture f(QByteArray(), false);
    f.messages.list.clear();
    click(*f.dlg, SAVE);
    QCOMPARE(f.messages.list, QStringList{"Cannot open congfiguration file!"});
    QVERIFY(!f.dir.exists("config.fly"));
}

void TestLegDialog::saveMakesTheUserFolder() {
    Fixture f;
    QVERIFY(QDir(f.dir.path("")).removeRecursively());
    f.messages.list.clear();
    click(*f.dlg, SAVE);
    QCOMPARE(f.messages.list, QStringList{"Defaults saved!"});
    QVERIFY(f.dir.exists("config.fly"));
}

void TestLegDialog::saveStopsAtBadField() {
    Fixture f(kDefaults);
    f.fill({{TAS, "300"}, {FUEL, "12"}});
    f.messages.list.clear();
    click(*f.dlg, SAVE);
    QCOMPARE(f.messages.list, QStringList{"Please enter a number between 0 and 250."});
    QCOMPARE(f.dir.read("config.fly"), kDefaults);
    QCOMPARE(text(*f.dlg, TAS), QString("300")); // what the pilot typed stays
    QCOMPARE(text(*f.dlg, FUEL), QString("12"));
    QCOMPARE(QApplication::focusWidget(), f.dlg->item(TAS));
}

void TestLegDialog::saveRefusesValuesThatWouldNotLoadBack() {
    // Loading applies no limits; written out in full, a hand-edited home
    // position of 1e300 would push the file past the 1023 bytes that loading
    // reads.
    const QByteArray huge = "a:" + QByteArray(300, 'A') +
                            "\r\nb:1e300\r\nc:-1e300\r\nTAS:100\r\ne:0\r\nf:0\r\n"
                            "GPH:10\r\nFuel:10\r\n";
    Fixture f(huge);
    f.messages.list.clear();
    click(*f.dlg, SAVE);
    QCOMPARE(f.messages.list, QStringList{"Defaults too large to save!"});
    QCOMPARE(f.dir.read("config.fly"), huge);
}

void TestLegDialog::saveRefusesHomeCodeThatWouldNotLoad() {
    // Hand-edited: the code "1:2:3:4:5:6:7:8" loads (its colons make up the
    // eight values), but written back as a code it would give fifteen.
    const QByteArray edited = "home_airport:1:2:3:4:5:6:7:8\r\n";
    Fixture f(edited);
    QCOMPARE(f.messages.list, QStringList{"Cannot open airports file!"});
    f.messages.list.clear();
    click(*f.dlg, SAVE);
    QCOMPARE(f.messages.list, QStringList{"Home airport code cannot be saved!"});
    QCOMPARE(f.dir.read("config.fly"), edited);
}

void TestLegDialog::runStopsAtBadField() {
    Fixture f(kDefaults);
    f.workedLeg();
    f.type(DIST, "1e308");
    f.messages.list.clear();
    QTest::mouseClick(f.button(RUN), Qt::LeftButton);
    QCOMPARE(f.messages.list, QStringList{"Please enter a number between 0 and 10000."});
    QCOMPARE(QApplication::focusWidget(), f.dlg->item(DIST));
    QCOMPARE(text(*f.dlg, DIST), QString("1e308"));
    for (int id : {ETE, FUSED, BURNT, TOTDIST, WCA, TH})
        QCOMPARE(text(*f.dlg, id), QString("0"));
    QVERIFY(f.marked(RUN) || f.marked(TCBTN)); // Next is not offered for an uncomputed leg

    f.type(DIST, "50");
    f.messages.list.clear();
    QTest::mouseClick(f.button(RUN), Qt::LeftButton);
    QVERIFY(f.messages.list.isEmpty());
    QCOMPARE(text(*f.dlg, ETE), QString("31.6"));
    QCOMPARE(text(*f.dlg, BURNT), QString("4.21"));
}

void TestLegDialog::tasOf60IsFlown() {
    Fixture f(kDefaults);
    f.workedLeg();
    f.type(TAS, "60");
    f.type(WV, "0");
    f.messages.list.clear();
    QTest::mouseClick(f.button(RUN), Qt::LeftButton);
    QVERIFY(f.messages.list.isEmpty());
    QCOMPARE(text(*f.dlg, GS), QString("60"));
    QCOMPARE(text(*f.dlg, ETE), QString("50"));
}

void TestLegDialog::chainedTotalsKeepTheUnroundedBurn() {
    // Each leg burns 0.525 gal, shown as 0.53; the total adds the burn
    // itself, so after three legs it shows 1.58, not 3 x 0.53 = 1.59.
    Fixture f(kDefaults);
    f.fill({{TC, "0"},
            {WD, "0"},
            {WV, "0"},
            {TAS, "100"},
            {VAR, "0"},
            {MD, "0"},
            {DIST, "10.5"},
            {GPH, "5"},
            {FUEL, "40"}});
    const QStringList burnt = {"0.53", "1.06", "1.58"};
    for (int legNo = 0; legNo < 3; ++legNo) {
        QTest::mouseClick(f.button(RUN), Qt::LeftButton);
        QCOMPARE(text(*f.dlg, FUSED), QString("0.53"));
        QCOMPARE(text(*f.dlg, BURNT), burnt.at(legNo));
        QTest::mouseClick(f.button(NEXT), Qt::LeftButton);
        f.type(DIST, "10.5");
    }
    QCOMPARE(text(*f.dlg, TOTDIST), QString("31.5"));
    QCOMPARE(text(*f.dlg, FUEL), QString("38.43")); // rounded leg by leg
}

void TestLegDialog::defaultButtonIsAnnounced() {
    Fixture f(kDefaults);
    auto announced = [&f](int id) {
        return QAccessible::queryAccessibleInterface(f.button(id))->state().defaultButton;
    };
    QVERIFY(f.button(TCBTN)->isDefault() && announced(TCBTN));
    f.workedLeg();
    QTest::mouseClick(f.button(RUN), Qt::LeftButton);
    QVERIFY(f.button(NEXT)->isDefault() && announced(NEXT));
    QVERIFY(!f.button(RUN)->isDefault() && !announced(RUN));
    QVERIFY(!f.button(TCBTN)->isDefault());
    // Enter still does what the marks say: Next.
    QTest::keyClick(f.dlg->item(WD), Qt::Key_Return);
    QCOMPARE(text(*f.dlg, ETE), QString("0"));
    QVERIFY(f.button(TCBTN)->isDefault());
}

void TestLegDialog::quitEndsTheDialog() {
    Fixture f(kDefaults);
    f.workedLeg();
    QTest::keyClick(f.dlg->item(TC), Qt::Key_Escape); // a stray Escape keeps the flight
    QVERIFY(f.dlg->isVisible());
    click(*f.dlg, QUIT);
    QVERIFY(!f.dlg->isVisible());
    QCOMPARE(f.dlg->result(), int(QDialog::Rejected));
    QCOMPARE(f.dir.read("config.fly"), kDefaults); // nothing saved
}

QTEST_MAIN(TestLegDialog)
#include "tst_legdialog.moc"
