// The conversions dialog: its field pairs, focus rule, guard flags, what the
// fields show, and the calculator.
#include "TestSupport.h"
#include "dialogs/ConversionsDialog.h"
#include "dialogs/ConversionsDialogIds.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QTest>

using testing::text;

namespace {
using namespace ids::conversions;
const int kAll[] = {SM, FT, NM, KM, M, SM2, F, C, LB, KG};

QStringList allTexts(const platform::Dialog& d) {
    QStringList out;
    for (int id : kAll)
        out << text(d, id);
    return out;
}
} // namespace

class TestConversionsDialog : public QObject {
    Q_OBJECT
private slots:
    void typingConvertsWithinThePair_data();
    void typingConvertsWithinThePair();
    void focusEmptiesTheField();
    void resultsShowTheirStart();
    void focusBackFromAMenuKeepsTheField();
    void abacus();
    void accessibleNames();
};

void TestConversionsDialog::typingConvertsWithinThePair_data() {
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

void TestConversionsDialog::typingConvertsWithinThePair() {
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

void TestConversionsDialog::focusEmptiesTheField() {
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

void TestConversionsDialog::abacus() {
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

void TestConversionsDialog::accessibleNames() {
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

void TestConversionsDialog::resultsShowTheirStart() {
    CConversionsDialog d;
    d.createModeless(nullptr);
    d.activateWindow();
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

    // Whatever a field showed before: a field the pilot typed a long number
    // into, scrolled to its end, later shows a result from its start too.
    const struct {
        int field;
        const char* typed;
        int partner;
        const char* shown;
    } runs[] = {{SM, "1234567.12345678901234567890123456789012", KM, nullptr},
                {KM, "123456789", SM, nullptr},
                {SM, "1.5", KM, nullptr},
                {KM, "1.427e+05", SM, "88673.781250"},
                {LB, "-60000000.5", KG, nullptr},
                {KG, "-1234567.12345678901234567890123456789012", LB, nullptr},
                {LB, "-606.5,5", KG, "-275.108398"}};
    for (const auto& run : runs) {
        QTest::mouseClick(d.item(run.field), Qt::LeftButton);
        QTest::keyClicks(d.item(run.field), run.typed, Qt::NoModifier, 10);
        if (run.shown)
            QCOMPARE(text(d, run.partner), QString(run.shown));
        QLineEdit* shown = testing::edit(d, run.partner);
        const QImage onScreen = shown->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // The same text in a field that never scrolled.
        QLineEdit fresh;
        fresh.setFont(shown->font());
        fresh.setReadOnly(shown->isReadOnly());
        fresh.setFrame(shown->hasFrame());
        fresh.setFixedSize(shown->size());
        fresh.setText(shown->text());
        fresh.setCursorPosition(0);
        QVERIFY2(onScreen == fresh.grab().toImage().convertToFormat(QImage::Format_RGB32),
                 run.typed);
    }
}

void TestConversionsDialog::focusBackFromAMenuKeepsTheField() {
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

QTEST_MAIN(TestConversionsDialog)
#include "tst_conversionsdialog.moc"
