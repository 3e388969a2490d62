#include "app/PlannerApp.h"

#include "leg/LegDialog.h"
#include "platform/WindowRegistry.h"

#include <QTimer>

bool CPlannerApp::InitInstance() {
    CLegDialog dlg;
    platform::setMainWindow(&dlg);
    if (!m_strPlanFile.isEmpty())
        QTimer::singleShot(0, &dlg, [&dlg, this] { dlg.OnPlan(m_strPlanFile); });
    dlg.runModal();
    platform::setMainWindow(nullptr);
    return false;
}
