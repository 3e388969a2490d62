#include "kneeboard/KneeboardPrint.h"

#include "core/Preferences.h"

#include <QBuffer>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QListWidget>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace kneeboard {
namespace {

QFont fontOf(double points, bool bold, QPaintDevice* device) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    // No ligatures: "Off" stays three letters that a search or a screen
    // reader finds.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return QFont(font, device);
}

// The sheet laid out on a device: the columns are measured and fitted once;
// each run goes over the sheet page by page, without a painter only counting
// the pages, with one drawing them. Positions are the device's pixels inside
// the printable area.
class Pass {
public:
    Pass(QPagedPaintDevice& device, int resolution, const Sheet& sheet, const PrintOptions& options)
        : m_device(device), m_sheet(sheet), m_options(options), m_mm(resolution / 25.4),
          m_area(QPointF(0, 0), device.pageLayout().paintRectPixels(resolution).size()),
          m_body(fontOf(kBodyPt, false, &device)), m_heading(fontOf(kHeadingPt, true, &device)),
          m_title(fontOf(kTitlePt, true, &device)) {
        fitColumns();
        m_rowPx = std::max(kRowMm * m_mm, QFontMetricsF(m_body).height() + 2 * m_mm);
    }

    // The pages it takes; pages, when known, for "Page 1 of 3".
    int run(QPainter* painter, int pages) {
        m_painter = painter;
        m_pages = pages;
        m_page = 1;
        m_y = 0;
        headerBlock();
        if (!m_sheet.legs.empty()) {
            tableHead();
            for (std::size_t i = 0; i < m_sheet.legs.size(); ++i) {
                if (m_y + legHeight() > m_area.bottom())
                    nextPageWithTable();
                legRows(static_cast<int>(i));
            }
            if (m_y + legHeight() > m_area.bottom())
                nextPageWithTable();
            totalsRows();
        }
        m_y += m_mm;
        for (const QString& note : m_sheet.endNotes)
            paragraph(note, m_area.width());
        if (m_options.picture == PicturePlace::OwnPage && m_options.drawPicture) {
            newPage();
            text(QRectF(0, m_y, m_area.width(), lineOf(m_heading)), m_heading,
                 QStringLiteral("Route: ") + m_sheet.route, Qt::AlignLeft);
            m_y += lineOf(m_heading) + m_mm;
            picture(QRectF(0, m_y, m_area.width(), m_area.bottom() - m_y));
        }
        return m_page;
    }

    Layout layout() const {
        Layout out;
        for (const auto& line : m_lines) {
            QStringList keys;
            for (const Column* c : line)
                keys << QLatin1String(c->paperKey);
            out.lines.push_back(keys);
        }
        out.dropped = m_dropped;
        return out;
    }

private:
    double lineOf(const QFont& font) const { return QFontMetricsF(font).height(); }
    double legHeight() const { return m_rowPx * static_cast<double>(m_lines.size()); }

    void fitColumns() {
        std::vector<const Column*> chosen;
        for (const QString& key : chosenColumns(m_options.columns))
            chosen.push_back(columnByKey(key));
        // Headings and totals in the body's own type (told apart by their
        // shading), so they need no more width than the figures.
        const QFontMetricsF body(m_body);
        std::vector<double> needs;
        std::vector<bool> writeIn;
        for (const Column* c : chosen) {
            double width = body.horizontalAdvance(headingOf(*c));
            for (std::size_t i = 0; i < m_sheet.legs.size(); ++i) {
                width = std::max(width,
                                 body.horizontalAdvance(cellText(*c, int(i) + 1, m_sheet.legs[i])));
            }
            width = std::max(width, body.horizontalAdvance(totalText(*c, m_sheet)));
            double needMm = width / m_mm + 2 * kPadMm;
            if (c->writeIn)
                needMm = std::max(needMm, kWriteInMm);
            needs.push_back(needMm);
            writeIn.push_back(c->writeIn);
        }
        const ColumnFit fit = kneeboard::fitColumns(needs, writeIn, m_area.width() / m_mm);
        for (std::size_t l = 0; l < fit.lines.size(); ++l) {
            std::vector<const Column*> line;
            std::vector<double> widths;
            for (std::size_t c = 0; c < fit.lines[l].size(); ++c) {
                line.push_back(chosen[std::size_t(fit.lines[l][c])]);
                widths.push_back(fit.widths[l][c] * m_mm);
            }
            m_lines.push_back(line);
            m_widths.push_back(widths);
        }
        for (int i : fit.dropped)
            m_dropped << QLatin1String(chosen[std::size_t(i)]->paperHeading);
    }

