#pragma once
// "Help": the quick start and the list of abbreviations.

#include "platform/DataExchange.h"
#include "platform/Dialog.h"

#include <QString>

class CHelpDialog : public platform::Dialog {
    Q_OBJECT
public:
    explicit CHelpDialog(QWidget* parent = nullptr);
    QString m_strEasyStart;
    QString m_strShortcuts;

protected:
    void exchange(platform::DataExchange& dx) override { DoDataExchange(dx); }

private:
    void DoDataExchange(platform::DataExchange& dx);
};
