#include "dialogs/HelpDialog.h"

#include "dialogs/HelpDialogIds.h"

CHelpDialog::CHelpDialog(QWidget* parent) : platform::Dialog(ids::help::kTemplate, parent) {}

void CHelpDialog::DoDataExchange(platform::DataExchange& dx) {
    dx.text(ids::help::EASY_START, m_strEasyStart);
    dx.text(ids::help::SHORTCUTS, m_strShortcuts);
}
