// Importing OurAirports' airports.csv: the rules that keep or skip a row, the
// counts the summary gives, refusals of files that are not what they claim,
// and an import while another running copy adds airports.
#include "TestData.h"
#include "core/Text.h"
#include "store/AirportDatabase.h"
#include "store/AirportImport.h"
#include "store/Globals.h"

#include <QProcess>
#include <QTest>

#include <set>

using store::ImportOptions;
using store::SkipReason;

namespace {

std::string sample() {
    QFile f(QStringLiteral(SKYVANE_TEST_DATA "/ourairports-sample.csv"));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

QStringList idsOf(const store::ImportRead& read) {
    QStringList out;
    for (const auto& a : read.airports)
        out << core::fromLatin1(a.id);
    return out;
}

const char* const kHeader =
    "id,ident,type,name,latitude_deg,longitude_deg,iso_country,iso_region,iata_code\r\n";

} // namespace

class TestImport : public QObject {
    Q_OBJECT
private slots:
    void rowsKeptAndSkippedByReason();
    void otherCodeColumnAndFilters();
    void hardCsvIsReadRight();
    void rowSkippedForItsReason_data();
    void rowSkippedForItsReason();
    void malformedFilesAreRefused_data();
    void malformedFilesAreRefused();
    void duplicatesIgnoreCaseAndKeepTheFile();
    void importWhileAnotherCopyAddsLosesNothing();
};

void TestImport::rowsKeptAndSkippedByReason() {
    const auto read = store::readOurAirports(sample(), ImportOptions{});
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(read.rows, 18);
    QCOMPARE(idsOf(read), (QStringList{"1N7", "7NJ", "ABC", "DUP", "dup", "CYV",
                                       QString::fromUtf8("\xc3\x89t1")}));
    const std::map<SkipReason, int> expected = {
        {SkipReason::NotSelected, 3}, // closed, heliport, seaplane base
        {SkipReason::EmptyCode, 1},   {SkipReason::NotThreeChars, 2}, {SkipReason::Separator, 1},
        {SkipReason::WhiteSpace, 1},  {SkipReason::NotLatin1, 1},     {SkipReason::BadPosition, 2}};
    QCOMPARE(read.skipped, expected);
    QCOMPARE(read.airports[0].position.latitudeDeg, 40.971);
    QCOMPARE(read.airports[0].position.longitudeDeg, -74.9975);
}

void TestImport::otherCodeColumnAndFilters() {
    ImportOptions iata;
    iata.codeColumn = "iata_code";
    QCOMPARE(idsOf(store::readOurAirports(sample(), iata)), (QStringList{"JFK", "ZRH"}));

    ImportOptions canada;
    canada.countries = QStringList{"CA"};
    canada.types << "seaplane_base";
    QCOMPARE(idsOf(store::readOurAirports(sample(), canada)),
             (QStringList{"CYV", QString::fromUtf8("\xc3\x89t1"), "SEA"}));

    ImportOptions ontario;
    ontario.regions = QStringList{"CA-ON"};
    QCOMPARE(idsOf(store::readOurAirports(sample(), ontario)), QStringList{"CYV"});

    ImportOptions closed;
    closed.types = QStringList{"closed"};
    QVERIFY(store::readOurAirports(sample(), closed).airports.empty()); // never, even asked
}

void TestImport::hardCsvIsReadRight() {
    // Commas and doubled quotes inside quotes, a line end inside a quoted
    // name, LF rows after CR LF ones, no line end at the end.
    const std::string csv = std::string(kHeader) +
                            "1,AAA,small_airport,\"A, \"\"B\"\"\",1.5,2.5,US,US-NY,\r\n"
                            "2,BBB,small_airport,\"two\nlines\",3,4,US,US-NY,\n"
                            "3,CCC,small_airport,plain,5,6,US,US-NY,";
    const auto read = store::readOurAirports(csv, ImportOptions{});
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(idsOf(read), (QStringList{"AAA", "BBB", "CCC"}));
    QCOMPARE(read.airports[2].position.longitudeDeg, 6.0);
}

void TestImport::rowSkippedForItsReason_data() {
    QTest::addColumn<QByteArray>("row"); // ident, latitude, longitude
    QTest::addColumn<int>("reason");
    QTest::newRow("code of two") << QByteArray("Z9,1,2") << int(SkipReason::NotThreeChars);
    QTest::newRow("a tab in the code") << QByteArray("Z\t9,1,2") << int(SkipReason::WhiteSpace);
    QTest::newRow("a no-break space in the code") << QByteArray("Z\xC2\xA0"
                                                                "9,1,2")
                                                  << int(SkipReason::WhiteSpace);
    QTest::newRow("longitude 200") << QByteArray("ZZ9,1,200") << int(SkipReason::BadPosition);
    QTest::newRow("latitude -90.5") << QByteArray("ZZ9,-90.5,2") << int(SkipReason::BadPosition);
}

void TestImport::rowSkippedForItsReason() {
    QFETCH(QByteArray, row);
    QFETCH(int, reason);
    const QList<QByteArray> f = row.split(',');
    const std::string csv = std::string(kHeader) + "1," + f[0].toStdString() + ",small_airport,x," +
                            f[1].toStdString() + "," + f[2].toStdString() + ",US,US-NY,\r\n";
    const auto read = store::readOurAirports(csv, ImportOptions{});
    QVERIFY2(read.ok, qPrintable(read.error));
    QVERIFY(read.airports.empty());
    QCOMPARE(read.skipped, (std::map<SkipReason, int>{{SkipReason(reason), 1}}));
}

void TestImport::malformedFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("says");
    QTest::newRow("empty") << QByteArray() << "empty";
    QTest::newRow("a quote never closed")
        << QByteArray(kHeader) + "1,AAA,small_airport,\"open,1,2,US,US-NY,\r\n"
        << "not valid CSV";
    QTest::newRow("a row short of fields") << QByteArray(kHeader) + "1,AAA,small_airport,x,1,2\r\n"
                                           << "row 2 has 6 fields, the header 9";
    QTest::newRow("not the airports file")
        << QByteArray("name,lat,lon\r\nx,1,2\r\n") << "no column \"ident\"";
}

