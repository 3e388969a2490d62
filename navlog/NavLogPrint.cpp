#include "navlog/NavLogPrint.h"

#include "navlog/LegColumns.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QComboBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSettings>
#include <QTextDocument>

#include <algorithm>

namespace navlog {
namespace {

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString cell(const QString& text, const char* align = "right") {
    return QStringLiteral("<td align=\"%1\" nowrap>%2</td>")
        .arg(QLatin1String(align), escaped(text));
}

QString headerRow() {
    QStringList headings = legTableHeadings();
    headings << kReserveHeadingShort << QStringLiteral("ATA") << QStringLiteral("Fuel act.");
    QString row = QStringLiteral("<tr>");
    for (const QString& h : headings)
        row += QStringLiteral("<th nowrap>%1</th>").arg(escaped(h));
    return row + QStringLiteral("</tr>");
}

QString legRow(int number, const LegRecord& leg, bool low) {
    QString row = low ? QStringLiteral("<tr bgcolor=\"#d0d0d0\">") : QStringLiteral("<tr>");
    const QStringList cells = legTableRow(number, leg);
    for (int c = 0; c < cells.size(); ++c)
        row += cell(cells[c], legTableLeftAligned(c) ? "left" : "right");
    row += cell(low ? kBelowReserveShort : QString(), "center");
    // Room to write in flight: wide enough for a time, tall enough for a hand.
    row += QStringLiteral("<td style=\"font-size: 9pt\">&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;</td>"
                          "<td style=\"font-size: 9pt\">&nbsp;&nbsp;&nbsp;&nbsp;</td>");
    return row + QStringLiteral("</tr>");
}

QString totalsRow(const Trip& trip, const Totals& t) {
    QString row = QStringLiteral("<tr><td colspan=\"%1\" align=\"left\"><b>Totals</b></td>")
                      .arg(legTableTotalsFrom());
    const QStringList cells = legTableTotals(trip, t);
    for (int c = legTableTotalsFrom(); c < cells.size(); ++c)
        row += cell(cells[c]);
    return row + QStringLiteral("<td></td><td></td><td></td></tr>");
}

} // namespace

QStringList navLogPages(const Trip& trip, int reserveMin, const QStringList& notes) {
    const int legs = static_cast<int>(trip.legs.size());
    const int pages = std::max(1, (legs + kLegsPerPage - 1) / kLegsPerPage);
    const Totals totals = totalsOf(trip, reserveMin);
    const QString tas = trip.legs.empty() ? QString() : trip.legs.front().tas;
    const QString fuel = trip.legs.empty() ? QString() : trip.legs.front().fuelAtStart;
    QStringList out;
    for (int page = 0; page < pages; ++page) {
        QString html = QStringLiteral(
            "<html><body style=\"font-family: sans-serif; font-size: 5pt; color: black\">");
        html += QStringLiteral("<p style=\"font-size: 9pt\"><b>Skyvane nav log</b></p>"
                               "<p>Date: %1 &nbsp; Route: %2 &nbsp; TAS: %3 kt &nbsp; Fuel at "
                               "start: %4 gal &nbsp; Reserve: %5 min &nbsp; Page %6 of %7</p>")
                    .arg(escaped(trip.started.toString(QStringLiteral("yyyy-MM-dd HH:mm"))),
                         escaped(routeOf(trip)), escaped(tas), escaped(fuel))
                    .arg(reserveMin)
                    .arg(page + 1)
                    .arg(pages);
        html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"1\" "
                               "width=\"100%\">") +
                headerRow();
        const int first = page * kLegsPerPage;
        for (int i = first; i < std::min(legs, first + kLegsPerPage); ++i) {
            const LegRecord& leg = trip.legs[static_cast<std::size_t>(i)];
            html += legRow(i + 1, leg, belowReserve(leg, reserveMin));
        }
        if (page == pages - 1 && legs > 0)
            html += totalsRow(trip, totals);
        html += QStringLiteral("</table>");
        if (page == pages - 1 && totals.hasEndurance) {
            html += QStringLiteral("<p>%1</p>").arg(escaped(reserveSummary(totals, reserveMin)));
        }
        if (page == pages - 1) {
            for (const QString& note : notes) {
                if (!note.isEmpty())
                    html += QStringLiteral("<p>%1</p>").arg(escaped(note));
            }
        }
        out << html + QStringLiteral("</body></html>");
    }
    return out;
}

