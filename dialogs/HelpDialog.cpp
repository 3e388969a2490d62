#include "dialogs/HelpDialog.h"

CHelpDialog::CHelpDialog(QWidget* parent) : platform::Dialog(132, parent) {}

void CHelpDialog::DoDataExchange(platform::DataExchange& dx) {
    dx.text(1033, m_strEasyStart);
    dx.text(1034, m_strShortcuts);
}
