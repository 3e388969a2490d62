// The defaults file: what Save writes, what hand-edited files load as, and
// that a failed save never costs the pilot the old file.
#include "TestData.h"
#include "store/Defaults.h"
#include "store/Globals.h"

#include "core/NumberText.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <optional>

using store::Defaults;

Q_DECLARE_METATYPE(std::optional<Defaults>)

namespace {

Defaults example() {
    Defaults d;
    d.homeAirport = "ABC";
    d.homeLatitude = 40.5;
    d.homeLongitude = -74.25;
    d.tas = 110;
    d.variation = -13;
    d.magDeviation = 2;
    d.gph = 8.5;
    d.fuel = 40;
    return d;
}

const QByteArray kExample = "home_airport:ABC\r\nhome_latitude:40.500000\r\n"
                            "home_longitude:-74.250000\r\nTAS:110.000000\r\n"
                            "Variation:-13.000000\r\nMagnetic Deviation:2.000000\r\n"
                            "Galons/Hour:8.500000\r\nTotal Fuel:40.000000\r\n";

QByteArray lines(const QList<QByteArray>& l, const QByteArray& end = "\r\n") {
    QByteArray out;
    for (const QByteArray& line : l)
        out += line + end;
    return out;
}

std::optional<Defaults> parse(const QByteArray& bytes) {
    return store::parseDefaults(std::string_view(bytes.constData(), bytes.size()));
}

} // namespace

class TestDefaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::checkRequestedLocale(); }
    void writesTheExactFormat();
    void roundTrip();
    void handWritten_data();
    void handWritten();
    void refused_data();
    void refused();
    void onlyTheFirst1023BytesCount();
    void fileOfExactly1023Bytes();
    void whatSaveWritesLoadsBack();
    void longValuesDoNotOverflow();
    void fileLayer();
    void saveWithoutDataDirectory();
    void saveOverLongerFileLeavesNoTrace();
    void failedWriteKeepsOldFile();
    void installedCopyUntilTheFirstSave_data();
    void installedCopyUntilTheFirstSave();
    void shippedDefaultsAreWhatSaveWrites();
};

void TestDefaults::writesTheExactFormat() {
    const std::string text = store::formatDefaults(example());
    QCOMPARE(QByteArray::fromStdString(text), kExample);
    QCOMPARE(text.size(), std::size_t(181));
}

void TestDefaults::roundTrip() {
    Defaults d = example();
    d.homeLatitude = 47.4581234567; // six decimals survive
    const auto back = store::parseDefaults(store::formatDefaults(d));
    QVERIFY(back);
    QCOMPARE(back->homeAirport, d.homeAirport);
    QCOMPARE(back->homeLatitude, 47.458123);
    QCOMPARE(back->homeLongitude, d.homeLongitude);
    QCOMPARE(back->tas, d.tas);
    QCOMPARE(back->variation, d.variation);
    QCOMPARE(back->magDeviation, d.magDeviation);
    QCOMPARE(back->gph, d.gph);
    QCOMPARE(back->fuel, d.fuel);
}

