#pragma once
// The plan being edited: the plan, what it computes to, and its changes as
// undo steps. No widgets: the plan window shows it and hands it the pilot's
// edits, and the edits can be driven without a window.
//
// Every change recomputes the legs, the fuel block and the decision points
// at once and then says so with changed().

#include "plan/DecisionPoints.h"
#include "plan/FlightPlan.h"
#include "plan/WeightBalance.h"

#include <QObject>

#include <functional>

class QUndoStack;

namespace magvar {
class MagneticVariation;
}

namespace plan {

class PlanEditor : public QObject {
    Q_OBJECT
public:
    // model: the magnetic model for legs without a variation; may be null,
    // and must outlive the editor.
    PlanEditor(const FlightPlan& start, const magvar::MagneticVariation* model,
               QObject* parent = nullptr);

    const FlightPlan& plan() const { return m_plan; }
    const ComputedPlan& computed() const { return m_computed; }
    // Empty with fewer than two waypoints.
    const DecisionPoints& decisions() const { return m_points; }
    QUndoStack* undoStack() const { return m_undo; }
    // With an aircraft profile, its weight and balance.
    const std::optional<WeightAndBalance>& balance() const { return m_balance; }

    // A change as one undo step named what; steps with the same mergeId
    // (a field being typed into) merge into one. -1: never merges.
    void change(const QString& what, const std::function<void(FlightPlan&)>& edit,
                int mergeId = -1);
    // A plan from a file: no undo step, and the undo history is gone.
    void replace(const FlightPlan& plan);

    // The edits of the route. Rows outside the route are ignored (false).
    // A new waypoint at row at (0..size) flies its leg at the altitude of
    // the leg before it.
    bool insertWaypoint(int at, const Waypoint& waypoint);
    bool deleteWaypoint(int row);
    bool moveWaypoint(int row, int delta);
    // The leg arriving at a waypoint (not the first).
    bool setLeg(int row, const LegSettings& leg);
    // A row 3000 ft above the last (or at 3000 ft), calm.
    void addWindRow();

signals:
    void changed();

private:
    void show(const FlightPlan& plan); // from undo and redo

    const magvar::MagneticVariation* m_model;
    FlightPlan m_plan;
    ComputedPlan m_computed;
    DecisionPoints m_points;
    std::optional<WeightAndBalance> m_balance;
    QUndoStack* m_undo;
};

} // namespace plan
