// The two data files against real failures: a full disk (small writes that
// fail only when flushed, large ones that fail while written), a read-only
// file system, a second running copy holding or sharing the airport file,
// and hand edits made while the program runs. Everything is driven through
// Save and Add as a pilot presses them.
#include "TestSupport.h"
#include "course/CourseDialog.h"
#include "course/CourseDialogIds.h"
#include "leg/LegDialog.h"
#include "leg/LegDialogIds.h"
#include "navdb/NavDatabase.h"
#include "plan/PlanWindow.h"
#include "store/AirportDatabase.h"
#include "store/Globals.h"

#include <QComboBox>
#include <QProcess>
#include <QTest>
#include <QUndoStack>

#include <memory>
#include <set>

#include <QElapsedTimer>
#include <QThread>

#include <csignal>
#include <sys/mount.h>
#include <unistd.h>

using testing::setText;

namespace {

namespace legid = ids::leg;
namespace courseid = ids::course;

const QByteArray kDefaults = "home_airport:ABC\r\nhome_latitude:40.500000\r\n"
                             "home_longitude:-74.250000\r\nTAS:110.000000\r\n"
                             "Variation:13.000000\r\nMagnetic Deviation:2.000000\r\n"
                             "Galons/Hour:8.000000\r\nTotal Fuel:40.000000\r\n";

// n records "Annn:lat;lon," one a line, about 26 bytes each.
QByteArray airports(int n, char first = 'A') {
    QByteArray out;
    for (int i = 0; i < n; ++i) {
        out += first;
        out += QByteArray::number(i % 1000).rightJustified(2, '0').right(2);
        out += ":" + QByteArray::number(10 + i % 70) + ".250000;" +
               QByteArray::number(-100 + i % 90) + ".500000,\r\n";
    }
    return out;
}

// A data folder on a tmpfs of its own, so that writes meet a real full disk
// and a real read-only file system. Mounting needs root (as CI runs);
// elsewhere the tests that need it skip.
class SmallDisk {
public:
    explicit SmallDisk(int kib) {
        if (::geteuid() != 0) {
            reason = "mounting a small tmpfs needs root (CI runs as root)";
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(kib) + "k";
        if (::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0,
                    options.constData()) != 0) {
            reason =
                "this machine refuses to mount a tmpfs: " + QString::fromLocal8Bit(strerror(errno));
            return;
        }
        mounted = true;
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
        store::useDataPlaces(core::DataPlaces::fromEnvironment());
        QDir(dir.path()).mkpath(QStringLiteral("skyvane"));
    }
    ~SmallDisk() {
        if (mounted)
            ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    QString path(const QString& file) const { return dir.path() + "/skyvane/" + file; }
    void write(const QString& file, const QByteArray& bytes) const {
        QFile f(path(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), qint64(bytes.size()));
    }
    QByteArray read(const QString& file) const {
        QFile f(path(file));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList files() const {
        return QDir(dir.path() + "/skyvane").entryList(QDir::Files | QDir::Hidden);
    }
    // Fills the disk but for `leaveKib` (whole pages).
    void fill(int leaveKib = 0) {
        QFile filler(dir.path() + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray page(4096, 'x');
        while (filler.write(page) == page.size()) {
        }
        filler.close();
        if (leaveKib > 0) {
            QVERIFY(filler.resize(filler.size() - leaveKib * 1024));
        }
    }
    void freeSpace() { QFile::remove(dir.path() + "/filler"); }
    void makeReadOnly() {
        QCOMPARE(::mount(nullptr, QFile::encodeName(dir.path()).constData(), nullptr,
                         MS_REMOUNT | MS_RDONLY, nullptr),
                 0);
    }

    QTemporaryDir dir;
    bool mounted = false;
    QString reason;
};

struct App {
    App() {
        leg.reset();
        services = testing::services();
        leg = std::make_unique<CLegDialog>(*services);
        leg->createModeless(nullptr);
        messages.list.clear();
    }
    // Save with a new TAS typed into the leg dialog.
    void saveWithTas(const QString& tas) {
        QWidget* field = leg->item(legid::TAS);
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, tas);
        testing::click(*leg, legid::SAVE);
    }
    // TC, then Add of `id` at the arrival position 12.5 / 34.25; Quit when
    // the course dialog is still open afterwards.
    void add(const QString& id) {
        testing::whenModal<CCourseDialog>([id](CCourseDialog& d) {
            setText(d, courseid::ARR_LAT, "12.5");
            setText(d, courseid::ARR_LON, "34.25");
            auto* box = d.itemAs<QComboBox>(courseid::ARRIVAL);
            box->lineEdit()->clear();
            QTest::keyClicks(box->lineEdit(), id);
            testing::click(d, courseid::ADD);
            if (d.isVisible())
                testing::click(d, courseid::QUIT);
        });
        testing::click(*leg, legid::TCBTN);
    }
    testing::Messages messages;
    std::unique_ptr<store::Services> services;
    std::unique_ptr<CLegDialog> leg;
};

#define REQUIRE_DISK(disk)                                                                         \
    if (!(disk).mounted)                                                                           \
    QSKIP(qPrintable((disk).reason))

} // namespace

class TestFileSafety : public QObject {
    Q_OBJECT
private slots:
    void init() { store::airportDatabase().setLockTimeout(3000); }
    void saveOnFullDiskKeepsTheFile();
    void addOnFullDiskKeepsTheFile_data();
    void addOnFullDiskKeepsTheFile();
    void navLogOnFullDisk();
    void readOnlyFolder();
    void lockHeldByAnotherCopy();
    void twoCopiesAddingLoseNothing();
    void handEditDuringTheRunSurvivesAdd();
    void navImportOnFullDisk();
    void planSaveOnFullDisk();
    void damagedFilesOnAReadOnlyDisk();
    void killedNavImportLeavesTheDatabase();
    void failingSystemCall_data();
    void failingSystemCall();
};

void TestFileSafety::saveOnFullDiskKeepsTheFile() {
    SmallDisk disk(64);
    REQUIRE_DISK(disk);
    disk.write("config.fly", kDefaults);
    App app;
    disk.fill();
    app.saveWithTas("120");
    // The small file fits the write buffer: only its flush meets the full disk.
    QCOMPARE(app.messages.list, QStringList{"Cannot write congfiguration file!"});
    QCOMPARE(disk.read("config.fly"), kDefaults);
    QCOMPARE(disk.files(), QStringList{"config.fly"});

    disk.freeSpace();
    app.messages.list.clear();
    testing::click(*app.leg, legid::SAVE);
    QCOMPARE(app.messages.list, QStringList{"Defaults saved!"});
    QVERIFY(disk.read("config.fly").contains("TAS:120.000000\r\n"));
}

void TestFileSafety::addOnFullDiskKeepsTheFile_data() {
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("diskKib");
    QTest::addColumn<int>("leaveKib");
    // Room for the lock file only: the 3 KB file fails at its flush.
    QTest::newRow("120 airports, fails when flushed") << 120 << 64 << 4;
    // 8000 airports (about 200 KB) with 64 KB left: fails while written.
    QTest::newRow("8000 airports, fails while written") << 8000 << 1024 << 64;
}

void TestFileSafety::addOnFullDiskKeepsTheFile() {
    QFETCH(int, records);
    QFETCH(int, diskKib);
    QFETCH(int, leaveKib);
    SmallDisk disk(diskKib);
    REQUIRE_DISK(disk);
    const QByteArray before = airports(records);
    disk.write("airports.fly", before);
    App app;
    disk.fill(leaveKib);
    app.add("zzq");
    QCOMPARE(app.messages.list, QStringList{"Cannot write airports file!"});
    QCOMPARE(disk.read("airports.fly"), before);
    QCOMPARE(disk.files(), QStringList{"airports.fly"}); // no temporary or lock file left
    QVERIFY(!g_mapAirports.count("ZZQ"));

    disk.freeSpace();
    app.messages.list.clear();
    app.add("zzq");
    QCOMPARE(app.messages.list, QStringList{"Airport ZZQ was added to database!"});
    QCOMPARE(disk.read("airports.fly"), before + "ZZQ:12.500000;34.250000,");
}

void TestFileSafety::navLogOnFullDisk() {
    SmallDisk disk(64);
    REQUIRE_DISK(disk);
    disk.write("config.fly", kDefaults);
    App app;
    QTest::mouseClick(app.leg->itemAs<QPushButton>(legid::RUN), Qt::LeftButton);
    QTRY_VERIFY(disk.files().contains("navlog.json"));
    const QByteArray before = disk.read("navlog.json");
    disk.fill();
    app.messages.list.clear();
    QTest::mouseClick(app.leg->itemAs<QPushButton>(legid::NEXT), Qt::LeftButton);
    QTest::mouseClick(app.leg->itemAs<QPushButton>(legid::RUN), Qt::LeftButton);
    QTRY_COMPARE(app.messages.list, QStringList{"Cannot write nav log file!"});
    QCOMPARE(disk.read("navlog.json"), before);
    QCOMPARE(disk.files(), (QStringList{"config.fly", "navlog.json"}));
}

void TestFileSafety::readOnlyFolder() {
    SmallDisk disk(64);
    REQUIRE_DISK(disk);
    disk.write("config.fly", kDefaults);
    disk.write("airports.fly", airports(3));
    App app;
    disk.makeReadOnly();
    app.saveWithTas("120");
    QCOMPARE(app.messages.list, QStringList{"Cannot open congfiguration file!"});
    app.messages.list.clear();
    app.add("ZZQ");
    QCOMPARE(app.messages.list, QStringList{"Cannot open airports file!"});
    QCOMPARE(disk.read("config.fly"), kDefaults);
    QCOMPARE(disk.read("airports.fly"), airports(3));
}

void TestFileSafety::lockHeldByAnotherCopy() {
    testing::DataDir dir;
    const QByteArray before = airports(5);
    dir.write("airports.fly", before);
    App app;
    QProcess holder;
    holder.start(QStringLiteral(AIRPORT_APPENDER), {QStringLiteral("hold")});
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));

