// The kneeboard page read back from the PDF as a reader sees it (poppler's
// pdftotext -bbox): the smallest text, the headings, the rows' height and the
// write-in columns' width on every page choice; the pilot's columns, a second
// line per leg when they do not fit, what fits nowhere named on the page;
// the header with and without the navigation database; the route picture's
// place.
#include "TestSupport.h"
#include "kneeboard/KneeboardPrint.h"
#include "navdb/NavDatabase.h"
#include "plan/DecisionPoints.h"
#include "plan/FlightPlan.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>
#include <map>

namespace {

constexpr double kPtPerMm = 72 / 25.4;

struct Word {
    int page = 0; // from 1
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
    double height() const { return yMax - yMin; }
};

struct Pdf {
    std::vector<Word> words;
    int pages = 0;
    double pageWidth = 0;
    std::vector<Word> onPage(int page) const {
        std::vector<Word> out;
        std::copy_if(words.begin(), words.end(), std::back_inserter(out),
                     [page](const Word& w) { return w.page == page; });
        return out;
    }
    bool has(int page, const QString& text) const {
        return std::any_of(words.begin(), words.end(),
                           [&](const Word& w) { return w.page == page && w.text == text; });
    }
};

// Every word with its box in points, from pdftotext -bbox.
Pdf readPdf(const QByteArray& bytes) {
    Pdf pdf;
    QTemporaryDir dir;
    QFile file(dir.filePath("page.pdf"));
    if (!file.open(QIODevice::WriteOnly))
        return pdf;
    file.write(bytes);
    file.close();
    QXmlStreamReader xml(testing::runTool("pdftotext", {"-bbox", file.fileName(), "-"}));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("page")) {
            ++pdf.pages;
            pdf.pageWidth = a.value("width").toDouble();
        } else if (xml.name() == QLatin1String("word")) {
            Word w{pdf.pages,
                   a.value("xMin").toDouble(),
                   a.value("yMin").toDouble(),
                   a.value("xMax").toDouble(),
                   a.value("yMax").toDouble(),
                   {}};
            w.text = xml.readElementText();
            pdf.words.push_back(w);
        }
    }
    return pdf;
}

// How tall pdftotext makes a word of the page's font at a size, from a
// reference PDF written the same way.
double wordHeightAt(double points) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        QPainter painter(&writer);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(points);
        painter.setFont(QFont(font, &writer));
        painter.drawText(QPointF(100, 200), QStringLiteral("Reference"));
    }
    const Pdf pdf = readPdf(bytes);
    return pdf.words.empty() ? 0 : pdf.words.front().height();
}

// A route of `legs` legs eastward from 47N 8E, each with its wind.
plan::FlightPlan straightPlan(int legs, const QString& firstName = QStringLiteral("WP0")) {
    plan::FlightPlan p;
    p.aircraft = {110, 8, 60, 1};
    p.off = QDateTime(QDate(2026, 6, 1), QTime(9, 0), Qt::UTC);
    p.variationDeg = -2;
    for (int i = 0; i <= legs; ++i) {
        plan::Waypoint w;
        w.name = i == 0 ? firstName : QStringLiteral("WP%1").arg(i);
        w.position = {47.0 + 0.02 * i, 8.0 + 0.12 * i};
        w.leg.altitudeFt = 4500;
        w.leg.wind = plan::Wind{250, 10.0 + i % 7};
        p.waypoints.push_back(w);
    }
    return p;
}

kneeboard::Sheet sheetOf(const plan::FlightPlan& p, const navdb::NavData* navData = nullptr) {
    const plan::ComputedPlan computed = plan::computePlan(p, nullptr);
    return kneeboard::planSheet(p, computed, plan::decisionPoints(p, computed, nullptr), navData);
}

QStringList allColumns() {
    QStringList keys;
    for (const kneeboard::Column* c : kneeboard::columns())
        keys << QLatin1String(c->paperKey);
    return keys;
}

