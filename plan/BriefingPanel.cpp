#include "plan/BriefingPanel.h"

#include "briefing/Briefing.h"
#include "briefing/BriefingText.h"
#include "briefing/WindsBulletin.h"
#include "navdb/NavDatabase.h"
#include "plan/PlanEditor.h"
#include "plan/PlanPanels.h"
#include "platform/MessageBox.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

namespace plan {
namespace {

constexpr qint64 kMaxTextFile = 4 * 1024 * 1024;
constexpr int kMergeWeather = 7000; // a report typed key by key is one undo step

QString readText(QWidget* parent, const QString& title, const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(parent, title, QString(), filter, nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (file.size() > kMaxTextFile || !file.open(QIODevice::ReadOnly)) {
        platform::showMessage(parent, QStringLiteral("%1 cannot be read.").arg(path));
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

QPlainTextEdit* reportBox(const QString& name) {
    auto* box = new QPlainTextEdit;
    box->setAccessibleName(name);
    box->setTabChangesFocus(true);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * 3 + 10);
    box->setPlaceholderText(name);
    return box;
}

} // namespace

BriefingPanel::BriefingPanel(PlanEditor& editor, const navdb::NavData& navData, QWidget* parent)
    : QGroupBox(QStringLiteral("Briefing"), parent), m_editor(editor), m_navData(navData) {
    auto* grid = new QGridLayout;
    const char* roles[] = {"Departure", "Destination", "Alternate"};
    for (int i = 0; i < 3; ++i) {
        const QString role = QLatin1String(roles[i]);
        grid->addWidget(new QLabel(role), 0, i);
        m_metar[std::size_t(i)] = reportBox(role + QStringLiteral(" METAR"));
        m_taf[std::size_t(i)] = reportBox(role + QStringLiteral(" TAF"));
        grid->addWidget(m_metar[std::size_t(i)], 1, i);
        grid->addWidget(m_taf[std::size_t(i)], 2, i);
        connect(m_metar[std::size_t(i)], &QPlainTextEdit::textChanged, this,
                [this, i] { typed(i, false); });
        connect(m_taf[std::size_t(i)], &QPlainTextEdit::textChanged, this,
                [this, i] { typed(i, true); });
    }
    m_zone = new QComboBox;
    m_zone->addItems({QStringLiteral("Local time"), QStringLiteral("UTC")});
    m_zone->setAccessibleName(QStringLiteral("Times in"));
    m_zone->setAccessibleDescription(QStringLiteral("Times in"));
    connect(m_zone, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        m_editor.change(QStringLiteral("Zone"), [index](FlightPlan& p) {
            p.zone = index == 1 ? PlanZone::Utc : PlanZone::Local;
        });
    });
    auto* openReports = plainButton(QStringLiteral("Open &reports…"));
    auto* bulletin = plainButton(QStringLiteral("Winds aloft &bulletin…"));
    connect(openReports, &QPushButton::clicked, this, &BriefingPanel::openReports);
    connect(bulletin, &QPushButton::clicked, this, &BriefingPanel::openBulletin);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Times in:")));
    row->addWidget(m_zone);
    row->addWidget(openReports);
    row->addWidget(bulletin);
    row->addStretch(1);
    m_read = new QLabel;
    m_read->setWordWrap(true);
    m_read->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_read->setAccessibleName(QStringLiteral("Briefing read"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(grid);
    layout->addWidget(m_read);
}

void BriefingPanel::typed(int airport, bool taf) {
    if (m_filling)
        return;
    const std::size_t i = std::size_t(airport);
    const QString text = (taf ? m_taf[i] : m_metar[i])->toPlainText();
    m_editor.change(
        taf ? QStringLiteral("TAF") : QStringLiteral("METAR"),
        [i, taf, text](FlightPlan& p) { (taf ? p.weather[i].taf : p.weather[i].metar) = text; },
        kMergeWeather + airport * 2 + (taf ? 1 : 0));
}

// Each report of a file to the airport it names.
void BriefingPanel::openReports() {
    const QString text = readText(this, QStringLiteral("Open METAR and TAF reports"),
                                  QStringLiteral("Text files (*.txt);;All files (*)"));
    if (text.isEmpty())
        return;
    FlightPlan p = m_editor.plan();
    if (p.waypoints.size() < 2)
        return;
    const QString idents[] = {p.waypoints.front().label(), p.waypoints.back().label(),
                              p.alternate ? p.alternate->label() : QString()};
    int placed = 0;
    for (const QString& report : briefing::splitReports(text)) {
        const bool isTaf = report.toUpper().startsWith(QLatin1String("TAF"));
        const QDate near = utcOf(p.off, p.zone).date();
        const QString station = isTaf ? (briefing::decodeTaf(report, near).taf
                                             ? briefing::decodeTaf(report, near).taf->station
                                             : QString())
                                      : (briefing::decodeMetar(report, near).metar
                                             ? briefing::decodeMetar(report, near).metar->station
                                             : QString());
        for (std::size_t i = 0; i < 3; ++i) {
            if (!station.isEmpty() && idents[i].compare(station, Qt::CaseInsensitive) == 0) {
                (isTaf ? p.weather[i].taf : p.weather[i].metar) = report;
                ++placed;
            }
        }
    }
    if (placed == 0) {
        platform::showMessage(this,
                              QStringLiteral("The file has no report of the plan's airports."));
        return;
    }
    m_editor.change(QStringLiteral("Open reports"),
                    [p](FlightPlan& plan) { plan.weather = p.weather; });
}

// A bulletin's station, the nearest to the route first, into the winds table.
void BriefingPanel::openBulletin() {
    const QString text = readText(this, QStringLiteral("Open winds aloft bulletin"),
                                  QStringLiteral("Text files (*.txt);;All files (*)"));
    if (text.isEmpty())
        return;
    const briefing::BulletinRead read = briefing::decodeWindsBulletin(text);
    if (!read.bulletin) {
        platform::showMessage(this,
                              QStringLiteral("The bulletin cannot be read: %1.").arg(read.error));
        return;
    }
    std::vector<std::pair<double, QString>> byDistance;
    for (const briefing::StationWinds& s : read.bulletin->stations) {
        double nearest = 1e9;
        const auto found = m_navData.search(s.station, 1);
        for (const Waypoint& w : m_editor.plan().waypoints)
            if (!found.empty())
                nearest = std::min(
                    nearest,
                    std::hypot(found.front().position.latitudeDeg - w.position.latitudeDeg,
                               found.front().position.longitudeDeg - w.position.longitudeDeg));
        byDistance.emplace_back(nearest, s.station);
    }
    std::stable_sort(byDistance.begin(), byDistance.end());
    QStringList names;
    for (const auto& [distance, name] : byDistance)
        names << name;
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(this, QStringLiteral("Winds aloft"),
                              QStringLiteral("Station (nearest first):"), names, 0, false, &ok);
    if (!ok)
        return;
    for (const briefing::StationWinds& s : read.bulletin->stations) {
        if (s.station != chosen)
            continue;
        const std::vector<WindRow> rows = briefing::windRowsOf(s);
        if (rows.empty()) {
            platform::showMessage(this, QStringLiteral("%1 has no wind decoded.").arg(chosen));
            return;
        }
        m_editor.change(QStringLiteral("Winds aloft of %1").arg(chosen),
                        [rows](FlightPlan& p) { p.windsAloft = rows; });
    }
}

void BriefingPanel::fill() {
    m_filling = true;
    const FlightPlan& p = m_editor.plan();
    m_zone->setCurrentIndex(p.zone == PlanZone::Utc ? 1 : 0);
    for (std::size_t i = 0; i < 3; ++i) {
        if (m_metar[i]->toPlainText() != p.weather[i].metar)
            m_metar[i]->setPlainText(p.weather[i].metar);
        if (m_taf[i]->toPlainText() != p.weather[i].taf)
            m_taf[i]->setPlainText(p.weather[i].taf);
    }
    m_filling = false;
    QStringList lines;
    if (p.waypoints.size() >= 2) {
        const briefing::Briefing b =
            briefing::briefingOf(p, m_editor.computed(), &m_navData, nullptr);
        for (const briefing::AirportBriefing& a : b.airports) {
            QString role = briefing::roleName(a.role);
            role[0] = role[0].toUpper();
            lines << QStringLiteral("<b>%1 %2</b>").arg(role, a.airport.label().toHtmlEscaped());
            for (const QString& line : briefing::airportLines(a, p.zone))
                lines << line.toHtmlEscaped();
        }
        for (const QString& w : b.warnings)
            lines << QStringLiteral("<b>%1</b>").arg(w.toHtmlEscaped());
    }
    m_read->setText(lines.join(QStringLiteral("<br>")));
}

} // namespace plan
