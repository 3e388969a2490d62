#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace app {
namespace {

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Options that QApplication takes for itself; they must not count as unknown.
void addQtOptions(QCommandLineParser& parser) {
    const char* const withValue[] = {"platform", "platformpluginpath", "platformtheme",
                                     "plugin",   "qwindowgeometry",    "qwindowicon",
                                     "qwindowtitle", "display",        "geometry",
                                     "style",    "stylesheet",         "session",
                                     "qmljsdebugger"};
    const char* const flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    for (const char* name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

std::optional<int> handleCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Skyvane, a flight-leg planning calculator for pilots.\n"
                       "Without options it opens the leg dialog."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    addQtOptions(parser);

    const QString name = QCoreApplication::applicationName();
    if (!parser.parse(arguments)) {
        print(stderr, QStringLiteral("%1: %2\nTry '%1 --help' for the options.\n")
                          .arg(name, parser.errorText()));
        return 2;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        // Without an application object yet Qt cannot know the program's name.
        print(stdout, parser.helpText().replace(QStringLiteral("<executable_name>"), name));
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("%1 %2\n").arg(name, QCoreApplication::applicationVersion()));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr, QStringLiteral("%1: unexpected argument '%2'\nTry '%1 --help' for the "
                                     "options.\n")
                          .arg(name, parser.positionalArguments().constFirst()));
        return 2;
    }
    return std::nullopt;
}

} // namespace app