QString fitText(const kneeboard::ColumnFit& fit) {
    QStringList lines;
    for (const auto& line : fit.lines) {
        QStringList cols;
        for (int i : line)
            cols << QString::number(i);
        lines << cols.join(' ');
    }
    QStringList dropped;
    for (int i : fit.dropped)
        dropped << QString::number(i);
    return lines.join('|') + " / " + dropped.join(' ');
}

} // namespace

class TestKneeboard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void briefingBlockAndWholeMinutes();
    void columnsFitAcross_data();
    void columnsFitAcross();
    void columnChoice();
    void headerWithAndWithoutTheDatabase();
    void legibleOnEveryPage_data();
    void legibleOnEveryPage();
    void balancePictureUnderItsLines();
    void whatFitsNowhereIsSaidNotShrunk();
    void continuationPagesKeepTitleAndNumberApart();
    void pictureOnItsOwnPageOrBeside();

private:
    double m_height8 = 0;
    double m_height10 = 0;
};

void TestKneeboard::initTestCase() {
    QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(),
             "pdftotext (poppler-utils) is not installed");
    m_height8 = wordHeightAt(8); // what a pilot reads in a moving cockpit
    m_height10 = wordHeightAt(10);
    QVERIFY(m_height8 > 8 && m_height10 > m_height8);
}

void TestKneeboard::columnsFitAcross_data() {
    QTest::addColumn<std::vector<double>>("needs");
    QTest::addColumn<std::vector<bool>>("writeIn");
    QTest::addColumn<double>("available");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<std::vector<double>>("firstLineWidths");
    QTest::newRow("exactly one line")
        << std::vector<double>{10, 20, 30} << std::vector<bool>{false, false, false} << 60.0
        << "0 1 2 / " << std::vector<double>{10, 20, 30};
    QTest::newRow("room left goes to the write-in column")
        << std::vector<double>{10, 15, 20} << std::vector<bool>{false, true, false} << 60.0
        << "0 1 2 / " << std::vector<double>{10, 30, 20};
    QTest::newRow("without write-in columns, to all")
        << std::vector<double>{10, 20} << std::vector<bool>{false, false} << 40.0 << "0 1 / "
        << std::vector<double>{15, 25};
    QTest::newRow("a hair too wide: two lines")
        << std::vector<double>{30, 30, 30} << std::vector<bool>{false, false, true} << 89.9
        << "0 1|2 / " << std::vector<double>{44.95, 44.95};
    QTest::newRow("more than two lines hold: the rest is named")
        << std::vector<double>{60, 60, 60, 60} << std::vector<bool>{false, false, false, false}
        << 100.0 << "0|1 / 2 3" << std::vector<double>{100};
    QTest::newRow("a column wider than the page")
        << std::vector<double>{10, 200, 10} << std::vector<bool>{false, false, false} << 100.0
        << "0 2 / 1" << std::vector<double>{50, 50};
}

void TestKneeboard::columnsFitAcross() {
    QFETCH(std::vector<double>, needs);
    QFETCH(std::vector<bool>, writeIn);
    QFETCH(double, available);
    QFETCH(QString, lines);
    QFETCH(std::vector<double>, firstLineWidths);
    const kneeboard::ColumnFit fit = kneeboard::fitColumns(needs, writeIn, available);
    QCOMPARE(fitText(fit), lines);
    QCOMPARE(fit.widths.front().size(), firstLineWidths.size());
    for (std::size_t i = 0; i < firstLineWidths.size(); ++i)
        QVERIFY(qAbs(fit.widths.front()[i] - firstLineWidths[i]) < 1e-9);
    // No column is ever narrower than it needs.
    for (std::size_t l = 0; l < fit.lines.size(); ++l) {
        for (std::size_t c = 0; c < fit.lines[l].size(); ++c)
            QVERIFY(fit.widths[l][c] >= needs[std::size_t(fit.lines[l][c])]);
    }
}