    store::airportDatabase().setLockTimeout(200);
    app.add("ZZQ");
    QCOMPARE(app.messages.list,
             QStringList{"The airports file is in use by another program, try again!"});
    QCOMPARE(dir.read("airports.fly"), before);

    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(10000));
    app.messages.list.clear();
    app.add("ZZQ");
    QCOMPARE(app.messages.list, QStringList{"Airport ZZQ was added to database!"});
    QCOMPARE(dir.read("airports.fly"), before + "ZZQ:12.500000;34.250000,");
}

void TestFileSafety::twoCopiesAddingLoseNothing() {
    testing::DataDir dir;
    dir.write("airports.fly", "");
    QProcess first;
    QProcess second;
    first.start(QStringLiteral(AIRPORT_APPENDER), {"append", "P", "60"});
    second.start(QStringLiteral(AIRPORT_APPENDER), {"append", "Q", "60"});
    // And this process as a third copy, at the same time.
    store::AirportDatabase own(store::dataPlaces());
    own.setLockTimeout(30000);
    for (int i = 0; i < 60; ++i) {
        const std::string id = "R" + QByteArray::number(i).rightJustified(2, '0').toStdString();
        QCOMPARE(own.append(id, 1, 2), core::WriteStatus::Written);
    }
    QVERIFY(first.waitForFinished(60000));
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);

    AirportMap index;
    const auto ids = store::parseAirportText(dir.read("airports.fly").toStdString(), index);
    QCOMPARE(ids.size(), std::size_t(180));
    QCOMPARE(std::set<std::string>(ids.begin(), ids.end()).size(), std::size_t(180));
}

