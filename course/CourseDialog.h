#pragma once
// "Get True Course": departure and arrival positions, typed or picked from the
// airport database, give the initial true course and distance. Add stores the
// arrival position under a new identifier.

#include "magvar/MagneticVariation.h"
#include "navdb/NavDatabase.h"
#include "platform/DataExchange.h"
#include "platform/Dialog.h"

#include <QString>

#include <vector>

class QComboBox;
namespace store {
class AirportDatabase;
class Services;
} // namespace store

class CCourseDialog : public platform::Dialog {
    Q_OBJECT
public:
    // services: the magnetic model, the navigation data and the airport file.
    explicit CCourseDialog(const store::Services& services, QWidget* parent = nullptr);

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
    // A place of the navigation database chosen in a Find box: its position
    // fills that side's fields and its identifier becomes the leg's From or To.
    void OnFound(bool bDeparture, const navdb::Place& place);

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

    // The Find boxes: what the pilot types is looked up in the navigation
    // database and offered in a list; only a choice from it fills anything.
    void setUpFinder(int id, bool departure);

    const magvar::MagneticVariation& m_magneticModel;
    const navdb::NavData& m_navData;
    store::AirportDatabase& m_airports;
};
