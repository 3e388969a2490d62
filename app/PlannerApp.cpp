#include "app/PlannerApp.h"

#include "leg/LegDialog.h"

bool CPlannerApp::InitInstance() {
    CLegDialog dlg;
    platform::setMainWindow(&dlg);
    dlg.runModal();
    platform::setMainWindow(nullptr);
    return false;
}
