// Unit conversions: the single-precision results the pilot sees, both ways,
// and the dialog's field pairs, focus rule, guard flags and calculator.
#include "TestSupport.h"
#include "dialogs/Conversions.h"
#include "dialogs/ConversionsDialog.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QTest>

using conversions::Direction;
using testing::text;

Q_DECLARE_METATYPE(Direction)

namespace {
enum : int {
    SM = 1037,
    FT = 1038,
    NM = 1039,
    KM = 1040,
    M = 1041,
    SM2 = 1042,
    F = 1044,
    C = 1045,
    LB = 1046,
    KG = 1047,
    ABACUS = 1048,
    QUIT = 2
};
const int kAll[] = {SM, FT, NM, KM, M, SM2, F, C, LB, KG};

QStringList allTexts(const platform::Dialog& d) {
    QStringList out;
    for (int id : kAll)
        out << text(d, id);
    return out;
}
} // namespace

class TestConversions : public QObject {
    Q_OBJECT
private slots:
    void values_data();
    void values();
    void parsing_data();
    void parsing();
    void hugeValues_data();
    void hugeValues();
    void typingConvertsWithinThePair_data();
    void typingConvertsWithinThePair();
    void focusEmptiesTheField();
    void resultsShowTheirStart();
    void focusBackFromAMenuKeepsTheField();
    void abacus();
    void accessibleNames();
};

void TestConversions::values_data() {
    QTest::addColumn<Direction>("direction");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("shown");
    QTest::newRow("1 sm") << Direction::MilesToKm << "1"
                          << "1.609300";
    QTest::newRow("100 sm held in single precision") << Direction::MilesToKm << "100"
                                                     << "160.929993";
    QTest::newRow("100 km") << Direction::KmToMiles << "100"
                            << "62.139999";
    QTest::newRow("1000 ft") << Direction::FeetToMetres << "1000"
                             << "304.799988";
    QTest::newRow("1 m") << Direction::MetresToFeet << "1"
                         << "3.280840";
    QTest::newRow("247.7 m") << Direction::MetresToFeet << "247.7"
                             << "812.664001";
    QTest::newRow("1 nm") << Direction::NmToMiles << "1"
                          << "1.150779";
    QTest::newRow("1 sm to nm") << Direction::MilesToNm << "1"
                                << "0.868976";
    QTest::newRow("100 lb") << Direction::PoundsToKg << "100"
                            << "45.360001";
    QTest::newRow("100 kg") << Direction::KgToPounds << "100"
                            << "220.458557";
    QTest::newRow("100 C") << Direction::CelsiusToFahrenheit << "100"
                           << "212.000000";
    QTest::newRow("37 C") << Direction::CelsiusToFahrenheit << "37"
                          << "98.599998";
    QTest::newRow("-40 C") << Direction::CelsiusToFahrenheit << "-40"
                           << "-40.000000";
    QTest::newRow("212 F") << Direction::FahrenheitToCelsius << "212"
                           << "100.000000";
    QTest::newRow("98.6 F") << Direction::FahrenheitToCelsius << "98.6"
                            << "37.000000";
    QTest::newRow("0 F") << Direction::FahrenheitToCelsius << "0"
                         << "-17.777779";
    // Each of these differs in its sixth decimal from the same formula in
    // double precision or with a single-precision factor.
    QTest::newRow("12.3 F") << Direction::FahrenheitToCelsius << "12.3"
                            << "-10.944445";
    QTest::newRow("59 F") << Direction::FahrenheitToCelsius << "59"
                          << "15.000000";
    QTest::newRow("12.3 C") << Direction::CelsiusToFahrenheit << "12.3"
                            << "54.140003";
    QTest::newRow("21.1 C") << Direction::CelsiusToFahrenheit << "21.1"
                            << "69.980003";
    QTest::newRow("empty C is 0") << Direction::CelsiusToFahrenheit << ""
                                  << "32.000000";
}

