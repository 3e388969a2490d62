#pragma once
// "Get True Course": departure and arrival positions, typed or picked from the
// airport database, give the initial true course and distance. Add stores the
// arrival position under a new identifier.

#include "magvar/MagneticVariation.h"
#include "platform/DataExchange.h"
#include "platform/Dialog.h"

#include <QString>

class QComboBox;

class CCourseDialog : public platform::Dialog {
    Q_OBJECT
public:
    explicit CCourseDialog(QWidget* parent = nullptr);

    void FillAirportLists();
    void SelectSavedAirports();
    void OnSelchangeDeparture();
    void OnSelchangeArrival();
    int SelectArrivalAirport(const QString& strId);
    void OnAdd();
    // The model's variation at the midpoint of the route the fields hold now,
    // shown under the buttons; "Use" offers it for the leg's Var.
    void UpdateVariation();
    // True when the pilot ticked "Use" for a variation the model gave.
    bool VariationChosen(int& nVarDeg) const;

    QString m_strArrAirport;
    QString m_strDepAirport;
    double m_dResultCourse = 0;
    double m_dResultDistance = 0;
    QComboBox* m_cbDeparture = nullptr;
    QComboBox* m_cbArrival = nullptr;
    double m_dDepLatitude = 0;
    double m_dDepLongitude = 0;
    double m_dArrLongitude = 0;
    double m_dArrLatitude = 0;
    QString m_strArrText;
    magvar::Variation m_variation;

protected:
    void exchange(platform::DataExchange& dx) override { DoDataExchange(dx); }
    bool initialise() override { return OnInitDialog(); }
    void okCommand() override { OnOK(); }
    void cancelCommand() override { OnCancel(); }

private:
    void DoDataExchange(platform::DataExchange& dx);
    bool OnInitDialog();
    void OnOK();
    void OnCancel();
    void message(const QString& text);
    // False (with a message, the field focused) when the latitude names no
    // place on the earth.
    bool latitudeIsPlace(int fieldId, double latitudeDeg);

    magvar::MagneticVariation m_magneticModel;
};
