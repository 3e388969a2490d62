// Unit conversions: the single-precision results the pilot sees, both ways.
#include "dialogs/Conversions.h"

#include <QTest>

using conversions::Direction;

Q_DECLARE_METATYPE(Direction)

class TestConversions : public QObject {
    Q_OBJECT
private slots:
    void values_data();
    void values();
    void parsing_data();
    void parsing();
    void hugeValues_data();
    void hugeValues();
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
    // The single-precision steps decide the sixth decimal.
    QTest::newRow("2 C") << Direction::CelsiusToFahrenheit << "2"
                         << "35.600002";
    QTest::newRow("1 F") << Direction::FahrenheitToCelsius << "1"
                         << "-17.222223";
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
    QTest::newRow("just beyond single precision") << "1e39" << true;
    QTest::newRow("just beyond single precision, negative: no infinity") << "-1e39" << true;
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

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
