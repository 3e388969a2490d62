#pragma once
// The flight plan window: the route of waypoints the pilot builds (by code,
// name or position), the aircraft, the winds aloft, and the nav log of the
// whole flight computed at once, with the fuel block. Every change
// recomputes at once and can be undone.

#include "kneeboard/KneeboardPrint.h"
#include "magvar/MagneticVariation.h"
#include "navdb/NavDatabase.h"
#include "plan/DecisionPoints.h"
#include "plan/FlightPlan.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QLineEdit;
class QTableWidget;
class QTimeEdit;
class QUndoStack;
class QCheckBox;

namespace map {
class RouteView;
}

namespace plan {

class PlanWindow : public QWidget {
    Q_OBJECT
public:
    // A new plan, the aircraft from the saved defaults (TAS, fuel flow, fuel,
    // deviation).
    explicit PlanWindow(const FlightPlan& start, QWidget* parent = nullptr);
    ~PlanWindow() override;

    // Opens a plan file (asking first when the plan on show has unsaved
    // changes), or a GPX or FPL route, whose waypoints replace the route as
    // one change. On failure says why and keeps the plan on show.
    bool openFile(const QString& path);
    // Writes the plan to its file (asking for one the first time).
    bool save();
    // Asks where, then writes the plan there.
    bool saveAsked();
    bool saveAs(const QString& path);

    const FlightPlan& currentPlan() const { return m_plan; }
    const ComputedPlan& computed() const { return m_computed; }
    QUndoStack* undoStack() const { return m_undo; }
    QTableWidget* waypointTable() const { return m_waypoints; }
    QTableWidget* legTable() const { return m_legs; }
    QLineEdit* findBox() const { return m_find; }
    QLabel* fuelSummary() const { return m_fuel; }
    map::RouteView* routeView() const { return m_routeView; }
    const DecisionPoints& decisions() const { return m_points; }
    const QString& filePath() const { return m_path; }

    // The outputs behind the buttons; each says what went wrong and
    // returns false when it cannot write.
    bool exportRoute(const QString& path);      // GPX, or FPL for a path ending .fpl
    bool savePdf(const QString& path);          // the kneeboard page
    bool saveRoutePicture(const QString& path); // PNG, or SVG for a path ending .svg
    void print();
    // What the kneeboard page prints: the plan with what the navigation
    // database knows of its airports, in the remembered columns, with the
    // route picture.
    kneeboard::Sheet kneeboardSheet() const;
    kneeboard::PrintOptions printOptions() const;

    // Column headings of the leg table.
    static QStringList legHeadings();

    // Adds a waypoint from what the pilot typed into the waypoint box: a
    // position (named from the name box), or a code of the navigation
    // database or the airport file. False, with a message, for anything else.
    bool addTyped(const QString& text);
    void insertWaypoint(const Waypoint& waypoint);
    void deleteSelected();
    void moveSelected(int delta);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // A change of the plan as one undo step; steps of the same field merge.
    void change(const QString& what, const std::function<void(FlightPlan&)>& edit,
                int mergeId = -1);
    void showPlan(const FlightPlan& plan); // from undo and redo
    void recompute();
    void fillWaypoints();
    void fillLegs();
    void fillAircraft();
    void waypointEdited(int row, int column);
    void windsEdited();
    int selectedRow() const;
    void message(const QString& text);
    void updateTitle();

    FlightPlan m_plan;
    ComputedPlan m_computed;
    QString m_path;
    QString m_suggestedPath; // where Save asks first, for a plan made from a route
    navdb::NavData m_navData;
    magvar::MagneticVariation m_model;
    bool m_filling = false;

    QUndoStack* m_undo = nullptr;
    QLineEdit* m_find = nullptr;
    QLineEdit* m_name = nullptr;
    QTableWidget* m_waypoints = nullptr;
    QTableWidget* m_winds = nullptr;
    QTableWidget* m_legs = nullptr;
    QLabel* m_fuel = nullptr;
    QLabel* m_decisions = nullptr;
    map::RouteView* m_routeView = nullptr;
    void updatePicture();
    DecisionPoints m_points;
    QDoubleSpinBox *m_tas = nullptr, *m_gph = nullptr, *m_fuelOnBoard = nullptr, *m_taxi = nullptr,
                   *m_reserve = nullptr, *m_contingency = nullptr, *m_extra = nullptr,
                   *m_deviation = nullptr;
    QTimeEdit* m_off = nullptr;
    QLineEdit* m_card = nullptr;
    QLineEdit* m_alternate = nullptr;
    // A waypoint from a code or a position (named name), or none (said why).
    std::optional<Waypoint> waypointFrom(const QString& typed, const QString& name);
    QPushButton* m_recent = nullptr;
    void remember(const QString& path);
    // Before the plan on show is replaced: true when it is saved, or the
    // pilot saves or gives up its changes when asked.
    bool okToReplace();
    void fillRecent();
    QCheckBox* m_useModel = nullptr;
    QDoubleSpinBox* m_variation = nullptr;
};

} // namespace plan
