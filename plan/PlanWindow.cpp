#include "plan/PlanWindow.h"

#include "core/Files.h"
#include "core/Limits.h"
#include "core/NumberText.h"
#include "core/Text.h"
#include "dialogs/OutputFile.h"
#include "kneeboard/KneeboardPrint.h"
#include "map/RoutePicture.h"
#include "navdb/PlaceFinder.h"
#include "plan/Coordinates.h"
#include "plan/PlanFile.h"
#include "plan/RouteExchange.h"
#include "platform/MessageBox.h"
#include "store/AirportDatabase.h"
#include "store/Globals.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QTimeEdit>
#include <QUndoStack>
#include <QVBoxLayout>

#include <cmath>

namespace plan {
namespace {

namespace limits = core::limits;

const QColor kProblem(255, 205, 205);

// One change of the plan: the plan before and after it.
class PlanChange : public QUndoCommand {
public:
    PlanChange(const QString& text, FlightPlan before, FlightPlan after, int id,
               std::function<void(const FlightPlan&)> show)
        : QUndoCommand(text), m_before(std::move(before)), m_after(std::move(after)), m_id(id),
          m_show(std::move(show)) {}
    void undo() override { m_show(m_before); }
    void redo() override { m_show(m_after); }
    int id() const override { return m_id; }
    bool mergeWith(const QUndoCommand* other) override {
        m_after = static_cast<const PlanChange*>(other)->m_after;
        return true;
    }

private:
    FlightPlan m_before, m_after;
    int m_id;
    std::function<void(const FlightPlan&)> m_show;
};

QString windText(const std::optional<Wind>& wind) {
    return wind ? core::windText(*wind) : QString();
}

// A typed wind; empty for none.
std::optional<std::optional<Wind>> readWind(const QString& text) {
    if (text.trimmed().isEmpty())
        return std::optional<Wind>();
    const auto wind = core::parseWind(text);
    if (!wind)
        return std::nullopt;
    return std::optional<Wind>(*wind);
}

QDoubleSpinBox* spin(const core::Limit& limit, int decimals, const QString& name,
                     const QString& suffix) {
    auto* box = new QDoubleSpinBox;
    box->setRange(limit.low, limit.high);
    box->setDecimals(decimals);
    box->setSuffix(suffix);
    box->setAccessibleName(name);
    box->setKeyboardTracking(true);
    return box;
}

enum MergeIds {
    kTas = 1,
    kGph,
    kFuel,
    kTaxi,
    kReserve,
    kContingency,
    kExtra,
    kDeviation,
    kOff,
    kVariation
};

} // namespace

QStringList PlanWindow::legHeadings() {
    return {QStringLiteral("From"),      QStringLiteral("To"),     QStringLiteral("Alt"),
            QStringLiteral("TC"),        QStringLiteral("Wind"),   QStringLiteral("WCA"),
            QStringLiteral("TH"),        QStringLiteral("Var"),    QStringLiteral("MH"),
            QStringLiteral("MD"),        QStringLiteral("CH"),     QStringLiteral("GS"),
            QStringLiteral("Dist"),      QStringLiteral("ETE"),    QStringLiteral("ETA"),
            QStringLiteral("F.used"),    QStringLiteral("F.left"), QStringLiteral("To go nm"),
            QStringLiteral("To go min"), QStringLiteral("Note")};
}

PlanWindow::PlanWindow(const FlightPlan& start, QWidget* parent)
    : QWidget(parent, Qt::Window), m_plan(start),
      m_navData(navdb::NavData::of(store::dataPlaces())),
      m_model(magvar::findModelDir(store::dataPlaces())) {
    setAccessibleName(QStringLiteral("Flight plan"));
    m_undo = new QUndoStack(this);

    // The route.
    m_find = new QLineEdit;
    m_find->setAccessibleName(QStringLiteral("Add waypoint"));
    m_find->setPlaceholderText(QStringLiteral("Code, name or position (47 27.5N 008 33.0E)"));
    auto* finder = new navdb::PlaceFinder(m_find, m_navData);
    m_name = new QLineEdit;
    m_name->setAccessibleName(QStringLiteral("Checkpoint name"));
    m_name->setPlaceholderText(QStringLiteral("Name of a position"));
    m_alternate = new QLineEdit;
    m_alternate->setAccessibleName(QStringLiteral("Alternate"));
    m_alternate->setPlaceholderText(QStringLiteral("Alternate: code or position"));
    m_alternate->setToolTip(QStringLiteral("An airport to divert to after the destination; its "
                                           "leg takes the wind of the winds aloft at the last "
                                           "leg's altitude. Empty: none."));
    auto* add = new QPushButton(QStringLiteral("&Add"));
    auto* remove = new QPushButton(QStringLiteral("&Delete"));
    auto* up = new QPushButton(QStringLiteral("Move &up"));
    auto* down = new QPushButton(QStringLiteral("Move do&wn"));
    auto* undo = new QPushButton(QStringLiteral("U&ndo"));
    auto* redo = new QPushButton(QStringLiteral("&Redo"));
    m_waypoints = new QTableWidget(0, 5);
    m_waypoints->setHorizontalHeaderLabels({QStringLiteral("Waypoint"), QStringLiteral("Position"),
                                            QStringLiteral("Alt ft"), QStringLiteral("Wind"),
                                            QStringLiteral("Var")});
    m_waypoints->setAccessibleName(QStringLiteral("Waypoints"));
    m_waypoints->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_waypoints->setSelectionMode(QAbstractItemView::SingleSelection);
    m_waypoints->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_waypoints->setToolTip(QStringLiteral("Altitude, wind and variation of the leg arriving at "
                                           "the waypoint; an empty wind takes the winds aloft, an "
                                           "empty variation the magnetic model."));

    // The aircraft and the fuel policy.
    m_tas = spin(limits::kTasKt, 0, QStringLiteral("TAS"), QStringLiteral(" kt"));
    m_gph = spin(limits::kFuelFlowGph, 1, QStringLiteral("Fuel flow"), QStringLiteral(" gal/h"));
    m_fuelOnBoard =
        spin(limits::kFuelGal, 1, QStringLiteral("Fuel on board"), QStringLiteral(" gal"));
    m_taxi = spin(limits::kTaxiGal, 1, QStringLiteral("Taxi fuel"), QStringLiteral(" gal"));
    m_reserve =
        spin(limits::kReserveMin, 0, QStringLiteral("Final reserve"), QStringLiteral(" min"));
    m_contingency =
        spin(limits::kContingencyPercent, 0, QStringLiteral("Contingency"), QStringLiteral(" %"));
    m_extra = spin(limits::kExtraGal, 1, QStringLiteral("Extra fuel"), QStringLiteral(" gal"));
    m_deviation = spin(limits::kDeviationDeg, 0, QStringLiteral("Deviation"), QStringLiteral("°"));
    m_off = new QTimeEdit;
    m_off->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    m_off->setAccessibleName(QStringLiteral("Time off"));
    m_card = new QLineEdit;
    m_card->setAccessibleName(QStringLiteral("Deviation card"));
    m_card->setPlaceholderText(QStringLiteral("12 deviations, MH 000 to 330"));
    m_card->setToolTip(QStringLiteral("The compass card: the deviation at magnetic headings 000, "
                                      "030, ..., 330, separated by spaces; each leg takes it at "
                                      "its MH. Empty: the one deviation above for every leg."));
    m_useModel = new QCheckBox(QStringLiteral("Variation from the magnetic model"));
    m_variation = spin(limits::kVariationDeg, 0, QStringLiteral("Variation for every leg"),
                       QStringLiteral("°"));
    auto* aircraft = new QFormLayout;
    aircraft->addRow(QStringLiteral("&TAS:"), m_tas);
    aircraft->addRow(QStringLiteral("Fuel f&low:"), m_gph);
    aircraft->addRow(QStringLiteral("&Fuel on board:"), m_fuelOnBoard);
    aircraft->addRow(QStringLiteral("Ta&xi:"), m_taxi);
    aircraft->addRow(QStringLiteral("Time &off:"), m_off);
    aircraft->addRow(QStringLiteral("De&viation:"), m_deviation);
    aircraft->addRow(QStringLiteral("Deviation &card:"), m_card);
    aircraft->addRow(m_useModel);
    aircraft->addRow(QStringLiteral("Variation:"), m_variation);
    aircraft->addRow(QStringLiteral("Contin&gency:"), m_contingency);
    aircraft->addRow(QStringLiteral("Final re&serve:"), m_reserve);
    aircraft->addRow(QStringLiteral("E&xtra:"), m_extra);
    auto* aircraftBox = new QGroupBox(QStringLiteral("Aircraft and fuel"));
    aircraftBox->setLayout(aircraft);

    m_winds = new QTableWidget(0, 3);
    m_winds->setHorizontalHeaderLabels(
        {QStringLiteral("Alt ft"), QStringLiteral("From °"), QStringLiteral("kt")});
    m_winds->setAccessibleName(QStringLiteral("Winds aloft"));
    m_winds->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto* addWind = new QPushButton(QStringLiteral("Add wind row"));
    auto* windsBox = new QGroupBox(QStringLiteral("Winds aloft"));
    auto* windsLayout = new QVBoxLayout(windsBox);
    windsLayout->addWidget(m_winds);
    windsLayout->addWidget(addWind);

    m_legs = new QTableWidget(0, static_cast<int>(legHeadings().size()));
    m_legs->setHorizontalHeaderLabels(legHeadings());
    m_legs->setAccessibleName(QStringLiteral("Legs of the plan"));
    m_legs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_legs->verticalHeader()->hide();
    m_legs->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_fuel = new QLabel;
    m_fuel->setAccessibleName(QStringLiteral("Fuel"));
    m_fuel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_routeView = new map::RouteView;
    auto* savePicture = new QPushButton(QStringLiteral("Save pict&ure…"));
    savePicture->setAutoDefault(false);
    m_decisions = new QLabel;
    m_decisions->setAccessibleName(QStringLiteral("Decision points"));
    m_decisions->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* openButton = new QPushButton(QStringLiteral("&Open…"));
    auto* saveButton = new QPushButton(QStringLiteral("&Save"));
    auto* saveAsButton = new QPushButton(QStringLiteral("Save &as…"));
    auto* exportButton = new QPushButton(QStringLiteral("&Export route…"));
    exportButton->setAutoDefault(false);
    auto* printButton = new QPushButton(QStringLiteral("&Print…"));
    auto* pdfButton = new QPushButton(QStringLiteral("Save P&DF…"));
    printButton->setAutoDefault(false);
    pdfButton->setAutoDefault(false);
    m_recent = new QPushButton(QStringLiteral("Recen&t"));
    m_recent->setAutoDefault(false);
    m_recent->setMenu(new QMenu(m_recent));
    for (QPushButton* b :
         {add, remove, up, down, undo, redo, addWind, openButton, saveButton, saveAsButton})
        b->setAutoDefault(false);

    auto* entry = new QHBoxLayout;
    entry->addWidget(m_find, 3);
    entry->addWidget(m_name, 2);
    entry->addWidget(add);
    auto* routeButtons = new QHBoxLayout;
    for (QPushButton* b : {remove, up, down, undo, redo})
        routeButtons->addWidget(b);
    routeButtons->addStretch(1);
    routeButtons->addWidget(m_alternate, 2);
    auto* left = new QVBoxLayout;
    left->addLayout(entry);
    left->addWidget(m_waypoints, 1);
    left->addLayout(routeButtons);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 3);
    top->addWidget(aircraftBox);
    top->addWidget(windsBox);
    auto* files = new QHBoxLayout;
    files->addWidget(openButton);
    files->addWidget(saveButton);
    files->addWidget(saveAsButton);
    files->addWidget(exportButton);
    files->addWidget(m_recent);
    files->addSpacing(20);
    files->addWidget(printButton);
    files->addWidget(pdfButton);
    files->addWidget(kneeboard::pageBox(this));
    files->addWidget(kneeboard::pictureBox(this));
    files->addWidget(kneeboard::columnsButton(this));
    files->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 2);
    auto* pictureColumn = new QVBoxLayout;
    pictureColumn->addWidget(m_routeView, 1);
    pictureColumn->addWidget(savePicture);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_legs, 3);
    middle->addLayout(pictureColumn, 2);
    layout->addLayout(middle, 3);
    layout->addWidget(m_fuel);
    layout->addWidget(m_decisions);
    layout->addLayout(files);

    // Within the screen, whatever its size.
    const QRect screen =
        (this->screen() ? this->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    resize(std::min(1200, screen.width() - 40), std::min(760, screen.height() - 60));
    move(screen.center() - rect().center());

    connect(m_find, &QLineEdit::returnPressed, this, [this, finder] {
        if (!finder->listShown() && addTyped(m_find->text()))
            m_find->clear();
    });
    connect(finder, &navdb::PlaceFinder::chosen, this, [this](const navdb::Place& p) {
        Waypoint w;
        w.name = p.name;
        w.ident = p.ident;
        w.position = p.position;
        insertWaypoint(w);
        QMetaObject::invokeMethod(m_find, &QLineEdit::clear, Qt::QueuedConnection);
    });
    connect(m_alternate, &QLineEdit::editingFinished, this, [this] {
        if (m_filling)
            return;
        const QString text = m_alternate->text().trimmed();
        const QString now = m_plan.alternate ? m_plan.alternate->label() : QString();
        if (text == now)
            return;
        std::optional<Waypoint> alternate;
        if (!text.isEmpty()) {
            alternate = waypointFrom(text, QStringLiteral("Alternate"));
            if (!alternate)
                return; // said why; the text stays to be mended
            if (!m_plan.waypoints.empty())
                alternate->leg.altitudeFt = m_plan.waypoints.back().leg.altitudeFt;
        }
        change(QStringLiteral("Alternate"), [&](FlightPlan& p) { p.alternate = alternate; });
    });
    connect(add, &QPushButton::clicked, this, [this] {
        if (addTyped(m_find->text()))
            m_find->clear();
    });
    connect(remove, &QPushButton::clicked, this, [this] { deleteSelected(); });
    connect(up, &QPushButton::clicked, this, [this] { moveSelected(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveSelected(1); });
    connect(undo, &QPushButton::clicked, m_undo, &QUndoStack::undo);
    connect(redo, &QPushButton::clicked, m_undo, &QUndoStack::redo);
    connect(m_undo, &QUndoStack::canUndoChanged, undo, &QWidget::setEnabled);
    connect(m_undo, &QUndoStack::canRedoChanged, redo, &QWidget::setEnabled);
    connect(m_undo, &QUndoStack::cleanChanged, this, [this] { updateTitle(); });
    undo->setEnabled(false);
    redo->setEnabled(false);
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
    for (const QKeySequence& k : keys(QKeySequence::Undo, {QKeySequence(Qt::CTRL | Qt::Key_Z)}))
        shortcut(k, [this] { m_undo->undo(); });
    for (const QKeySequence& k :
         keys(QKeySequence::Redo,
              {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}))
        shortcut(k, [this] { m_undo->redo(); });
    shortcut(QKeySequence::Save, [this] { save(); });
    auto* del = new QShortcut(QKeySequence::Delete, m_waypoints);
    del->setContext(Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this, [this] { deleteSelected(); });
    auto* moveUp = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up), m_waypoints);
    moveUp->setContext(Qt::WidgetShortcut);
    connect(moveUp, &QShortcut::activated, this, [this] { moveSelected(-1); });
    auto* moveDown = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down), m_waypoints);
    moveDown->setContext(Qt::WidgetShortcut);
    connect(moveDown, &QShortcut::activated, this, [this] { moveSelected(1); });
    // An edited cell becomes a change once its editor has let go of it: the
    // change fills the table anew.
    connect(m_waypoints, &QTableWidget::cellChanged, this, [this](int row, int column) {
        if (!m_filling)
            QMetaObject::invokeMethod(
                this, [this, row, column] { waypointEdited(row, column); }, Qt::QueuedConnection);
    });
    connect(m_winds, &QTableWidget::cellChanged, this, [this] {
        if (!m_filling)
            QMetaObject::invokeMethod(
                this, [this] { windsEdited(); }, Qt::QueuedConnection);
    });
    connect(addWind, &QPushButton::clicked, this, [this] {
        change(QStringLiteral("Add wind row"), [](FlightPlan& p) {
            const double altitude =
                p.windsAloft.empty() ? 3000 : p.windsAloft.back().altitudeFt + 3000;
            p.windsAloft.push_back({altitude, Wind{0, 0}});
        });
    });
    const std::pair<QDoubleSpinBox*, std::pair<int, std::function<void(FlightPlan&, double)>>>
        spins[] = {
            {m_tas, {kTas, [](FlightPlan& p, double v) { p.aircraft.tasKt = v; }}},
            {m_gph, {kGph, [](FlightPlan& p, double v) { p.aircraft.fuelFlowGph = v; }}},
            {m_fuelOnBoard, {kFuel, [](FlightPlan& p, double v) { p.aircraft.fuelGal = v; }}},
            {m_taxi, {kTaxi, [](FlightPlan& p, double v) { p.aircraft.taxiGal = v; }}},
            {m_reserve, {kReserve, [](FlightPlan& p, double v) { p.fuel.reserveMin = v; }}},
            {m_contingency,
             {kContingency, [](FlightPlan& p, double v) { p.fuel.contingencyPercent = v; }}},
            {m_extra, {kExtra, [](FlightPlan& p, double v) { p.fuel.extraGal = v; }}},
            {m_deviation,
             {kDeviation,
              [](FlightPlan& p, double v) {
                  p.deviationDeg = v;
                  p.deviationCard.reset();
              }}},
            {m_variation, {kVariation, [](FlightPlan& p, double v) {
                               if (p.variationDeg)
                                   p.variationDeg = v;
                           }}}};
    for (const auto& [box, what] : spins) {
        const auto [id, set] = what;
        connect(box, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
                [this, box = box, id = id, set = set](double v) {
                    if (!m_filling)
                        change(
                            box->accessibleName(), [&](FlightPlan& p) { set(p, v); }, id);
                });
    }
    connect(m_off, &QTimeEdit::timeChanged, this, [this](const QTime& t) {
        if (!m_filling)
            change(
                QStringLiteral("Time off"), [&](FlightPlan& p) { p.off.setTime(t); }, kOff);
    });
    connect(m_card, &QLineEdit::editingFinished, this, [this] {
        if (m_filling)
            return;
        const QStringList parts =
            m_card->text().simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        std::optional<DeviationCard> card;
        if (!parts.isEmpty()) {
            DeviationCard c{};
            bool ok = parts.size() == 12;
            for (int i = 0; ok && i < 12; ++i) {
                const auto d = core::parseNumber(parts[i].toStdString());
                ok = d && std::fabs(*d) <= 360;
                if (ok)
                    c[static_cast<std::size_t>(i)] = *d;
            }
            if (!ok) {
                message(QStringLiteral("A deviation card is 12 numbers, the deviations at MH 000, "
                                       "030, ..., 330."));
                fillAircraft();
                return;
            }
            card = c;
        }
        if (card != m_plan.deviationCard)
            change(QStringLiteral("Deviation card"),
                   [&](FlightPlan& p) { p.deviationCard = card; });
    });
    connect(m_useModel, &QCheckBox::toggled, this, [this](bool model) {
        if (!m_filling)
            change(QStringLiteral("Variation"), [&](FlightPlan& p) {
                if (model)
                    p.variationDeg.reset();
                else
                    p.variationDeg = m_variation->value();
            });
    });
    connect(openButton, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, QStringLiteral("Open flight plan or route"), QString(),
            QStringLiteral("Plans and routes (*.skyplan *.gpx *.fpl);;"
                           "Skyvane plans (*.skyplan);;GPX routes "
                           "(*.gpx);;Garmin flight plans (*.fpl);;"
                           "All files (*)"),
            nullptr, QFileDialog::DontUseNativeDialog);
        if (!path.isEmpty())
            openFile(path);
    });
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(exportButton, &QPushButton::clicked, this, [this] {
        const QString path =
            dialogs::askSavePath(this, QStringLiteral("Export route"),
                                 QStringLiteral("GPX routes (*.gpx);;Garmin flight plans "
                                                "(*.fpl)"));
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
    connect(savePicture, &QPushButton::clicked, this, [this] {
        const QString path =
            dialogs::askSavePath(this, QStringLiteral("Save route picture"),
                                 QStringLiteral("PNG pictures (*.png);;SVG pictures "
                                                "(*.svg)"));
        if (!path.isEmpty())
            saveRoutePicture(path);
    });
    connect(saveAsButton, &QPushButton::clicked, this, [this] { saveAsked(); });
    showPlan(m_plan);
    m_undo->setClean();
    updateTitle();
    fillRecent();
}

PlanWindow::~PlanWindow() {
    // The fields go after this object: one that loses the focus as it goes
    // must not call back into a window that is no longer there.
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

void PlanWindow::message(const QString& text) {
    platform::showMessage(this, text);
}

void PlanWindow::updateTitle() {
    const QString name =
        m_path.isEmpty() ? QStringLiteral("New plan") : QFileInfo(m_path).fileName();
    setWindowTitle(QStringLiteral("%1%2 – Skyvane flight plan")
                       .arg(name, m_undo->isClean() ? QString() : QStringLiteral(" *")));
}

void PlanWindow::change(const QString& what, const std::function<void(FlightPlan&)>& edit,
                        int mergeId) {
    FlightPlan after = m_plan;
    edit(after);
    m_undo->push(new PlanChange(what, m_plan, std::move(after), mergeId,
                                [this](const FlightPlan& p) { showPlan(p); }));
}

void PlanWindow::showPlan(const FlightPlan& plan) {
    m_plan = plan;
    fillAircraft();
    fillWaypoints();
    recompute();
}

void PlanWindow::fillAircraft() {
    m_filling = true;
    m_tas->setValue(m_plan.aircraft.tasKt);
    m_gph->setValue(m_plan.aircraft.fuelFlowGph);
    m_fuelOnBoard->setValue(m_plan.aircraft.fuelGal);
    m_taxi->setValue(m_plan.aircraft.taxiGal);
    m_reserve->setValue(m_plan.fuel.reserveMin);
    m_contingency->setValue(m_plan.fuel.contingencyPercent);
    m_extra->setValue(m_plan.fuel.extraGal);
    m_deviation->setValue(m_plan.deviationDeg);
    m_deviation->setEnabled(!m_plan.deviationCard);
    QStringList card;
    if (m_plan.deviationCard) {
        for (double d : *m_plan.deviationCard)
            card << core::numberText(d);
    }
    m_card->setText(card.join(QLatin1Char(' ')));
    m_alternate->setText(m_plan.alternate ? m_plan.alternate->label() : QString());
    m_off->setTime(m_plan.off.time());
    m_useModel->setChecked(!m_plan.variationDeg);
    m_variation->setEnabled(m_plan.variationDeg.has_value());
    if (m_plan.variationDeg)
        m_variation->setValue(*m_plan.variationDeg);
    m_winds->setRowCount(static_cast<int>(m_plan.windsAloft.size()));
    for (int r = 0; r < m_winds->rowCount(); ++r) {
        const WindRow& row = m_plan.windsAloft[static_cast<std::size_t>(r)];
        m_winds->setItem(r, 0, new QTableWidgetItem(core::numberText(row.altitudeFt)));
        m_winds->setItem(r, 1, new QTableWidgetItem(core::numberText(row.wind.directionDeg)));
        m_winds->setItem(r, 2, new QTableWidgetItem(core::numberText(row.wind.speedKt)));
    }
    m_filling = false;
}

void PlanWindow::fillWaypoints() {
    m_filling = true;
    const int selected = selectedRow();
    m_waypoints->setRowCount(static_cast<int>(m_plan.waypoints.size()));
    for (int r = 0; r < m_waypoints->rowCount(); ++r) {
        const Waypoint& w = m_plan.waypoints[static_cast<std::size_t>(r)];
        auto* name = new QTableWidgetItem(
            w.ident.isEmpty() ? w.name : w.ident + QStringLiteral("  ") + w.name);
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        auto* position = new QTableWidgetItem(positionText(w.position));
        position->setFlags(position->flags() & ~Qt::ItemIsEditable);
        m_waypoints->setItem(r, 0, name);
        m_waypoints->setItem(r, 1, position);
        const bool leg = r > 0; // the first waypoint has no leg arriving
        const QString cells[] = {leg ? core::numberText(w.leg.altitudeFt) : QString(),
                                 leg ? windText(w.leg.wind) : QString(),
                                 leg && w.leg.variationDeg ? core::numberText(*w.leg.variationDeg)
                                                           : QString()};
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (!leg)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            m_waypoints->setItem(r, c + 2, item);
        }
    }
    if (selected >= 0 && selected < m_waypoints->rowCount())
        m_waypoints->selectRow(selected);
    m_filling = false;
}

void PlanWindow::updatePicture() {
    m_routeView->setScene(map::routeScene(m_plan, m_points, store::dataPlaces()));
}

void PlanWindow::recompute() {
    m_computed = computePlan(m_plan, &m_model);
    fillLegs();
    if (m_plan.waypoints.size() < 2) {
        m_points = DecisionPoints{};
        m_decisions->clear();
        updatePicture();
        return;
    }
    m_points = decisionPoints(m_plan, m_computed, &m_model);
    updatePicture();
    m_decisions->setText(pointText(QStringLiteral("Equal-time point:"), m_points.etp, m_plan) +
                         QLatin1Char('\n') +
                         pointText(QStringLiteral("Point of no return:"), m_points.pnr, m_plan) +
                         QLatin1Char('\n') + m_points.windMargin.summary);
}

void PlanWindow::fillLegs() {
    m_legs->setRowCount(static_cast<int>(m_computed.legs.size()));
    for (int r = 0; r < m_legs->rowCount(); ++r) {
        const PlanLeg& leg = m_computed.legs[static_cast<std::size_t>(r)];
        const navlog::LegRecord& rec = leg.record;
        const bool computed = leg.problem == LegProblem::None;
        QStringList cells = {rec.from +
                                 (leg.alternate ? QStringLiteral(" (alternate)") : QString()),
                             rec.to, core::numberText(leg.altitudeFt)};
        if (computed) {
            cells << rec.trueCourse << windText(leg.wind) << wcaText(leg.result.windCorrectionDeg)
                  << rec.trueHeading << rec.variation << rec.magHeading << rec.magDeviation
                  << rec.compassHeading << rec.groundSpeed << rec.distance << rec.ete << rec.eta
                  << rec.fuelUsed << rec.fuelLeft << core::numberText(leg.toGoNm)
                  << core::numberText(leg.toGoMin);
        } else {
            for (int i = 0; i < 16; ++i)
                cells << QString();
        }
        cells << problemText(leg);
        const bool flagged = !computed || leg.fuelShortGal > 0;
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c < 2 || c == cells.size() - 1
                                       ? Qt::AlignLeft | Qt::AlignVCenter
                                       : Qt::AlignRight | Qt::AlignVCenter);
            if (flagged)
                item->setBackground(kProblem);
            m_legs->setItem(r, c, item);
        }
    }
    m_fuel->setText(QStringLiteral("Route %1 nm, %2 min.   %3\n%4")
                        .arg(core::numberText(m_computed.distanceNm),
                             core::numberText(m_computed.eteMin), fuelBlockText(m_computed.fuel),
                             m_plan.waypoints.size() < 2
                                 ? QStringLiteral("Add at least two waypoints.")
                                 : m_computed.fuel.verdict));
}