void TestKneeboard::columnChoice() {
    QString error;
    QCOMPARE(kneeboard::parseColumns(" eta, mh,ata ", &error),
             std::optional<QStringList>(QStringList{"mh", "eta", "ata"}));
    QVERIFY(!kneeboard::parseColumns("mh,heading", &error));
    QVERIFY2(error.contains("'heading'") && error.contains("fuelAct"), qPrintable(error));
    QVERIFY(!kneeboard::parseColumns(",", &error));
    QCOMPARE(kneeboard::chosenColumns({"nonsense"}), kneeboard::defaultColumns());
    QCOMPARE(kneeboard::defaultColumns(),
             (QStringList{"checkpoint", "alt", "mh", "ch", "wca", "gs", "dist", "ete", "eta", "ata",
                          "fuelLeft", "fuelAct"}));
    // The columns chosen are the columns printed, in that order.
    testing::DataDir dir;
    kneeboard::PrintOptions options;
    options.columns = QStringList{"notes", "leg", "gs"};
    const auto layout =
        kneeboard::kneeboardLayout(sheetOf(straightPlan(3)), *kneeboard::pageLayout("a5"), options);
    QCOMPARE(layout.lines, (std::vector<QStringList>{{"leg", "gs", "notes"}}));
    // Two write-in columns take 30 mm however little they hold: on a page
    // 34 mm across, MH and ATA share the first line and F.act the second.
    options.columns = QStringList{"mh", "ata", "fuelAct"};
    const QPageLayout narrow(QPageSize(QSizeF(46, 120), QPageSize::Millimeter),
                             QPageLayout::Portrait, QMarginsF(6, 8, 6, 8), QPageLayout::Millimeter);
    const auto two = kneeboard::kneeboardLayout(sheetOf(straightPlan(3)), narrow, options);
    QCOMPARE(two.lines, (std::vector<QStringList>{{"mh", "ata"}, {"fuelAct"}}));
}

