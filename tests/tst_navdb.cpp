// The navigation database: each of OurAirports' files imported with its hard
// cases, all or nothing; searching by code and by words, case and accents
// aside, ranked; the user's database over the installed one; a damaged file
// put aside; a second copy holding the database.
#include "TestData.h"
#include "navdb/NavDatabase.h"

#include <QProcess>
#include <QTest>

#include <sqlite3.h>

using navdb::NavDatabase;
using navdb::Table;

namespace {

QByteArray testFile(const char* name) {
    QFile f(QStringLiteral(SKYVANE_TEST_DATA "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string pathIn(const QTemporaryDir& dir, const char* name) {
    return QFile::encodeName(dir.path() + QLatin1Char('/') + QLatin1String(name)).toStdString();
}

QStringList found(const std::vector<navdb::Place>& places) {
    QStringList out;
    for (const auto& p : places)
        out << p.ident + QLatin1Char(' ') + p.name;
    return out;
}

const char* const kHeader = "id,ident,type,name,latitude_deg,longitude_deg,elevation_ft,"
                            "iso_country,iso_region,municipality,gps_code,iata_code,local_code\n";

} // namespace

class TestNavDb : public QObject {
    Q_OBJECT
private slots:
    void importEachKind_data();
    void importEachKind();
    void importAgainReplaces();
    void malformedFileChangesNothing();
    void searchRanksAndFolds_data();
    void searchRanksAndFolds();
    void userDatabaseWins();
    void anImportFromAShellIsSeenAtOnce();
    void airportFactsOpenRunwaysAndTheUsersFirst();
    void starterDataImportsCleanlyAndFindsTheSmallFields();
    void runwayEndsFromTheirColumns();
    void aDatabaseOfAnEarlierSkyvaneGainsTheNewColumns();
    void otherNamesAreFoundAsNames_data();
    void otherNamesAreFoundAsNames();
    void hostileRows_data();
    void hostileRows();
    void nearestOfEqualCodesFirst();
    void punctuationInNames_data();
    void punctuationInNames();
    void damagedFileIsPutAside();
    void busyWhileAnotherCopyWrites();
};

void TestNavDb::importEachKind_data() {
    QTest::addColumn<int>("table");
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("added");
    QTest::addColumn<QStringList>("skipped");
    QTest::newRow("airports: closed, no ident, bad positions, duplicate codes kept")
        << int(Table::Airports) << testFile("ourairports-sample.csv") << 14
        << QStringList{"closed", "no identifier", "position missing or out of range",
                       "position missing or out of range"};
    QTest::newRow("airports saved by a spreadsheet (byte-order mark)")
        << int(Table::Airports) << "\xEF\xBB\xBF" + testFile("ourairports-sample.csv") << 14
        << QStringList{"closed", "no identifier", "position missing or out of range",
                       "position missing or out of range"};
    QTest::newRow("navaids: a VOR and an NDB both ZUE")
        << int(Table::Navaids) << testFile("ourairports-navaids.csv") << 3
        << QStringList{"position missing or out of range"};
    QTest::newRow("runways") << int(Table::Runways) << testFile("ourairports-runways.csv") << 2
                             << QStringList{"no airport"};
    QTest::newRow("frequencies: quotes and a line break in a field")
        << int(Table::Frequencies) << testFile("ourairports-frequencies.csv") << 2
        << QStringList{"frequency missing"};
}

void TestNavDb::importEachKind() {
    QFETCH(int, table);
    QFETCH(QByteArray, csv);
    QFETCH(int, added);
    QFETCH(QStringList, skipped);
    QTemporaryDir dir;
    auto db = NavDatabase::open(pathIn(dir, "nav.sqlite"), true);
    QVERIFY(db);
    const auto result = db->import(Table(table), csv.toStdString(), {});
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.added, added);
    QCOMPARE(result.replaced, 0);
    QStringList reasons;
    for (const auto& [reason, count] : result.skipped)
        for (int i = 0; i < count; ++i)
            reasons << reason;
    QCOMPARE(reasons, skipped);
    if (Table(table) == Table::Navaids) {
        const auto zue = db->search("zue", 10);
        QCOMPARE(found(zue), (QStringList{"ZUE Zürich East", "ZUE Zürich \"East\" Locator"}));
        QCOMPARE(zue[0].type, QString("VOR-DME"));
    }
    if (Table(table) == Table::Airports) {
        // Two airports may share a code: both are kept, by their own rows.
        QCOMPARE(db->search("dup", 10).size(), std::size_t(2));
        QCOMPARE(found(db->search("7NJ", 1)), QStringList{"7NJ Smith's \"Field\", North"});
    }
}

void TestNavDb::importAgainReplaces() {
    QTemporaryDir dir;
    auto db = NavDatabase::open(pathIn(dir, "nav.sqlite"), true);
    const std::string csv = testFile("ourairports-sample.csv").toStdString();
    QCOMPARE(db->import(Table::Airports, csv, {}).added, 14);
    const auto again = db->import(Table::Airports, csv, {});
    QCOMPARE(again.added, 0);
    QCOMPARE(again.replaced, 14);
    QCOMPARE(db->search("LSZH", 10).size(), std::size_t(1)); // once, not twice
    QCOMPARE(db->search("zurich", 10).size(), std::size_t(1));
}

void TestNavDb::malformedFileChangesNothing() {
    QTemporaryDir dir;
    auto db = NavDatabase::open(pathIn(dir, "nav.sqlite"), true);
    QVERIFY(db->import(Table::Airports, testFile("ourairports-sample.csv").toStdString(), {}).ok);
    for (const std::string& bad :
         {std::string(kHeader) + "900,NEW1,small_airport,New Field,1,2,0,CH,CH-ZH,Town,,,\n"
                                 "901,NEW2,small_airport,Short Row,1,2\n",
          std::string(kHeader) + "902,NEW3,small_airport,\"never closed,1,2,0,CH,CH-ZH,T,,,\n",
          std::string("name,lat\nx,1\n")}) {
        const auto result = db->import(Table::Airports, bad, {});
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QVERIFY(db->search("NEW1", 5).empty()); // the good row before the bad one is not kept
        QCOMPARE(found(db->search("LSZH", 5)), QStringList{"LSZH Zürich Airport"});
    }
}

void TestNavDb::searchRanksAndFolds_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("best");
    QTest::newRow("an ICAO code") << "LSZH" << QStringList{"LSZH Zürich Airport"};
    QTest::newRow("a code in lower case") << "kjfk" << QStringList{"KJFK John F Kennedy"};
    QTest::newRow("an IATA code finds the airport by its own ident")
        << "ZRH" << QStringList{"LSZH Zürich Airport"};
    QTest::newRow("exact code before a larger airport's code prefix")
        << "SBG" << QStringList{"SBG Small Strip", "SBGR Guarulhos"};
    QTest::newRow("a town without its accents") << "zurich" << QStringList{"LSZH Zürich Airport"};
    QTest::newRow("two words without accents, larger airports first")
        << "sao paulo" << QStringList{"SBGR Guarulhos", "SBMT Campo de Marte", "SBG Small Strip"};
    QTest::newRow("the start of a word") << "guarul" << QStringList{"SBGR Guarulhos"};
    QTest::newRow("nothing") << "qqqq" << QStringList{};
}

