#include "platform/WindowRegistry.h"

#include <QPointer>
#include <QWidget>

namespace platform {
namespace {
QPointer<QWidget> g_mainWindow;
}

void setMainWindow(QWidget* window) {
    g_mainWindow = window;
}

QWidget* mainWindow() {
    return g_mainWindow;
}

} // namespace platform
