// The command line of the installed program: --version and --help answer
// without a display, anything unknown is refused with exit code 2.
#include "TestData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program where no display can be reached: were it to open a
// window, Qt would fail to connect and the run would not end cleanly. The
// data folder is whatever the test's environment names.
// A plan of one leg from A to B (47 8 to 47.5 8.5, TC 034) at 4500 ft in a
// 270/10 wind with its own 3 W, TAS 110 kt, 8 gal/h, 40 gal, taxi 1, a 45 min
// reserve; its path.
QString oneLegPlan(const testing::DataDir& dir) {
    const QString path = dir.home.path() + "/two.skyplan";
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(R"({"format": "skyvane-plan", "version": 1,
        "aircraft": {"tasKt": 110, "fuelFlowGph": 8, "fuelGal": 40, "taxiGal": 1},
        "fuel": {"reserveMin": 45}, "off": "2026-06-01T10:00:00",
        "waypoints": [
          {"name": "A", "latitudeDeg": 47.0, "longitudeDeg": 8.0},
          {"name": "B", "latitudeDeg": 47.5, "longitudeDeg": 8.5,
           "leg": {"altitudeFt": 4500, "variationDeg": 3,
                   "wind": {"directionDeg": 270, "speedKt": 10}}}]})");
    return path;
}

Run run(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(SKYVANE_BINARY), arguments);
    Run r;
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return r;
    }
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    r.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(process.readAllStandardError());
    return r;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void versionWithoutDisplay();
    void helpListsTheOptions();
    void refusals_data();
    void refusals();
    void importAddsAndSummarises_data();
    void importAddsAndSummarises();
    void importRefusesAndKeepsTheFile_data();
    void importRefusesAndKeepsTheFile();
    void navigationDatabaseImportAndFind();
    void planWithoutAWindow();
    void weightAndBalance_data();
    void weightAndBalance();
    void climbAndDescentFromTheCommandLine();
    void briefingFromTheCommandLine();
    void planOptionsAtTheirLimits_data();
    void planOptionsAtTheirLimits();
};

void TestCli::versionWithoutDisplay() {
    for (const QStringList& args :
         {QStringList{"--version"}, QStringList{"-v"}, QStringList{"-platform", "xcb", "-v"}}) {
        const Run r = run(args);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QString("skyvane 1.3.0.1\n"));
        QCOMPARE(r.err, QString());
    }
}

void TestCli::helpListsTheOptions() {
    const Run r = run({"--help"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.startsWith("Usage: skyvane [options]\n"));
    QVERIFY(r.out.contains("--version"));
    QVERIFY(!r.out.contains("-platform")); // Qt's own options are let through, not advertised
}

void TestCli::refusals_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("says");
    QTest::newRow("unknown long option") << QStringList{"--bogus"} << "Unknown option 'bogus'";
    QTest::newRow("unknown short option") << QStringList{"-x"} << "Unknown option 'x'";
    QTest::newRow("a stray argument")
        << QStringList{"flight.txt"} << "unexpected argument 'flight.txt'";
    QTest::newRow("a value for a flag") << QStringList{"--version=2"} << "version";
    QTest::newRow("an unknown code column")
        << QStringList{"--import-airports-fly", "x.csv", "--code", "icao"} << "--code takes ident";
    QTest::newRow("closed airports asked for")
        << QStringList{"--import-airports-fly", "x.csv", "--types", "small_airport,closed"}
        << "closed airports are never imported";
    QTest::newRow("an import option alone")
        << QStringList{"--country", "US"} << "--country goes with an import";
    QTest::newRow("a limit of none")
        << QStringList{"--find", "x", "--limit", "0"} << "--limit takes a number from 1 to 1000";
    QTest::newRow("runways by country")
        << QStringList{"--import-runways", "r.csv", "--country", "CH"}
        << "--import-runways takes no --types, --country or --region";
    QTest::newRow("a limit alone") << QStringList{"--limit", "3"} << "--limit goes with --find";
    QTest::newRow("an update from no web address")
        << QStringList{"--update-navdata", "ftp://example.org/"}
        << "--update-navdata takes an http or https address";
    QTest::newRow("an update from two places")
        << QStringList{"--update-navdata", "http://a/", "http://b/"}
        << "--update-navdata takes one BASE-URL at most";
}