void TestKneeboard::headerWithAndWithoutTheDatabase() {
    testing::DataDir dir;
    plan::FlightPlan p = straightPlan(2, QStringLiteral("LSZH"));
    p.waypoints.front().ident = QStringLiteral("LSZH");
    p.waypoints.back().ident = QStringLiteral("KJFK");
    // Without a database the codes alone.
    kneeboard::Sheet sheet = sheetOf(p);
    QCOMPARE(sheet.airports, (QStringList{"Departure LSZH", "Destination KJFK"}));
    QCOMPARE(sheet.route, QString("LSZH - WP1 - KJFK"));
    QVERIFY2(sheet.aircraft.startsWith("TAS 110 kt, fuel flow 8 gal/h, 60 gal at start"),
             qPrintable(sheet.aircraft));
    QCOMPARE(sheet.fuel.size(), 3);
    QVERIFY(sheet.fuel[1].startsWith("Enough fuel"));
    // 59 gal after taxi at 8 gal/h: 442.5 min, never rounded up.
    QCOMPARE(sheet.fuel[2], QString("Endurance 7 h 22 min at 8 gal/h (59.0 gal after taxi)."));
    QCOMPARE(sheet.decisions.size(), 3);

    // With one: elevation, the longest runway still open, the frequencies.
    const std::string path = QFile::encodeName(dir.path("navdata.sqlite")).toStdString();
    {
        auto db = navdb::NavDatabase::open(path, true);
        QVERIFY(db);
        const std::pair<navdb::Table, const char*> files[] = {
            {navdb::Table::Airports, "ourairports-sample.csv"},
            {navdb::Table::Runways, "ourairports-runways.csv"},
            {navdb::Table::Frequencies, "ourairports-frequencies.csv"},
            {navdb::Table::Navaids, "ourairports-navaids.csv"}};
        for (const auto& [table, name] : files) {
            QFile f(QStringLiteral(SKYVANE_TEST_DATA "/") + name);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(db->import(table, f.readAll().toStdString(), {}).ok);
        }
    }
    const navdb::NavData navData = navdb::NavData::of(store::dataPlaces());
    // The first leg ends at the Zürich East VOR-DME: the checkpoint says its
    // frequency (not the locator's of the same code).
    p.waypoints[1].ident = QStringLiteral("ZUE");
    p.waypoints[1].position = {47.5922, 8.8176};
    sheet = sheetOf(p, &navData);
    const kneeboard::Column* checkpoint = kneeboard::columnByKey("checkpoint");
    QCOMPARE(kneeboard::cellText(*checkpoint, 1, sheet.legs[0]), QString("ZUE 110.05"));
    QCOMPARE(kneeboard::cellText(*checkpoint, 2, sheet.legs[1]), QString("KJFK"));
    QCOMPARE(sheet.legs[0].figures.to, QString("ZUE")); // the log's own column keeps the code
    QCOMPARE(sheet.airports.value(0),
             QString("Departure LSZH Zürich Airport: elevation 10 ft, longest runway 16/34 12139 "
                     "× 197 ft CON"));
    // The frequencies in a table of their own: ATIS before the tower.
    QCOMPARE(sheet.frequencies.kinds, (QStringList{"ATIS", "TWR"}));
    QCOMPARE(sheet.frequencies.rows.size(), std::size_t(1)); // KJFK has none
    QCOMPARE(sheet.frequencies.rows[0].first, QString("Departure LSZH"));
    QCOMPARE(sheet.frequencies.rows[0].second, (QStringList{"128.525", "118.100"}));
    QCOMPARE(sheet.airports.value(1),
             QString("Destination KJFK John F Kennedy International Airport: elevation 10 ft"));
    QCOMPARE(kneeboard::airportLine("Alternate", "ZZZZ", &navData), QString("Alternate ZZZZ"));
    // And on the page.
    const Pdf pdf = readPdf(kneeboard::kneeboardPdf(sheet, *kneeboard::pageLayout("a5"), {}));
    QVERIFY(pdf.has(1, "12139"));
    // Read back as a table: each frequency on the airport's line, under its
    // kind's heading.
    auto word = [&pdf](const QString& text) {
        return *std::find_if(pdf.words.begin(), pdf.words.end(),
                             [&](const Word& w) { return w.text == text; });
    };
    QVERIFY(pdf.has(1, "ATIS") && pdf.has(1, "TWR") && pdf.has(1, "128.525") &&
            pdf.has(1, "118.100") && pdf.has(1, "Frequencies"));
    const Word atis = word("ATIS"), tower = word("TWR"), atisMhz = word("128.525"),
               towerMhz = word("118.100");
    QVERIFY(std::abs(atis.xMin - atisMhz.xMin) < 1 && std::abs(tower.xMin - towerMhz.xMin) < 1);
    QVERIFY(std::abs(atisMhz.yMin - towerMhz.yMin) < 1 && atisMhz.yMin > atis.yMax);
    QVERIFY(atis.xMin < tower.xMin);
    const auto onRow = std::find_if(pdf.words.begin(), pdf.words.end(), [&](const Word& w) {
        return w.text == "Departure" && std::abs(w.yMin - atisMhz.yMin) < 1;
    });
    QVERIFY(onRow != pdf.words.end());
}

void TestKneeboard::legibleOnEveryPage_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<int>("lines");
    for (const QString& page : kneeboard::pageNames()) {
        QTest::newRow(qPrintable(page + " flying")) << page << kneeboard::defaultColumns() << 1;
        // Every column: too wide for one line on any of these pages.
        QTest::newRow(qPrintable(page + " all")) << page << allColumns() << 2;
    }
}

// The weight and balance picture: framed under the verdict, above the legs,
// and only for a plan with a loading.
void TestKneeboard::balancePictureUnderItsLines() {
    testing::DataDir dir;
    kneeboard::Sheet sheet = sheetOf(straightPlan(3));
    sheet.balance = {QStringLiteral("Loading"), QStringLiteral("Verdict-here.")};
    kneeboard::PrintOptions options;
    options.drawBalance = [](QPainter& painter, const QRectF& area) {
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("ENVELOPE"));
    };
    const QPageLayout layout = *kneeboard::pageLayout("a5");
    const Pdf pdf = readPdf(kneeboard::kneeboardPdf(sheet, layout, options));
    auto word = [&pdf](const QString& text) {
        const auto it = std::find_if(pdf.words.begin(), pdf.words.end(),
                                     [&](const Word& w) { return w.text == text; });
        return it == pdf.words.end() ? std::optional<Word>() : std::optional<Word>(*it);
    };
    const auto picture = word("ENVELOPE"), verdict = word("Verdict-here.");
    const auto head = word(
        QLatin1String(kneeboard::columnByKey(kneeboard::defaultColumns().first())->paperHeading));
    QVERIFY(picture && verdict && head);
    QCOMPARE(picture->page, 1);
    QVERIFY(picture->yMin > verdict->yMax);
    QVERIFY(picture->yMax < head->yMin);
    sheet.balance.clear();
    QVERIFY(!readPdf(kneeboard::kneeboardPdf(sheet, layout, options)).has(1, "ENVELOPE"));
}