    void text(const QRectF& rect, const QFont& font, const QString& s, int flags) {
        if (!m_painter)
            return;
        m_painter->setFont(font);
        m_painter->drawText(rect, flags, s);
    }

    // Body text wrapped across width from the left edge, moving down.
    void paragraph(const QString& s, double width) {
        if (s.isEmpty())
            return;
        const QRectF bounds =
            QFontMetricsF(m_body).boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, s);
        if (m_y + bounds.height() > m_area.bottom())
            newPage();
        text(QRectF(0, m_y, width, bounds.height()), m_body, s,
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
        m_y += bounds.height();
    }

    // A picture drawn into rect, kept within it, and framed.
    void framed(const QRectF& rect, const std::function<void(QPainter&, const QRectF&)>& draw) {
        if (!m_painter || !draw || rect.height() <= 0)
            return;
        m_painter->save();
        m_painter->setClipRect(rect);
        draw(*m_painter, rect);
        m_painter->restore();
        m_painter->setPen(QPen(Qt::black, 0.2 * m_mm));
        m_painter->setBrush(Qt::NoBrush);
        m_painter->drawRect(rect);
    }

    void picture(const QRectF& rect) { framed(rect, m_options.drawPicture); }

    // The weight and balance picture in a framed box under its lines, no
    // wider than the lines and short enough to leave the page to the log.
    void balanceBox(double width) {
        if (!m_options.drawBalance || m_sheet.balance.isEmpty())
            return;
        const double w = std::min(width, 90 * m_mm);
        const double h = std::min(w * 0.6, m_area.height() * 0.22);
        m_y += m_mm;
        const QRectF rect(0, m_y, w, h);
        m_y += h;
        framed(rect, m_options.drawBalance);
    }

    // The airports' frequencies in a grid: a column per kind, a row per
    // airport, each column as wide as its widest cell.
    void frequencyGrid(double width) {
        const FrequencyTable& table = m_sheet.frequencies;
        if (table.empty())
            return;
        const QFontMetricsF metrics(m_body);
        const double pad = 2 * kPadMm * m_mm;
        std::vector<double> widths{0};
        for (const auto& [label, cells] : table.rows)
            widths[0] = std::max(widths[0], metrics.horizontalAdvance(label) + pad);
        for (int k = 0; k < table.kinds.size(); ++k) {
            double w = metrics.horizontalAdvance(table.kinds[k]) + pad;
            for (const auto& row : table.rows)
                w = std::max(w, metrics.horizontalAdvance(row.second.value(k)) + pad);
            widths.push_back(w);
        }
        const double scale =
            std::min(1.0, width / std::accumulate(widths.begin(), widths.end(), 0.0));
        const double h = lineOf(m_body) + m_mm;
        m_y += 0.8 * m_mm;
        auto line = [&](const QString& first, const QStringList& cells, bool heading) {
            double x = 0;
            for (std::size_t c = 0; c < widths.size(); ++c) {
                const QRectF box(x, m_y, widths[c] * scale, h);
                if (m_painter) {
                    if (heading)
                        m_painter->fillRect(box, QColor(0xe0, 0xe0, 0xe0));
                    m_painter->setPen(QPen(Qt::black, 0.15 * m_mm));
                    m_painter->drawRect(box);
                }
                text(box.adjusted(kPadMm * m_mm, 0, -kPadMm * m_mm, 0), m_body,
                     c == 0 ? first : cells.value(int(c) - 1), Qt::AlignLeft | Qt::AlignVCenter);
                x += box.width();
            }
            m_y += h;
        };
        line(QStringLiteral("Frequencies"), table.kinds, true);
        for (const auto& [label, cells] : table.rows)
            line(label, cells, false);
    }