void TestCli::refusals() {
    QFETCH(QStringList, args);
    QFETCH(QString, says);
    const Run r = run(args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.startsWith("skyvane: "), qPrintable(r.err));
    QVERIFY2(r.err.contains(says), qPrintable(r.err));
    QVERIFY(r.err.contains("skyvane --help"));
    QCOMPARE(r.out, QString());
}

void TestCli::importAddsAndSummarises_data() {
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("as downloaded") << QByteArray();
    // Spreadsheet programs save UTF-8 CSV with a byte-order mark.
    QTest::newRow("saved by a spreadsheet") << QByteArray("\xEF\xBB\xBF");
}

void TestCli::importAddsAndSummarises() {
    QFETCH(QByteArray, start);
    testing::DataDir dir;
    dir.write("airports.fly", "abc:1;2,");
    QFile sample(SKYVANE_TEST_DATA "/ourairports-sample.csv");
    QVERIFY(sample.open(QIODevice::ReadOnly));
    const QString path = dir.home.path() + "/airports.csv";
    QFile csv(path);
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write(start + sample.readAll());
    csv.close();
    const Run r = run(
        {"--import-airports-fly", path, "--types", "small_airport,medium_airport,large_airport"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out.startsWith("18 rows read from"), qPrintable(r.out));
    QVERIFY(r.out.contains(QRegularExpression("\\b5  added\\n")));
    QVERIFY(r.out.contains(QRegularExpression("\\b2  skipped: already in the airport file\\n")));
    QVERIFY(r.out.contains(QRegularExpression("\\b2  skipped: code not 3 characters long\\n")));
    QVERIFY(dir.read("airports.fly").startsWith("abc:1;2,1N7:40.971000;-74.997500,"));
}

void TestCli::importRefusesAndKeepsTheFile_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("says");
    QTest::newRow("malformed") << QByteArray("id,ident,type,latitude_deg,longitude_deg,iso_country,"
                                             "iso_region\r\n1,\"AAA,small_airport,1,2,US,X\r\n")
                               << "not valid CSV";
    QTest::newRow("a good row, then a malformed one")
        << QByteArray("id,ident,type,latitude_deg,longitude_deg,iso_country,iso_region\r\n"
                      "1,AAA,small_airport,1,2,US,X\r\n2,BBB,small_airport,1,2\r\n")
        << "row 3 has 5 fields";
    QTest::newRow("no such file") << QByteArray() << "cannot read";
}

void TestCli::importRefusesAndKeepsTheFile() {
    QFETCH(QByteArray, csv);
    QFETCH(QString, says);
    testing::DataDir dir;
    dir.write("airports.fly", "abc:1;2,");
    const QString path = dir.home.path() + "/in.csv";
    if (!csv.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(csv);
    }
    const Run r = run({"--import-airports-fly", path});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(says), qPrintable(r.err));
    QCOMPARE(dir.read("airports.fly"), QByteArray("abc:1;2,"));
}

