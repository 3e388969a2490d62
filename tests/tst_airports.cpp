// The airport text: the scan of hand-written and system-written files, the
// index, the append and the safe rewrite.
#include "TestData.h"
#include "store/AirportDatabase.h"
#include "store/Globals.h"

#include <QTest>

namespace {

struct Scan {
    std::vector<std::string> ids;
    AirportMap index;
};

Scan scan(const std::string& text) {
    Scan s;
    s.ids = store::parseAirportText(text, s.index);
    return s;
}

QStringList idsOf(const Scan& s) {
    QStringList out;
    for (const auto& id : s.ids)
        out << QString::fromStdString(id);
    return out;
}

} // namespace

class TestAirports : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::checkRequestedLocale(); }
    void scan_data();
    void scan();
    void duplicatesListedTwiceFirstWins();
    void decimalCommaShiftsTheRest();
    void missingSemicolonShiftsTheRest();
    void nulCutsItsChunk();
    void appendWritesSixDecimalsKeepsEnteredValue();
    void lookupIgnoresCaseOnlyWhenNeeded();
    void separatorsAreNotStorable();
    void fileRoundTrip();
    void userFileComesBeforeTheInstalledOne();
    void missingFile();
    void failedRewriteKeepsOldFile();
    void pathologicalTextIsLinear();
};

void TestAirports::scan_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<double>("lastLat");
    QTest::addColumn<double>("lastLon");
    QTest::newRow("system format, back to back")
        << "EWX:40.500000;-74.250000,KLA:51.500000;-0.500000," << QStringList{"EWX", "KLA"} << 51.5
        << -0.5;
    QTest::newRow("one record per line") << "EWX:40.5;-74.25,\r\nKLA:51.5;-0.5,\r\n"
                                         << QStringList{"EWX", "KLA"} << 51.5 << -0.5;
    QTest::newRow("last record without its comma: longitude 0")
        << "EWX:40.5;-74.25,KLA:51.5;-0.5" << QStringList{"EWX", "KLA"} << 51.5 << 0.0;
    QTest::newRow("text between records ignored")
        << "my airports\r\nEWX:40.5;-74.25, and KLA:51.5;-0.5," << QStringList{"EWX", "KLA"} << 51.5
        << -0.5;
    QTest::newRow("blanks before numbers")
        << "ABC: 12.5; 7.25," << QStringList{"ABC"} << 12.5 << 7.25;
    QTest::newRow("empty text") << "" << QStringList{} << 0.0 << 0.0;
    QTest::newRow("a number text cut at 79 characters, as the fields are")
        << "ABC:1" + QString(79, '0') + ";2," << QStringList{"ABC"} << 1e78 << 2.0;
    QTest::newRow("colon too near the start takes the first three")
        << "A:1;2," << QStringList{"A:1"} << 1.0 << 2.0;
}

void TestAirports::scan() {
    QFETCH(QString, text);
    QFETCH(QStringList, ids);
    const Scan s = ::scan(text.toStdString());
    QCOMPARE(idsOf(s), ids);
    if (!ids.isEmpty()) {
        const core::GeoPoint& last = s.index.at(s.ids.back());
        QTEST(last.latitudeDeg, "lastLat");
        QTEST(last.longitudeDeg, "lastLon");
    }
}

void TestAirports::duplicatesListedTwiceFirstWins() {
    const Scan s = ::scan("ABC:1;2,XYZ:3;4,ABC:5;6,");
    QCOMPARE(idsOf(s), (QStringList{"ABC", "XYZ", "ABC"}));
    QCOMPARE(s.index.size(), std::size_t(2));
    QCOMPARE(s.index.at("ABC").latitudeDeg, 1.0);
}

void TestAirports::decimalCommaShiftsTheRest() {
    // The comma of "40,5" ends the record: this and every later record lose
    // their longitude, as the file format has always read.
    const Scan s = ::scan("AAA:40,5;-74.25,BBB:51.5;-0.5,");
    QCOMPARE(s.index.at("AAA").latitudeDeg, 40.0);
    QCOMPARE(s.index.at("AAA").longitudeDeg, 0.0);
    QCOMPARE(s.index.at("BBB").longitudeDeg, 0.0);
}

void TestAirports::missingSemicolonShiftsTheRest() {
    const Scan s = ::scan("AAA:1,BBB:2;3,CCC:4;5,");
    QCOMPARE(idsOf(s), (QStringList{"AAA", "BBB", "CCC"}));
    QCOMPARE(s.index.at("AAA").longitudeDeg, 0.0); // its semicolon is BBB's, after its comma
    QCOMPARE(s.index.at("BBB").longitudeDeg, 0.0);
    QCOMPARE(s.index.at("CCC").latitudeDeg, 0.0); // no semicolon after its colon
}

