#pragma once
// The start-up picture over the leg dialog. It goes after its time-out, or at
// once on a key press or a mouse press (left, right or middle button)
// addressed to it; that press goes no further.

#include "platform/Dialog.h"

class CSplashDialog : public platform::Dialog {
    Q_OBJECT
public:
    CSplashDialog();

    // Shows the splash over the main window without waiting; false when there
    // is no enabled main window or the window cannot be made.
    bool ShowSplash(unsigned nTimeout);

    unsigned m_nTimeout = 0;

protected:
    bool initialise() override { return OnInitDialog(); }
    void windowTimer(int id) override { OnTimer(id); }
    bool preTranslate(QObject* target, QEvent* event) override {
        return PreTranslateMessage(target, event);
    }

private:
    bool OnInitDialog();
    void OnTimer(int nIDEvent);
    bool PreTranslateMessage(QObject* target, QEvent* event);
    void closeSplash();
};
