#include "plan/BriefingPanel.h"

#include "briefing/Briefing.h"
#include "briefing/BriefingText.h"
#include "briefing/WeatherFetch.h"
#include "briefing/WindsBulletin.h"
#include "core/Wind.h"
#include "navdb/NavDatabase.h"
#include "plan/PlanEditor.h"
#include "plan/PlanPanels.h"
#include "platform/MessageBox.h"

#include <QComboBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>

#include <algorithm>

namespace plan {
namespace {

constexpr int kMergeWeather = 7000; // a report typed key by key is one undo step

QString readText(QWidget* parent, const QString& title, const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(parent, title, QString(), filter, nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (path.isEmpty())
        return {};
    const std::optional<QString> text = briefing::readWeatherFile(path);
    if (!text)
        platform::showMessage(parent, QStringLiteral("%1 cannot be read.").arg(path));
    return text.value_or(QString());
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

BriefingPanel::BriefingPanel(PlanEditor& editor, const navdb::NavData& navData, QUrl weatherBase,
                             QWidget* parent)
    : QGroupBox(QStringLiteral("Briefing"), parent), m_editor(editor), m_navData(navData),
      m_weatherBase(std::move(weatherBase)) {
    auto* grid = new QGridLayout;
    const char* roles[] = {"Departure", "Destination", "Alternate"};
    for (int i = 0; i < 3; ++i) {
        const QString role = QLatin1String(roles[i]);
        grid->addWidget(new QLabel(role), 0, i);
        m_metar[std::size_t(i)] = reportBox(role + QStringLiteral(" METAR"));
        m_taf[std::size_t(i)] = reportBox(role + QStringLiteral(" TAF"));
        grid->addWidget(m_metar[std::size_t(i)], 1, i);
        grid->addWidget(m_taf[std::size_t(i)], 2, i);
        // Where there is no report: the wind at the field, typed.
        auto* wind = new QLineEdit;
        wind->setAccessibleName(role + QStringLiteral(" surface wind"));
        wind->setPlaceholderText(QStringLiteral("Surface wind DDD/KT (without a METAR)"));
        m_wind[std::size_t(i)] = wind;
        grid->addWidget(wind, 3, i);
        connect(wind, &QLineEdit::editingFinished, this, [this, i] { surfaceWindTyped(i); });
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
    auto* fetch = plainButton(QStringLiteral("&Fetch weather…"));
    fetch->setToolTip(QStringLiteral("The current METAR and TAF of the plan's airports and the "
                                     "winds aloft, from %1")
                          .arg(m_weatherBase.toString()));
    connect(fetch, &QPushButton::clicked, this, &BriefingPanel::fetchWeather);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Times in:")));
    row->addWidget(m_zone);
    row->addWidget(openReports);
    row->addWidget(bulletin);
    row->addWidget(fetch);
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

void BriefingPanel::surfaceWindTyped(int airport) {
    if (m_filling)
        return;
    const std::size_t i = std::size_t(airport);
    const QString text = m_wind[i]->text().trimmed();
    const std::optional<Wind> wind = core::parseWind(text);
    if (!text.isEmpty() && !wind) {
        platform::showMessage(this, QStringLiteral("A surface wind is typed as DDD/KT, e.g. "
                                                   "270/15, not \"%1\".")
                                        .arg(text));
        fill(); // back to the plan's
        return;
    }
    if (wind == m_editor.plan().weather[i].surfaceWind)
        return;
    m_editor.change(QStringLiteral("Surface wind"),
                    [i, wind](FlightPlan& p) { p.weather[i].surfaceWind = wind; });
}

// Each report of a file to the airport it names.
void BriefingPanel::openReports() {
    const QString text = readText(this, QStringLiteral("Open METAR and TAF reports"),
                                  QStringLiteral("Text files (*.txt);;All files (*)"));
    if (text.isEmpty())
        return;
    FlightPlan p = m_editor.plan();
    const briefing::ReportsPlaced placed =
        briefing::placeReports(text, briefing::ReportKind::Any, p);
    if (placed.placed == 0) {
        platform::showMessage(this,
                              QStringLiteral("The file has no report of the plan's airports."));
        return;
    }
    m_editor.change(QStringLiteral("Open reports"),
                    [weather = p.weather](FlightPlan& plan) { plan.weather = weather; });
}

// A bulletin's station, the nearest to the route first, into the winds table.
void BriefingPanel::openBulletin() {
    const QString text = readText(this, QStringLiteral("Open winds aloft bulletin"),
                                  QStringLiteral("Text files (*.txt);;All files (*)"));
    if (!text.isEmpty())
        takeBulletin(text);
}

void BriefingPanel::takeBulletin(const QString& text) {
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

// The plan's airports' reports and the winds aloft, with progress and a
// Cancel; what came is placed as an opened file's would be.
void BriefingPanel::fetchWeather() {
    const FlightPlan& plan = m_editor.plan();
    QStringList stations;
    if (plan.waypoints.size() >= 2) {
        for (const Waypoint* w : {&plan.waypoints.front(), &plan.waypoints.back(),
                                  plan.alternate ? &*plan.alternate : nullptr})
            if (w && !w->ident.isEmpty() && !stations.contains(w->ident))
                stations << w->ident;
    }
    briefing::WeatherFetch fetch(m_weatherBase);
    QProgressDialog progress(QStringLiteral("Fetching the weather…"), QStringLiteral("Cancel"), 0,
                             3, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    QEventLoop loop;
    bool ok = false;
    QString message;
    connect(&fetch, &briefing::WeatherFetch::fetching, &progress,
            [&progress](int step, int steps, const QString& what) {
                progress.setMaximum(steps);
                progress.setValue(step);
                progress.setLabelText(QStringLiteral("Fetching %1…").arg(what));
            });
    connect(&progress, &QProgressDialog::canceled, &fetch, &briefing::WeatherFetch::cancel);
    connect(&fetch, &briefing::WeatherFetch::finished, &loop, [&](bool done, const QString& said) {
        ok = done;
        message = said;
        loop.quit();
    });
    fetch.start(stations, true);
    loop.exec();
    progress.close();
    if (!ok) {
        platform::showMessage(this, message);
        return;
    }
    FlightPlan p = plan;
    briefing::placeReports(fetch.weather().metars, briefing::ReportKind::Metar, p);
    briefing::placeReports(fetch.weather().tafs, briefing::ReportKind::Taf, p);
    m_editor.change(QStringLiteral("Fetch weather"),
                    [weather = p.weather](FlightPlan& target) { target.weather = weather; });
    if (!fetch.weather().windsAloft.trimmed().isEmpty())
        takeBulletin(fetch.weather().windsAloft);
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
        m_wind[i]->setText(p.weather[i].surfaceWind ? core::windText(*p.weather[i].surfaceWind)
                                                    : QString());
    }
    m_filling = false;
    QStringList lines;
    if (p.waypoints.size() >= 2) {
        const briefing::Briefing b =
            briefing::briefingOf(p, m_editor.computed(), &m_navData, nullptr);
        for (const briefing::AirportBriefing& a : b.airports) {
            lines << QStringLiteral("<b>%1 %2</b>")
                         .arg(briefing::roleTitle(a.role), a.airport.label().toHtmlEscaped());
            for (const QString& line : briefing::airportLines(a, p.zone))
                lines << line.toHtmlEscaped();
        }
        for (const QString& w : b.warnings)
            lines << QStringLiteral("<b>%1</b>").arg(w.toHtmlEscaped());
    }
    m_read->setText(lines.join(QStringLiteral("<br>")));
}

} // namespace plan