void TestImport::malformedFilesAreRefused() {
    QFETCH(QByteArray, csv);
    QFETCH(QString, says);
    const auto read = store::readOurAirports(csv.toStdString(), ImportOptions{});
    QVERIFY(!read.ok);
    QVERIFY2(read.error.contains(says), qPrintable(read.error));
    QVERIFY(read.airports.empty());
}

void TestImport::duplicatesIgnoreCaseAndKeepTheFile() {
    testing::DataDir dir;
    dir.write("airports.fly", "abc:1;2,\r\n7nj:3;4,\r\n");
    store::AirportDatabase db(store::dataPlaces());
    const auto read = store::readOurAirports(sample(), ImportOptions{});
    const auto result = db.appendNew(read.airports);
    QCOMPARE(result.status, core::WriteStatus::Written);
    QCOMPARE(result.added, 4);      // 1N7, DUP, CYV, Ét1
    QCOMPARE(result.duplicates, 3); // ABC and 7NJ in the file, dup after DUP
    QCOMPARE(dir.read("airports.fly"),
             QByteArray("abc:1;2,\r\n7nj:3;4,\r\n1N7:40.971000;-74.997500,DUP:43.000000;"
                        "-77.000000,CYV:44.000000;-79.000000,\xc9t1:45.500000;-73.500000,"));
    // Again: nothing new, nothing written.
    const auto again = db.appendNew(read.airports);
    QCOMPARE(again.added, 0);
    QCOMPARE(again.duplicates, 7);
}

void TestImport::importWhileAnotherCopyAddsLosesNothing() {
    testing::DataDir dir;
    dir.write("airports.fly", "");
    QProcess other;
    other.start(QStringLiteral(AIRPORT_APPENDER), {"append", "P", "100"});
    QVERIFY(other.waitForStarted());
    store::AirportDatabase db(store::dataPlaces());
    db.setLockTimeout(30000);
    int added = 0;
    for (int batch = 0; batch < 10; ++batch) {
        std::vector<store::AirportDatabase::NewAirport> airports;
        for (int i = 0; i < 50; ++i) {
            const int n = batch * 50 + i;
            const char id[4] = {char('Q' + n / 100), char('0' + n / 10 % 10), char('0' + n % 10),
                                0};
            airports.push_back({id, core::GeoPoint{1, 2}});
        }
        const auto result = db.appendNew(airports);
        QCOMPARE(result.status, core::WriteStatus::Written);
        added += result.added;
    }
    QVERIFY(other.waitForFinished(60000));
    QCOMPARE(other.exitCode(), 0);
    QCOMPARE(added, 500);
    AirportMap index;
    const auto ids = store::parseAirportText(dir.read("airports.fly").toStdString(), index);
    QCOMPARE(std::set<std::string>(ids.begin(), ids.end()).size(), std::size_t(600));
}

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