void TestKneeboard::legibleOnEveryPage() {
    QFETCH(QString, page);
    QFETCH(QStringList, columns);
    QFETCH(int, lines);
    testing::DataDir dir;
    const kneeboard::Sheet sheet = sheetOf(straightPlan(30));
    kneeboard::PrintOptions options;
    options.columns = columns;
    const QPageLayout layout = *kneeboard::pageLayout(page);
    const kneeboard::Layout planned = kneeboard::kneeboardLayout(sheet, layout, options);
    QCOMPARE(int(planned.lines.size()), lines);
    QVERIFY(planned.dropped.isEmpty());
    const Pdf pdf = readPdf(kneeboard::kneeboardPdf(sheet, layout, options));
    QCOMPARE(pdf.pages, planned.pages);
    QVERIFY(pdf.pages >= 2);

    // No text below 8 pt; the title and the section headings at 10 pt or more.
    for (const Word& w : pdf.words)
        QVERIFY2(w.height() >= m_height8 * 0.999, qPrintable(w.text));
    for (const char* heading : {"Skyvane", "Fuel", "points"}) {
        const auto it = std::find_if(pdf.words.begin(), pdf.words.end(), [&](const Word& w) {
            return w.text == QLatin1String(heading);
        });
        QVERIFY2(it != pdf.words.end() && it->height() >= m_height10 * 0.999, qPrintable(heading));
    }

    const double left = layout.margins(QPageLayout::Point).left();
    const double right = pdf.pageWidth - layout.margins(QPageLayout::Point).right();
    const QString first = QLatin1String(kneeboard::columnByKey(planned.lines[0][0])->paperHeading);
    int legsSeen = 0;
    for (int n = 1; n <= pdf.pages; ++n) {
        const std::vector<Word> words = pdf.onPage(n);
        const auto head = std::find_if(words.begin(), words.end(),
                                       [&](const Word& w) { return w.text == first; });
        if (head == words.end()) {
            // Only the last page may go without the table: notes that ran over.
            QCOMPARE(n, pdf.pages);
            continue;
        }
        // Each line of the table begins in the first column: the heading, a
        // checkpoint or leg number per leg, the totals. Rows 7 mm or more.
        double nextColumn = right;
        for (const Word& w : words) {
            if (qAbs(w.yMin - head->yMin) < 0.5 && w.xMin > head->xMin)
                nextColumn = std::min(nextColumn, w.xMin);
        }
        std::vector<double> rows;
        for (const Word& w : words) {
            if (w.xMin < left || w.xMin > nextColumn - 0.5 * kPtPerMm || w.yMin < head->yMin - 0.5)
                continue;
            const bool leg = w.text.contains(QRegularExpression("^(WP)?\\d+$"));
            legsSeen += leg ? 1 : 0;
            if (leg || w.text == first || w.text == "Total")
                rows.push_back(w.yMin);
        }
        std::sort(rows.begin(), rows.end());
        for (std::size_t i = 1; i < rows.size(); ++i)
            QVERIFY2(
                rows[i] - rows[i - 1] >= 7 * kPtPerMm - 0.01,
                qPrintable(
                    QString("page %1 row %2: %3 pt").arg(n).arg(i).arg(rows[i] - rows[i - 1])));

        // The heading lines: each column's heading stands at its cell's left
        // edge, so the next heading tells where the cell ends; the last cell
        // of a line ends at the right margin.
        for (int l = 0; l < lines; ++l) {
            const double y = head->yMin + l * 7 * kPtPerMm;
            std::vector<Word> line;
            for (const Word& w : words) {
                if (qAbs(w.yMin - y) < 0.5 * kPtPerMm)
                    line.push_back(w);
            }
            std::sort(line.begin(), line.end(),
                      [](const Word& a, const Word& b) { return a.xMin < b.xMin; });
            // A time's heading names the zone after it ("ETA UTC").
            int times = 0;
            for (const QString& key : planned.lines[std::size_t(l)])
                times += kneeboard::columnByKey(key)->time ? 1 : 0;
            const auto zones = std::remove_if(
                line.begin(), line.end(), [&](const Word& w) { return w.text == sheet.timeZone; });
            QCOMPARE(int(line.end() - zones), times);
            line.erase(zones, line.end());
            QCOMPARE(int(line.size()), int(planned.lines[std::size_t(l)].size()));
            for (std::size_t c = 0; c < line.size(); ++c) {
                const kneeboard::Column* column =
                    kneeboard::columnByKey(planned.lines[std::size_t(l)][int(c)]);
                QCOMPARE(line[c].text, QString(column->paperHeading));
                // A heading stands less than a millimetre inside its cell.
                const double end = c + 1 < line.size() ? line[c + 1].xMin : right + kPtPerMm;
                if (column->writeIn)
                    QVERIFY2(end - line[c].xMin >= 15 * kPtPerMm - 0.01,
                             qPrintable(QString("%1: %2 mm")
                                            .arg(column->paperHeading)
                                            .arg((end - line[c].xMin) / kPtPerMm)));
            }
        }
    }
    QCOMPARE(legsSeen, 30);
}

