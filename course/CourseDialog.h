#pragma once
// "Get True Course": departure and arrival positions, typed or picked from the
// airport database, give the initial true course and distance. Add stores the
// arrival position under a new identifier.

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
};