void TestFileSafety::handEditDuringTheRunSurvivesAdd() {
    testing::DataDir dir;
    // A NUL byte hides the rest of its chunk from loading; it stays in the file.
    const QByteArray atStart = QByteArray("AAA:1;2,\r\n") + '\0' + "hidden\r\nBBB:3;4,\r\n";
    dir.write("airports.fly", atStart);
    App app;
    const QByteArray edited = atStart + "CCC:5;6,\r\n"; // typed in while Skyvane runs
    dir.write("airports.fly", edited);
    app.add("ZZQ");
    QCOMPARE(app.messages.list, QStringList{"Airport ZZQ was added to database!"});
    QCOMPARE(dir.read("airports.fly"), edited + "ZZQ:12.500000;34.250000,");
}

void TestFileSafety::failingSystemCall_data() {
    QTest::addColumn<QByteArray>("fail");
    QTest::addColumn<QString>("says");
    QTest::newRow("nothing fails") << QByteArray("none") << "written";
    QTest::newRow("fsync: an I/O error") << QByteArray("fsync") << "Cannot write data file!";
    QTest::newRow("rename: the folder turned read-only")
        << QByteArray("rename") << "Cannot write data file!";
    QTest::newRow("rename: a folder took the file's place")
        << QByteArray("rename-dir") << "Cannot write data file!";
}

