#include "dialogs/SplashDialog.h"

#include "dialogs/SplashDialogIds.h"
#include "platform/WindowRegistry.h"

#include <QEvent>
#include <QMouseEvent>

namespace {
constexpr int kSplashTimer = 1;
} // namespace

CSplashDialog::CSplashDialog() : platform::Dialog(ids::splash::kTemplate) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAccessibleName(QStringLiteral("Skyvane"));
}

bool CSplashDialog::ShowSplash(unsigned nTimeout) {
    m_nTimeout = nTimeout;
    QWidget* main = platform::mainWindow();
    if (!main || !main->isEnabled())
        return false;
    if (!createModeless(main))
        return false;
    startWindowTimer(kSplashTimer, static_cast<int>(m_nTimeout));
    activateWindow();
    repaint();
    main->repaint();
    return true;
}

bool CSplashDialog::OnInitDialog() {
    centerOverParent();
    return true;
}

void CSplashDialog::closeSplash() {
    destroyWindow();
    if (QWidget* main = platform::mainWindow())
        main->repaint();
}

void CSplashDialog::OnTimer(int) {
    if (windowExists())
        closeSplash();
}

bool CSplashDialog::PreTranslateMessage(QObject*, QEvent* event) {
    if (!windowExists())
        return false;
    bool press = event->type() == QEvent::KeyPress;
    if (event->type() == QEvent::MouseButtonPress) {
        const auto button = static_cast<QMouseEvent*>(event)->button();
        press = button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton;
    }
    if (!press)
        return false;
    closeSplash();
    return true;
}