void TestConversions::values() {
    QFETCH(Direction, direction);
    QFETCH(QString, input);
    QTEST(QString::fromStdString(conversions::convertText(direction, input.toStdString())),
          "shown");
}

void TestConversions::parsing_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("readAs");
    QTest::newRow("abc is 0") << "abc"
                              << "0";
    QTest::newRow("12abc is 12") << "12abc"
                                 << "12";
    QTest::newRow("leading blank") << " 5"
                                   << "5";
    QTest::newRow("1e2 is 100") << "1e2"
                                << "100";
    QTest::newRow("1,5 is 1") << "1,5"
                              << "1";
}

void TestConversions::parsing() {
    QFETCH(QString, input);
    QFETCH(QString, readAs);
    QCOMPARE(conversions::convertText(Direction::KmToMiles, input.toStdString()),
             conversions::convertText(Direction::KmToMiles, readAs.toStdString()));
}

void TestConversions::hugeValues_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("overflow");
    QTest::newRow("1.6e11 km still fits 19 characters") << "1e11" << false;
    QTest::newRow("1.6e12 km: overflow") << "1e12" << true;
    QTest::newRow("-1.6e11 km needs 20 characters: overflow") << "-1e11" << true;
    QTest::newRow("beyond single precision") << "1e300" << true;
    QTest::newRow("a thousand digits") << QString(1000, '9') << true;
}

void TestConversions::hugeValues() {
    // What the partner field shows for results too long for the handheld's
    // 19-character text: the word overflow.
    QFETCH(QString, input);
    QFETCH(bool, overflow);
    const std::string out = conversions::convertText(Direction::MilesToKm, input.toStdString());
    QVERIFY(out.size() <= 19);
    QCOMPARE(out == "overflow", overflow);
}

void TestConversions::typingConvertsWithinThePair_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("partner");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("sm to km") << int(SM) << int(KM) << "100"
                              << "160.929993";
    QTest::newRow("km to sm") << int(KM) << int(SM) << "100"
                              << "62.139999";
    QTest::newRow("ft to m") << int(FT) << int(M) << "1000"
                             << "304.799988";
    QTest::newRow("m to ft") << int(M) << int(FT) << "1"
                             << "3.280840";
    QTest::newRow("nm to sm") << int(NM) << int(SM2) << "1"
                              << "1.150779";
    QTest::newRow("sm to nm") << int(SM2) << int(NM) << "1"
                              << "0.868976";
    QTest::newRow("F to C") << int(F) << int(C) << "98.6"
                            << "37.000000";
    QTest::newRow("C to F") << int(C) << int(F) << "37"
                            << "98.599998";
    QTest::newRow("lb to kg") << int(LB) << int(KG) << "100"
                              << "45.360001";
    QTest::newRow("kg to lb") << int(KG) << int(LB) << "100"
                              << "220.458557";
}

