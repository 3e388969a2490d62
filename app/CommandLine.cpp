#include "app/CommandLine.h"

#include "core/Files.h"
#include "store/AirportDatabase.h"
#include "store/AirportImport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace app {
namespace {

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Options that QApplication takes for itself; they must not count as unknown.
void addQtOptions(QCommandLineParser& parser) {
    const char* const withValue[] = {"platform",        "platformpluginpath",
                                     "platformtheme",   "plugin",
                                     "qwindowgeometry", "qwindowicon",
                                     "qwindowtitle",    "display",
                                     "geometry",        "style",
                                     "stylesheet",      "session",
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

// A refused command line: what is wrong and where to look, exit code 2.
int usageError(const QString& text) {
    print(stderr, QStringLiteral("%1: %2\nTry '%1 --help' for the options.\n")
                      .arg(QCoreApplication::applicationName(), text));
    return 2;
}

QStringList listOf(const QString& value) {
    QStringList out;
    for (const QString& item : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
        out << item.trimmed();
    return out;
}

// Imports an OurAirports CSV into the user's airport file and says what it
// did. 0: done; 1: the file could not be read, was malformed, or the airport
// file could not be written (it is then as it was); 2: a bad option value.
int importAirports(const QString& csvPath, const store::ImportOptions& options) {
    const QString name = QCoreApplication::applicationName();
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly)) {
        print(stderr,
              QStringLiteral("%1: cannot read %2: %3\n").arg(name, csvPath, csv.errorString()));
        return 1;
    }
    const QByteArray bytes = csv.readAll();
    if (csv.error() != QFileDevice::NoError) {
        print(stderr,
              QStringLiteral("%1: cannot read %2: %3\n").arg(name, csvPath, csv.errorString()));
        return 1;
    }
    const store::ImportRead read = store::readOurAirports(bytes.toStdString(), options);
    if (!read.ok) {
        print(stderr, QStringLiteral("%1: %2 cannot be imported: %3. The airport file is "
                                     "unchanged.\n")
                          .arg(name, csvPath, read.error));
        return 1;
    }
    store::AirportDatabase& db = store::airportDatabase();
    db.setLockTimeout(30000); // another running copy holds the lock only briefly
    const auto result = db.appendNew(read.airports);
    if (result.status != core::WriteStatus::Written) {
        print(stderr, QStringLiteral("%1: %2 The airport file is unchanged.\n")
                          .arg(name, QString::fromStdString(
                                         core::writeFailureText(result.status, "airports"))));
        return 1;
    }
    QString summary = QStringLiteral("%1 rows read from %2\n").arg(read.rows).arg(csvPath);
    auto line = [&summary](const QString& what, int count) {
        summary += QStringLiteral("  %1  %2\n").arg(count, 7).arg(what);
    };
    line(QStringLiteral("added"), result.added);
    line(QStringLiteral("skipped: already in the airport file"), result.duplicates);
    for (const auto& [reason, count] : read.skipped)
        line(QStringLiteral("skipped: ") + QString::fromLatin1(store::skipReasonText(reason)),
             count);
    print(stdout, summary);
    return 0;
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
    const QCommandLineOption import(
        QStringLiteral("import-airports"),
        QStringLiteral("Add the airports of an OurAirports airports.csv to your airport file, "
                       "then end."),
        QStringLiteral("FILE.csv"));
    const QCommandLineOption code(
        QStringLiteral("code"),
        QStringLiteral("With --import-airports: the column that gives the identifier: ident "
                       "(the default), iata_code, local_code or gps_code. The airport file "
                       "holds 3-character identifiers only."),
        QStringLiteral("column"), QStringLiteral("ident"));
    const QCommandLineOption types(
        QStringLiteral("types"),
        QStringLiteral("With --import-airports: the types to take, comma-separated (default: "
                       "large_airport,medium_airport,small_airport; closed ones never)."),
        QStringLiteral("list"));
    const QCommandLineOption country(
        QStringLiteral("country"),
        QStringLiteral("With --import-airports: only these countries (iso_country), e.g. US,CA."),
        QStringLiteral("list"));
    const QCommandLineOption region(
        QStringLiteral("region"),
        QStringLiteral("With --import-airports: only these regions (iso_region), e.g. US-CA."),
        QStringLiteral("list"));
    parser.addOptions({import, code, types, country, region});
    addQtOptions(parser);

    const QString name = QCoreApplication::applicationName();
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        // Without an application object yet Qt cannot know the program's name.
        print(stdout, parser.helpText().replace(QStringLiteral("<executable_name>"), name));
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("%1 %2\n").arg(name, QCoreApplication::applicationVersion()));
        return 0;
    }
    if (parser.isSet(import)) {
        store::ImportOptions options;
        options.codeColumn = parser.value(code);
        if (!store::importCodeColumns().contains(options.codeColumn)) {
            return usageError(QStringLiteral("--code takes %1, not '%2'")
                                  .arg(store::importCodeColumns().join(QStringLiteral(", ")),
                                       options.codeColumn));
        }
        if (parser.isSet(types))
            options.types = listOf(parser.value(types));
        if (options.types.contains(QStringLiteral("closed")))
            return usageError(QStringLiteral("closed airports are never imported"));
        options.countries = listOf(parser.value(country));
        options.regions = listOf(parser.value(region));
        return importAirports(parser.value(import), options);
    }
    for (const QCommandLineOption* only : {&code, &types, &country, &region}) {
        if (parser.isSet(*only)) {
            return usageError(
                QStringLiteral("--%1 goes with --import-airports").arg(only->names().constFirst()));
        }
    }
    if (!parser.positionalArguments().isEmpty()) {
        return usageError(QStringLiteral("unexpected argument '%1'")
                              .arg(parser.positionalArguments().constFirst()));
    }
    return std::nullopt;
}

} // namespace app