void TestNavDb::searchRanksAndFolds() {
    QFETCH(QString, text);
    QFETCH(QStringList, best);
    QTemporaryDir dir;
    auto db = NavDatabase::open(pathIn(dir, "nav.sqlite"), true);
    const std::string csv = std::string(kHeader) +
                            "1,LSZH,large_airport,Zürich Airport,47.458,8.548,1416,CH,CH-ZH,"
                            "Zürich,LSZH,ZRH,\n"
                            "2,KJFK,large_airport,John F Kennedy,40.64,-73.78,13,US,US-NY,New "
                            "York,KJFK,JFK,JFK\n"
                            "3,SBG,small_airport,Small Strip,-23.5,-46.6,2000,BR,BR-SP,São "
                            "Paulo,,,\n"
                            "4,SBMT,medium_airport,Campo de Marte,-23.51,-46.64,2371,BR,BR-SP,São "
                            "Paulo,SBMT,RTE,\n"
                            "5,SBGR,large_airport,Guarulhos,-23.43,-46.47,2459,BR,BR-SP,São "
                            "Paulo,SBGR,GRU,\n";
    QVERIFY(db->import(Table::Airports, csv, {}).ok);
    QCOMPARE(found(db->search(text, int(best.size()) + 1)).mid(0, best.size()), best);
}