    QString pageText() const {
        return m_pages > 0 ? QStringLiteral("Page %1 of %2").arg(m_page).arg(m_pages)
                           : QStringLiteral("Page %1").arg(m_page);
    }

    void headerBlock() {
        const double titleH = lineOf(m_title);
        text(QRectF(0, 0, m_area.width(), titleH), m_title, m_sheet.title,
             Qt::AlignLeft | Qt::AlignVCenter);
        text(QRectF(0, 0, m_area.width(), titleH), m_body, pageText(),
             Qt::AlignRight | Qt::AlignVCenter);
        m_y = titleH + 0.5 * m_mm;
        const double top = m_y;
        const bool beside = m_options.picture == PicturePlace::BesideLog &&
                            static_cast<bool>(m_options.drawPicture);
        const double gap = 3 * m_mm;
        const double width = beside ? m_area.width() * 0.56 : m_area.width();
        QStringList lines;
        lines << QStringLiteral("Date: %1    Route: %2").arg(m_sheet.date, m_sheet.route);
        if (!m_sheet.aircraft.isEmpty())
            lines << QStringLiteral("Aircraft: ") + m_sheet.aircraft;
        lines << m_sheet.airports;
        for (const QString& line : lines)
            paragraph(line, width);
        frequencyGrid(width);
        section(QStringLiteral("Fuel"), m_sheet.fuel, width);
        section(QStringLiteral("Decision points"), m_sheet.decisions, width);
        section(QStringLiteral("Weight and balance"), m_sheet.balance, width);
        balanceBox(width);
        section(QStringLiteral("Briefing"), m_sheet.briefing, width);
        if (m_sheet.writeIns)
            section(QStringLiteral("Clearance"),
                    {QStringLiteral("ATIS ______    QNH ______    Squawk ______"),
                     QStringLiteral("Clearance ________________________________________"),
                     QStringLiteral("Off block ______    ATD ______")},
                    width);
        if (beside) {
            const double side = m_area.width() - width - gap;
            const double height = std::max(m_y - top, std::min(side, m_area.height() * 0.4));
            picture(QRectF(width + gap, top, side, height));
            m_y = std::max(m_y, top + height);
        }
        m_y += 2 * m_mm;
    }

    void section(const QString& heading, const QStringList& lines, double width) {
        if (lines.isEmpty())
            return;
        m_y += 0.8 * m_mm;
        const double h = lineOf(m_heading);
        text(QRectF(0, m_y, width, h), m_heading, heading, Qt::AlignLeft | Qt::AlignVCenter);
        m_y += h;
        for (const QString& line : lines)
            paragraph(line, width);
    }

