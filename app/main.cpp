#include "app/PlannerApp.h"
#include "platform/Resources.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("skyvane"));
    QApplication::setWindowIcon(platform::applicationIcon());
    CPlannerApp theApp;
    theApp.InitInstance();
    return 0;
}
