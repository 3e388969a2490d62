// Positions as pilots write them: decimal degrees, degrees and minutes,
// seconds, letters before or after, and the refusals that say why.
#include "plan/Coordinates.h"

#include "core/Math.h"

#include <QTest>

#include <cmath>

class TestCoordinates : public QObject {
    Q_OBJECT
private slots:
    void printed_data();
    void printed();
    void positions_data();
    void positions();
};

void TestCoordinates::positions_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QString>("error"); // part of the message when refused
    QTest::newRow("decimal") << "47.4581 8.5481" << 47.4581 << 8.5481 << "";
    QTest::newRow("decimal with a comma and signs") << "-33.95, -151.18" << -33.95 << -151.18 << "";
    QTest::newRow("degrees and minutes, letters after")
        << "47 27.5N 008 33.0E" << 47 + 27.5 / 60 << 8 + 33.0 / 60 << "";
    QTest::newRow("marks, letters before") << "N47°27.5' E8°33'" << 47 + 27.5 / 60 << 8.55 << "";
    QTest::newRow("south and west")
        << "S33 57.0 W151 10.8" << -(33 + 57.0 / 60) << -(151 + 10.8 / 60) << "";
    QTest::newRow("seconds") << "47°27'29\"N 8°32'53\"E" << 47 + 27 / 60.0 + 29 / 3600.0
                             << 8 + 32 / 60.0 + 53 / 3600.0 << "";
    QTest::newRow("minutes without letters") << "47 27.5 8 33" << 47 + 27.5 / 60 << 8.55 << "";
    QTest::newRow("lower-case letters") << "47.5n 8.5w" << 47.5 << -8.5 << "";
    QTest::newRow("letters and no spaces") << "47.5N8.5E" << 47.5 << 8.5 << "";
    QTest::newRow("decimal commas") << "47,5 8,5" << 47.5 << 8.5 << "";
    QTest::newRow("decimal commas in minutes")
        << "47 27,5N 008 33,0E" << 47 + 27.5 / 60 << 8 + 33.0 / 60 << "";
    QTest::newRow("a comma between decimal points") << "47.5,8.5" << 47.5 << 8.5 << "";
    QTest::newRow("one number with a decimal comma") << "47,5" << 0. << 0. << "no position";
    QTest::newRow("a number too long to read")
        << QString(400, '9') + " 8" << 0. << 0. << "too long to read";
    QTest::newRow("minus zero keeps its minus") << "-0 27.5 8 0" << -27.5 / 60 << 8. << "";
    QTest::newRow("latitude exactly 90, longitude exactly -180") << "90 -180" << 90. << -180. << "";
    QTest::newRow("latitude 91") << "91 8" << 0. << 0. << "between -90 and 90";
    QTest::newRow("longitude 181") << "47 181" << 0. << 0. << "between -180 and 180";
    QTest::newRow("60 minutes") << "47 60N 8 0E" << 0. << 0. << "below 60";
    QTest::newRow("east for a latitude") << "47E 8N" << 0. << 0. << "no position";
    QTest::newRow("a sign and a letter") << "-47N 8E" << 0. << 0. << "both a sign";
    QTest::newRow("one number") << "47.5" << 0. << 0. << "no position";
    QTest::newRow("decimal degrees with minutes")
        << "47.5 10N 8 0E" << 0. << 0. << "decimal degrees";
    QTest::newRow("halves written unlike") << "47 30N 8.5E" << 0. << 0. << "not written alike";
    QTest::newRow("words") << "lake bridge" << 0. << 0. << "no position";
}

void TestCoordinates::positions() {
    QFETCH(QString, text);
    QFETCH(QString, error);
    const plan::ParsedPosition parsed = plan::parsePosition(text);
    if (!error.isEmpty()) {
        QVERIFY(!parsed.position);
        QVERIFY2(parsed.error.contains(error), qPrintable(parsed.error));
        return;
    }
    QFETCH(double, lat);
    QFETCH(double, lon);
    QVERIFY2(parsed.position, qPrintable(parsed.error));
    QVERIFY(std::fabs(parsed.position->latitudeDeg - lat) < 1e-12);
    QVERIFY(std::fabs(parsed.position->longitudeDeg - lon) < 1e-12);
}

void TestCoordinates::printed_data() {
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QString>("text");
    QTest::newRow("north and east") << 47.458333 << 8.55 << "47 27.50N 008 33.00E";
    QTest::newRow("south and west") << -33.95 << -151.18 << "33 57.00S 151 10.80W";
    QTest::newRow("minutes that round to 60 carry into the degree")
        << 47.9999999 << -8.9999999 << "48 00.00N 009 00.00W";
    QTest::newRow("the poles and the date line") << -90.0 << 180.0 << "90 00.00S 180 00.00E";
}

void TestCoordinates::printed() {
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(QString, text);
    QCOMPARE(plan::positionText({lat, lon}), text);
    // And it reads back to within the printed hundredth of a minute.
    const plan::ParsedPosition back = plan::parsePosition(text);
    QVERIFY2(back.position, qPrintable(back.error));
    QVERIFY(std::fabs(back.position->latitudeDeg - lat) < 0.01 / 60);
    QVERIFY(std::fabs(back.position->longitudeDeg - lon) < 0.01 / 60);
}

QTEST_GUILESS_MAIN(TestCoordinates)
#include "tst_coordinates.moc"
