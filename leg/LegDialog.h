#pragma once
// The leg dialog, the application's main window: one leg's inputs, the
// results Run computes for it and the running totals of the flight.

#include "dialogs/SplashDialog.h"
#include "leg/LegSequence.h"
#include "navlog/TripLog.h"
#include "platform/DataExchange.h"
#include "platform/Dialog.h"

#include <QString>

#include <memory>

class QDateTimeEdit;
class QPushButton;
namespace navlog {
class NavLogWindow;
}
namespace plan {
class PlanWindow;
}
namespace store {
class Services;
}

class CLegDialog : public platform::Dialog {
    Q_OBJECT
public:
    // services: the program's data, for this dialog and the windows it opens.
    explicit CLegDialog(store::Services& services, QWidget* parent = nullptr);
    ~CLegDialog() override;

    // Button handlers.
    void OnRun();
    void OnNext();
    void OnReset();
    void OnTrueCourse();
    void OnSave();
    void OnTools();
    void OnAbout();
    void OnHelp();
    void OnLog();
    // Opens the flight plan window (beside this one), with the plan file
    // when one is named.
    void OnPlan(const QString& strPlanFile = QString());
    plan::PlanWindow* planWindow() const { return m_planWindow.get(); }

    void ClearLegResults();
    void ComputeArrivalTime(double ete);
    void LoadDefaults();

    // The leg record: inputs...
    double m_dTrueCourse = 0;
    double m_dWindDirection = 0;
    double m_dWindVelocity = 0;
    double m_dTAS = 0;
    double m_dVariation = 0;
    double m_dMagDeviation = 0;
    double m_dDistance = 0;
    double m_dGPH = 0;
    double m_dFuel = 0;
    // ...and outputs.
    double m_dWindCorrection = 0;
    double m_dTrueHeading = 0;
    double m_dMagHeading = 0;
    double m_dCorrectedHeading = 0;
    double m_dGroundSpeed = 0;
    double m_dETE = 0;
    double m_dFuelUsed = 0;
    // The chain's totals as the fields show them (the chain owns them).
    double m_dTotalBurnt = 0;
    double m_dTotalDistance = 0;

    // The chain of legs of this flight, with its totals and the route memory.
    const leg::LegSequence& legs() const { return m_legs; }

    QPushButton* m_btnRun = nullptr;
    QPushButton* m_btnNext = nullptr;
    QPushButton* m_btnTC = nullptr;
    CSplashDialog m_wndSplash;

    store::Services& m_services;
    // The nav log: every computed leg of the trip, and its window once opened.
    navlog::TripLog& m_navLog;
    std::unique_ptr<navlog::NavLogWindow> m_navLogWindow;
    std::unique_ptr<plan::PlanWindow> m_planWindow;

protected:
    void exchange(platform::DataExchange& dx) override { DoDataExchange(dx); }
    bool initialise() override { return OnInitDialog(); }
    void cancelCommand() override { OnCancel(); }

private:
    void DoDataExchange(platform::DataExchange& dx);
    bool OnInitDialog();
    void OnCancel();
    void message(const char* text);
    void zeroLegResults();
    void showTotals();
    // What the nav log is told: a leg that Run computed, and a new trip.
    void logLeg();
    void logNewTrip();
    void saveNavLog();
    bool m_navLogSavePending = false;
    leg::LegSequence m_legs;
    QDateTimeEdit* picker(int id) const;
};