void TestNavDb::userDatabaseWins() {
    QTemporaryDir dir;
    const std::string user = pathIn(dir, "user.sqlite"), installed = pathIn(dir, "inst.sqlite");
    {
        auto db = NavDatabase::open(installed, true);
        QVERIFY(
            db->import(Table::Airports, testFile("ourairports-sample.csv").toStdString(), {}).ok);
        auto own = NavDatabase::open(user, true);
        QVERIFY(own->import(Table::Airports,
                            std::string(kHeader) + "4,LSZH,large_airport,My Zürich,47.5,8.5,1416,"
                                                   "CH,CH-ZH,Zürich,LSZH,ZRH,\n",
                            {})
                    .ok);
    }
    const navdb::NavData data(user, installed);
    QCOMPARE(found(data.search("LSZH", 5)), QStringList{"LSZH My Zürich"});
    QCOMPARE(found(data.search("KJFK", 5)),
             QStringList{"KJFK John F Kennedy International Airport"});
}

void TestNavDb::anImportFromAShellIsSeenAtOnce() {
    // The program runs before the pilot's database exists; an import made
    // meanwhile is found without a restart.
    QTemporaryDir dir;
    const std::string user = pathIn(dir, "user.sqlite");
    const navdb::NavData data(user, std::nullopt);
    QVERIFY(data.empty());
    QVERIFY(data.search("ZUE", 5).empty());
    {
        auto db = NavDatabase::open(user, true);
        QVERIFY(
            db->import(Table::Navaids, testFile("ourairports-navaids.csv").toStdString(), {}).ok);
    }
    QVERIFY(!data.empty());
    QCOMPARE(data.search("ZUE", 5).size(), std::size_t(2));
}

void TestNavDb::airportFactsOpenRunwaysAndTheUsersFirst() {
    QTemporaryDir dir;
    const std::string installed = pathIn(dir, "installed.sqlite");
    const std::string user = pathIn(dir, "user.sqlite");
    const QByteArray header = testFile("ourairports-runways.csv").split('\n').first();
    for (const std::string& path : {installed, user}) {
        auto db = NavDatabase::open(path, true);
        QVERIFY(
            db->import(Table::Airports, testFile("ourairports-sample.csv").toStdString(), {}).ok);
        // A closed runway, the longest of all, is never the longest open one.
        const QByteArray runways =
            header + "\n9,4,\"LSZH\",20000,200,\"CON\",1,1,\"01\",,,,,,\"19\",,,,,\n" +
            (path == user ? "8,4,\"LSZH\",8000,100,\"ASP\",1,0,\"10\",,,,,,\"28\",,,,,\n"
                          : "8,4,\"LSZH\",9000,100,\"CON\",1,0,\"14\",,,,,,\"32\",,,,,\n");
        QVERIFY(db->import(Table::Runways, runways.toStdString(), {}).ok);
    }
    const navdb::NavData data(user, installed);
    const auto facts = data.airportFacts("LSZH");
    QVERIFY(facts && facts->longestRunway);
    QCOMPARE(facts->longestRunway->ends, QString("10/28")); // the pilot's own database
    QCOMPARE(facts->longestRunway->lengthFt, 8000.0);
}