namespace {

// Lays each page out on the device itself, at its resolution and across its
// printable area; a page at a time keeps 25 pages as quick as one.
void render(QPagedPaintDevice& device, int resolution, const Trip& trip, int reserveMin,
            const QStringList& notes) {
    const QSizeF pageSize = device.pageLayout().paintRectPixels(resolution).size();
    QPainter painter(&device);
    bool first = true;
    for (const QString& html : navLogPages(trip, reserveMin, notes)) {
        if (!first)
            device.newPage();
        first = false;
        QTextDocument doc;
        doc.documentLayout()->setPaintDevice(&device);
        doc.setDocumentMargin(0);
        doc.setPageSize(pageSize);
        doc.setHtml(html);
        doc.drawContents(&painter, QRectF(QPointF(0, 0), pageSize));
    }
}

} // namespace

const QStringList& kneeboardPageNames() {
    static const QStringList names = {QStringLiteral("a5"), QStringLiteral("a5-landscape"),
                                      QStringLiteral("half-letter"), QStringLiteral("a4"),
                                      QStringLiteral("letter")};
    return names;
}

QString kneeboardPageTitle(const QString& name) {
    static const QStringList titles = {
        QStringLiteral("A5 portrait"), QStringLiteral("A5 landscape"),
        QStringLiteral("Half Letter"), QStringLiteral("A4"), QStringLiteral("US Letter")};
    const int i = kneeboardPageNames().indexOf(name);
    return i < 0 ? name : titles.at(i);
}

std::optional<QPageLayout> kneeboardPageLayout(const QString& name) {
    const QMarginsF margins(8, 8, 8, 8);
    auto layout = [&](const QPageSize& size, QPageLayout::Orientation orientation) {
        return QPageLayout(size, orientation, margins, QPageLayout::Millimeter);
    };
    if (name == QLatin1String("a5"))
        return layout(QPageSize(QPageSize::A5), QPageLayout::Portrait);
    if (name == QLatin1String("a5-landscape"))
        return layout(QPageSize(QPageSize::A5), QPageLayout::Landscape);
    if (name == QLatin1String("half-letter"))
        return layout(QPageSize(QSizeF(5.5, 8.5), QPageSize::Inch, QStringLiteral("Half Letter")),
                      QPageLayout::Portrait);
    if (name == QLatin1String("a4"))
        return layout(QPageSize(QPageSize::A4), QPageLayout::Portrait);
    if (name == QLatin1String("letter"))
        return layout(QPageSize(QPageSize::Letter), QPageLayout::Portrait);
    return std::nullopt;
}

namespace {
const char* const kPageKey = "kneeboard/page";
QSettings settings() {
    return QSettings(QStringLiteral("skyvane"), QStringLiteral("skyvane"));
}
} // namespace

QString rememberedKneeboardPage() {
    const QString name = settings().value(QLatin1String(kPageKey)).toString();
    return kneeboardPageNames().contains(name) ? name : kneeboardPageNames().constFirst();
}

void rememberKneeboardPage(const QString& name) {
    if (kneeboardPageNames().contains(name))
        settings().setValue(QLatin1String(kPageKey), name);
}

QPageLayout kneeboardPageLayout() {
    return *kneeboardPageLayout(rememberedKneeboardPage());
}

QComboBox* kneeboardPageBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (const QString& name : kneeboardPageNames())
        box->addItem(kneeboardPageTitle(name), name);
    box->setCurrentIndex(kneeboardPageNames().indexOf(rememberedKneeboardPage()));
    box->setAccessibleName(QStringLiteral("Kneeboard page"));
    box->setAccessibleDescription(QStringLiteral("Kneeboard page"));
    QObject::connect(box, qOverload<int>(&QComboBox::activated), box,
                     [box](int i) { rememberKneeboardPage(box->itemData(i).toString()); });
    return box;
}

void printNavLog(QPrinter& printer, const Trip& trip, int reserveMin, const QStringList& notes) {
    render(printer, printer.resolution(), trip, reserveMin, notes);
}

QByteArray navLogPdf(const Trip& trip, int reserveMin, const QStringList& notes,
                     const std::optional<QPageLayout>& page) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(page ? *page : kneeboardPageLayout());
        pdf.setResolution(300);
        pdf.setTitle(QStringLiteral("Skyvane nav log"));
        pdf.setCreator(QStringLiteral("Skyvane"));
        render(pdf, pdf.resolution(), trip, reserveMin, notes);
    }
    return bytes;
}

} // namespace navlog