void TestDefaults::handWritten_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("airport");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("tas");
    QTest::addColumn<double>("fuel");
    QTest::newRow("as Save writes it") << kExample << QByteArray("ABC") << 40.5 << 110. << 40.;
    QTest::newRow("keys misspelled, values by position")
        << lines({"a:XYZ", "b:1", "c:2", "d:3", "e:4", "f:5", "Gallons/Hour:6", "g:7"})
        << QByteArray("XYZ") << 1. << 3. << 7.;
    QTest::newRow("other order lands by position, not key")
        << lines({"TAS:120", "home_airport:ABC", "home_latitude:1", "home_longitude:2",
                  "Variation:3", "Magnetic Deviation:4", "Galons/Hour:5", "Total Fuel:6"})
        << QByteArray("120") << 0. << 2. << 6.;
    QTest::newRow("blank after the colon: kept in the code, skipped in numbers")
        << lines({"home_airport: AB", "x: 40.5", "x:0", "x:  110", "x:0", "x:0", "x:0", "x:9"})
        << QByteArray(" AB") << 40.5 << 110. << 9.;
    QTest::newRow("letters read as 0")
        << lines({"a:ABC", "b:north", "c:0", "d:fast", "e:0", "f:0", "g:0", "h:12abc"})
        << QByteArray("ABC") << 0. << 0. << 12.;
    QTest::newRow("beyond the field limits loads as written")
        << lines({"a:", "b:500", "c:0", "d:900", "e:0", "f:0", "g:0", "h:-5"}) << QByteArray()
        << 500. << 900. << -5.;
    QTest::newRow("LF line ends load as written")
        << lines({"home_airport:ABC", "home_latitude:40.5", "x:0", "TAS:110", "x:0", "x:0", "x:8",
                  "Total Fuel:40"},
                 "\n")
        << QByteArray("ABC") << 40.5 << 110. << 40.;
    QTest::newRow("no line end after the last line: fuel still read")
        << kExample.left(kExample.size() - 2) << QByteArray("ABC") << 40.5 << 110. << 40.;
    QTest::newRow("lone CR line ends (old Mac files)")
        << lines({"home_airport:ABC", "home_latitude:40.5", "x:0", "TAS:110", "x:0", "x:0", "x:8",
                  "Total Fuel:40"},
                 "\r")
        << QByteArray("ABC") << 40.5 << 110. << 40.;
    QTest::newRow("a number text counts to its 79th character")
        << lines({"a:ABC", "b:1", "c:0", "TAS:1" + QByteArray(79, '0'), "e:0", "f:0", "g:0", "h:7"})
        << QByteArray("ABC") << 1. << 1e78 << 7.;
    QTest::newRow("mixed CR LF and LF")
        << QByteArray("a:ABC\nb:1\r\nc:2\nd:3\r\ne:4\nf:5\ng:6\nh:7") << QByteArray("ABC") << 1.
        << 3. << 7.;
    QTest::newRow("colon at the very first byte is not counted")
        << ":" + kExample << QByteArray("ABC") << 40.5 << 110. << 40.;
    QTest::newRow("text after the eighth line without colon ignored")
        << kExample + "trailing words\r\n"
        << QByteArray("ABC") << 40.5 << 110. << 40.;
    QTest::newRow("NUL ends the text")
        << kExample + QByteArray("\0x:1\r\n", 6) << QByteArray("ABC") << 40.5 << 110. << 40.;
}

void TestDefaults::handWritten() {
    QFETCH(QByteArray, file);
    const auto d = parse(file);
    QVERIFY(d);
    QTEST(QByteArray::fromStdString(d->homeAirport), "airport");
    QTEST(d->homeLatitude, "lat");
    QTEST(d->tas, "tas");
    QTEST(d->fuel, "fuel");
}

void TestDefaults::refused_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("seven lines") << lines({"a:1", "b:2", "c:3", "d:4", "e:5", "f:6", "g:7"});
    QTest::newRow("a ninth line with a colon") << kExample + "note:x\r\n";
    QTest::newRow("a colon in the airport code") << QByteArray(kExample).replace("ABC", "A:C");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("TAS beyond the double range")
        << QByteArray(kExample).replace("110.000000", "1e400");
    QTest::newRow("fuel beyond the double range, negative")
        << QByteArray(kExample).replace("40.000000\r\n", "-1e999\r\n");
}

void TestDefaults::refused() {
    QFETCH(QByteArray, file);
    QVERIFY(!parse(file));
}

void TestDefaults::onlyTheFirst1023BytesCount() {
    QByteArray file = kExample;
    file += QByteArray(1023 - file.size(), ' ');
    QVERIFY(parse(file + "x:1\r\n")); // the ninth colon lies beyond byte 1023
    QByteArray late = QByteArray(900, ' ') + kExample;
    QVERIFY(!parse(late)); // entries beyond byte 1023 are cut off
}

