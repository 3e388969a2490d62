#include "dialogs/AboutDialog.h"

CAboutDialog::CAboutDialog(QWidget* parent) : platform::Dialog(129, parent) {}

void CAboutDialog::DoDataExchange(platform::DataExchange& dx) {
    dx.text(1001, m_strDisclaimer);
}
