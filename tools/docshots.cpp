// Makes the README's pictures: the leg dialog after the handbook's worked leg,
// the nav log window after a three-leg trip, and that trip's printed page as
// a PDF, the flight plan window, the plan's kneeboard page as a PDF and its
// route picture (PDFs turned into PNG with pdftoppm). Runs offscreen:
//   build/ci/tools/docshots docs/
#include "core/Files.h"
#include "kneeboard/KneeboardPrint.h"
#include "leg/LegDialog.h"
#include "leg/LegDialogIds.h"
#include "navlog/NavLogWindow.h"
#include "plan/PlanFile.h"
#include "plan/PlanWindow.h"
#include "platform/MessageBox.h"
#include "store/Globals.h"
#include "store/Services.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace ids::leg;

namespace {

void type(CLegDialog& dlg, int id, const char* text) {
    auto* field = dlg.itemAs<QLineEdit>(id);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QString::fromLatin1(text));
}

void click(CLegDialog& dlg, int id) {
    QTest::mouseClick(dlg.itemAs<QPushButton>(id), Qt::LeftButton);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    // The land outlines, as an install would have them.
    QDir(home.path()).mkpath(QStringLiteral("system/skyvane"));
    QFile::copy(QStringLiteral(SKYVANE_LAND),
                home.path() + QStringLiteral("/system/skyvane/land-50m.txt"));
    QFile::copy(QStringLiteral(SKYVANE_NAVDATA),
                home.path() + QStringLiteral("/system/skyvane/navdata.sqlite"));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(home.path() + QStringLiteral("/system")));
    store::useDataPlaces(core::DataPlaces::fromEnvironment());
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    platform::setMessageHook([](const QString&) {});

    store::Services services(store::dataPlaces());
    CLegDialog dlg(services);
    dlg.createModeless(nullptr);
    dlg.m_wndSplash.destroyWindow();
    const struct {
        const char *tc, *wd, *wv, *dist;
    } legs[] = {{"90", "45", "20", "50"}, {"135", "60", "15", "42.5"}, {"210", "270", "25", "61"}};
    dlg.itemAs<QDateTimeEdit>(OUT)->setTime(QTime(10, 0, 0));
    type(dlg, TAS, "110");
    type(dlg, VAR, "13");
    type(dlg, MD, "2");
    type(dlg, GPH, "8");
    type(dlg, FUEL, "40");
    bool first = true;
    for (const auto& leg : legs) {
        if (!first)
            click(dlg, NEXT);
        type(dlg, TC, leg.tc);
        type(dlg, WD, leg.wd);
        type(dlg, WV, leg.wv);
        type(dlg, DIST, leg.dist);
        click(dlg, RUN);
        if (first)
            dlg.grab().save(out + QStringLiteral("/leg-dialog.png"));
        first = false;
    }
    click(dlg, LOG);
    auto* window = dlg.findChild<navlog::NavLogWindow*>();
    window->resize(1100, 260);
    QApplication::processEvents();
    window->grab().save(out + QStringLiteral("/navlog-window.png"));
    core::writeFileSafely(
        QFile::encodeName(out + QStringLiteral("/navlog-page.pdf")).toStdString(),
        kneeboard::kneeboardPdf(
            kneeboard::tripSheet(*window->shownTrip(), window->reserveMinutes(), nullptr),
            *kneeboard::pageLayout(QStringLiteral("a5")), {})
            .toStdString());

    // The flight plan window with a three-leg flight over the Swiss plateau.
    plan::FlightPlan trip;
    trip.aircraft = {110, 8, 40, 1};
    trip.off = QDateTime(QDate(2026, 6, 1), QTime(10, 0, 0));
    trip.variationDeg = -3;
    trip.deviationDeg = 1;
    trip.windsAloft = {{3000, plan::Wind{250, 12}}, {6000, plan::Wind{270, 20}}};
    trip.waypoints = {
        plan::Waypoint{"Zürich Airport", "LSZH", {47.458056, 8.548056}, {}},
        plan::Waypoint{"Lake bridge", "", {47.2, 8.9}, {4500, {}, {}}},
        plan::Waypoint{
            "Bern-Belp Airport", "LSZB", {46.913419, 7.499747}, {5500, plan::Wind{280, 18}, {}}},
        plan::Waypoint{"Geneva Airport", "LSGG", {46.238098, 6.10895}, {6500, {}, {}}}};
    trip.alternate = plan::Waypoint{"Sion Airport", "LSGS", {46.219601, 7.32673}, {6500, {}, {}}};
    click(dlg, PLAN);
    auto* planWindow = dlg.planWindow();
    const QString planPath = home.path() + QStringLiteral("/swiss.skyplan");
    core::writeFileSafely(QFile::encodeName(planPath).toStdString(), plan::planJson(trip));
    planWindow->openFile(planPath);
    planWindow->resize(1400, 720);
    QApplication::processEvents();
    planWindow->grab().save(out + QStringLiteral("/plan-window.png"));
    // Its kneeboard page with the picture beside the log, and the picture.
    kneeboard::rememberPicture(kneeboard::PicturePlace::BesideLog);
    planWindow->savePdf(out + QStringLiteral("/plan-page.pdf"));
    planWindow->saveRoutePicture(out + QStringLiteral("/route-picture.png"));
    return 0;
}