void TestDefaults::fileOfExactly1023Bytes() {
    // The last digit of the fuel is byte 1023: read. One byte more of
    // padding pushes it out.
    QByteArray file = QByteArray(kExample).replace("Total Fuel:40.000000\r\n", "Total Fuel:47");
    const QByteArray pad(1023 - file.size(), ' ');
    file.replace("home_airport:ABC", "home_airport:ABC" + pad);
    QCOMPARE(file.size(), 1023);
    QCOMPARE(parse(file)->fuel, 47.0);
    file.replace("ABC", "ABC ");
    QCOMPARE(parse(file)->fuel, 4.0);

    // What Save writes may be 1,023 bytes at most, and then still loads back.
    testing::DataDir dir;
    Defaults d = example();
    d.homeAirport = std::string(1023 - 178, 'A');
    QCOMPARE(store::formatDefaults(d).size(), std::size_t(1023));
    QVERIFY(store::fitsDefaultsFile(d) && store::loadsBack(d));
    QCOMPARE(store::saveDefaultsFile(store::dataPlaces(), d), core::WriteStatus::Written);
    Defaults back;
    QCOMPARE(store::loadDefaultsFile(store::dataPlaces(), back), store::DefaultsLoad::Loaded);
    QCOMPARE(back.homeAirport, d.homeAirport);
    QCOMPARE(back.fuel, d.fuel);
    d.homeAirport += 'A';
    QVERIFY(!store::fitsDefaultsFile(d));
}

void TestDefaults::whatSaveWritesLoadsBack() {
    // Hand-edited files of every shape: whatever loads either saves to a
    // file that loads back to the same values, or Save refuses it.
    QRandomGenerator random(20261207);
    const QList<QByteArray> ends = {"\r\n", "\n", "\r", ""};
    const QList<QByteArray> codes = {"ABC", "1:2", "A\rB",      "A\nB",
                                     " X ", "",    "\xe9t\xe9", "A\r\nB"};
    const QList<QByteArray> numbers = {"40.5",      "-0",   "1e300",   "1e400", "abc",
                                       "7.1234567", "  12", "-1e-400", "250"};
    int loaded = 0;
    for (int i = 0; i < 4000; ++i) {
        QByteArray file = "home_airport:" + codes.at(random.bounded(codes.size()));
        for (int k = 0; k < 7; ++k)
            file += ends.at(random.bounded(ends.size())) +
                    "k:" + numbers.at(random.bounded(numbers.size()));
        file += ends.at(random.bounded(ends.size()));
        const auto d = parse(file);
        if (!d || !store::loadsBack(*d))
            continue;
        ++loaded;
        const std::string saved = store::formatDefaults(*d);
        const auto back = store::parseDefaults(saved);
        QVERIFY2(back, file.toPercentEncoding().constData());
        QCOMPARE(back->homeAirport, d->homeAirport);
        for (const auto& [was, is] : {std::pair{d->homeLatitude, back->homeLatitude},
                                      {d->homeLongitude, back->homeLongitude},
                                      {d->tas, back->tas},
                                      {d->variation, back->variation},
                                      {d->magDeviation, back->magDeviation},
                                      {d->gph, back->gph},
                                      {d->fuel, back->fuel}})
            QCOMPARE(is, core::parseLeadingNumber(core::formatFixed(was, 6)));
    }
    QVERIFY(loaded > 100); // the property was exercised, not skipped
}

void TestDefaults::longValuesDoNotOverflow() {
    QByteArray file = kExample;
    file.replace("110.000000", "110" + QByteArray(400, '0').prepend('.'));
    const auto d = parse(file);
    QVERIFY(d);
    QCOMPARE(d->tas, 110.0);
}