void TestKneeboard::continuationPagesKeepTitleAndNumberApart() {
    // Thirty legs on A5: the route line of 31 waypoints wraps on every page
    // after the first, whole, and beside "Page n of N", never under it.
    testing::DataDir dir;
    const kneeboard::Sheet sheet = sheetOf(straightPlan(30));
    const Pdf pdf = readPdf(
        kneeboard::kneeboardPdf(sheet, *kneeboard::pageLayout("a5"), kneeboard::PrintOptions{}));
    QVERIFY(pdf.pages >= 2);
    for (int n = 2; n <= pdf.pages; ++n) {
        const std::vector<Word> words = pdf.onPage(n);
        const auto page = std::find_if(words.begin(), words.end(),
                                       [](const Word& w) { return w.text == "Page"; });
        QVERIFY(page != words.end());
        QVERIFY2(pdf.has(n, "WP30"), qPrintable(QString("page %1 cuts the route").arg(n)));
        for (const Word& w : words) {
            const bool sameLine = w.yMin < page->yMax && w.yMax > page->yMin;
            if (sameLine && w.xMin < page->xMin)
                QVERIFY2(w.xMax <= page->xMin, qPrintable(w.text + " runs into the page number"));
        }
    }
}

void TestKneeboard::whatFitsNowhereIsSaidNotShrunk() {
    testing::DataDir dir;
    const kneeboard::Sheet sheet = sheetOf(straightPlan(3, QString(90, 'W')));
    kneeboard::PrintOptions options;
    options.columns = QStringList{"from", "checkpoint", "mh", "ata"};
    const kneeboard::Layout planned =
        kneeboard::kneeboardLayout(sheet, *kneeboard::pageLayout("a5"), options);
    QCOMPARE(planned.dropped, QStringList{"From"});
    QCOMPARE(planned.lines, (std::vector<QStringList>{{"checkpoint", "mh", "ata"}}));
    const Pdf pdf = readPdf(kneeboard::kneeboardPdf(sheet, *kneeboard::pageLayout("a5"), options));
    QStringList text;
    for (const Word& w : pdf.words) {
        text << w.text;
        QVERIFY(w.height() >= m_height8 * 0.999);
    }
    QVERIFY2(text.join(' ').contains("Too wide for this page at 8 pt, not printed: From."),
             qPrintable(text.join(' ')));
}