void TestCli::navigationDatabaseImportAndFind() {
    testing::DataDir dir;
    Run r = run({"--import-airports", SKYVANE_TEST_DATA "/ourairports-sample.csv"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out.startsWith("18 rows read from"), qPrintable(r.out));
    QVERIFY(r.out.contains(QRegularExpression("\\b14  added\\n")));
    QVERIFY(r.out.contains(QRegularExpression("\\b1  skipped: closed\\n")));
    QVERIFY(dir.exists("navdata.sqlite"));
    r = run({"--import-navaids", SKYVANE_TEST_DATA "/ourairports-navaids.csv", "--country", "CH"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.contains(QRegularExpression("\\b3  added\\n")));
    r = run({"--find", "zurich", "--limit", "2"});
    QCOMPARE(r.exitCode, 0);
    // The navaid says what it is and on which frequency; an airport without
    // runways in the database says nothing there.
    QCOMPARE(r.out,
             QString::fromUtf8("airport\tLSZH\tZ\xc3\xbcrich Airport\tTown\tCH\t47.458056\t"
                               "8.548056\t\nnavaid\tZUE\tZ\xc3\xbcrich East\t\tCH\t47.592200\t"
                               "8.817600\tVOR-DME 110.05\n"));
    r = run({"--import-runways", SKYVANE_TEST_DATA "/ourairports-runways.csv"});
    QCOMPARE(r.exitCode, 0);
    r = run({"--find", "LSZH", "--limit", "1"});
    QVERIFY2(r.out.endsWith("\trunway 16/34 12139 ft\n"), qPrintable(r.out));
    // A file that cannot be imported leaves the database as it was.
    r = run({"--import-navaids", SKYVANE_TEST_DATA "/ourairports-runways.csv"});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("The navigation database is unchanged"), qPrintable(r.err));
    QCOMPARE(run({"--find", "ZUE"}).out.count('\n'), 2);
    // A search only reads: a file that is not a database is said, never
    // moved or deleted, and no list pretends nothing was found.
    const QString notADatabase = dir.home.path() + "/notes.txt";
    const QByteArray notes = "my notes, not a database";
    {
        QFile f(notADatabase);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(notes);
    }
    r = run({"--find", "ZUE", "--database", notADatabase});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("leaves it as it is"), qPrintable(r.err));
    QCOMPARE(r.out, QString());
    QCOMPARE(contents(notADatabase), notes);
    QCOMPARE(QDir(dir.home.path()).entryList({"notes.txt*"}), QStringList{"notes.txt"});
}

