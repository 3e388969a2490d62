// The wind module: the one grammar of a typed wind (the plan window's and
// the command line's), its text, and sums of winds as vectors against
// closed forms.
#include "core/Limits.h"
#include "core/Wind.h"

#include <QTest>

#include <cmath>

using core::Wind;

Q_DECLARE_METATYPE(std::optional<Wind>)

class TestWind : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void text_data();
    void text();
    void sums_data();
    void sums();
};

void TestWind::parse_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<std::optional<Wind>>("wind");
    const std::optional<Wind> none;
    QTest::newRow("slash") << "270/15" << std::optional<Wind>(Wind{270, 15});
    QTest::newRow("space") << "270 15" << std::optional<Wind>(Wind{270, 15});
    QTest::newRow("spaces around the slash") << " 90 / 5 " << std::optional<Wind>(Wind{90, 5});
    QTest::newRow("north as 360") << "360/20" << std::optional<Wind>(Wind{360, 20});
    QTest::newRow("calm") << "000/0" << std::optional<Wind>(Wind{0, 0});
    QTest::newRow("fastest three digits") << "100/999" << std::optional<Wind>(Wind{100, 999});
    QTest::newRow("direction past 360") << "361/10" << none;
    QTest::newRow("direction of four digits") << "0270/10" << none;
    QTest::newRow("speed of four digits") << "270/1000" << none;
    QTest::newRow("negative speed") << "270/-5" << none;
    QTest::newRow("decimal comma") << "270,5/10" << none;
    QTest::newRow("no speed") << "270/" << none;
    QTest::newRow("empty") << "" << none;
    QTest::newRow("letters") << "west 10" << none;
}

void TestWind::parse() {
    QFETCH(QString, typed);
    QFETCH(std::optional<Wind>, wind);
    const auto read = core::parseWind(typed);
    QCOMPARE(read.has_value(), wind.has_value());
    if (read) {
        QCOMPARE(*read, *wind);
        QVERIFY(core::limits::kWindDirectionDeg.contains(read->directionDeg));
        QVERIFY(core::limits::kWindSpeedKt.contains(read->speedKt));
        // What is written reads back the same.
        QCOMPARE(core::parseWind(core::windText(*read)), read);
    }
}

void TestWind::text_data() {
    QTest::addColumn<double>("direction");
    QTest::addColumn<double>("speed");
    QTest::addColumn<QString>("text");
    QTest::newRow("three digits") << 5.0 << 12.0 << "005/12";
    QTest::newRow("north") << 360.0 << 20.0 << "360/20";
    QTest::newRow("calm") << 0.0 << 0.0 << "000/0";
    QTest::newRow("a speed's decimals as shown") << 270.0 << 15.5 << "270/15.5";
}

void TestWind::text() {
    QFETCH(double, direction);
    QFETCH(double, speed);
    QFETCH(QString, text);
    QCOMPARE(core::windText(Wind{direction, speed}), text);
}

void TestWind::sums_data() {
    QTest::addColumn<Wind>("a");
    QTest::addColumn<Wind>("b");
    QTest::addColumn<double>("direction");
    QTest::addColumn<double>("speed");
    // 3-4-5: east -40, north -30, from 180 + atan(4/3).
    QTest::newRow("south and west")
        << Wind{180, 30} << Wind{270, 40} << 180 + std::atan(4.0 / 3.0) * 180 / M_PI << 50.0;
    QTest::newRow("across north, not through south")
        << Wind{350, 20} << Wind{10, 20} << 0.0 << 40 * std::cos(10 * M_PI / 180);
    QTest::newRow("opposite winds are a calm, direction 0")
        << Wind{270, 20} << Wind{90, 20} << 0.0 << 0.0;
    QTest::newRow("a headwind on course 090 added to a calm")
        << Wind{0, 0} << Wind{90, 10} << 90.0 << 10.0;
}

void TestWind::sums() {
    QFETCH(Wind, a);
    QFETCH(Wind, b);
    QFETCH(double, direction);
    QFETCH(double, speed);
    const Wind sum = core::windOf(core::vectorOf(a) + core::vectorOf(b));
    QVERIFY(core::limits::kWindDirectionDeg.contains(sum.directionDeg));
    // Around north either side of 0 is the same direction.
    const double off = std::remainder(sum.directionDeg - direction, 360.0);
    QVERIFY2(std::fabs(off) < 1e-9 || speed < 1e-9,
             qPrintable(QString("direction %1").arg(sum.directionDeg)));
    QVERIFY2(std::fabs(sum.speedKt - speed) < 1e-9,
             qPrintable(QString("speed %1").arg(sum.speedKt)));
    // Halves of each, weighted, give half the sum.
    const Wind half = core::windOf(core::vectorOf(a, 0.5) + core::vectorOf(b, 0.5));
    QVERIFY(std::fabs(half.speedKt - speed / 2) < 1e-9);
}

QTEST_GUILESS_MAIN(TestWind)
#include "tst_wind.moc"