    // A page after the first: the sheet's title and route, wrapped beside
    // its number (never under it, never cut), and the number.
    void newPage() {
        if (m_painter)
            m_device.newPage();
        ++m_page;
        const double h = lineOf(m_heading);
        // Room for the widest number, the same in the counting pass as in
        // the drawing one, so both wrap alike.
        const QString widest = QStringLiteral("Page 999 of 999");
        const double width =
            m_area.width() - QFontMetricsF(m_body).horizontalAdvance(widest) - 3 * m_mm;
        const QString title = m_sheet.title + QStringLiteral(" — ") + m_sheet.route;
        const QRectF bounds = QFontMetricsF(m_heading).boundingRect(QRectF(0, 0, width, 1e6),
                                                                    Qt::TextWordWrap, title);
        const double titleH = std::max(h, bounds.height());
        text(QRectF(0, 0, width, titleH), m_heading, title,
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
        text(QRectF(0, 0, m_area.width(), h), m_body, pageText(),
             Qt::AlignRight | Qt::AlignVCenter);
        m_y = titleH + 2 * m_mm;
    }

    void nextPageWithTable() {
        newPage();
        tableHead();
    }

    void tableHead() {
        if (!m_dropped.isEmpty()) {
            paragraph(QStringLiteral("Too wide for this page at %1 pt, not printed: %2.")
                          .arg(kBodyPt)
                          .arg(m_dropped.join(QStringLiteral(", "))),
                      m_area.width());
            m_y += m_mm;
        }
        for (std::size_t l = 0; l < m_lines.size(); ++l) {
            QStringList cells;
            for (const Column* c : m_lines[l])
                cells << headingOf(*c);
            row(l, cells, QColor(0xe0, 0xe0, 0xe0), l + 1 == m_lines.size(), 0, true);
        }
    }

    // A time's heading names the zone its times are in ("ETA CET").
    QString headingOf(const Column& c) const {
        const QString heading = QLatin1String(c.paperHeading);
        return c.time && !m_sheet.timeZone.isEmpty() ? heading + QLatin1Char(' ') + m_sheet.timeZone
                                                     : heading;
    }

    void legRows(int index) {
        const SheetLeg& leg = m_sheet.legs[std::size_t(index)];
        const QColor fill = leg.belowReserve ? QColor(0xd0, 0xd0, 0xd0) : QColor(Qt::white);
        for (std::size_t l = 0; l < m_lines.size(); ++l) {
            QStringList cells;
            for (const Column* c : m_lines[l])
                cells << cellText(*c, index + 1, leg);
            row(l, cells, fill, l + 1 == m_lines.size());
        }
    }

    // The totals under their columns; "Total" in one box over the empty
    // cells that lead the first line which has any.
    void totalsRows() {
        bool labelled = false;
        for (std::size_t l = 0; l < m_lines.size(); ++l) {
            QStringList cells;
            for (const Column* c : m_lines[l])
                cells << totalText(*c, m_sheet);
            int lead = 0;
            while (lead < cells.size() && cells[lead].isEmpty())
                ++lead;
            const int merge = labelled ? 0 : lead;
            if (merge > 0) {
                cells[0] = QStringLiteral("Total");
                labelled = true;
            }
            row(l, cells, QColor(0xf0, 0xf0, 0xf0), l + 1 == m_lines.size(), merge);
        }
    }

    // A line of cells across the page, each boxed; the last line of a leg
    // closes it with a heavier rule, so two-line legs read as one.
    void row(std::size_t line, const QStringList& cells, const QColor& fill, bool lastLine,
             int merge = 0, bool headings = false) {
        if (m_painter) {
            double x = 0;
            for (int c = 0; c < cells.size(); ++c) {
                double w = m_widths[line][std::size_t(c)];
                const Column* column = m_lines[line][std::size_t(c)];
                // Headings all stand at their cell's left edge, where the
                // pilot's eye starts along the line.
                bool left = headings || column->leftAligned || column->writeIn;
                if (c == 0 && merge > 1) { // the first cells as one box
                    for (int m = 1; m < merge; ++m)
                        w += m_widths[line][std::size_t(m)];
                    left = true;
                }
                const QRectF box(x, m_y, w, m_rowPx);
                m_painter->fillRect(box, fill);
                m_painter->setPen(QPen(Qt::black, 0.15 * m_mm));
                m_painter->drawRect(box);
                text(box.adjusted(kPadMm * m_mm, 0, -kPadMm * m_mm, 0), m_body, cells[c],
                     (left ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
                x += w;
                if (c == 0 && merge > 1)
                    c = merge - 1;
            }
            if (lastLine) {
                m_painter->setPen(QPen(Qt::black, 0.45 * m_mm));
                m_painter->drawLine(QPointF(0, m_y + m_rowPx), QPointF(x, m_y + m_rowPx));
            }
        }
        m_y += m_rowPx;
    }

    static constexpr double kPadMm = 0.6; // text from the cell's rules

    QPagedPaintDevice& m_device;
    const Sheet& m_sheet;
    const PrintOptions& m_options;
    QPainter* m_painter = nullptr;
    int m_pages = 0;
    double m_mm;
    QRectF m_area;
    QFont m_body, m_heading, m_title;
    std::vector<std::vector<const Column*>> m_lines;
    std::vector<std::vector<double>> m_widths;
    QStringList m_dropped;
    double m_rowPx = 0;
    int m_page = 1;
    double m_y = 0;
};

// Counts the pages first (the header says "Page 1 of 3"), then draws them.
void render(QPagedPaintDevice& device, int resolution, const Sheet& sheet,
            const PrintOptions& options) {
    Pass pass(device, resolution, sheet, options);
    const int pages = pass.run(nullptr, 0);
    QPainter painter(&device);
    pass.run(&painter, pages);
}

const QStringList& pictureNames() {
    static const QStringList names = {QStringLiteral("none"), QStringLiteral("page"),
                                      QStringLiteral("beside")};
    return names;
}

} // namespace

Layout kneeboardLayout(const Sheet& sheet, const QPageLayout& page, const PrintOptions& options) {
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&sink);
    pdf.setPageLayout(page);
    pdf.setResolution(300);
    Pass pass(pdf, pdf.resolution(), sheet, options);
    const int pages = pass.run(nullptr, 0);
    Layout out = pass.layout();
    out.pages = pages;
    return out;
}

QByteArray kneeboardPdf(const Sheet& sheet, const QPageLayout& page, const PrintOptions& options) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(page);
        pdf.setResolution(300);
        pdf.setTitle(sheet.title);
        pdf.setCreator(QStringLiteral("Skyvane"));
        render(pdf, pdf.resolution(), sheet, options);
    }
    return bytes;
}

