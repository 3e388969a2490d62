#include "leg/LegDialog.h"

#include "core/Limits.h"
#include "core/NumberText.h"
#include "core/Text.h"
#include "course/CourseDialog.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/ConversionsDialog.h"
#include "dialogs/HelpDialog.h"
#include "leg/LegCalc.h"
#include "leg/LegDialogIds.h"
#include "navlog/NavLogWindow.h"
#include "plan/NewPlan.h"
#include "plan/PlanWindow.h"
#include "platform/MessageBox.h"
#include "platform/Resources.h"
#include "store/AirportDatabase.h"
#include "store/Defaults.h"
#include "store/Globals.h"
#include "store/Services.h"

#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

using namespace ids::leg;
constexpr int kSplashMilliseconds = 5000;

// The pickers show whole seconds; arithmetic starts from the same.
QDateTime wholeSeconds(const QDateTime& t) {
    const QTime time = t.time();
    return QDateTime(t.date(), QTime(time.hour(), time.minute(), time.second()), Qt::LocalTime);
}

namespace limits = core::limits;

// A field whose range is the program's limit for that figure.
void number(platform::DataExchange& dx, int id, double& value, const core::Limit& limit) {
    dx.number(id, value, limit.low, limit.high);
}

} // namespace

CLegDialog::CLegDialog(store::Services& services, QWidget* parent)
    : platform::Dialog(kTemplate, parent), m_services(services), m_navLog(services.tripLog()) {
    // A stray Escape must not end the program and lose the flight being planned.
    setEscapeCancels(false);
    onCommand(RUN, [this] { OnRun(); });
    onCommand(ABOUT, [this] { OnAbout(); });
    onCommand(RESET, [this] { OnReset(); });
    onCommand(TCBTN, [this] { OnTrueCourse(); });
    onCommand(SAVE, [this] { OnSave(); });
    onCommand(NEXT, [this] { OnNext(); });
    onCommand(HELP, [this] { OnHelp(); });
    onCommand(TOOLS, [this] { OnTools(); });
    onCommand(LOG, [this] { OnLog(); });
    onCommand(PLAN, [this] { OnPlan(); });
}

CLegDialog::~CLegDialog() {
    // A leg logged just before the window closed is still written.
    if (m_navLogSavePending)
        m_navLog.save();
}

void CLegDialog::DoDataExchange(platform::DataExchange& dx) {
    if (!m_btnNext) {
        m_btnNext = itemAs<QPushButton>(NEXT);
        m_btnRun = itemAs<QPushButton>(RUN);
        m_btnTC = itemAs<QPushButton>(TCBTN);
    }
    dx.number(CH, m_dCorrectedHeading);
    number(dx, DIST, m_dDistance, limits::kDistanceNm);
    dx.number(ETE, m_dETE);
    dx.number(FUSED, m_dFuelUsed);
    number(dx, FUEL, m_dFuel, limits::kFuelGal);
    number(dx, GPH, m_dGPH, limits::kFuelFlowGph);
    dx.number(GS, m_dGroundSpeed);
    number(dx, MD, m_dMagDeviation, limits::kDeviationDeg);
    dx.number(MH, m_dMagHeading);
    number(dx, TAS, m_dTAS, limits::kTasKt);
    number(dx, TC, m_dTrueCourse, limits::kCourseDeg);
    dx.number(TH, m_dTrueHeading);
    number(dx, VAR, m_dVariation, limits::kVariationDeg);
    dx.number(WCA, m_dWindCorrection);
    number(dx, WD, m_dWindDirection, limits::kWindDirectionDeg);
    number(dx, WV, m_dWindVelocity, limits::kWindSpeedKt);
    dx.number(BURNT, m_dTotalBurnt);
    dx.number(TOTDIST, m_dTotalDistance);
}

bool CLegDialog::OnInitDialog() {
    exchangeData(false);
    setWindowIcon(platform::applicationIcon());
    centerOnScreen();
    m_wndSplash.ShowSplash(kSplashMilliseconds);

    m_dTAS = 0;
    m_dFuel = 0;
    m_dGPH = 0;
    m_legs = leg::LegSequence();
    showTotals();

    LoadDefaults();
    if (m_services.airports().load() == store::AirportLoad::CannotOpen)
        message("Cannot open airports file!");
    if (!m_navLog.problem().isEmpty())
        platform::showMessage(this, m_navLog.problem());

    setDefaultMark(m_btnTC, true);
    m_btnTC->setFocus();
    exchangeData(false);
    return true;
}

void CLegDialog::message(const char* text) {
    platform::showMessage(this, QString::fromUtf8(text));
}

QDateTimeEdit* CLegDialog::picker(int id) const {
    return itemAs<QDateTimeEdit>(id);
}

