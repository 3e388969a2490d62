#pragma once
// Two panels of the plan window, each showing its part of the plan being
// edited and handing the pilot's changes to the editor: the aircraft and
// fuel (with the time off, the deviation and the variation), and the winds
// aloft.

#include <QGroupBox>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimeEdit;

namespace plan {

class PlanEditor;

// A button of the plan window: Enter in a field never presses it.
QPushButton* plainButton(const QString& text);

class AircraftPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit AircraftPanel(PlanEditor& editor, QWidget* parent = nullptr);
    // Shows the plan's figures, without making changes of them.
    void fill();

private:
    void connectFields();
    void cardEdited();

    PlanEditor& m_editor;
    bool m_filling = false;
    QDoubleSpinBox *m_tas = nullptr, *m_gph = nullptr, *m_fuelOnBoard = nullptr, *m_taxi = nullptr,
                   *m_reserve = nullptr, *m_contingency = nullptr, *m_extra = nullptr,
                   *m_deviation = nullptr, *m_variation = nullptr;
    QTimeEdit* m_off = nullptr;
    QLineEdit* m_card = nullptr;
    QCheckBox* m_useModel = nullptr;
};

class WindsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit WindsPanel(PlanEditor& editor, QWidget* parent = nullptr);
    void fill();

private:
    void edited();

    PlanEditor& m_editor;
    bool m_filling = false;
    QTableWidget* m_winds = nullptr;
};

} // namespace plan