void printKneeboard(QPrinter& printer, const Sheet& sheet, const PrintOptions& options) {
    render(printer, printer.resolution(), sheet, options);
}

const QStringList& pageNames() {
    static const QStringList names = {QStringLiteral("a5"), QStringLiteral("a5-landscape"),
                                      QStringLiteral("half-letter"), QStringLiteral("a4"),
                                      QStringLiteral("letter")};
    return names;
}

QString pageTitle(const QString& name) {
    static const QStringList titles = {
        QStringLiteral("A5 portrait"), QStringLiteral("A5 landscape"),
        QStringLiteral("Half Letter"), QStringLiteral("A4"), QStringLiteral("US Letter")};
    const int i = pageNames().indexOf(name);
    return i < 0 ? name : titles.at(i);
}

std::optional<QPageLayout> pageLayout(const QString& name) {
    // 6 mm at the sides (within what printers reach), 8 mm top and bottom.
    const QMarginsF margins(6, 8, 6, 8);
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

QString rememberedPage() {
    const QString name = core::Preferences().kneeboardPage();
    return pageNames().contains(name) ? name : pageNames().constFirst();
}

void rememberPage(const QString& name) {
    if (pageNames().contains(name))
        core::Preferences().setKneeboardPage(name);
}

QPageLayout rememberedPageLayout() {
    return *pageLayout(rememberedPage());
}

QStringList rememberedColumns() {
    return chosenColumns(core::Preferences().kneeboardColumns());
}

void rememberColumns(const QStringList& keys) {
    core::Preferences().setKneeboardColumns(chosenColumns(keys));
}

std::optional<PicturePlace> picturePlace(const QString& name) {
    const int i = pictureNames().indexOf(name);
    if (i < 0)
        return std::nullopt;
    return static_cast<PicturePlace>(i);
}

PicturePlace rememberedPicture() {
    return picturePlace(core::Preferences().routePicturePlace()).value_or(PicturePlace::OwnPage);
}

void rememberPicture(PicturePlace place) {
    core::Preferences().setRoutePicturePlace(pictureNames().at(int(place)));
}

PrintOptions rememberedOptions() {
    PrintOptions options;
    options.columns = rememberedColumns();
    options.picture = rememberedPicture();
    return options;
}

QComboBox* pageBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (const QString& name : pageNames())
        box->addItem(pageTitle(name), name);
    box->setCurrentIndex(pageNames().indexOf(rememberedPage()));
    box->setAccessibleName(QStringLiteral("Kneeboard page"));
    box->setAccessibleDescription(QStringLiteral("Kneeboard page"));
    box->setToolTip(QStringLiteral("Kneeboard page"));
    QObject::connect(box, qOverload<int>(&QComboBox::activated), box,
                     [box](int i) { rememberPage(box->itemData(i).toString()); });
    return box;
}