void CLegDialog::OnRun() {
    // A field that could not be read has been reported and holds the focus:
    // computing now would use values the pilot did not enter.
    if (!exchangeData(true))
        return;
    if (m_dETE > 0) {
        message("Press 'Next'  or 'Reset' button first!");
        return;
    }
    if (m_dTAS < leg::kMinTasKt) {
        message("Enter correct TAS!");
        return;
    }

    leg::LegInput in;
    in.trueCourseDeg = m_dTrueCourse;
    in.windDirectionDeg = m_dWindDirection;
    in.windVelocityKt = m_dWindVelocity;
    in.tasKt = m_dTAS;
    in.variationDeg = m_dVariation;
    in.magDeviationDeg = m_dMagDeviation;
    in.distanceNm = m_dDistance;
    in.fuelFlowGph = m_dGPH;
    in.fuelGal = m_dFuel;
    const leg::LegResult r = m_legs.run(in);
    if (r.status != leg::LegStatus::Computed) {
        // Nothing is changed: the pilot corrects the wind or the airspeed.
        message("Wind too strong for this TAS!");
        return;
    }

    showTotals();
    if (r.fuelShort)
        message("You don't have enough fuel to complete this trip!");
    m_dFuel = r.fuelLeftGal;
    m_dTrueCourse = r.trueCourseDeg;
    m_dWindDirection = r.windDirectionDeg;
    m_dVariation = r.variationDeg;
    m_dFuelUsed = r.fuelUsedGal;
    m_dETE = r.eteMin;
    m_dWindCorrection = r.windCorrectionDeg;
    m_dCorrectedHeading = r.correctedHeadingDeg;
    m_dTrueHeading = r.trueHeadingDeg;
    m_dMagHeading = r.magHeadingDeg;
    m_dGroundSpeed = r.groundSpeedKt;

    setDefaultMark(m_btnRun, false);
    m_btnNext->setFocus();
    setDefaultMark(m_btnNext, true);
    exchangeData(false);
    ComputeArrivalTime(m_dETE);
    logLeg();
}

void CLegDialog::showTotals() {
    m_dTotalBurnt = m_legs.totalBurntGal();
    m_dTotalDistance = m_legs.totalDistanceNm();
}

void CLegDialog::ComputeArrivalTime(double ete) {
    const QDateTime out = wholeSeconds(picker(OUT)->dateTime());
    picker(ETA)->setDateTime(out.addSecs(leg::arrivalOffsetSeconds(ete)));
    exchangeData(false);
}

void CLegDialog::zeroLegResults() {
    m_dWindCorrection = 0;
    m_dTrueHeading = 0;
    m_dMagHeading = 0;
    m_dCorrectedHeading = 0;
    m_dGroundSpeed = 0;
    m_dETE = 0;
    m_dFuelUsed = 0;
}

void CLegDialog::ClearLegResults() {
    zeroLegResults();
    exchangeData(false);
}

void CLegDialog::OnNext() {
    picker(OUT)->setDateTime(wholeSeconds(picker(ETA)->dateTime()));
    setDefaultMark(m_btnNext, false);
    m_btnTC->setFocus();
    setDefaultMark(m_btnTC, true);
    exchangeData(false);
    ClearLegResults();
}

void CLegDialog::OnReset() {
    zeroLegResults();
    m_dTrueCourse = 0;
    m_dWindDirection = 0;
    m_dWindVelocity = 0;
    m_dDistance = 0;
    m_legs.reset();
    showTotals();
    const QDateTime now = QDateTime::currentDateTime();
    picker(OUT)->setDateTime(now);
    picker(ETA)->setDateTime(now);
    LoadDefaults();
    exchangeData(false);
    logNewTrip();
}

void CLegDialog::LoadDefaults() {
    store::Defaults d;
    switch (store::loadDefaultsFile(m_services.places(), d)) {
    case store::DefaultsLoad::CannotOpen:
        message("Cannot open congfiguration file!");
        return;
    case store::DefaultsLoad::Malformed:
        message("Error in congfiguration file!");
        return;
    case store::DefaultsLoad::Loaded:
        break;
    }
    m_legs.setHome({core::fromLatin1(d.homeAirport), {d.homeLatitude, d.homeLongitude}});
    m_dTAS = d.tas;
    m_dVariation = d.variation;
    m_dMagDeviation = d.magDeviation;
    m_dGPH = d.gph;
    m_dFuel = d.fuel;
}

void CLegDialog::OnSave() {
    if (!exchangeData(true))
        return;
    store::Defaults d;
    const leg::RouteEnd& homeEnd = m_legs.home();
    const auto home = core::toLatin1(homeEnd.airport);
    d.homeAirport = home.value_or(std::string());
    d.homeLatitude = homeEnd.position.latitudeDeg;
    d.homeLongitude = homeEnd.position.longitudeDeg;
    d.tas = m_dTAS;
    d.variation = m_dVariation;
    d.magDeviation = m_dMagDeviation;
    d.gph = m_dGPH;
    d.fuel = m_dFuel;
    if (!store::fitsDefaultsFile(d)) {
        // Only values far beyond the field limits get here; saving them would
        // leave a file that no longer loads.
        message("Defaults too large to save!");
        return;
    }
    if (!home || !store::loadsBack(d)) {
        // A code from a hand-edited file (a colon, a line end) or one the
        // file cannot hold would make the next start refuse the whole file.
        message("Home airport code cannot be saved!");
        return;
    }
    const auto status = store::saveDefaultsFile(m_services.places(), d);
    if (status == core::WriteStatus::Written)
        message("Defaults saved!");
    else
        message(core::writeFailureText(status, "congfiguration").c_str());
}

