#include "app/CommandLine.h"
#include "app/PlannerApp.h"
#include "platform/Resources.h"
#include "store/Globals.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("skyvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SKYVANE_VERSION));
    // Where the data files are, once, for everything that reads or writes one.
    store::useDataPlaces(core::DataPlaces::fromEnvironment());
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString planFile;
    if (const auto exitCode = app::handleCommandLine(arguments, &planFile))
        return *exitCode;

    QApplication app(argc, argv);
    // The desktop matches the window to its entry, the About box and the
    // desktop agree on name and version.
    QGuiApplication::setDesktopFileName(QStringLiteral(SKYVANE_DESKTOP_ID));
    QApplication::setWindowIcon(platform::applicationIcon());
    CPlannerApp theApp;
    theApp.m_strPlanFile = planFile;
    theApp.InitInstance();
    return 0;
}