int PlanWindow::selectedRow() const {
    const auto rows = m_waypoints->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

std::optional<Waypoint> PlanWindow::waypointFrom(const QString& typed, const QString& name) {
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    const ParsedPosition parsed = parsePosition(text);
    if (parsed.position) {
        Waypoint w;
        w.name = name.trimmed();
        if (w.name.isEmpty())
            w.name = QStringLiteral("Checkpoint %1").arg(m_plan.waypoints.size() + 1);
        w.position = *parsed.position;
        return w;
    }
    // A code: the navigation database's exact match, else the airport file's.
    for (const navdb::Place& p : m_navData.search(text, 1)) {
        if (p.matchGroup == 0)
            return Waypoint{p.name, p.ident, p.position, {}};
    }
    store::AirportDatabase& airports = store::airportDatabase();
    // The index is built once a run (the course dialog builds it too).
    if (airports.index().empty()) {
        if (airports.text().empty())
            airports.load();
        airports.listIdentifiers();
    }
    if (const core::GeoPoint* pos = airports.find(text))
        return Waypoint{text.toUpper(), text.toUpper(), *pos, {}};
    message(QStringLiteral("\"%1\" is neither a known code nor a position (%2). Type a code or "
                           "name and choose from the list, or a position such as "
                           "47 27.5N 008 33.0E.")
                .arg(text, parsed.error));
    return std::nullopt;
}

bool PlanWindow::addTyped(const QString& typed) {
    const auto w = waypointFrom(typed, m_name->text());
    if (!w)
        return false;
    insertWaypoint(*w);
    if (w->ident.isEmpty())
        m_name->clear();
    return true;
}

void PlanWindow::insertWaypoint(const Waypoint& waypoint) {
    const int at =
        selectedRow() >= 0 ? selectedRow() + 1 : static_cast<int>(m_plan.waypoints.size());
    change(QStringLiteral("Add %1").arg(waypoint.label()), [&](FlightPlan& p) {
        Waypoint w = waypoint;
        // A new leg flies at the altitude of the leg before it.
        if (at > 1)
            w.leg.altitudeFt = p.waypoints[static_cast<std::size_t>(at - 1)].leg.altitudeFt;
        p.waypoints.insert(p.waypoints.begin() + at, w);
    });
    m_waypoints->selectRow(at);
}

void PlanWindow::deleteSelected() {
    const int row = selectedRow();
    if (row < 0)
        return;
    change(QStringLiteral("Delete waypoint"),
           [row](FlightPlan& p) { p.waypoints.erase(p.waypoints.begin() + row); });
    if (m_waypoints->rowCount() > 0)
        m_waypoints->selectRow(std::min(row, m_waypoints->rowCount() - 1));
}

void PlanWindow::moveSelected(int delta) {
    const int row = selectedRow();
    const int to = row + delta;
    if (row < 0 || to < 0 || to >= static_cast<int>(m_plan.waypoints.size()))
        return;
    change(QStringLiteral("Move waypoint"), [row, to](FlightPlan& p) {
        std::swap(p.waypoints[static_cast<std::size_t>(row)],
                  p.waypoints[static_cast<std::size_t>(to)]);
    });
    m_waypoints->selectRow(to);
}

void PlanWindow::waypointEdited(int row, int column) {
    if (m_filling || row <= 0 || row >= static_cast<int>(m_plan.waypoints.size()))
        return;
    const QTableWidgetItem* item = m_waypoints->item(row, column);
    if (!item)
        return;
    const QString text = item->text().trimmed();
    LegSettings leg = m_plan.waypoints[static_cast<std::size_t>(row)].leg;
    QString refusal;
    if (column == 2) {
        const auto altitude = core::parseNumber(text.toStdString());
        if (!altitude || *altitude < -2000 || *altitude > 60000)
            refusal = QStringLiteral("An altitude is a number of feet, e.g. 4500.");
        else
            leg.altitudeFt = *altitude;
    } else if (column == 3) {
        const auto wind = readWind(text);
        if (!wind)
            refusal = QStringLiteral("A wind is written DDD/KT, e.g. 270/15 (empty: from the winds "
                                     "aloft).");
        else
            leg.wind = *wind;
    } else if (column == 4) {
        if (text.isEmpty()) {
            leg.variationDeg.reset();
        } else if (const auto var = core::parseNumber(text.toStdString());
                   var && std::fabs(*var) <= 360) {
            leg.variationDeg = *var;
        } else {
            refusal = QStringLiteral("A variation is degrees, west positive (empty: from the "
                                     "magnetic model).");
        }
    }
    if (!refusal.isEmpty()) {
        message(refusal);
        fillWaypoints(); // what was there before comes back
        return;
    }
    change(QStringLiteral("Change leg"),
           [&](FlightPlan& p) { p.waypoints[static_cast<std::size_t>(row)].leg = leg; });
}

void PlanWindow::windsEdited() {
    if (m_filling)
        return;
    std::vector<WindRow> rows;
    for (int r = 0; r < m_winds->rowCount(); ++r) {
        auto value = [&](int c) {
            const QTableWidgetItem* item = m_winds->item(r, c);
            return core::parseNumber(item ? item->text().toStdString() : std::string());
        };
        const auto altitude = value(0), direction = value(1), speed = value(2);
        if (!altitude || !direction || !speed || *direction < 0 || *direction > 360 || *speed < 0) {
            message(QStringLiteral("A row of the winds aloft is an altitude in feet, a direction "
                                   "0 to 360 and a speed in knots."));
            fillAircraft();
            return;
        }
        rows.push_back({*altitude, Wind{*direction, *speed}});
    }
    change(QStringLiteral("Change winds aloft"), [&](FlightPlan& p) { p.windsAloft = rows; });
}

bool PlanWindow::openFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        message(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
        return false;
    }
    const std::string bytes = file.readAll().toStdString();
    const QString name = QFileInfo(path).fileName();
    if (formatOf(bytes) != RouteFormat::Plan) {
        // A route from another planner or a device: its waypoints replace
        // the route as one change that undo takes back. It makes a new plan,
        // without a file: a plan file of one route must never be saved over
        // with another route, and the route's own file is not a plan.
        const RouteRead route = readRoute(bytes);
        if (!route.waypoints) {
            message(QStringLiteral("%1 cannot be opened: %2.").arg(name, route.error));
            return false;
        }
        if (!m_path.isEmpty() && !okToReplace())
            return false;
        m_path.clear();
        const QFileInfo info(path);
        m_suggestedPath = info.dir().filePath(info.completeBaseName() + ".skyplan");
        change(QStringLiteral("Open %1").arg(name),
               [&](FlightPlan& p) { p.waypoints = *route.waypoints; });
        updateTitle();
        return true;
    }
    const PlanRead read = readPlan(bytes);
    if (!read.plan) {
        message(QStringLiteral("%1 cannot be opened: %2.").arg(name, read.error));
        return false;
    }
    if (!okToReplace())
        return false;
    m_undo->clear();
    m_path = path;
    showPlan(*read.plan);
    m_undo->setClean();
    updateTitle();
    remember(path);
    return true;
}