void TestCli::planWithoutAWindow() {
    testing::DataDir dir;
    const QString planPath = dir.home.path() + "/zurich-bern.skyplan";
    QFile planFile(planPath);
    QVERIFY(planFile.open(QIODevice::WriteOnly));
    planFile.write(R"({"format": "skyvane-plan", "version": 1,
        "aircraft": {"tasKt": 110, "fuelFlowGph": 8, "fuelGal": 40, "taxiGal": 1},
        "off": "2026-06-01T10:00:00",
        "waypoints": [
          {"name": "LSZH", "ident": "LSZH", "latitudeDeg": 47.458, "longitudeDeg": 8.548},
          {"name": "Lake bridge", "latitudeDeg": 47.2, "longitudeDeg": 8.9,
           "leg": {"altitudeFt": 4500, "wind": {"directionDeg": 270, "speedKt": 15}}},
          {"name": "LSZB", "ident": "LSZB", "latitudeDeg": 46.913, "longitudeDeg": 7.499,
           "leg": {"altitudeFt": 4500}}]})");
    planFile.close();
    Run r = run({"--plan", planPath, "--csv", "-", "--var", "-2", "--wind", "250/10"});
    QCOMPARE(r.exitCode, 0);
    const QStringList lines = r.out.split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(lines.value(0), QString("Leg,From,To,TC,WD,WV,TAS,WCA,TH,Var,MH,MD,CH,GS,Dist,Off,ETE,"
                                     "ETA,F.used,F.left,Reserve,WCA side,Problem"));
    QCOMPARE(lines.size(), 4); // two legs and the totals
    QVERIFY2(lines[1].startsWith("1,LSZH,Lake bridge,") && lines[1].contains(",250,10,110,"),
             qPrintable(lines[1]));
    QVERIFY(lines[1].contains(",10:00:00,"));
    const QString json = dir.home.path() + "/plan.json";
    r = run({"--plan", planPath, "--json", json, "--csv", "-", "--var", "-2"});
    // Leg 2 has no wind of its own and there are no winds aloft: the plan
    // cannot be planned, and every output and standard error say so.
    QCOMPARE(r.exitCode, 3);
    QVERIFY2(r.err.contains("Cannot be planned: leg 2 (Lake bridge - LSZB): no wind"),
             qPrintable(r.err));
    QVERIFY2(r.out.contains("\r\nTotal,,,,,,,,,,,,,,,,,,,,,,incomplete: leg 2 could not be "
                            "computed\r\n"),
             qPrintable(r.out));
    QFile out(json);
    QVERIFY(out.open(QIODevice::ReadOnly));
    const QByteArray bytes = out.readAll();
    QVERIFY2(bytes.contains("\"problem\": \"no wind: type one or fill the winds aloft\""),
             bytes.constData());
    QVERIFY(bytes.contains("\"wcaSide\": \""));
    const QJsonObject planned = QJsonDocument::fromJson(bytes).object();
    QVERIFY(planned.value("fuel").toObject().value("requiredGal").isNull());
    QVERIFY(!planned.value("fuel").toObject().value("enough").toBool());
    QVERIFY(planned.value("totals").toObject().value("distanceNm").isNull());
    QCOMPARE(planned.value("totals").toObject().value("complete").toBool(true), false);
    QVERIFY(bytes.contains("\"none\": \"No decision points: leg 2 cannot be computed.\""));
    r = run({"--plan", planPath, "--json", "-", "--var", "-2", "--wind", "250/10"});
    const QJsonObject points =
        QJsonDocument::fromJson(r.out.toUtf8()).object().value("decisionPoints").toObject();
    for (const char* key : {"distanceNm", "minutes", "leg", "latitudeDeg", "longitudeDeg"}) {
        QVERIFY2(points.value("etp").toObject().contains(key), key);
        QVERIFY2(points.value("pnr").toObject().contains(key), key);
    }
    QVERIFY(points.value("windMargin").toObject().value("headwindKt").toInt() > 0);
    const QString pdf = dir.home.path() + "/plan.pdf";
    QCOMPARE(run({"--plan", planPath, "--pdf", pdf, "--var", "-2", "--wind", "250/10"}).exitCode,
             0);
    QFile pdfFile(pdf);
    QVERIFY(pdfFile.open(QIODevice::ReadOnly));
    QVERIFY(pdfFile.read(5) == "%PDF-");
    // The kneeboard carries the decision points, one line each.
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    QVERIFY(text.waitForFinished(20000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    QVERIFY2(page.contains("ETP ") && page.contains("PNR ") && page.contains("kt more headwind"),
             qPrintable(page));
    // The kneeboard page chosen on the command line.
    const std::pair<const char*, const char*> pages[] = {{"a5", "420 x 595"},
                                                         {"a5-landscape", "595 x 420"},
                                                         {"half-letter", "396 x 612"},
                                                         {"a4", "595 x 842"},
                                                         {"letter", "612 x 792"}};
    for (const auto& [page, size] : pages) {
        const QString out = dir.home.path() + "/page-" + page + ".pdf";
        QCOMPARE(run({"--plan", planPath, "--pdf", out, "--page", page, "--var", "-2", "--wind",
                      "250/10"})
                     .exitCode,
                 0);
        QProcess info;
        info.start("pdfinfo", {out});
        QVERIFY(info.waitForFinished(20000));
        const QString said = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(said.contains(QString("Page size:       ") + size), qPrintable(said));
    }
    // The picture's place and the columns, and what they refuse.
    for (const auto& [where, pages] : {std::pair{"none", "1"}, std::pair{"page", "2"}}) {
        const QString out = dir.home.path() + "/picture-" + where + ".pdf";
        QCOMPARE(run({"--plan", planPath, "--pdf", out, "--picture", where, "--columns",
                      "checkpoint,mh,notes", "--var", "-2", "--wind", "250/10"})
                     .exitCode,
                 0);
        QProcess info;
        info.start("pdfinfo", {out});
        QVERIFY(info.waitForFinished(20000));
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression(QString("Pages:\\s+%1\\n").arg(pages))));
    }
    r = run({"--plan", planPath, "--pdf", "x.pdf", "--columns", "mh,heading"});
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains("unknown column 'heading'"), qPrintable(r.err));
    QCOMPARE(run({"--plan", planPath, "--pdf", "x.pdf", "--picture", "left"}).exitCode, 2);
    QCOMPARE(run({"--plan", planPath, "--csv", "-", "--columns", "mh"}).exitCode, 2);
    QVERIFY(!QFile::exists("x.pdf"));
    QCOMPARE(run({"--plan", planPath, "--pdf", "x.pdf", "--page", "a3"}).exitCode, 2);
    QCOMPARE(run({"--plan", planPath, "--csv", "-", "--page", "a4"}).exitCode, 2);
    // Converted for other planners and devices, and read back from them.
    const QString gpx = dir.home.path() + "/route.gpx";
    QCOMPARE(run({"--plan", planPath, "--export-gpx", gpx}).exitCode, 0);
    r = run({"--plan", gpx, "--export-fpl", "-"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out.contains("<identifier>LSZB</identifier>") && r.out.contains("USER WAYPOINT"),
             qPrintable(r.out));
    // Refusals: nothing is written.
    const QString never = dir.home.path() + "/never.csv";
    QCOMPARE(run({"--plan", planPath, "--csv", never, "--wind", "270"}).exitCode, 2);
    QCOMPARE(run({"--plan", planPath, "--csv", never, "--tas", "fast"}).exitCode, 2);
    QCOMPARE(run({"--plan", dir.home.path() + "/none.skyplan", "--csv", never}).exitCode, 1);
    QFile damaged(dir.home.path() + "/damaged.skyplan");
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"format\": \"skyvane-plan\", \"vers");
    damaged.close();
    r = run({"--plan", damaged.fileName(), "--csv", never});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("damaged"), qPrintable(r.err));
    QVERIFY(!QFile::exists(never));
    QCOMPARE(run({"--csv", "-"}).exitCode, 2); // --csv alone
}

