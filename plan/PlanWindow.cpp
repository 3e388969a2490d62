#include "plan/PlanWindow.h"

#include "plan/BalancePicture.h"

#include "briefing/WeatherFetch.h"
#include "core/Text.h"
#include "dialogs/OutputFile.h"
#include "kneeboard/KneeboardPrint.h"
#include "map/RoutePicture.h"
#include "navdb/WorldUpdate.h"
#include "navdb/WorldUpdateDialog.h"
#include "navlog/LegTableModel.h"
#include "plan/BalancePanel.h"
#include "plan/BalancePicture.h"
#include "plan/BriefingPanel.h"
#include "plan/Coordinates.h"
#include "plan/PlanDocument.h"
#include "plan/PlanEditor.h"
#include "plan/PlanPanels.h"
#include "plan/RouteExchange.h"
#include "plan/RoutePanel.h"
#include "platform/MessageBox.h"
#include "store/AirportDatabase.h"
#include "store/Services.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>

namespace plan {

QStringList PlanWindow::legHeadings() {
    return navlog::headingsOf(navlog::Output::Plan);
}

PlanWindow::PlanWindow(const FlightPlan& start, store::Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_navData(services.navData()),
      m_resolver(m_navData, services.airports()) {
    setAccessibleName(QStringLiteral("Flight plan"));
    m_editor = new PlanEditor(start, &services.magneticModel(), this);
    m_document = new PlanDocument(*m_editor, services.preferences(), this);
    m_document->setCompleteWaypoints(
        [this](std::vector<Waypoint>& waypoints) { fillFieldElevations(waypoints, m_navData); });

    // The parts join the window in the order the keyboard visits them.
    m_route = new RoutePanel(*m_editor, m_navData, m_resolver);
    m_aircraft = new AircraftPanel(*m_editor);
    m_windsPanel = new WindsPanel(*m_editor);
    m_balance = new BalancePanel(*m_editor, services.places());
    const QString weatherUrl = services.preferences().weatherUrl();
    m_briefing = new BriefingPanel(
        *m_editor, m_navData,
        QUrl(weatherUrl.isEmpty() ? QString::fromLatin1(briefing::kWeatherUrl) : weatherUrl));
    QLayout* legs = legsPanel();
    QLayout* files = filesRow();
    auto* top = new QHBoxLayout;
    top->addWidget(m_route, 3);
    top->addWidget(m_aircraft);
    top->addWidget(m_windsPanel);
    top->addWidget(m_balance);
    // Everything in a scrolling area: on a small or scaled screen the window
    // still fits, and what does not fit scrolls instead of running off it.
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addLayout(top, 2);
    layout->addLayout(legs, 3);
    layout->addWidget(m_fuel);
    layout->addWidget(m_decisions);
    layout->addWidget(m_briefing);
    layout->addLayout(files);
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    // Within the screen, whatever its size and scale.
    const QRect screen =
        (this->screen() ? this->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    resize(std::min(1200, screen.width() - 40), std::min(760, screen.height() - 60));
    move(screen.center() - rect().center());

    connectKeys();
    connect(m_editor, &PlanEditor::changed, this, &PlanWindow::planChanged);
    connect(m_document, &PlanDocument::titleChanged, this, &PlanWindow::updateTitle);
    connect(m_document, &PlanDocument::recentChanged, this, &PlanWindow::fillRecent);
    planChanged();
    updateTitle();
    fillRecent();
}

PlanWindow::~PlanWindow() {
    // The fields go after this object: one that loses the focus as it goes
    // must not call back into a window that is no longer there.
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

const FlightPlan& PlanWindow::currentPlan() const {
    return m_editor->plan();
}
const ComputedPlan& PlanWindow::computed() const {
    return m_editor->computed();
}
QUndoStack* PlanWindow::undoStack() const {
    return m_editor->undoStack();
}
const DecisionPoints& PlanWindow::decisions() const {
    return m_editor->decisions();
}
const QString& PlanWindow::filePath() const {
    return m_document->path();
}

QLayout* PlanWindow::legsPanel() {
    m_legModel = new navlog::LegTableModel(navlog::Output::Plan, false, this);
    m_legs = new QTableView;
    m_legs->setModel(m_legModel);
    m_legs->setAccessibleName(QStringLiteral("Legs of the plan"));
    m_legs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_legs->verticalHeader()->hide();
    m_legs->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_fuel = new QLabel;
    m_fuel->setAccessibleName(QStringLiteral("Fuel"));
    m_fuel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_routeView = new map::RouteView;
    auto* savePicture = plainButton(QStringLiteral("Save pict&ure…"));
    m_decisions = new QLabel;
    m_decisions->setAccessibleName(QStringLiteral("Decision points"));
    m_decisions->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* pictureColumn = new QVBoxLayout;
    pictureColumn->addWidget(m_routeView, 1);
    pictureColumn->addWidget(savePicture);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_legs, 3);
    middle->addLayout(pictureColumn, 2);
    connect(savePicture, &QPushButton::clicked, this, [this] {
        const QString path =
            dialogs::askSavePath(this, QStringLiteral("Save route picture"),
                                 QStringLiteral("PNG pictures (*.png);;SVG pictures (*.svg)"));
        if (!path.isEmpty())
            saveRoutePicture(path);
    });
    return middle;
}

QLayout* PlanWindow::filesRow() {
    auto* openButton = plainButton(QStringLiteral("&Open…"));
    auto* saveButton = plainButton(QStringLiteral("&Save"));
    auto* saveAsButton = plainButton(QStringLiteral("Save &as…"));
    auto* exportButton = plainButton(QStringLiteral("&Export route…"));
    auto* printButton = plainButton(QStringLiteral("&Print…"));
    auto* pdfButton = plainButton(QStringLiteral("Save P&DF…"));
    m_recent = plainButton(QStringLiteral("Recen&t"));
    m_recent->setMenu(new QMenu(m_recent));
    auto* worldData = plainButton(QStringLiteral("Update &world data…"));
    const std::string navDataPath = m_services.places().userFile(QLatin1String(navdb::kFileName));
    worldData->setAccessibleDescription(navdb::lastWorldUpdateText(navDataPath));
    worldData->setToolTip(worldData->accessibleDescription());
    connect(worldData, &QPushButton::clicked, this, [this, worldData, navDataPath] {
        const QString chosen = m_services.preferences().worldDataUrl();
        const QUrl base(chosen.isEmpty() ? QString::fromLatin1(navdb::kWorldDataUrl) : chosen);
        if (navdb::updateWorldDataShown(this, navDataPath, base))
            m_navData.userReplaced();
        worldData->setAccessibleDescription(navdb::lastWorldUpdateText(navDataPath));
        worldData->setToolTip(worldData->accessibleDescription());
    });
    auto* files = new QHBoxLayout;
    for (QPushButton* b : {openButton, saveButton, saveAsButton, exportButton, m_recent})
        files->addWidget(b);
    files->addSpacing(20);
    files->addWidget(printButton);
    files->addWidget(pdfButton);
    files->addWidget(kneeboard::pageBox(this));
    files->addWidget(kneeboard::pictureBox(this));
    files->addWidget(kneeboard::columnsButton(this));
    files->addStretch(1);
    files->addWidget(worldData);

    connect(openButton, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, QStringLiteral("Open flight plan or route"), QString(),
            QStringLiteral("Plans and routes (*.skyplan *.gpx *.fpl);;Skyvane plans (*.skyplan);;"
                           "GPX routes (*.gpx);;Garmin flight plans (*.fpl);;All files (*)"),
            nullptr, QFileDialog::DontUseNativeDialog);
        if (!path.isEmpty())
            openFile(path);
    });
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(saveAsButton, &QPushButton::clicked, this, [this] { saveAsked(); });
    connect(exportButton, &QPushButton::clicked, this, [this] {
        const QString path =
            dialogs::askSavePath(this, QStringLiteral("Export route"),
                                 QStringLiteral("GPX routes (*.gpx);;Garmin flight plans (*.fpl)"));
        if (!path.isEmpty())
            exportRoute(path);
    });
    connect(printButton, &QPushButton::clicked, this, [this] { print(); });
    connect(pdfButton, &QPushButton::clicked, this, [this] {
        const QString path = dialogs::askSavePath(this, QStringLiteral("Save kneeboard PDF"),
                                                  QStringLiteral("PDF (*.pdf)"));
        if (!path.isEmpty())
            savePdf(path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? path
                                                                              : path + ".pdf");
    });
    return files;
}

void PlanWindow::connectKeys() {
    auto shortcut = [this](const QKeySequence& keys, std::function<void()> act) {
        auto* s = new QShortcut(keys, this);
        connect(s, &QShortcut::activated, this, std::move(act));
    };
    // Undo and redo by the keys of every desktop, each key once (two
    // shortcuts on one key would cancel each other).
    auto keys = [](QKeySequence::StandardKey standard, const QList<QKeySequence>& more) {
        QList<QKeySequence> all = QKeySequence::keyBindings(standard);
        for (const QKeySequence& k : more) {
            if (!all.contains(k))
                all << k;
        }
        return all;
    };
    QUndoStack* stack = m_editor->undoStack();
    for (const QKeySequence& k : keys(QKeySequence::Undo, {QKeySequence(Qt::CTRL | Qt::Key_Z)}))
        shortcut(k, [stack] { stack->undo(); });
    for (const QKeySequence& k :
         keys(QKeySequence::Redo,
              {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}))
        shortcut(k, [stack] { stack->redo(); });
    shortcut(QKeySequence::Save, [this] { save(); });
}

void PlanWindow::message(const QString& text) {
    platform::showMessage(this, text);
}

void PlanWindow::updateTitle() {
    setWindowTitle(QStringLiteral("%1 – Skyvane flight plan").arg(m_document->title()));
}

void PlanWindow::planChanged() {
    m_aircraft->fill();
    m_windsPanel->fill();
    m_balance->fill();
    m_route->fill();
    m_briefing->fill();
    const FlightPlan& plan = m_editor->plan();
    fillLegs();
    const DecisionPoints& points = m_editor->decisions();
    m_routeView->setScene(map::routeScene(plan, points, m_services.places()));
    if (plan.waypoints.size() < 2) {
        m_decisions->clear();
        return;
    }
    QStringList lines = levelTexts(m_editor->computed(), plan);
    lines << pointText(QStringLiteral("Equal-time point:"), points.etp, plan)
          << pointText(QStringLiteral("Point of no return:"), points.pnr, plan)
          << points.windMargin.summary;
    m_decisions->setText(lines.join(QLatin1Char('\n')));
}

void PlanWindow::fillLegs() {
    const ComputedPlan& computed = m_editor->computed();
    m_legModel->setTimeZone(zoneName(m_editor->plan().off, m_editor->plan().zone));
    m_legModel->setTrip(tripOf(computed, m_editor->plan().off),
                        static_cast<int>(m_editor->plan().fuel.reserveMin));
    m_fuel->setText(QStringLiteral("%1   %2\n%3   %4")
                        .arg(routeTotalsText(computed), fuelBlockText(computed.fuel),
                             m_editor->plan().waypoints.size() < 2
                                 ? QStringLiteral("Add at least two waypoints.")
                                 : computed.fuel.verdict,
                             enduranceText(m_editor->plan())));
}

QTableWidget* PlanWindow::waypointTable() const {
    return m_route->table();
}
QLineEdit* PlanWindow::findBox() const {
    return m_route->findBox();
}
bool PlanWindow::addTyped(const QString& text) {
    return m_route->addTyped(text);
}
void PlanWindow::insertWaypoint(const Waypoint& waypoint) {
    m_route->insertWaypoint(waypoint);
}
void PlanWindow::deleteSelected() {
    m_route->deleteSelected();
}
void PlanWindow::moveSelected(int delta) {
    m_route->moveSelected(delta);
}

bool PlanWindow::openFile(const QString& path) {
    return m_document->open(path);
}

bool PlanWindow::save() {
    return m_document->save();
}

bool PlanWindow::saveAsked() {
    return m_document->saveAsked();
}

bool PlanWindow::saveAs(const QString& path) {
    return m_document->saveAs(path);
}

bool PlanWindow::exportRoute(const QString& path) {
    const FlightPlan& plan = m_editor->plan();
    if (plan.waypoints.empty()) {
        message(QStringLiteral("The plan has no waypoints to export."));
        return false;
    }
    const bool fpl = path.endsWith(QLatin1String(".fpl"), Qt::CaseInsensitive);
    QString error;
    const auto bytes = fpl ? fplOf(plan, &error) : gpxOf(plan, &error);
    if (!bytes) {
        message(QStringLiteral("The route cannot be exported: %1.").arg(error));
        return false;
    }
    return dialogs::writeOutput(this, path, *bytes, fpl ? "flight plan" : "GPX");
}

kneeboard::Sheet PlanWindow::kneeboardSheet() const {
    return kneeboard::planSheet(m_editor->plan(), m_editor->computed(), m_editor->decisions(),
                                &m_navData);
}

kneeboard::PrintOptions PlanWindow::printOptions() const {
    kneeboard::PrintOptions options = kneeboard::rememberedOptions();
    if (m_editor->plan().waypoints.size() >= 2) {
        options.drawPicture = [scene = m_routeView->scene()](QPainter& painter,
                                                             const QRectF& area) {
            map::drawRoute(painter, area, scene);
        };
    }
    options.drawBalance = balanceDrawing(m_editor->plan(), m_editor->computed());
    return options;
}

bool PlanWindow::savePdf(const QString& path) {
    return dialogs::writeOutput(
        this, path,
        kneeboard::kneeboardPdf(kneeboardSheet(), kneeboard::rememberedPageLayout(), printOptions())
            .toStdString(),
        "PDF");
}

void PlanWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(kneeboard::rememberedPageLayout());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print flight plan"));
    if (dialog.exec() == QDialog::Accepted)
        kneeboard::printKneeboard(printer, kneeboardSheet(), printOptions());
}

bool PlanWindow::saveRoutePicture(const QString& path) {
    if (map::saveRoutePicture(path, QSize(1200, 900), m_routeView->scene()))
        return true;
    message(QStringLiteral("Cannot write picture file!"));
    return false;
}

void PlanWindow::fillRecent() {
    QMenu* menu = m_recent->menu();
    menu->clear();
    const QStringList recent = m_document->recentFiles();
    for (const QString& path : recent)
        menu->addAction(QFileInfo(path).fileName(), this, [this, path] { openFile(path); })
            ->setToolTip(path);
    m_recent->setEnabled(!recent.isEmpty());
}

void PlanWindow::closeEvent(QCloseEvent* event) {
    if (m_document->okToReplace())
        event->accept();
    else
        event->ignore();
}

} // namespace plan
