// Where the data files are: the desktop's rules, read once from the
// environment, relative entries ignored.
#include "core/DataPlaces.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestDataPlaces : public QObject {
    Q_OBJECT
private slots:
    void fromTheEnvironment_data();
    void fromTheEnvironment();
    void installedCopiesInOrder();
};

void TestDataPlaces::fromTheEnvironment_data() {
    QTest::addColumn<QByteArray>("dataHome");
    QTest::addColumn<QByteArray>("dataDirs");
    QTest::addColumn<QString>("user");      // "~" for the home folder
    QTest::addColumn<QStringList>("first"); // the first installed folders
    QTest::newRow("set") << QByteArray("/data") << QByteArray("/a:/b") << "/data/skyvane"
                         << QStringList{"/a/skyvane", "/b/skyvane"};
    QTest::newRow("unset: the defaults")
        << QByteArray() << QByteArray() << "~/.local/share/skyvane"
        << QStringList{"/usr/local/share/skyvane", "/usr/share/skyvane"};
    QTest::newRow("relative entries are ignored")
        << QByteArray("relative/data") << QByteArray("rel:/b:./c") << "~/.local/share/skyvane"
        << QStringList{"/b/skyvane"};
}

void TestDataPlaces::fromTheEnvironment() {
    QFETCH(QByteArray, dataHome);
    QFETCH(QByteArray, dataDirs);
    QFETCH(QString, user);
    QFETCH(QStringList, first);
    qputenv("XDG_DATA_HOME", dataHome);
    qputenv("XDG_DATA_DIRS", dataDirs);
    const core::DataPlaces places = core::DataPlaces::fromEnvironment();
    QCOMPARE(places.userFolder(), user.replace("~", QDir::homePath()));
    QCOMPARE(places.installedFolders().mid(0, first.size()), first);
    // Then the share folder beside the program's own bin folder.
    QCOMPARE(places.installedFolders().size(), first.size() + 1);
    QVERIFY(places.installedFolders().last().endsWith("/share/skyvane"));
}

void TestDataPlaces::installedCopiesInOrder() {
    QTemporaryDir a, b;
    QDir().mkpath(b.path() + "/magnetic");
    QFile(b.path() + "/magnetic/m.cof").open(QIODevice::WriteOnly);
    QFile(a.path() + "/x.fly").open(QIODevice::WriteOnly);
    QFile(b.path() + "/x.fly").open(QIODevice::WriteOnly);
    const core::DataPlaces places(a.path(), {a.path(), b.path()});
    QCOMPARE(QString::fromStdString(*places.installedFile("x.fly")), a.path() + "/x.fly");
    QCOMPARE(QString::fromStdString(*places.installedFile("magnetic/m.cof")),
             b.path() + "/magnetic/m.cof");
    QVERIFY(!places.installedFile("none.fly"));
    QCOMPARE(QString::fromStdString(places.userFile("y.fly")), a.path() + "/y.fly");
}

QTEST_GUILESS_MAIN(TestDataPlaces)
#include "tst_dataplaces.moc"
