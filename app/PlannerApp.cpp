#include "app/PlannerApp.h"

#include "leg/LegDialog.h"
#include "platform/WindowRegistry.h"
#include "store/Globals.h"
#include "store/Services.h"

#include <QTimer>

bool CPlannerApp::InitInstance() {
    // The program's data, owned here for the whole run and handed to each
    // window as it opens.
    store::Services services(store::dataPlaces());
    CLegDialog dlg(services);
    platform::setMainWindow(&dlg);
    if (!m_strPlanFile.isEmpty())
        QTimer::singleShot(0, &dlg, [&dlg, this] { dlg.OnPlan(m_strPlanFile); });
    dlg.runModal();
    platform::setMainWindow(nullptr);
    return false;
}
