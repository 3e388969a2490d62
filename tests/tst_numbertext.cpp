#include "core/NumberText.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void leadingNumber_data();
    void leadingNumber();
    void wholeField_data();
    void wholeField();
    void fixed_data();
    void fixed();
    void general_data();
    void general();
};

void TestNumberText::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "110" << 110.0;
    QTest::newRow("blank before digits") << " 5" << 5.0;
    QTest::newRow("letters after") << "12abc" << 12.0;
    QTest::newRow("letters only") << "abc" << 0.0;
    QTest::newRow("exponent") << "1e2" << 100.0;
    QTest::newRow("decimal comma stops") << "1,5" << 1.0;
    QTest::newRow("incomplete exponent") << "2e" << 2.0;
    QTest::newRow("signs") << "-13.5" << -13.5;
    QTest::newRow("leading point") << ".25" << 0.25;
    QTest::newRow("trailing point") << "7." << 7.0;
    QTest::newRow("lone sign") << "-" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("CR LF after") << "40.5\r\n" << 40.5;
    QTest::newRow("no hex") << "0x10" << 0.0;
    QTest::newRow("no inf words") << "inf" << 0.0;
    QTest::newRow("underflow") << "1e-400" << 0.0;
}

void TestNumberText::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(core::parseLeadingNumber(text.toStdString()), value);
}

void TestNumberText::wholeField_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("number") << "360" << true << 360.0;
    QTest::newRow("blanks around") << " 12.5 " << true << 12.5;
    QTest::newRow("negative") << "-360" << true << -360.0;
    QTest::newRow("trailing letters") << "12abc" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("decimal comma") << "1,5" << false << 0.0;
    QTest::newRow("too large for a double") << "1e999" << false << 0.0;
    QTest::newRow("too small for a double: 0, no refusal")
        << "1" + QString(40, '0') + "e-400" << true << 0.0;
}

void TestNumberText::wholeField() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const auto parsed = core::parseNumber(text.toStdString());
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestNumberText::fixed_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("six decimals") << 110.0 << 6 << "110.000000";
    QTest::newRow("negative") << -74.25 << 6 << "-74.250000";
    QTest::newRow("rounds") << 40.1234567 << 6 << "40.123457";
    QTest::newRow("exact tie goes even") << 0.125 << 2 << "0.12";
    QTest::newRow("large values have no exponent") << 1e22 << 2 << "10000000000000000000000.00";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 2 << "inf";
}

void TestNumberText::fixed() {
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(core::formatFixed(value, decimals)), text);
}

void TestNumberText::general_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("no trailing zeros") << 12.5 << "12.5";
    QTest::newRow("whole") << 83.0 << "83";
    QTest::newRow("two decimals survive") << 35.79 << "35.79";
    QTest::newRow("15 digits hide binary noise") << 0.1 + 0.2 << "0.3";
    QTest::newRow("large") << 1e20 << "1e+20";
}

void TestNumberText::general() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(core::formatGeneral(value)), text);
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