// The starter files as the build imports them: nothing skipped, every open
// airport (no closed field, no heliport), and a pilot's small home fields
// found by code and by name, with their runway ends.
void TestNavDb::starterDataImportsCleanlyAndFindsTheSmallFields() {
    QTemporaryDir dir;
    const std::string path = pathIn(dir, "starter.sqlite");
    auto db = NavDatabase::open(path, true);
    const struct {
        Table table;
        const char* file;
    } files[] = {{Table::Airports, "airports.csv"},
                 {Table::Runways, "runways.csv"},
                 {Table::Frequencies, "frequencies.csv"}};
    for (const auto& f : files) {
        QFile file(QStringLiteral(SKYVANE_STARTER "/") + QLatin1String(f.file));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const navdb::ImportResult r = db->import(f.table, file.readAll().toStdString(), {});
        QVERIFY2(r.ok && r.skipped.empty(), f.file);
        QVERIFY(r.added > (f.table == Table::Frequencies ? 3000 : 30000));
    }
    QCOMPARE(found(db->search("KPAO", 1)), QStringList{"KPAO Palo Alto Airport"});
    QCOMPARE(found(db->search("khaf", 1)), QStringList{"KHAF Half Moon Bay Airport"});
    QCOMPARE(found(db->search("Half Moon Bay", 1)), QStringList{"KHAF Half Moon Bay Airport"});
    const auto ends = db->runwayEnds("KPAO");
    QCOMPARE(ends.size(), std::size_t(2));
    QCOMPARE(ends[0].ident, QString("13"));
    QCOMPARE(ends[0].headingDegT, std::optional<double>(142));
    QCOMPARE(ends[1].ident, QString("31"));
    sqlite3* raw = nullptr;
    QCOMPARE(sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* count = nullptr;
    sqlite3_prepare_v2(raw,
                       "SELECT count(*), sum(type IN ('closed', 'heliport', 'balloonport')) "
                       "FROM airports",
                       -1, &count, nullptr);
    QCOMPARE(sqlite3_step(count), SQLITE_ROW);
    QCOMPARE(sqlite3_column_int(count, 0), 43710);
    QCOMPARE(sqlite3_column_int(count, 1), 0);
    sqlite3_finalize(count);
    sqlite3_close(raw);
}

// OurAirports' le_ and he_ columns: each end with its true heading,
// threshold, elevation and displaced threshold; a closed runway has none.
void TestNavDb::runwayEndsFromTheirColumns() {
    QTemporaryDir dir;
    const std::string path = pathIn(dir, "nav.sqlite");
    auto db = NavDatabase::open(path, true);
    QVERIFY(db->import(Table::Airports, testFile("ourairports-sample.csv").toStdString(), {}).ok);
    QVERIFY(db->import(Table::Runways, testFile("ourairports-runways.csv").toStdString(), {}).ok);
    const std::vector<navdb::RunwayEnd> ends = navdb::NavData(path, {}).runwayEnds("lszh");
    QStringList idents;
    for (const auto& e : ends)
        idents << e.ident;
    QCOMPARE(idents, (QStringList{"16", "34", "14", "32"})); // the longest runway first
    QCOMPARE(ends[0].headingDegT, std::optional<double>(154.4));
    QCOMPARE(ends[0].threshold->latitudeDeg, 47.47489);
    QCOMPARE(ends[0].elevationFt, std::optional<double>(1390));
    QVERIFY(!ends[0].displacedThresholdFt);
    QCOMPARE(ends[1].headingDegT, std::optional<double>(334.4));
    QCOMPARE(ends[1].displacedThresholdFt, std::optional<double>(1476));
    QCOMPARE(ends[1].lengthFt, 12139.0);
    QCOMPARE(ends[1].surface, QString("CON"));
    QVERIFY(ends[1].lighted);
    QVERIFY(!ends[2].headingDegT && !ends[2].threshold); // the source has none
    // A heading past 360 is no heading: the runway is skipped, said.
    const QByteArray header = testFile("ourairports-runways.csv").split('\n').first();
    const auto bad = db->import(
        Table::Runways,
        (header + "\n7,4,\"LSZH\",5000,80,\"ASP\",0,0,\"10\",,,,361,,\"28\",,,,,\n").toStdString(),
        {});
    QCOMPARE(bad.skipped.begin()->first, QString("le_heading_degT out of range"));
}

// A database written before the runway ends and the other names were kept:
// opened to write, it gains their columns and keeps its rows; opened only to
// read, it is searched as it is and tells no ends.
void TestNavDb::aDatabaseOfAnEarlierSkyvaneGainsTheNewColumns() {
    QTemporaryDir dir;
    const std::string path = pathIn(dir, "old.sqlite");
    sqlite3* raw = nullptr;
    QCOMPARE(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    QCOMPARE(sqlite3_exec(raw,
                          "CREATE TABLE airports(id INTEGER PRIMARY KEY, ident TEXT NOT NULL "
                          "COLLATE NOCASE, type TEXT, name TEXT, municipality TEXT, iso_country "
                          "TEXT, iso_region TEXT, latitude REAL, longitude REAL, elevation_ft "
                          "REAL, gps_code TEXT, iata_code TEXT, local_code TEXT);"
                          "CREATE TABLE runways(id INTEGER PRIMARY KEY, airport_ref INTEGER, "
                          "airport_ident TEXT COLLATE NOCASE, length_ft REAL, width_ft REAL, "
                          "surface TEXT, lighted INTEGER, closed INTEGER, le_ident TEXT, "
                          "he_ident TEXT);"
                          "INSERT INTO runways VALUES(1, 4, 'LSZH', 9000, 150, 'ASP', 1, 0, "
                          "'10', '28');",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    sqlite3_close(raw);
    QVERIFY(navdb::NavData(path, {}).runwayEnds("LSZH").empty()); // read only: no such columns
    auto db = NavDatabase::open(path, true);
    QVERIFY(db);
    QCOMPARE(db->runwayEnds("LSZH").size(), std::size_t(2)); // the old runway stays
    QVERIFY(db->import(Table::Runways, testFile("ourairports-runways.csv").toStdString(), {}).ok);
    QCOMPARE(db->runwayEnds("LSZH").front().headingDegT, std::optional<double>(154.4));
    QVERIFY(db->import(Table::Airports, testFile("ourairports-sample.csv").toStdString(), {}).ok);
}

void TestNavDb::otherNamesAreFoundAsNames_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("best");
    QTest::newRow("the local name, accents and all") << "Genève"
                                                     << "LSGG Geneva Airport";
    QTest::newRow("without its accent") << "geneve"
                                        << "LSGG Geneva Airport";
    QTest::newRow("in capitals") << "GENEVE COINTRIN"
                                 << "LSGG Geneva Airport";
    QTest::newRow("an old name") << "cointrin"
                                 << "LSGG Geneva Airport";
    QTest::newRow("the name itself") << "geneva"
                                     << "LSGG Geneva Airport";
    QTest::newRow("a word of no place") << "genf"
                                        << "";
}

void TestNavDb::otherNamesAreFoundAsNames() {
    QFETCH(QString, text);
    QFETCH(QString, best);
    QTemporaryDir dir;
    auto db = NavDatabase::open(pathIn(dir, "nav.sqlite"), true);
    const std::string csv = "id,ident,type,name,latitude_deg,longitude_deg,municipality,keywords\n"
                            "1,LSGG,large_airport,Geneva Airport,46.238,6.109,Geneva,"
                            "\"Genève, Cointrin\"\n"
                            "2,LSZH,large_airport,Zürich Airport,47.458,8.548,Zürich,\n";
    QVERIFY(db->import(Table::Airports, csv, {}).ok);
    QCOMPARE(found(db->search(text, 3)).value(0), best);
}

void TestNavDb::hostileRows_data() {
    QTest::addColumn<int>("table");
    QTest::addColumn<QByteArray>("rows"); // after the file's header
    QTest::addColumn<int>("added");
    QTest::addColumn<QString>("skipped"); // the reason of the one row skipped, or empty
    QTest::addColumn<QString>("find");    // a text that finds exactly one place, or empty
    const QByteArray a = "\"small_airport\",\"Lake Field\",47,8,\"1400\",\"EU\",\"CH\",\"CH-ZH\","
                         "\"Town\",\"no\",\"\",\"\",\"\",\"\",\"\",\"\"\n";
    QTest::newRow("a NUL byte in a name")
        << int(Table::Airports)
        << QByteArray("1,\"LK1\",\"small_airport\",\"Lake") + '\0' +
               QByteArray("Field\",47,8,\"1\",\"EU\",\"CH\",\"CH-ZH\",\"T\",\"no\",\"\",\"\",\"\","
                          "\"\",\"\",\"\"\n2,\"LK2\",") +
               a
        << 1 << "a field holds a NUL byte"
        << "lake";
    QTest::newRow("the same id twice: the later row wins")
        << int(Table::Airports) << "5,\"OLD\"," + a + "5,\"NEW\"," + a << 2 << ""
        << "lake";
    QTest::newRow("a negative id")
        << int(Table::Airports) << "-5,\"NEG\"," + a << 0 << "id out of range"
        << "";
    QTest::newRow("an id of 2^39")
        << int(Table::Airports) << "549755813888,\"BIG\"," + a << 0 << "id out of range"
        << "";
    QTest::newRow("the largest id, found by name")
        << int(Table::Airports) << "549755813887,\"TOP\"," + a << 1 << ""
        << "lake";
    QTest::newRow("an elevation of 1e308")
        << int(Table::Airports)
        << QByteArray("7,\"ELV\",\"small_airport\",\"Lake Field\",47,8,\"1e308\",\"EU\",\"CH\","
                      "\"CH-ZH\",\"T\",\"no\",\"\",\"\",\"\",\"\",\"\",\"\"\n")
        << 0 << "elevation_ft out of range"
        << "";
    QTest::newRow("a runway of 1e308 ft")
        << int(Table::Runways)
        << QByteArray("1,1,\"LSZH\",1e308,197,\"CON\",1,0,\"16\",,,,,,\"34\",,,,,\n") << 0
        << "length_ft out of range"
        << "";
    QTest::newRow("a frequency of 1e308 MHz")
        << int(Table::Frequencies) << QByteArray("1,1,\"LSZH\",\"TWR\",\"Tower\",1e308\n") << 0
        << "frequency_mhz out of range"
        << "";
}

void TestNavDb::hostileRows() {
    QFETCH(int, table);
    QFETCH(QByteArray, rows);
    QFETCH(int, added);
    QFETCH(QString, skipped);
    QFETCH(QString, find);
    const char* files[] = {"ourairports-sample.csv", "ourairports-navaids.csv",
                           "ourairports-runways.csv", "ourairports-frequencies.csv"};
    const QByteArray header = testFile(files[table]).split('\n').first();
    QTemporaryDir dir;
    auto db = NavDatabase::open(pathIn(dir, "nav.sqlite"), true);
    const auto result = db->import(Table(table), (header + "\n" + rows).toStdString(), {});
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.added + result.replaced, added);
    QStringList reasons;
    for (const auto& [reason, count] : result.skipped)
        reasons << reason;
    QCOMPARE(reasons, skipped.isEmpty() ? QStringList() : QStringList{skipped});
    if (!find.isEmpty()) {
        QString error;
        const auto found = db->search(find, 10, std::nullopt, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(found.size(), std::size_t(1));
        QVERIFY(!found[0].name.contains(QChar(0)));
    }
}

void TestNavDb::nearestOfEqualCodesFirst() {
    // WIL: the Willisau VOR in Switzerland and, by its IATA code, Nairobi
    // Wilson. Near Lucerne the VOR comes first, near Nairobi the airport.
    QTemporaryDir dir;
    auto db = NavDatabase::open(pathIn(dir, "nav.sqlite"), true);
    const std::string header = testFile("ourairports-sample.csv").split('\n').first().toStdString();
    QVERIFY(db->import(Table::Airports,
                       header + "\n\"1\",\"HKNW\",\"medium_airport\",\"Nairobi Wilson Airport\","
                                "-1.3217,36.8148,\"5536\",\"AF\",\"KE\",\"KE-110\",\"Nairobi\","
                                "\"yes\",\"HKNW\",\"WIL\",\"\",\"\",\"\",\"\"\n",
                       {})
                .ok);
    const QByteArray navaids = testFile("ourairports-navaids.csv").split('\n').first() +
                               "\n89001,\"Willisau\",\"WIL\",\"Willisau\",\"VOR-DME\",116900,"
                               "47.1786,7.9091,2175,\"CH\",,,,,,,,\"BOTH\",\"HIGH\",\"\"\n";
    QVERIFY(db->import(Table::Navaids, navaids.toStdString(), {}).ok);
    const core::GeoPoint lucerne{47.05, 8.31}, nairobi{-1.28, 36.82};
    auto first = [&](const core::GeoPoint& near) {
        const auto found = db->search("WIL", 5, near);
        return found.size() == 2 ? found[0].ident + " " + found[1].ident : QString("none");
    };
    QCOMPARE(first(lucerne), QString("WIL HKNW"));
    QCOMPARE(first(nairobi), QString("HKNW WIL"));
    QVERIFY(db->search("WIL", 5, lucerne)[0].distanceNm.value_or(1e9) < 20);
}

void TestNavDb::punctuationInNames_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("found");
    QTest::newRow("an apostrophe") << "smith's field"
                                   << "7NJ";
    QTest::newRow("a dot and no space") << "smith.field"
                                        << "7NJ";
    QTest::newRow("an unmatched quote") << "smith\""
                                        << "7NJ";
    QTest::newRow("FTS5 syntax is only text") << "smith AND OR NOT ("
                                              << "";
}

void TestNavDb::punctuationInNames() {
    QFETCH(QString, typed);
    QFETCH(QString, found);
    QTemporaryDir dir;
    auto db = NavDatabase::open(pathIn(dir, "nav.sqlite"), true);
    QVERIFY(db->import(Table::Airports, testFile("ourairports-sample.csv").toStdString(), {}).ok);
    QString error;
    const auto places = db->search(typed, 5, std::nullopt, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error)); // never refused by the index
    QCOMPARE(places.empty() ? QString() : places[0].ident, found);
}

void TestNavDb::damagedFileIsPutAside() {
    QTemporaryDir dir;
    const std::string path = pathIn(dir, "nav.sqlite");
    const QString name = QString::fromStdString(path);
    auto write = [](const QString& file, const QByteArray& bytes) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    auto read = [](const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    };
    const QByteArray junk = QByteArray("SQLite format 3") + QByteArray(5000, '\x7f');
    const QByteArray wal = "a journal of the damaged file";
    write(name, junk);
    write(name + "-wal", wal);
    // Reading leaves the file and its journal where they are.
    QString problem;
    QVERIFY(!NavDatabase::open(path, false, &problem));
    QVERIFY2(problem.contains("damaged") && problem.contains("leaves it"), qPrintable(problem));
    QCOMPARE(read(name), junk);
    QCOMPARE(read(name + "-wal"), wal);
    QVERIFY(!QFile::exists(name + ".damaged"));
    // Writing moves both aside, says where, and makes a new database.
    auto db = NavDatabase::open(path, true, &problem);
    QVERIFY(db);
    QVERIFY2(problem.contains(name + ".damaged"), qPrintable(problem));
    QCOMPARE(read(name + ".damaged"), junk);
    QCOMPARE(read(name + ".damaged-wal"), wal);
    QVERIFY(db->import(Table::Navaids, testFile("ourairports-navaids.csv").toStdString(), {}).ok);
    db.reset();
    // A second damaged database never takes the first one's place.
    const QByteArray junk2 = QByteArray("SQLite format 3") + QByteArray(5000, '\x01');
    write(name, junk2);
    db = NavDatabase::open(path, true, &problem);
    QVERIFY(db);
    QVERIFY2(problem.contains(name + ".damaged.2"), qPrintable(problem));
    QCOMPARE(read(name + ".damaged"), junk);
    QCOMPARE(read(name + ".damaged-wal"), wal);
    QCOMPARE(read(name + ".damaged.2"), junk2);
}

void TestNavDb::busyWhileAnotherCopyWrites() {
    QTemporaryDir dir;
    const std::string path = pathIn(dir, "nav.sqlite");
    auto db = NavDatabase::open(path, true);
    // Another program in the middle of writing: the sqlite3 shell holding a
    // write transaction until its input ends.
    QProcess other;
    other.start("sqlite3", {QString::fromStdString(path)});
    QVERIFY(other.waitForStarted());
    other.write("BEGIN IMMEDIATE;\nSELECT 'held';\n");
    QVERIFY(other.waitForReadyRead(10000));
    QCOMPARE(other.readAllStandardOutput().trimmed(), QByteArray("held"));
    db->setBusyTimeout(200);
    const std::string csv = testFile("ourairports-navaids.csv").toStdString();
    const auto busy = db->import(Table::Navaids, csv, {});
    QVERIFY(!busy.ok);
    QVERIFY2(busy.error.contains("busy"), qPrintable(busy.error));
    other.closeWriteChannel();
    QVERIFY(other.waitForFinished(10000));
    QVERIFY(db->import(Table::Navaids, csv, {}).ok);
}

QTEST_GUILESS_MAIN(TestNavDb)
#include "tst_navdb.moc"