QComboBox* pictureBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->addItem(QStringLiteral("No route picture"), int(PicturePlace::None));
    box->addItem(QStringLiteral("Route picture on its own page"), int(PicturePlace::OwnPage));
    box->addItem(QStringLiteral("Route picture beside the log"), int(PicturePlace::BesideLog));
    box->setCurrentIndex(int(rememberedPicture()));
    box->setAccessibleName(QStringLiteral("Route picture"));
    box->setAccessibleDescription(QStringLiteral("Route picture"));
    QObject::connect(box, qOverload<int>(&QComboBox::activated), box, [box](int i) {
        rememberPicture(static_cast<PicturePlace>(box->itemData(i).toInt()));
    });
    return box;
}

bool chooseColumns(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Kneeboard columns"));
    auto* list = new QListWidget(&dialog);
    list->setAccessibleName(QStringLiteral("Kneeboard columns"));
    const QStringList chosen = rememberedColumns();
    for (const Column* c : columns()) {
        auto* item =
            new QListWidgetItem(QStringLiteral("%1 — %2").arg(QLatin1String(c->paperHeading),
                                                              QLatin1String(c->paperTitle)),
                                list);
        item->setData(Qt::UserRole, QLatin1String(c->paperKey));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(chosen.contains(QLatin1String(c->paperKey)) ? Qt::Checked
                                                                        : Qt::Unchecked);
    }
    list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QPushButton* flying =
        buttons->addButton(QStringLiteral("&Default for flying"), QDialogButtonBox::ResetRole);
    QObject::connect(flying, &QPushButton::clicked, list, [list] {
        const QStringList keys = defaultColumns();
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem* item = list->item(i);
            item->setCheckState(keys.contains(item->data(Qt::UserRole).toString()) ? Qt::Checked
                                                                                   : Qt::Unchecked);
        }
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(
        QStringLiteral("Columns on the kneeboard page (Space ticks one). Columns that do not "
                       "fit on one line take a second line for each leg."),
        &dialog));
    layout->addWidget(list);
    layout->addWidget(buttons);
    // The keys go to the list first, whatever stands before it in the
    // dialog: a focused button would take Space and close it.
    list->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    QStringList keys;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked)
            keys << list->item(i)->data(Qt::UserRole).toString();
    }
    const QStringList before = rememberedColumns();
    rememberColumns(keys);
    return rememberedColumns() != before;
}

QPushButton* columnsButton(QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("Colu&mns…"), parent);
    button->setAutoDefault(false);
    button->setAccessibleName(QStringLiteral("Kneeboard columns"));
    QObject::connect(button, &QPushButton::clicked, button,
                     [button] { chooseColumns(button->window()); });
    return button;
}

} // namespace kneeboard