void TestConversions::typingConvertsWithinThePair() {
    QFETCH(int, field);
    QFETCH(int, partner);
    QFETCH(QString, typed);
    CConversionsDialog d;
    d.createModeless(nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.item(field)->setFocus();
    QStringList before = allTexts(d);
    QTest::keyClicks(d.item(field), typed);
    QCOMPARE(text(d, field), typed);
    QTEST(text(d, partner), "shown");
    QVERIFY(CConversionsDialog::guardFlagsClear());
    QStringList after = allTexts(d);
    for (int i = 0; i < int(std::size(kAll)); ++i) {
        if (kAll[i] != field && kAll[i] != partner)
            QCOMPARE(after[i], before[i]);
    }
}

void TestConversions::focusEmptiesTheField() {
    CConversionsDialog d;
    d.createModeless(nullptr);
    QVERIFY(QTest::qWaitForWindowActive(&d));
    // The first field has the focus on opening: emptied, its partner shows 0.
    QCOMPARE(QApplication::focusWidget(), d.item(SM));
    QCOMPARE(text(d, KM), QString("0.000000"));
    QTest::keyClicks(d.item(SM), "100");
    QCOMPARE(text(d, KM), QString("160.929993"));
    d.item(KM)->setFocus();
    QCOMPARE(text(d, KM), QString());
    QCOMPARE(text(d, SM), QString("0.000000"));
    d.item(C)->setFocus();
    QCOMPARE(text(d, F), QString("32.000000"));
    d.item(F)->setFocus();
    QCOMPARE(text(d, F), QString());
    QCOMPARE(text(d, C), QString("-17.777779"));
    QVERIFY(CConversionsDialog::guardFlagsClear());
}

void TestConversions::abacus() {
    testing::Messages messages;
    QTemporaryDir bin;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());
    CConversionsDialog d;
    d.createModeless(nullptr);
    testing::setText(d, LB, "100");
    testing::click(d, ABACUS);
    QCOMPARE(messages.list, QStringList{"Error running calc.exe!"});
    QCOMPARE(text(d, LB), QString("100"));
    QCOMPARE(text(d, KG), QString("45.360001"));
    QVERIFY(d.isVisible());

    // A calculator on the path is started and not waited for.
    messages.list.clear();
    const QString marker = bin.path() + "/started";
    QFile script(bin.path() + "/galculator");
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n/usr/bin/touch '" + marker.toLocal8Bit() + "'\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    testing::click(d, ABACUS);
    QVERIFY(messages.list.isEmpty());
    QTRY_VERIFY(QFile::exists(marker));
    qputenv("PATH", path);
}

void TestConversions::accessibleNames() {
    CConversionsDialog d;
    d.createModeless(nullptr);
    QCOMPARE(d.windowTitle(), QString("Conversions"));
    const QList<std::pair<int, QString>> names = {
        {SM, "Distance sm (to km)"}, {KM, "Distance km"},  {FT, "Distance ft"},
        {M, "Distance m"},           {NM, "Distance nm"},  {SM2, "Distance sm (to nm)"},
        {F, "Temperature F"},        {C, "Temperature C"}, {LB, "Weight lb"},
        {KG, "Weight kg"},           {ABACUS, "Abacus"},   {QUIT, "Quit"}};
    for (const auto& [id, name] : names)
        QCOMPARE(QAccessible::queryAccessibleInterface(d.item(id))->text(QAccessible::Name), name);
}

void TestConversions::resultsShowTheirStart() {
    CConversionsDialog d;
    d.createModeless(nullptr);
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QTest::mouseClick(d.item(F), Qt::LeftButton);
    QTest::keyClicks(d.item(F), "0");
    QTest::mouseClick(d.item(SM), Qt::LeftButton);
    QTest::keyClicks(d.item(SM), "100");
    // Wider than their fields: the sign and the leading digit must show.
    QCOMPARE(text(d, C), QString("-17.777779"));
    QCOMPARE(testing::edit(d, C)->cursorPosition(), 0);
    QCOMPARE(text(d, KM), QString("160.929993"));
    QCOMPARE(testing::edit(d, KM)->cursorPosition(), 0);
}

void TestConversions::focusBackFromAMenuKeepsTheField() {
    CConversionsDialog d;
    d.createModeless(nullptr);
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QTest::mouseClick(d.item(F), Qt::LeftButton);
    QTest::keyClicks(d.item(F), "100");
    QCOMPARE(text(d, C), QString("37.777779"));
    // The pilot opens the field's context menu and closes it with Escape.
    QWidget* field = d.item(F);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                field->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(field, &menuEvent);
    QWidget* menu = QApplication::activePopupWidget();
    QVERIFY(menu);
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_COMPARE(QApplication::focusWidget(), field);
    QCOMPARE(text(d, F), QString("100"));
    QCOMPARE(text(d, C), QString("37.777779"));
}

QTEST_MAIN(TestConversions)
#include "tst_conversions.moc"
