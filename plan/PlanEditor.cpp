#include "plan/PlanEditor.h"

#include <QUndoStack>

namespace plan {
namespace {

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

} // namespace

PlanEditor::PlanEditor(const FlightPlan& start, const magvar::MagneticVariation* model,
                       QObject* parent)
    : QObject(parent), m_model(model), m_undo(new QUndoStack(this)) {
    FlightPlan plan = start;
    if (!plan.off.isValid()) {
        // Every plan has a time off, so its file always reads back.
        const QTime now = QTime::currentTime();
        plan.off = QDateTime(QDate::currentDate(), QTime(now.hour(), now.minute(), now.second()));
    }
    show(plan);
}

void PlanEditor::show(const FlightPlan& plan) {
    m_plan = plan;
    m_computed = computePlan(m_plan, m_model);
    m_points = m_plan.waypoints.size() < 2 ? DecisionPoints{}
                                           : decisionPoints(m_plan, m_computed, m_model);
    m_balance = planBalance(m_plan, m_computed);
    emit changed();
}

void PlanEditor::change(const QString& what, const std::function<void(FlightPlan&)>& edit,
                        int mergeId) {
    FlightPlan after = m_plan;
    edit(after);
    // The stack owns its commands.
    m_undo->push(std::make_unique<PlanChange>(what, m_plan, std::move(after), mergeId,
                                              [this](const FlightPlan& p) { show(p); })
                     .release());
}

void PlanEditor::replace(const FlightPlan& plan) {
    m_undo->clear();
    show(plan);
    m_undo->setClean();
}

bool PlanEditor::insertWaypoint(int at, const Waypoint& waypoint) {
    if (at < 0 || at > static_cast<int>(m_plan.waypoints.size()))
        return false;
    change(QStringLiteral("Add %1").arg(waypoint.label()), [&](FlightPlan& p) {
        Waypoint w = waypoint;
        if (at > 1)
            w.leg.altitudeFt = p.waypoints[static_cast<std::size_t>(at - 1)].leg.altitudeFt;
        p.waypoints.insert(p.waypoints.begin() + at, w);
    });
    return true;
}

bool PlanEditor::deleteWaypoint(int row) {
    if (row < 0 || row >= static_cast<int>(m_plan.waypoints.size()))
        return false;
    change(QStringLiteral("Delete waypoint"),
           [row](FlightPlan& p) { p.waypoints.erase(p.waypoints.begin() + row); });
    return true;
}

bool PlanEditor::moveWaypoint(int row, int delta) {
    const int to = row + delta;
    const int n = static_cast<int>(m_plan.waypoints.size());
    if (row < 0 || row >= n || to < 0 || to >= n || to == row)
        return false;
    change(QStringLiteral("Move waypoint"), [row, to](FlightPlan& p) {
        std::swap(p.waypoints[static_cast<std::size_t>(row)],
                  p.waypoints[static_cast<std::size_t>(to)]);
    });
    return true;
}

bool PlanEditor::setLeg(int row, const LegSettings& leg) {
    if (row <= 0 || row >= static_cast<int>(m_plan.waypoints.size()))
        return false;
    change(QStringLiteral("Change leg"),
           [&](FlightPlan& p) { p.waypoints[static_cast<std::size_t>(row)].leg = leg; });
    return true;
}

void PlanEditor::addWindRow() {
    change(QStringLiteral("Add wind row"), [](FlightPlan& p) {
        const double altitude = p.windsAloft.empty() ? 3000 : p.windsAloft.back().altitudeFt + 3000;
        p.windsAloft.push_back({altitude, Wind{0, 0}, std::nullopt});
    });
}

} // namespace plan
