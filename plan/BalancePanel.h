#pragma once
// The plan window's aircraft and its weight and balance: the profile the
// plan is flown with (a box of the profile files, accessible name
// "Aircraft"), the load at each of its stations in a table typed into, the
// verdict at ramp, takeoff and landing, and its picture (saved as PNG or SVG).

#include <QGroupBox>

class QComboBox;
class QLabel;
class QTableWidget;

namespace core {
class DataPlaces;
}

namespace plan {

class AircraftEditor;
class BalanceView;
class PlanEditor;

class BalancePanel : public QGroupBox {
    Q_OBJECT
public:
    // places: where the profile files are looked for.
    BalancePanel(PlanEditor& editor, const core::DataPlaces& places, QWidget* parent = nullptr);
    // Shows the plan's aircraft, loads and verdict, without making changes.
    void fill();

    QComboBox* aircraftBox() const { return m_aircraft; }
    QTableWidget* loadTable() const { return m_loads; }
    QLabel* verdict() const { return m_verdict; }
    BalanceView* picture() const { return m_picture; }
    // The profile editor, with the plan's aircraft (else the first file's).
    AircraftEditor* openEditor();

private:
    void fillChoices();
    void chosen(int index);
    void loadEdited();

    PlanEditor& m_editor;
    const core::DataPlaces& m_places;
    bool m_filling = false;
    QComboBox* m_aircraft = nullptr;
    QTableWidget* m_loads = nullptr;
    QLabel* m_verdict = nullptr;
    BalanceView* m_picture = nullptr;
    AircraftEditor* m_editorWindow = nullptr; // made when first asked for
};

} // namespace plan
