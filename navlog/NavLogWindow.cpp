#include "navlog/NavLogWindow.h"

#include "core/Files.h"
#include "core/Preferences.h"
#include "dialogs/OutputFile.h"
#include "kneeboard/KneeboardPrint.h"
#include "navdb/NavDatabase.h"
#include "navlog/LegColumns.h"
#include "navlog/LegTableModel.h"
#include "platform/MessageBox.h"
#include "store/Services.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace navlog {
namespace {

constexpr int kDefaultReserveMin = 30;

QString tripTitle(const Trip& trip) {
    const QString route = routeOf(trip);
    return QStringLiteral("%1%2  (%3 legs)")
        .arg(trip.started.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
             route.isEmpty() ? QString() : QStringLiteral("  ") + route)
        .arg(trip.legs.size());
}

} // namespace

QStringList NavLogWindow::columnHeadings() {
    return headingsOf(Output::Log);
}

NavLogWindow::NavLogWindow(store::Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_log(services.tripLog()) {
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
    m_reserve->setValue(m_services.preferences().navLogReserveMin().value_or(kDefaultReserveMin));
    reserveLabel->setBuddy(m_reserve);

    m_legs = new LegTableModel(Output::Log, true, this);
    m_table = new QTableView(this);
    m_table->setModel(m_legs);
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
        m_services.preferences().setNavLogReserveMin(minutes);
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
    const std::size_t shownLegs = m_legs->trip().legs.size();
    // The common case while planning: the trip on show got one more leg.
    if (latest && m_shown == 0 && shownLegs > 0 &&
        m_trips->count() == static_cast<int>(m_log.trips().size()) &&
        shownLegs + 1 == latest->legs.size()) {
        m_trips->setItemText(0, tripTitle(*latest));
        m_legs->appendLeg(latest->legs.back());
        m_summary->setText(reserveSummary(m_legs->totals(), reserveMinutes()));
        return;
    }
    fillTripList();
    showTrip(latest ? 0 : -1);
}

void NavLogWindow::showTrip(int index) {
    m_shown = index;
    m_trips->setCurrentIndex(index);
    const Trip* trip = shownTrip();
    if (!trip) {
        m_legs->clear();
        m_summary->setText(QStringLiteral("No legs computed yet."));
        return;
    }
    m_legs->setTrip(*trip, reserveMinutes());
    m_summary->setText(reserveSummary(m_legs->totals(), reserveMinutes()));
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
    return kneeboard::tripSheet(trip, reserveMinutes(), &m_services.navData());
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
