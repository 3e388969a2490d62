// The shared text rules and the CSV reader on their own: Latin-1 both ways,
// the case key, numbers as the leg dialog shows them, and CSV's hard cases.
#include "core/Csv.h"
#include "core/Text.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestText : public QObject {
    Q_OBJECT
private slots:
    void latin1RoundTrip();
    void caseKeyJoinsWhatCaseSeparates();
    void numberText_data();
    void numberText();
    void csv_data();
    void csv();
};

void TestText::latin1RoundTrip() {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    const QString text = core::fromLatin1(all);
    QCOMPARE(text.size(), 255);
    QCOMPARE(text.at(0xFC - 1), QChar(0xFC)); // ü
    QCOMPARE(core::toLatin1(text), std::optional<std::string>(all));
    QCOMPARE(core::toLatin1(QStringLiteral("Zürich")), std::optional<std::string>("Z\xFCrich"));
    // Beyond Latin-1 an 8-bit file cannot hold it: none, never a "?".
    QCOMPARE(core::toLatin1(QStringLiteral("Łódź")), std::nullopt);
}

void TestText::caseKeyJoinsWhatCaseSeparates() {
    QCOMPARE(core::caseKey("kla"), core::caseKey("KLA"));
    QCOMPARE(core::caseKey("Kla"), core::caseKey("kLA"));
    QVERIFY(core::caseKey("kla") != core::caseKey("klb"));
    // Sorting by the key puts case apart from order: aBc between aaa and abd.
    QVERIFY(core::caseKey("aaa") < core::caseKey("aBc"));
    QVERIFY(core::caseKey("aBc") < core::caseKey("abd"));
}

void TestText::numberText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 110.0 << "110";
    QTest::newRow("two decimals") << 31.6 << "31.6";
    QTest::newRow("negative") << -5.0 << "-5";
    QTest::newRow("fifteen significant digits") << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("large") << 1e20 << "1e+20";
    QTest::newRow("small") << 0.0001 << "0.0001";
}

void TestText::numberText() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(core::numberText(value), text);
}

void TestText::csv_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("rows"); // fields joined by '|'
    QTest::newRow("plain, no line end at the end")
        << QByteArray("a,b\n1,2\n3,4") << true << QStringList{"1|2", "3|4"};
    QTest::newRow("CR LF") << QByteArray("a,b\r\n1,2\r\n") << true << QStringList{"1|2"};
    QTest::newRow("quotes, commas and a line break in a field")
        << QByteArray("a,b\n\"x, \"\"y\"\"\",\"two\nlines\"\n") << true
        << QStringList{"x, \"y\"|two\nlines"};
    QTest::newRow("a byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                     "a,b\n1,2\n")
                                       << true << QStringList{"1|2"};
    QTest::newRow("empty fields") << QByteArray("a,b,c\n,,\n") << true << QStringList{"||"};
    QTest::newRow("a row too short") << QByteArray("a,b\n1\n") << false << QStringList{};
    QTest::newRow("no header") << QByteArray("") << false << QStringList{};
}

void TestText::csv() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(QStringList, rows);
    QStringList read;
    int headerColumns = 0;
    const core::CsvRead r = core::readCsv(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
        [&](const core::CsvHeader& h) -> QString {
            headerColumns = h.column("a") == 0 && h.column("zz") == -1 ? int(h.size()) : -1;
            return {};
        },
        [&](const std::vector<std::string>& fields) {
            QStringList f;
            for (const std::string& x : fields)
                f << QString::fromStdString(x);
            read << f.join('|');
        });
    QCOMPARE(r.ok, ok);
    if (ok) {
        QCOMPARE(read, rows);
        QCOMPARE(r.rows, rows.size());
        QVERIFY(headerColumns >= 2);
    } else {
        QVERIFY(!r.error.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