void TestCli::weightAndBalance_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said"); // on standard output or error
    QTest::newRow("within limits") << QStringList{"--load", "front seats=340,Baggage 1=30"} << 0
                                   << "Weight and balance: Within limits.";
    QTest::newRow("a station over its maximum")
        << QStringList{"--load", "Baggage 2=60"} << 0
        << "Baggage 2 holds 60 lb, 10 lb over its maximum 50 lb";
    QTest::newRow("a station it does not have")
        << QStringList{"--load", "Boot=10"} << 2 << "no station 'Boot' (the stations: Front seats";
    QTest::newRow("a load without its weight")
        << QStringList{"--load", "Front seats"} << 2 << "--load takes STATION=WEIGHT";
    QTest::newRow("more fuel than the tanks hold")
        << QStringList{"--fuel", "60"} << 2 << "more than the aircraft's usable 53 gal";
    QTest::newRow("a profile that is not one") << QStringList{"--aircraft", SKYVANE_BINARY} << 1
                                               << "cannot be read: it is not an "
                                                  "aircraft profile";
}

void TestCli::weightAndBalance() {
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    testing::DataDir dir;
    const QString planPath = oneLegPlan(dir);
    const Run r =
        run(QStringList{"--plan", planPath, "--aircraft", SKYVANE_EXAMPLE_AIRCRAFT} + options);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2((r.out + r.err).contains(said), qPrintable(r.out + r.err));
    if (exitCode != 0 || !options.contains("front seats=340,Baggage 1=30"))
        return;
    // By hand: 1680 lb empty, 340 + 30 loaded, 40 gal at 6 lb: 2290 lb at
    // ramp, 6 lb less after the 1 gal taxi.
    const Run json =
        run(QStringList{"--plan", planPath, "--aircraft", SKYVANE_EXAMPLE_AIRCRAFT, "--json", "-"} +
            options);
    const QJsonObject wb =
        QJsonDocument::fromJson(json.out.toUtf8()).object().value("weightAndBalance").toObject();
    QCOMPARE(wb.value("ramp").toObject().value("weight").toDouble(), 2290.0);
    QCOMPARE(wb.value("takeoff").toObject().value("weight").toDouble(), 2284.0);
    QVERIFY(wb.value("withinLimits").toBool());
    QCOMPARE(run({"--plan", planPath, "--load", "Front seats=1"}).exitCode, 2); // no aircraft
}

