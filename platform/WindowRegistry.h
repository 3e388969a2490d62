#pragma once
// The application's main window: the owner of the splash screen, and what
// it repaints when it goes.

class QWidget;

namespace platform {

void setMainWindow(QWidget* window);
QWidget* mainWindow();

} // namespace platform
