#pragma once
// The route part of the plan window: the waypoint box with the navigation
// database's list, the name of a position, the waypoints with the leg
// arriving at each (altitude, wind, variation), the alternate, and the
// buttons and keys that edit the route. It shows the plan editor's route
// and hands it the pilot's edits.

#include "plan/FlightPlan.h"

#include <QWidget>

#include <optional>

class QLineEdit;
class QTableWidget;

namespace navdb {
class NavData;
class PlaceFinder;
} // namespace navdb

namespace plan {

class PlanEditor;
class WaypointResolver;

class RoutePanel : public QWidget {
    Q_OBJECT
public:
    // All three must outlive the panel.
    RoutePanel(PlanEditor& editor, const navdb::NavData& navData, const WaypointResolver& resolver,
               QWidget* parent = nullptr);

    // Shows the editor's route, keeping the selected row.
    void fill();

    QTableWidget* table() const { return m_waypoints; }
    QLineEdit* findBox() const { return m_find; }

    // A waypoint from the waypoint box's text (a position named from the
    // name box, or a code); false, said why, for anything else.
    bool addTyped(const QString& text);
    // After the selected waypoint, else at the end.
    void insertWaypoint(const Waypoint& waypoint);
    void deleteSelected();
    void moveSelected(int delta);

private:
    void connectAlternate();
    void connectTableKeys();
    void fillWaypoints();
    void waypointEdited(int row, int column);
    int selectedRow() const;
    // Where the next waypoint goes from: the selected one, else the last.
    std::optional<core::GeoPoint> nearPoint() const;
    // A waypoint from a code or a position (named name), or none (said why).
    std::optional<Waypoint> waypointFrom(const QString& typed, const QString& name);

    PlanEditor& m_editor;
    const WaypointResolver& m_resolver;
    bool m_filling = false;
    QLineEdit* m_find = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_alternate = nullptr;
    QTableWidget* m_waypoints = nullptr;
    navdb::PlaceFinder* m_finder = nullptr;
};

} // namespace plan
