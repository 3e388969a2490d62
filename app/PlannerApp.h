#pragma once

// The application: runs the leg dialog as the main window and ends when it
// closes.
#include <QString>

class CPlannerApp {
public:
    // A plan file named on the command line, opened in the plan window.
    QString m_strPlanFile;

    // Returns false: there is no message loop after the leg dialog's own.
    bool InitInstance();
};