bool PlanWindow::save() {
    return m_path.isEmpty() ? saveAsked() : saveAs(m_path);
}

bool PlanWindow::saveAsked() {
    const QString path = dialogs::askSavePath(this, QStringLiteral("Save flight plan"),
                                              QStringLiteral("Skyvane plans (*.skyplan)"),
                                              m_path.isEmpty() ? m_suggestedPath : m_path);
    if (path.isEmpty())
        return false;
    return saveAs(path.endsWith(QLatin1String(".skyplan")) ? path : path + ".skyplan");
}

bool PlanWindow::saveAs(const QString& path) {
    if (!dialogs::writeOutput(this, path, planJson(m_plan), "plan"))
        return false;
    m_path = path;
    m_undo->setClean();
    updateTitle();
    remember(path);
    return true;
}

bool PlanWindow::exportRoute(const QString& path) {
    if (m_plan.waypoints.empty()) {
        message(QStringLiteral("The plan has no waypoints to export."));
        return false;
    }
    const bool fpl = path.endsWith(QLatin1String(".fpl"), Qt::CaseInsensitive);
    return dialogs::writeOutput(this, path, fpl ? fplOf(m_plan) : gpxOf(m_plan),
                                fpl ? "flight plan" : "GPX");
}

kneeboard::Sheet PlanWindow::kneeboardSheet() const {
    return kneeboard::planSheet(m_plan, m_computed, m_points, &m_navData);
}