void TestFileSafety::failingSystemCall() {
    // The real write path runs in a second program; the disk fails at one
    // system call under it, as a failing disk would.
    QFETCH(QByteArray, fail);
    QFETCH(QString, says);
    QTemporaryDir dir;
    const QString path = dir.path() + "/data.fly";
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    QProcess writer;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_PRELOAD", FAILING_DISK);
    env.insert("SKYVANE_FAIL", fail);
    env.insert("ASAN_OPTIONS", "verify_asan_link_order=0");
    writer.setProcessEnvironment(env);
    writer.start(SAFE_WRITE, {path, "new contents"});
    QVERIFY(writer.waitForFinished(30000));
    QCOMPARE(QString::fromLocal8Bit(writer.readAllStandardOutput()).trimmed(), says);
    QCOMPARE(writer.exitCode(), fail == "none" ? 0 : 1);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray(fail == "none" ? "new contents" : "old contents"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"data.fly"}); // no temporary
}

// OurAirports' airports.csv form, n airports N0000, N0001, ... named in words.
std::string worldAirports(int n, int firstId = 1000) {
    std::string csv = "id,ident,type,name,latitude_deg,longitude_deg,elevation_ft,iso_country,"
                      "iso_region,municipality,gps_code,iata_code,local_code\n";
    for (int i = 0; i < n; ++i) {
        const std::string number = std::to_string(i);
        csv += std::to_string(firstId + i) + ",N" +
               std::string(4 - std::min<std::size_t>(4, number.size()), '0') + number +
               ",small_airport,Lake Meadow Field " + number + "," + std::to_string(i % 80) + ".5," +
               std::to_string(i % 170) + ".25,100,CH,CH-ZH,Town " + number + ",,,\n";
    }
    return csv;
}

void TestFileSafety::navImportOnFullDisk() {
    SmallDisk disk(1024);
    REQUIRE_DISK(disk);
    const std::string path = QFile::encodeName(disk.path("navdata.sqlite")).toStdString();
    {
        auto db = navdb::NavDatabase::open(path, true);
        QVERIFY(db);
        QVERIFY(db->import(navdb::Table::Airports, worldAirports(50), {}).ok);
    }
    const QByteArray before = disk.read("navdata.sqlite");
    disk.fill(16);
    {
        auto db = navdb::NavDatabase::open(path, true);
        QVERIFY(db);
        const auto result = db->import(navdb::Table::Airports, worldAirports(20000, 5000), {});
        QVERIFY(!result.ok);
        QVERIFY2(!result.error.isEmpty(), "a full disk is reported");
    }
    disk.freeSpace();
    QCOMPARE(disk.read("navdata.sqlite"), before); // byte for byte as it was
    auto db = navdb::NavDatabase::open(path, false);
    QCOMPARE(db->search("N0049", 5).size(), std::size_t(1));
    QVERIFY(db->search("N5000", 5).empty());
}