void TestKneeboard::pictureOnItsOwnPageOrBeside() {
    testing::DataDir dir;
    const kneeboard::Sheet sheet = sheetOf(straightPlan(3));
    kneeboard::PrintOptions options;
    options.drawPicture = [](QPainter& painter, const QRectF& area) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(10);
        painter.setFont(QFont(font, painter.device()));
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("PICTURE"));
    };
    const QPageLayout page = *kneeboard::pageLayout("a5");
    std::map<kneeboard::PicturePlace, Pdf> pdfs;
    for (auto place : {kneeboard::PicturePlace::None, kneeboard::PicturePlace::OwnPage,
                       kneeboard::PicturePlace::BesideLog}) {
        options.picture = place;
        pdfs[place] = readPdf(kneeboard::kneeboardPdf(sheet, page, options));
    }
    const Pdf& none = pdfs[kneeboard::PicturePlace::None];
    QCOMPARE(none.pages, 1);
    QVERIFY(!none.has(1, "PICTURE"));
    const Pdf& own = pdfs[kneeboard::PicturePlace::OwnPage];
    QCOMPARE(own.pages, 2);
    QVERIFY(own.has(2, "PICTURE") && !own.has(1, "PICTURE"));
    const Pdf& beside = pdfs[kneeboard::PicturePlace::BesideLog];
    QCOMPARE(beside.pages, 1);
    const auto mark = std::find_if(beside.words.begin(), beside.words.end(),
                                   [](const Word& w) { return w.text == "PICTURE"; });
    QVERIFY(mark != beside.words.end());
    QVERIFY(mark->xMin > beside.pageWidth / 2); // right of the header block
    // Beside, not over: the table starts below it.
    const auto head = std::find_if(beside.words.begin(), beside.words.end(),
                                   [](const Word& w) { return w.text == "Checkpoint"; });
    QVERIFY(head != beside.words.end() && head->yMin > mark->yMax);
}

// The page's briefing block read back from the PDF: the departure's report
// decoded, its daylight in the plan's zone, the boxes to write in, and the
// times at a glance (ETE in whole minutes, ETA to the minute, the zone named).
void TestKneeboard::briefingBlockAndWholeMinutes() {
    testing::DataDir dir;
    plan::FlightPlan p = straightPlan(2);
    p.zone = plan::PlanZone::Utc;
    p.waypoints[0].name = "EDXX";
    p.weather[0].metar = "METAR EDXX 010850Z 27008KT 9999 BKN012 18/12 Q1009";
    const kneeboard::Sheet sheet = sheetOf(p);
    QCOMPARE(sheet.timeZone, QString("UTC"));
    QVERIFY2(sheet.briefing.join(" ").contains("BKN 1200 ft (MVFR)"),
             qPrintable(sheet.briefing.join("\n")));
    kneeboard::PrintOptions options;
    options.columns = QStringList{"checkpoint", "ete", "eta"};
    const QString path = dir.home.path() + "/briefing.pdf";
    QFile pdf(path);
    QVERIFY(pdf.open(QIODevice::WriteOnly));
    pdf.write(kneeboard::kneeboardPdf(sheet, *kneeboard::pageLayout("a4"), options));
    pdf.close();
    const QString text = testing::runTool("pdftotext", {"-layout", path, "-"});
    for (const char* word : {"Briefing", "ATIS", "QNH", "Squawk", "Off block", "ATD",
                             "Departure EDXX", "ETA UTC", "Civil dawn"})
        QVERIFY2(text.contains(QLatin1String(word)), word);
    // Each leg's ETE is a whole number of minutes, its ETA hh:mm.
    const QRegularExpression row("^\\s*WP1\\s+(\\S+)\\s+(\\S+)",
                                 QRegularExpression::MultilineOption);
    const auto m = row.match(text);
    QVERIFY2(m.hasMatch(), qPrintable(text));
    QVERIFY2(m.captured(1).contains(QRegularExpression("^\\d+$")), qPrintable(m.captured(1)));
    QVERIFY2(m.captured(2).contains(QRegularExpression("^\\d\\d:\\d\\d$")),
             qPrintable(m.captured(2)));
}

QTEST_MAIN(TestKneeboard)
#include "tst_kneeboard.moc"