// The example trainer's table climbs from the field (no elevation: 0) to
// 6000 ft in 12 min; its 500 ft/min descent to 1000 ft over B takes 10 min.
void TestCli::climbAndDescentFromTheCommandLine() {
    testing::DataDir dir;
    const QString planPath = oneLegPlan(dir);
    const Run r = run({"--plan", planPath, "--aircraft", SKYVANE_EXAMPLE_AIRCRAFT, "--alt", "6000",
                       "--json", "-"});
    QCOMPARE(r.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const QJsonArray legs = json.value("legs").toArray();
    QCOMPARE(legs.size(), 3);
    QCOMPARE(legs[0].toObject().value("phase").toString(), QStringLiteral("climb"));
    QCOMPARE(legs[0].toObject().value("to").toString(), QStringLiteral("TOC"));
    QCOMPARE(legs[1].toObject().value("phase").toString(), QStringLiteral("cruise"));
    QCOMPARE(legs[2].toObject().value("phase").toString(), QStringLiteral("descent"));
    const QJsonObject toc = json.value("toc").toObject(), tod = json.value("tod").toObject();
    QVERIFY(std::fabs(toc.value("minutes").toDouble() - 12) < 0.05);
    QCOMPARE(toc.value("altitudeFt").toDouble(), 6000.0);
    QCOMPARE(tod.value("leg").toInt(), 1);
    const double ete = json.value("totals").toObject().value("eteMin").toDouble();
    QVERIFY(std::fabs(ete - tod.value("minutes").toDouble() - 10) < 0.05);
    // The trip fuel is the three pieces' burn.
    double burnt = 0;
    for (const QJsonValue& leg : legs)
        burnt += leg.toObject().value("fuelUsed").toDouble();
    QVERIFY(std::fabs(json.value("fuel").toObject().value("tripGal").toDouble() - burnt) < 0.011);
    QCOMPARE(run({"--plan", planPath, "--alt", "60001"}).exitCode, 2);
}

void TestCli::briefingFromTheCommandLine() {
    testing::DataDir dir;
    QString planPath = oneLegPlan(dir);
    {
        QByteArray bytes = contents(planPath);
        bytes.replace("\"name\": \"A\"", "\"name\": \"LSZA\"");
        bytes.replace("\"name\": \"B\"", "\"name\": \"LSZB\"");
        QFile file(planPath);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    const QString bulletin = dir.home.path() + "/fb.txt";
    {
        QFile file(bulletin);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("VALID 011200Z\nFT  3000    6000\nABC 2715 2820+05\n");
    }
    const Run r = run({"--plan", planPath, "--zone", "utc", "--metar",
                       "METAR LSZA 010950Z 27010KT 9999 FEW040 25/10 Q1013", "--taf",
                       "TAF LSZB 010900Z 0110/0118 27010KT CAVOK", "--winds-aloft", bulletin,
                       "--station", "abc", "--json", "-"});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QJsonObject root = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(root.value("timeZone").toString(), QString("UTC"));
    const QJsonObject briefing = root.value("briefing").toObject();
    const QJsonArray airports = briefing.value("airports").toArray();
    QCOMPARE(airports.size(), 2);
    const QJsonObject departure = airports[0].toObject(), destination = airports[1].toObject();
    QCOMPARE(departure.value("metar").toObject().value("station").toString(), QString("LSZA"));
    QCOMPARE(departure.value("metar").toObject().value("category").toString(), QString("VFR"));
    // Off at 10:00 UTC: the TAF's base covers the arrival.
    const QJsonObject base =
        destination.value("taf").toObject().value("periods").toArray()[0].toObject();
    QVERIFY(base.value("coversPlannedTime").toBool());
    // No report at the destination: the lowest row of the bulletin's winds.
    QCOMPARE(destination.value("surfaceWindFrom").toString(), QString("winds aloft at 3000 ft"));
    // 47° N on 1 June: the sun rises about 03:35 UTC.
    QVERIFY2(
        departure.value("sun").toObject().value("sunrise").toString().startsWith("2026-06-01T03:3"),
        qPrintable(departure.value("sun").toObject().value("sunrise").toString()));
    QVERIFY(briefing.value("warnings").toArray().isEmpty());

    const struct {
        QStringList args;
        const char* says;
    } refused[] = {{{"--metar", "METAR EDDF 010950Z 27010KT CAVOK 20/10 Q1013"},
                    "none of the plan's airports"},
                   {{"--taf", "hello"}, "names no station"},
                   {{"--zone", "mars"}, "not local or utc"},
                   {{"--station", "ABC"}, "--station needs --winds-aloft"},
                   {{"--winds-aloft", bulletin, "--station", "XYZ"}, "no station XYZ"},
                   {{"--winds-aloft", bulletin}, "needs --station"}};
    for (const auto& c : refused) {
        const Run bad = run(QStringList{"--plan", planPath, "--json", "-"} + c.args);
        QCOMPARE(bad.exitCode, 2);
        QVERIFY2(bad.err.contains(QLatin1String(c.says)), qPrintable(bad.err));
        QVERIFY(bad.out.isEmpty());
    }
}

void TestCli::planOptionsAtTheirLimits_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("key");    // in the JSON: "fuel.<key>" or "legs.0.<key>"
    QTest::addColumn<QVariant>("value"); // a number, or the text a text begins with
    QTest::newRow("--taxi 0") << QStringList{"--taxi", "0"} << "fuel.taxiGal" << QVariant(0.0);
    QTest::newRow("--reserve 0") << QStringList{"--reserve", "0"} << "fuel.reserveGal"
                                 << QVariant(0.0);
    QTest::newRow("--fuel sets the fuel on board")
        << QStringList{"--fuel", "33"} << "fuel.onBoardGal" << QVariant(33.0);
    QTest::newRow("--var -360 over the file's own variation")
        << QStringList{"--var", "-360"} << "legs.0.var" << QVariant(-360.0);
    QTest::newRow("--wind 360/15")
        << QStringList{"--wind", "360/15"} << "legs.0.wd" << QVariant(360.0);
    // A calm: the heading is the course, 034 (33.99 by the great circle's
    // initial course), and the leg's own 3 W makes the magnetic 037.
    QTest::newRow("endurance after taxi: 32 gal at 8 gal/h")
        << QStringList{"--fuel", "33"} << "fuel.enduranceMin" << QVariant(240.0);
    QTest::newRow("mh is the magnetic heading")
        << QStringList{"--wind", "360/0"} << "legs.0.mh" << QVariant(37.0);
    QTest::newRow("--alt sets every leg's altitude")
        << QStringList{"--alt", "6000"} << "legs.0.altitudeFt" << QVariant(6000.0);
    QTest::newRow("a leg that runs dry says so")
        << QStringList{"--fuel", "2"} << "legs.0.problem" << QVariant("runs out of fuel: ");
}

void TestCli::planOptionsAtTheirLimits() {
    QFETCH(QStringList, options);
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    testing::DataDir dir;
    const QString planPath = oneLegPlan(dir);
    const Run r = run(QStringList{"--plan", planPath, "--json", "-"} + options);
    QCOMPARE(r.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const QStringList path = key.split('.');
    const QJsonObject holder = path[0] == "fuel"
                                   ? json.value("fuel").toObject()
                                   : json.value("legs").toArray().at(path[1].toInt()).toObject();
    const QJsonValue said = holder.value(path.last());
    if (value.typeId() == QMetaType::QString)
        QVERIFY2(said.toString().startsWith(value.toString()), qPrintable(said.toString()));
    else
        QCOMPARE(said.toDouble(-999), value.toDouble());
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
