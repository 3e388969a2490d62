#pragma once
// The flight plan window: the route of waypoints the pilot builds (by code,
// name or position), the aircraft, the winds aloft, and the nav log of the
// whole flight computed at once, with the fuel block. It shows a PlanEditor
// (the plan and its undoable changes) and a PlanDocument (its file), and
// hands them what the pilot does.

#include "kneeboard/KneeboardPrint.h"
#include "magvar/MagneticVariation.h"
#include "navdb/NavDatabase.h"
#include "plan/DecisionPoints.h"
#include "plan/FlightPlan.h"
#include "plan/WaypointResolver.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QTableView;
class QTableWidget;
class QUndoStack;

namespace navlog {
class LegTableModel;
}
namespace store {
class Services;
}
namespace map {
class RouteView;
}

namespace plan {

class AircraftPanel;
class PlanDocument;
class PlanEditor;
class RoutePanel;
class WindsPanel;
class BalancePanel;

class PlanWindow : public QWidget {
    Q_OBJECT
public:
    // A new plan, the aircraft from the saved defaults (TAS, fuel flow, fuel,
    // deviation).
    // services: the navigation data, the magnetic model, the airport file,
    // the data places and the preferences.
    PlanWindow(const FlightPlan& start, store::Services& services, QWidget* parent = nullptr);
    ~PlanWindow() override;

    // Opens a plan file (asking first when the plan on show has unsaved
    // changes), or a GPX or FPL route, whose waypoints replace the route as
    // one change in a new plan without a file. On failure says why and
    // keeps the plan on show.
    bool openFile(const QString& path);
    // Writes the plan to its file (asking for one the first time).
    bool save();
    // Asks where, then writes the plan there.
    bool saveAsked();
    bool saveAs(const QString& path);

    const FlightPlan& currentPlan() const;
    const ComputedPlan& computed() const;
    QUndoStack* undoStack() const;
    QTableWidget* waypointTable() const;
    QTableView* legTable() const { return m_legs; }
    BalancePanel* balancePanel() const { return m_balance; }
    QLineEdit* findBox() const;
    QLabel* fuelSummary() const { return m_fuel; }
    map::RouteView* routeView() const { return m_routeView; }
    const DecisionPoints& decisions() const;
    const QString& filePath() const;

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
    // The window's parts, each built and wired on its own.
    QLayout* legsPanel();
    QLayout* filesRow();
    void connectKeys();

    void planChanged(); // the editor's plan or its figures changed
    void fillLegs();
    void fillRecent();
    void message(const QString& text);
    void updateTitle();

    store::Services& m_services;
    const navdb::NavData& m_navData;
    WaypointResolver m_resolver;
    PlanEditor* m_editor = nullptr;
    PlanDocument* m_document = nullptr;

    navlog::LegTableModel* m_legModel = nullptr;
    QTableView* m_legs = nullptr;
    QLabel* m_fuel = nullptr;
    QLabel* m_decisions = nullptr;
    class BriefingPanel* m_briefing = nullptr;
    map::RouteView* m_routeView = nullptr;
    RoutePanel* m_route = nullptr;
    AircraftPanel* m_aircraft = nullptr;
    WindsPanel* m_windsPanel = nullptr;
    BalancePanel* m_balance = nullptr;
    QPushButton* m_recent = nullptr;
};

} // namespace plan
