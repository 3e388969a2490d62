#include "dialogs/AboutDialog.h"

#include "dialogs/AboutDialogIds.h"

CAboutDialog::CAboutDialog(QWidget* parent) : platform::Dialog(ids::about::kTemplate, parent) {}

void CAboutDialog::DoDataExchange(platform::DataExchange& dx) {
    dx.text(ids::about::DISCLAIMER, m_strDisclaimer);
}
