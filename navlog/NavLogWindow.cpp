#include "navlog/NavLogWindow.h"

#include "core/Files.h"
#include "core/Preferences.h"
#include "dialogs/OutputFile.h"
#include "kneeboard/KneeboardPrint.h"
#include "navdb/NavDatabase.h"
#include "navlog/LegColumns.h"
#include "platform/MessageBox.h"
#include "store/Globals.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace navlog {
namespace {

constexpr int kDefaultReserveMin = 30;
const QColor kLowFuel(255, 205, 205);

QString tripTitle(const Trip& trip) {
    const QString route = routeOf(trip);
    return QStringLiteral("%1%2  (%3 legs)")
        .arg(trip.started.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
             route.isEmpty() ? QString() : QStringLiteral("  ") + route)
        .arg(trip.legs.size());
}

} // namespace

QStringList NavLogWindow::columnHeadings() {
    return legTableHeadings() << kReserveHeading;
}

NavLogWindow::NavLogWindow(TripLog& log, QWidget* parent)
    : QWidget(parent, Qt::Window), m_log(log) {
    setWindowTitle(QStringLiteral("Skyvane nav log"));
    setAccessibleName(QStringLiteral("Nav log"));

    auto* tripLabel = new QLabel(QStringLiteral("&Trip:"), this);
    m_trips = new QComboBox(this);
    m_trips->setAccessibleName(QStringLiteral("Trip"));
    m_trips->setAccessibleDescription(QStringLiteral("Trip"));
    tripLabel->setBuddy(m_trips);
    auto* reserveLabel = new QLabel(QStringLiteral("&Reserve:"), this);
    m_reserve = new QSpinBox(this);
    m_reserve->setRange(0, 600);
    m_reserve->setSuffix(QStringLiteral(" min"));
    m_reserve->setAccessibleName(QStringLiteral("Fuel reserve in minutes"));
    m_reserve->setValue(core::Preferences().navLogReserveMin().value_or(kDefaultReserveMin));
    reserveLabel->setBuddy(m_reserve);

    m_table = new QTableWidget(0, columnHeadings().size(), this);
    m_table->setHorizontalHeaderLabels(columnHeadings());
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setAccessibleName(QStringLiteral("Legs of the trip"));
    m_summary = new QLabel(this);
    m_summary->setAccessibleName(QStringLiteral("Reserve at the end"));

    auto* csv = new QPushButton(QStringLiteral("Save &CSV…"), this);
    auto* printButton = new QPushButton(QStringLiteral("&Print…"), this);
    auto* pdf = new QPushButton(QStringLiteral("Save P&DF…"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    for (QPushButton* b : {csv, printButton, pdf, close})
        b->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(tripLabel);
    top->addWidget(m_trips, 1);
    top->addWidget(reserveLabel);
    top->addWidget(m_reserve);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(csv);
    buttons->addWidget(printButton);
    buttons->addWidget(pdf);
    buttons->addWidget(kneeboard::pageBox(this));
    buttons->addWidget(kneeboard::columnsButton(this));
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_summary);
    layout->addLayout(buttons);
    resize(960, 420);

    connect(m_trips, qOverload<int>(&QComboBox::activated), this, [this](int i) { showTrip(i); });
    connect(m_reserve, qOverload<int>(&QSpinBox::valueChanged), this, [this](int minutes) {
        core::Preferences().setNavLogReserveMin(minutes);
        showTrip(m_shown);
    });
    connect(csv, &QPushButton::clicked, this, [this] { saveCsv(); });
    connect(printButton, &QPushButton::clicked, this, [this] { print(); });
    connect(pdf, &QPushButton::clicked, this, [this] { savePdf(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    refresh();
}

int NavLogWindow::reserveMinutes() const {
    return m_reserve->value();
}

const Trip* NavLogWindow::shownTrip() const {
    const auto& trips = m_log.trips();
    return m_shown >= 0 && m_shown < static_cast<int>(trips.size())
               ? &trips[static_cast<std::size_t>(m_shown)]
               : nullptr;
}

void NavLogWindow::fillTripList() {
    m_trips->clear();
    for (const Trip& trip : m_log.trips())
        m_trips->addItem(tripTitle(trip));
}

void NavLogWindow::refresh() {
    const Trip* latest = m_log.latest();
    const int legRows = m_table->rowCount() - 1; // without the totals row
    // The common case while planning: the trip on show got one more leg.
    if (latest && m_shown == 0 && m_trips->count() == static_cast<int>(m_log.trips().size()) &&
        legRows + 1 == static_cast<int>(latest->legs.size())) {
        m_trips->setItemText(0, tripTitle(*latest));
        m_table->insertRow(legRows);
        setRow(legRows, legRows + 1, latest->legs.back());
        setTotals();
        return;
    }
    fillTripList();
    showTrip(latest ? 0 : -1);
}

void NavLogWindow::showTrip(int index) {
    m_shown = index;
    m_trips->setCurrentIndex(index);
    m_table->setRowCount(0);
    const Trip* trip = shownTrip();
    if (!trip) {
        m_summary->setText(QStringLiteral("No legs computed yet."));
        return;
    }
    m_table->setRowCount(static_cast<int>(trip->legs.size()) + 1);
    for (int i = 0; i < static_cast<int>(trip->legs.size()); ++i)
        setRow(i, i + 1, trip->legs[static_cast<std::size_t>(i)]);
    setTotals();
}

void NavLogWindow::setRow(int row, int number, const LegRecord& leg) {
    const bool low = belowReserve(leg, reserveMinutes());
    const QStringList cells = legTableRow(number, leg) << (low ? kBelowReserve : QString());
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        item->setTextAlignment(legTableLeftAligned(c) ? Qt::AlignLeft | Qt::AlignVCenter
                                                      : Qt::AlignRight | Qt::AlignVCenter);
        if (low)
            item->setBackground(kLowFuel);
        m_table->setItem(row, c, item);
    }
}

void NavLogWindow::setTotals() {
    const Trip* trip = shownTrip();
    if (!trip || trip->legs.empty())
        return;
    const int row = static_cast<int>(trip->legs.size());
    if (m_table->rowCount() <= row)
        m_table->setRowCount(row + 1);
    const Totals t = totalsOf(*trip, reserveMinutes());
    const QStringList totals = legTableTotals(*trip, t);
    for (int c = 0; c < columnHeadings().size(); ++c) {
        const QString text = totals.value(c);
        auto* item = new QTableWidgetItem(text);
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(row, c, item);
    }
    m_summary->setText(reserveSummary(t, reserveMinutes()));
}

// "navlog-20261207-1000.csv": the shown trip's start.
QString NavLogWindow::suggestedName(const QString& suffix) const {
    const Trip* trip = shownTrip();
    return trip ? QStringLiteral("navlog-%1.%2")
                      .arg(trip->started.toString(QStringLiteral("yyyyMMdd-HHmm")), suffix)
                : QString();
}

void NavLogWindow::saveCsv() {
    const Trip* trip = shownTrip();
    if (!trip)
        return;
    const QString path = dialogs::askSavePath(this, QStringLiteral("Save nav log as CSV"),
                                              QStringLiteral("CSV (*.csv)"), suggestedName("csv"));
    if (!path.isEmpty())
        dialogs::writeOutput(this, path, tripCsv(*trip, reserveMinutes()), "CSV");
}

kneeboard::Sheet NavLogWindow::kneeboardSheet(const Trip& trip) const {
    const navdb::NavData navData = navdb::NavData::of(store::dataPlaces());
    return kneeboard::tripSheet(trip, reserveMinutes(), &navData);
}

void NavLogWindow::savePdf() {
    const Trip* trip = shownTrip();
    if (!trip)
        return;
    const QString path = dialogs::askSavePath(this, QStringLiteral("Save nav log as PDF"),
                                              QStringLiteral("PDF (*.pdf)"), suggestedName("pdf"));
    if (!path.isEmpty())
        dialogs::writeOutput(this, path,
                             kneeboard::kneeboardPdf(kneeboardSheet(*trip),
                                                     kneeboard::rememberedPageLayout(),
                                                     kneeboard::rememberedOptions())
                                 .toStdString(),
                             "PDF");
}

void NavLogWindow::print() {
    const Trip* trip = shownTrip();
    if (!trip)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(kneeboard::rememberedPageLayout());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print nav log"));
    if (dialog.exec() == QDialog::Accepted)
        kneeboard::printKneeboard(printer, kneeboardSheet(*trip), kneeboard::rememberedOptions());
}

} // namespace navlog