void CLegDialog::OnTrueCourse() {
    const leg::RouteEnd& home = m_legs.home();
    const leg::RouteEnd& arrival = m_legs.arrival();
    CCourseDialog dlg(m_services);
    dlg.m_dDepLatitude = home.position.latitudeDeg;
    dlg.m_dDepLongitude = home.position.longitudeDeg;
    dlg.m_dArrLatitude = arrival.position.latitudeDeg;
    dlg.m_dArrLongitude = arrival.position.longitudeDeg;
    dlg.m_strDepAirport = arrival.airport.isEmpty() ? home.airport : arrival.airport;
    dlg.m_strArrAirport = arrival.airport;
    if (dlg.runModal() != QDialog::Accepted)
        return;

    ClearLegResults();
    m_dDistance = dlg.m_dResultDistance;
    m_dTrueCourse = dlg.m_dResultCourse;
    // Only when the pilot ticked "Use" does the model's variation become Var.
    if (int nVarDeg = 0; dlg.VariationChosen(nVarDeg))
        m_dVariation = nVarDeg;

    platform::showMessage(
        this, QStringLiteral("True Course is: %1 degrees\nDistance is: %2 nautical miles")
                  .arg(QString::fromStdString(core::formatFixed(m_dTrueCourse, 2)),
                       QString::fromStdString(core::formatFixed(m_dDistance, 2))));
    m_dTrueCourse = core::roundHalfUp(m_dTrueCourse);
    // A leg flown on this course is logged between these airports.
    m_legs.takeRoute({dlg.m_strDepAirport, {dlg.m_dDepLatitude, dlg.m_dDepLongitude}},
                     {dlg.m_strArrAirport, {dlg.m_dArrLatitude, dlg.m_dArrLongitude}},
                     m_dTrueCourse);

    setDefaultMark(m_btnRun, true);
    m_btnRun->setFocus();
    setDefaultMark(m_btnTC, false);
    exchangeData(false);
}

void CLegDialog::OnTools() {
    CConversionsDialog dlg;
    dlg.runModal();
}

void CLegDialog::OnAbout() {
    CAboutDialog dlg;
    dlg.m_strDisclaimer = platform::loadString(1);
    dlg.runModal();
}

void CLegDialog::OnHelp() {
    CHelpDialog dlg;
    dlg.m_strEasyStart = platform::loadString(3);
    dlg.m_strShortcuts = platform::loadString(32781);
    dlg.runModal();
}

void CLegDialog::OnLog() {
    if (!m_navLogWindow)
        m_navLogWindow = std::make_unique<navlog::NavLogWindow>(m_services, this);
    m_navLogWindow->show();
    m_navLogWindow->raise();
    m_navLogWindow->activateWindow();
}

void CLegDialog::OnPlan(const QString& strPlanFile) {
    if (!m_planWindow) {
        // A new plan starts from the aircraft the saved defaults describe,
        // as on the command line, not from the fields (after a Run they
        // hold the fuel left).
        m_planWindow = std::make_unique<plan::PlanWindow>(
            plan::newPlan(m_services.places(), QDateTime::currentDateTime()), m_services, this);
    }
    if (!strPlanFile.isEmpty())
        m_planWindow->openFile(strPlanFile);
    m_planWindow->show();
    m_planWindow->raise();
    m_planWindow->activateWindow();
}

void CLegDialog::logLeg() {
    // The leg as the fields show it now: the chain's record of it, with the
    // pickers' times.
    navlog::LegFigures leg =
        navlog::legFigures(m_legs.legs().back(), {picker(OUT)->time()}, {picker(ETA)->time()});
    m_navLog.legComputed(std::move(leg), QDateTime::currentDateTime());
    if (m_navLogWindow)
        m_navLogWindow->refresh();
    // Written once the Run is done, so the press stays quick; several legs in
    // a row make one write.
    if (!m_navLogSavePending) {
        m_navLogSavePending = true;
        QTimer::singleShot(0, this, [this] { saveNavLog(); });
    }
}

void CLegDialog::logNewTrip() {
    m_navLog.reset();
    if (m_navLogWindow)
        m_navLogWindow->refresh();
}

void CLegDialog::saveNavLog() {
    m_navLogSavePending = false;
    const auto status = m_navLog.save();
    if (status != core::WriteStatus::Written)
        message(core::writeFailureText(status, "nav log").c_str());
}

void CLegDialog::OnCancel() {
    // Quitting ends the plan window too: a plan with unsaved changes is
    // asked about first, and Cancel there keeps the program open.
    if (m_planWindow && m_planWindow->isVisible() && !m_planWindow->close())
        return;
    endDialog(QDialog::Rejected);
}
