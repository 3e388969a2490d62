// The search box over the navigation database on its own: typing offers the
// database's matches in its order and fills nothing; only a choice from the
// list (arrow keys and Return) is a pick.
#include "navdb/NavDatabase.h"
#include "navdb/PlaceFinder.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestPlaceFinder : public QObject {
    Q_OBJECT
private slots:
    void onlyAChoiceIsAPick();
};

void TestPlaceFinder::onlyAChoiceIsAPick() {
    QTemporaryDir dir;
    const std::string path = QFile::encodeName(dir.path() + "/nav.sqlite").toStdString();
    {
        QFile csv(SKYVANE_TEST_DATA "/ourairports-navaids.csv");
        QVERIFY(csv.open(QIODevice::ReadOnly));
        auto db = navdb::NavDatabase::open(path, true);
        QVERIFY(db->import(navdb::Table::Navaids, csv.readAll().toStdString(), {}).ok);
    }
    const navdb::NavData data(path, std::nullopt);
    QLineEdit edit;
    navdb::PlaceFinder finder(&edit, data);
    QSignalSpy chosen(&finder, &navdb::PlaceFinder::chosen);
    edit.show();
    edit.activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.setFocus();
    QTest::keyClicks(&edit, "zue");
    QTRY_VERIFY(finder.listShown());
    QCOMPARE(chosen.count(), 0); // typing alone fills nothing
    QCOMPARE(edit.text(), QString("zue"));
    // The database's order: the VOR-DME before the locator.
    QAbstractItemView* popup = edit.completer()->popup();
    QCOMPARE(popup->model()->rowCount(), 2);
    QVERIFY(popup->model()->index(0, 0).data().toString().startsWith("ZUE  Zürich East"));
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    QTRY_COMPARE(chosen.count(), 1);
    const auto place = chosen.at(0).at(0).value<navdb::Place>();
    QCOMPARE(place.ident, QString("ZUE"));
    QCOMPARE(place.type, QString("NDB"));
}

QTEST_MAIN(TestPlaceFinder)
#include "tst_placefinder.moc"