kneeboard::PrintOptions PlanWindow::printOptions() const {
    kneeboard::PrintOptions options = kneeboard::rememberedOptions();
    if (m_plan.waypoints.size() >= 2) {
        options.drawPicture = [scene = m_routeView->scene()](QPainter& painter,
                                                             const QRectF& area) {
            map::drawRoute(painter, area, scene);
        };
    }
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

namespace {
const char* const kRecentKey = "plan/recentFiles";
QSettings settings() {
    return QSettings(QStringLiteral("skyvane"), QStringLiteral("skyvane"));
}
} // namespace

void PlanWindow::remember(const QString& path) {
    QStringList recent = settings().value(QLatin1String(kRecentKey)).toStringList();
    recent.removeAll(path);
    recent.prepend(path);
    settings().setValue(QLatin1String(kRecentKey), recent.mid(0, 8));
    fillRecent();
}

void PlanWindow::fillRecent() {
    QMenu* menu = m_recent->menu();
    menu->clear();
    const QStringList recent = settings().value(QLatin1String(kRecentKey)).toStringList();
    for (const QString& path : recent)
        menu->addAction(QFileInfo(path).fileName(), this, [this, path] { openFile(path); })
            ->setToolTip(path);
    m_recent->setEnabled(!recent.isEmpty());
}

bool PlanWindow::okToReplace() {
    if (m_undo->isClean())
        return true;
    // The question names the file Save would write, or says that Save asks
    // for one.
    const QString question =
        m_path.isEmpty()
            ? QStringLiteral("The new plan has changes that are not saved. Save them in a new "
                             "file?")
            : QStringLiteral("The plan %1 has changes that are not saved. Save them to %1?")
                  .arg(QDir::toNativeSeparators(m_path));
    const auto answer = QMessageBox::question(
        this, QStringLiteral("Skyvane flight plan"), question,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return answer == QMessageBox::Discard || (answer == QMessageBox::Save && save());
}

void PlanWindow::closeEvent(QCloseEvent* event) {
    if (okToReplace())
        event->accept();
    else
        event->ignore();
}

} // namespace plan