void TestFileSafety::killedNavImportLeavesTheDatabase() {
    QTemporaryDir dir;
    const QString path = dir.path() + "/navdata.sqlite";
    {
        auto db = navdb::NavDatabase::open(QFile::encodeName(path).toStdString(), true);
        QVERIFY(db->import(navdb::Table::Airports, worldAirports(50), {}).ok);
    }
    QFile csv(dir.path() + "/world.csv");
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write(QByteArray::fromStdString(worldAirports(200000, 5000)));
    csv.close();
    QProcess import;
    import.start(SKYVANE_BINARY, {"--import-airports", csv.fileName(), "--database", path});
    QVERIFY(import.waitForStarted());
    // Killed while its transaction is open: the rollback journal exists then.
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(path + "-journal") && waited.elapsed() < 20000 &&
           import.state() == QProcess::Running)
        QThread::usleep(200);
    QVERIFY2(QFile::exists(path + "-journal"), "the import never began writing");
    ::kill(static_cast<pid_t>(import.processId()), SIGKILL);
    QVERIFY(import.waitForFinished(10000));
    QCOMPARE(import.exitStatus(), QProcess::CrashExit);
    auto db = navdb::NavDatabase::open(QFile::encodeName(path).toStdString(), false);
    QVERIFY(db);
    QCOMPARE(db->search("N0049", 5).size(), std::size_t(1));
    QVERIFY(db->search("N5000", 5).empty());
}

void TestFileSafety::planSaveOnFullDisk() {
    SmallDisk disk(64);
    REQUIRE_DISK(disk);
    testing::Messages messages;
    plan::FlightPlan start;
    start.waypoints = {plan::Waypoint{"A", "", {47, 8}, {}}, plan::Waypoint{"B", "", {46, 7}, {}}};
    const auto services = testing::services();
    plan::PlanWindow window(start, *services);
    const QString path = disk.path("trip.skyplan");
    QVERIFY(window.saveAs(path));
    const QByteArray before = disk.read("trip.skyplan");
    window.insertWaypoint(plan::Waypoint{"C", "", {45, 6}, {}});
    disk.fill();
    QVERIFY(!window.saveAs(path));
    QCOMPARE(messages.list, QStringList{"Cannot write plan file!"});
    QCOMPARE(disk.read("trip.skyplan"), before);
    QVERIFY(!window.undoStack()->isClean()); // still to be saved
    disk.freeSpace();
    QVERIFY(window.saveAs(path));
    QVERIFY(disk.read("trip.skyplan").contains("\"name\": \"C\""));
}

void TestFileSafety::damagedFilesOnAReadOnlyDisk() {
    // Neither file can be moved aside: both are said, and neither is
    // written over nor deleted.
    SmallDisk disk(256);
    REQUIRE_DISK(disk);
    const QByteArray log = R"({"version": 2, "trips": []})";
    const QByteArray nav = QByteArray("SQLite format 3") + QByteArray(5000, '\x7f');
    disk.write("navlog.json", log);
    disk.write("navdata.sqlite", nav);
    disk.makeReadOnly();
    testing::Messages messages;
    const auto services = testing::services();
    CLegDialog leg(*services);
    leg.createModeless(nullptr);
    QVERIFY2(messages.list.filter("cannot be moved aside").size() == 1,
             qPrintable(messages.list.join('\n')));
    QVERIFY(messages.list.filter("newer Skyvane").size() == 1);
    QString problem;
    QVERIFY(!navdb::NavDatabase::open(QFile::encodeName(disk.path("navdata.sqlite")).toStdString(),
                                      true, &problem));
    QVERIFY2(problem.contains("cannot be moved aside"), qPrintable(problem));
    QCOMPARE(disk.read("navlog.json"), log);
    QCOMPARE(disk.read("navdata.sqlite"), nav);
    QCOMPARE(disk.files(), (QStringList{"navdata.sqlite", "navlog.json"}));
}

QTEST_MAIN(TestFileSafety)
#include "tst_filesafety.moc"
