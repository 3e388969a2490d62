#include "app/PlannerApp.h"

#include "leg/LegDialog.h"
#include "platform/WindowRegistry.h"

bool CPlannerApp::InitInstance() {
    CLegDialog dlg;
    platform::setMainWindow(&dlg);
    dlg.runModal();
    platform::setMainWindow(nullptr);
    return false;
}