void TestDefaults::fileLayer() {
    testing::DataDir dir;
    Defaults d;
    QCOMPARE(store::loadDefaultsFile(store::dataPlaces(), d), store::DefaultsLoad::CannotOpen);
    QCOMPARE(store::saveDefaultsFile(store::dataPlaces(), example()), core::WriteStatus::Written);
    QCOMPARE(dir.read("config.fly"), kExample);
    QCOMPARE(store::loadDefaultsFile(store::dataPlaces(), d), store::DefaultsLoad::Loaded);
    QCOMPARE(d.tas, 110.0);
    dir.write("config.fly", "a:1\r\n");
    Defaults untouched = example();
    QCOMPARE(store::loadDefaultsFile(store::dataPlaces(), untouched),
             store::DefaultsLoad::Malformed);
    QCOMPARE(untouched.tas, 110.0);
}

void TestDefaults::saveWithoutDataDirectory() {
    testing::DataDir dir(false);
    QCOMPARE(store::saveDefaultsFile(store::dataPlaces(), example()),
             core::WriteStatus::CannotCreate);
    QVERIFY(!QFile::exists(dir.home.path() + "/skyvane"));
}

void TestDefaults::saveOverLongerFileLeavesNoTrace() {
    testing::DataDir dir;
    dir.write("config.fly", QByteArray(5000, 'x'));
    QCOMPARE(store::saveDefaultsFile(store::dataPlaces(), example()), core::WriteStatus::Written);
    QCOMPARE(dir.read("config.fly"), kExample);
}

void TestDefaults::failedWriteKeepsOldFile() {
    testing::DataDir dir;
    // A directory where the file should be: the replacement cannot happen.
    QVERIFY(QDir().mkpath(dir.path("config.fly")));
    QVERIFY(store::saveDefaultsFile(store::dataPlaces(), example()) != core::WriteStatus::Written);
    QVERIFY(QFileInfo(dir.path("config.fly")).isDir());
    QCOMPARE(QDir(dir.path("")).entryList(QDir::Files).size(), 0); // no temporary left behind
}

void TestDefaults::installedCopyUntilTheFirstSave_data() {
    QTest::addColumn<QByteArray>("own");       // null: none; "<dir>": a folder in its place
    QTest::addColumn<QByteArray>("installed"); // null: none
    QTest::addColumn<int>("load");
    QTest::addColumn<double>("tas");
    const QByteArray zeros = QByteArray::fromStdString(store::formatDefaults(Defaults{}));
    using L = store::DefaultsLoad;
    QTest::newRow("first start: the installed defaults")
        << QByteArray() << zeros << int(L::Loaded) << 0.0;
    QTest::newRow("first start, installed values")
        << QByteArray() << kExample << int(L::Loaded) << 110.0;
    QTest::newRow("the user's own file wins") << kExample << zeros << int(L::Loaded) << 110.0;
    QTest::newRow("an unreadable own file is still an error")
        << QByteArray("<dir>") << zeros << int(L::CannotOpen) << -1.0;
    QTest::newRow("a malformed own file is still an error")
        << QByteArray("a:1") << zeros << int(L::Malformed) << -1.0;
    QTest::newRow("nothing at all") << QByteArray() << QByteArray() << int(L::CannotOpen) << -1.0;
}

void TestDefaults::installedCopyUntilTheFirstSave() {
    QFETCH(QByteArray, own);
    QFETCH(QByteArray, installed);
    testing::DataDir dir;
    if (own == "<dir>")
        QVERIFY(QDir().mkpath(dir.path("config.fly")));
    else if (!own.isNull())
        dir.write("config.fly", own);
    if (!installed.isNull()) {
        QFile f(dir.installed("config.fly"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(installed);
    }
    Defaults d;
    d.tas = -1;
    QTEST(int(store::loadDefaultsFile(store::dataPlaces(), d)), "load");
    QTEST(d.tas, "tas");
}

void TestDefaults::shippedDefaultsAreWhatSaveWrites() {
    // The installed config.fly is what Save writes for a fresh start.
    QFile shipped(SKYVANE_RES_DATA "/config.fly");
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    QCOMPARE(shipped.readAll(), QByteArray::fromStdString(store::formatDefaults(Defaults{})));
}

QTEST_GUILESS_MAIN(TestDefaults)
#include "tst_defaults.moc"