void TestAirports::nulCutsItsChunk() {
    std::string bytes(127, 'x');
    bytes.replace(0, 6, "AAA:1;");
    bytes[10] = '\0';
    bytes += "2,BBB:3;4,";
    const std::string text = store::airportTextFromBytes(bytes);
    QCOMPARE(QString::fromStdString(text), QString("AAA:1;xxxx2,BBB:3;4,"));
}

void TestAirports::appendWritesSixDecimalsKeepsEnteredValue() {
    std::string text = "AAA:1;2,";
    AirportMap index;
    store::parseAirportText(text, index);
    store::appendAirportRecord(text, index, "NEW", 40.1234567, -0.5);
    QCOMPARE(QString::fromStdString(text), QString("AAA:1;2,NEW:40.123457;-0.500000,"));
    QCOMPARE(index.at("NEW").latitudeDeg, 40.1234567);
    AirportMap reread;
    store::parseAirportText(text, reread);
    QCOMPARE(reread.at("NEW").latitudeDeg, 40.123457);
}

void TestAirports::lookupIgnoresCaseOnlyWhenNeeded() {
    const Scan s = ::scan("abc:1;2,ABD:3;4,");
    QCOMPARE(store::findAirport(s.index, "ABC")->latitudeDeg, 1.0);
    QCOMPARE(store::findAirport(s.index, "ABD")->latitudeDeg, 3.0);
    QVERIFY(!store::findAirport(s.index, "XYZ"));
}

void TestAirports::separatorsAreNotStorable() {
    using store::IdProblem;
    QCOMPARE(store::airportIdProblem("K1X"), IdProblem::None);
    QCOMPARE(store::airportIdProblem("A:B"), IdProblem::Separator);
    QCOMPARE(store::airportIdProblem("A;B"), IdProblem::Separator);
    QCOMPARE(store::airportIdProblem("A,B"), IdProblem::Separator);
}

void TestAirports::fileRoundTrip() {
    testing::DataDir dir;
    dir.write("airports.fly", "EWX:40.5;-74.25,\r\nKLA:51.5;-0.5,\r\n");
    store::AirportDatabase db(store::dataPlaces());
    QCOMPARE(db.load(), store::AirportLoad::Loaded);
    db.listIdentifiers();
    QCOMPARE(db.append("NEW", 1.5, 2.5), core::WriteStatus::Written);
    QCOMPARE(dir.read("airports.fly"),
             QByteArray("EWX:40.5;-74.25,\r\nKLA:51.5;-0.5,\r\nNEW:1.500000;2.500000,"));
}

void TestAirports::userFileComesBeforeTheInstalledOne() {
    testing::DataDir dir;
    QFile installed(dir.installed("airports.fly"));
    QVERIFY(installed.open(QIODevice::WriteOnly));
    installed.write("SYS:1;2,");
    installed.close();
    store::AirportDatabase db(store::dataPlaces());
    QCOMPARE(db.load(), store::AirportLoad::Loaded);
    QCOMPARE(QString::fromStdString(db.text()), QString("SYS:1;2,"));
    dir.write("airports.fly", "USR:3;4,");
    QCOMPARE(db.load(), store::AirportLoad::Loaded);
    QCOMPARE(QString::fromStdString(db.text()), QString("USR:3;4,"));
    QCOMPARE(db.append("NEW", 5, 6), core::WriteStatus::Written);
    QCOMPARE(dir.read("airports.fly"), QByteArray("USR:3;4,NEW:5.000000;6.000000,"));
}

void TestAirports::missingFile() {
    testing::DataDir dir;
    store::AirportDatabase db(store::dataPlaces());
    db.text() = "stale";
    QCOMPARE(db.load(), store::AirportLoad::CannotOpen);
    QVERIFY(db.text().empty());
}

void TestAirports::failedRewriteKeepsOldFile() {
    testing::DataDir dir(false);
    store::AirportDatabase db(store::dataPlaces());
    QCOMPARE(db.append("AAA", 1, 2), core::WriteStatus::CannotCreate);
    QVERIFY(!dir.exists("airports.fly"));
}

void TestAirports::pathologicalTextIsLinear() {
    // Colons with no separators after them make every search start over;
    // the scan must still finish at once.
    std::string text = "x,;" + std::string(200000, ':') + ",;";
    const Scan s = ::scan(text);
    QCOMPARE(s.ids.size(), std::size_t(200000));
}

QTEST_GUILESS_MAIN(TestAirports)
#include "tst_airports.moc"
