#pragma once
// "About": product, version, icon and the disclaimer.

#include "platform/DataExchange.h"
#include "platform/Dialog.h"

#include <QString>

class CAboutDialog : public platform::Dialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent = nullptr);
    QString m_strDisclaimer;

protected:
    void exchange(platform::DataExchange& dx) override { DoDataExchange(dx); }

private:
    void DoDataExchange(platform::DataExchange& dx);
};
