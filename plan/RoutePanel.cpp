#include "plan/RoutePanel.h"

#include "core/Text.h"
#include "navdb/PlaceFinder.h"
#include "plan/Coordinates.h"
#include "plan/PlanEditor.h"
#include "plan/PlanPanels.h"
#include "plan/TypedFields.h"
#include "plan/WaypointResolver.h"
#include "platform/MessageBox.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include <functional>

namespace plan {

RoutePanel::RoutePanel(PlanEditor& editor, const navdb::NavData& navData,
                       const WaypointResolver& resolver, QWidget* parent)
    : QWidget(parent), m_editor(editor), m_resolver(resolver) {
    m_find = new QLineEdit;
    m_find->setAccessibleName(QStringLiteral("Add waypoint"));
    m_find->setPlaceholderText(QStringLiteral("Code, name or position (47 27.5N 008 33.0E)"));
    auto* finder = new navdb::PlaceFinder(m_find, navData);
    m_finder = finder;
    m_name = new QLineEdit;
    m_name->setAccessibleName(QStringLiteral("Checkpoint name"));
    m_name->setPlaceholderText(QStringLiteral("Name of a position"));
    m_alternate = new QLineEdit;
    m_alternate->setAccessibleName(QStringLiteral("Alternate"));
    m_alternate->setPlaceholderText(QStringLiteral("Alternate: code or position"));
    m_alternate->setToolTip(QStringLiteral("An airport to divert to after the destination; its "
                                           "leg takes the wind of the winds aloft at the last "
                                           "leg's altitude. Empty: none."));
    auto* add = plainButton(QStringLiteral("&Add"));
    auto* remove = plainButton(QStringLiteral("&Delete"));
    auto* up = plainButton(QStringLiteral("Move &up"));
    auto* down = plainButton(QStringLiteral("Move do&wn"));
    auto* undo = plainButton(QStringLiteral("U&ndo"));
    auto* redo = plainButton(QStringLiteral("&Redo"));
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

    auto* entry = new QHBoxLayout;
    entry->addWidget(m_find, 3);
    entry->addWidget(m_name, 2);
    entry->addWidget(add);
    auto* routeButtons = new QHBoxLayout;
    for (QPushButton* b : {remove, up, down, undo, redo})
        routeButtons->addWidget(b);
    routeButtons->addStretch(1);
    routeButtons->addWidget(m_alternate, 2);
    auto* left = new QVBoxLayout(this);
    left->setContentsMargins(0, 0, 0, 0);
    left->addLayout(entry);
    left->addWidget(m_waypoints, 1);
    left->addLayout(routeButtons);

    connect(m_find, &QLineEdit::returnPressed, this, [this, finder] {
        if (!finder->listShown() && addTyped(m_find->text()))
            m_find->clear();
    });
    connect(finder, &navdb::PlaceFinder::chosen, this, [this](const navdb::Place& p) {
        insertWaypoint(Waypoint{p.name, p.ident, p.position, {}, p.elevationFt});
        QMetaObject::invokeMethod(m_find, &QLineEdit::clear, Qt::QueuedConnection);
    });
    connect(add, &QPushButton::clicked, this, [this] {
        if (addTyped(m_find->text()))
            m_find->clear();
    });
    connect(remove, &QPushButton::clicked, this, [this] { deleteSelected(); });
    connect(up, &QPushButton::clicked, this, [this] { moveSelected(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveSelected(1); });
    QUndoStack* stack = m_editor.undoStack();
    connect(undo, &QPushButton::clicked, stack, &QUndoStack::undo);
    connect(redo, &QPushButton::clicked, stack, &QUndoStack::redo);
    connect(stack, &QUndoStack::canUndoChanged, undo, &QWidget::setEnabled);
    connect(stack, &QUndoStack::canRedoChanged, redo, &QWidget::setEnabled);
    undo->setEnabled(false);
    redo->setEnabled(false);
    // An edited cell becomes a change once its editor has let go of it: the
    // change fills the table anew.
    connect(m_waypoints, &QTableWidget::itemSelectionChanged, this,
            [this] { m_finder->setNear(nearPoint()); });
    connect(m_waypoints, &QTableWidget::cellChanged, this, [this](int row, int column) {
        if (!m_filling)
            QMetaObject::invokeMethod(
                this, [this, row, column] { waypointEdited(row, column); }, Qt::QueuedConnection);
    });
    connectAlternate();
    connectTableKeys();
}

void RoutePanel::connectAlternate() {
    connect(m_alternate, &QLineEdit::editingFinished, this, [this] {
        if (m_filling)
            return;
        const FlightPlan& plan = m_editor.plan();
        const QString text = m_alternate->text().trimmed();
        if (text == (plan.alternate ? plan.alternate->label() : QString()))
            return;
        std::optional<Waypoint> alternate;
        if (!text.isEmpty()) {
            alternate = waypointFrom(text, QStringLiteral("Alternate"));
            if (!alternate)
                return; // said why; the text stays to be mended
            if (!plan.waypoints.empty())
                alternate->leg.altitudeFt = plan.waypoints.back().leg.altitudeFt;
        }
        m_editor.change(QStringLiteral("Alternate"),
                        [&](FlightPlan& p) { p.alternate = alternate; });
    });
}

void RoutePanel::connectTableKeys() {
    // On the waypoint table only: Delete, Ctrl+Up, Ctrl+Down.
    const std::pair<QKeySequence, std::function<void()>> tableKeys[] = {
        {QKeySequence::Delete, [this] { deleteSelected(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { moveSelected(-1); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { moveSelected(1); }}};
    for (const auto& [key, act] : tableKeys) {
        auto* s = new QShortcut(key, m_waypoints);
        s->setContext(Qt::WidgetShortcut);
        connect(s, &QShortcut::activated, this, act);
    }
}

void RoutePanel::fill() {
    const FlightPlan& plan = m_editor.plan();
    m_filling = true;
    m_alternate->setText(plan.alternate ? plan.alternate->label() : QString());
    m_filling = false;
    fillWaypoints();
    m_finder->setNear(nearPoint());
}

std::optional<core::GeoPoint> RoutePanel::nearPoint() const {
    const std::vector<Waypoint>& waypoints = m_editor.plan().waypoints;
    const int row = selectedRow();
    if (row >= 0 && row < static_cast<int>(waypoints.size()))
        return waypoints[static_cast<std::size_t>(row)].position;
    if (!waypoints.empty())
        return waypoints.back().position;
    return std::nullopt;
}

void RoutePanel::fillWaypoints() {
    const FlightPlan& plan = m_editor.plan();
    m_filling = true;
    const int selected = selectedRow();
    m_waypoints->setRowCount(static_cast<int>(plan.waypoints.size()));
    for (int r = 0; r < m_waypoints->rowCount(); ++r) {
        const Waypoint& w = plan.waypoints[static_cast<std::size_t>(r)];
        const bool leg = r > 0; // the first waypoint has no leg arriving
        const QString cells[] = {
            w.ident.isEmpty() ? w.name : w.ident + QStringLiteral("  ") + w.name,
            positionText(w.position), leg ? core::numberText(w.leg.altitudeFt) : QString(),
            leg && w.leg.wind ? core::windText(*w.leg.wind) : QString(),
            leg && w.leg.variationDeg ? core::numberText(*w.leg.variationDeg) : QString()};
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c < 2 || !leg)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            m_waypoints->setItem(r, c, item);
        }
    }
    if (selected >= 0 && selected < m_waypoints->rowCount())
        m_waypoints->selectRow(selected);
    m_filling = false;
}

int RoutePanel::selectedRow() const {
    const auto rows = m_waypoints->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

std::optional<Waypoint> RoutePanel::waypointFrom(const QString& typed, const QString& name) {
    const Resolved r = m_resolver.resolve(
        typed, name, static_cast<int>(m_editor.plan().waypoints.size()) + 1, nearPoint());
    if (!r.refusal.isEmpty())
        platform::showMessage(this, r.refusal);
    // A code of several places: the choice, nearest first, under the box.
    if (r.ambiguous && typed == m_find->text())
        m_finder->offerAgain();
    return r.waypoint;
}

bool RoutePanel::addTyped(const QString& typed) {
    const auto w = waypointFrom(typed, m_name->text());
    if (!w)
        return false;
    insertWaypoint(*w);
    if (w->ident.isEmpty())
        m_name->clear();
    return true;
}

void RoutePanel::insertWaypoint(const Waypoint& waypoint) {
    const int at =
        selectedRow() >= 0 ? selectedRow() + 1 : static_cast<int>(m_editor.plan().waypoints.size());
    if (m_editor.insertWaypoint(at, waypoint))
        m_waypoints->selectRow(at);
}

void RoutePanel::deleteSelected() {
    const int row = selectedRow();
    if (m_editor.deleteWaypoint(row) && m_waypoints->rowCount() > 0)
        m_waypoints->selectRow(std::min(row, m_waypoints->rowCount() - 1));
}

void RoutePanel::moveSelected(int delta) {
    const int row = selectedRow();
    if (m_editor.moveWaypoint(row, delta))
        m_waypoints->selectRow(row + delta);
}

void RoutePanel::waypointEdited(int row, int column) {
    const FlightPlan& plan = m_editor.plan();
    if (m_filling || row <= 0 || row >= static_cast<int>(plan.waypoints.size()) || column < 2)
        return;
    const QTableWidgetItem* item = m_waypoints->item(row, column);
    if (!item)
        return;
    LegSettings leg = plan.waypoints[static_cast<std::size_t>(row)].leg;
    const LegCell cells[] = {LegCell::Altitude, LegCell::Wind, LegCell::Variation};
    const QString refusal = readLegCell(cells[column - 2], item->text(), leg);
    if (!refusal.isEmpty()) {
        platform::showMessage(this, refusal);
        fillWaypoints(); // what was there before comes back
        return;
    }
    m_editor.setLeg(row, leg);
}

} // namespace plan
