#pragma once

// The application: runs the leg dialog as the main window and ends when it
// closes.
class CPlannerApp {
public:
    // Returns false: there is no message loop after the leg dialog's own.
    bool InitInstance();
};
