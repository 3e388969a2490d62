#include "app/CommandLine.h"

#include "app/Console.h"

#include "app/PlanCommand.h"
#include "app/UpdateCommand.h"

#include "core/Files.h"
#include "core/NumberText.h"
#include "kneeboard/KneeboardPrint.h"
#include "navdb/NavDatabase.h"
#include "store/AirportDatabase.h"
#include "store/AirportImport.h"
#include "store/Globals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include <unistd.h>

namespace app {
namespace {

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
    say(stderr, QStringLiteral("%1: %2\nTry '%1 --help' for the options.\n")
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
// What an import did: "18 rows read from FILE", then a line a count.
using Counts = std::vector<std::pair<QString, int>>;
void printSummary(int rows, const QString& path, const Counts& counts) {
    QString summary = QStringLiteral("%1 rows read from %2\n").arg(rows).arg(path);
    for (const auto& [what, count] : counts)
        summary += QStringLiteral("  %1  %2\n").arg(count, 7).arg(what);
    say(stdout, summary);
}

// The whole of a file named on the command line, or none (having said why).
std::optional<QByteArray> readInput(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray bytes = file.readAll();
        if (file.error() == QFileDevice::NoError)
            return bytes;
    }
    say(stderr, QStringLiteral("%1: cannot read %2: %3\n")
                    .arg(QCoreApplication::applicationName(), path, file.errorString()));
    return std::nullopt;
}

int importAirportFile(const QString& csvPath, const store::ImportOptions& options) {
    const QString name = QCoreApplication::applicationName();
    const auto bytes = readInput(csvPath);
    if (!bytes)
        return 1;
    const store::ImportRead read = store::readOurAirports(bytes->toStdString(), options);
    if (!read.ok) {
        say(stderr, QStringLiteral("%1: %2 cannot be imported: %3. The airport file is "
                                   "unchanged.\n")
                        .arg(name, csvPath, read.error));
        return 1;
    }
    store::AirportDatabase& db = store::airportDatabase();
    db.setLockTimeout(30000); // another running copy holds the lock only briefly
    const auto result = db.appendNew(read.airports);
    if (result.status != core::WriteStatus::Written) {
        say(stderr, QStringLiteral("%1: %2 The airport file is unchanged.\n")
                        .arg(name, QString::fromStdString(
                                       core::writeFailureText(result.status, "airports"))));
        return 1;
    }
    Counts counts = {{QStringLiteral("added"), result.added},
                     {QStringLiteral("skipped: already in the airport file"), result.duplicates}};
    for (const auto& [reason, count] : read.skipped)
        counts.emplace_back(QStringLiteral("skipped: ") +
                                QString::fromLatin1(store::skipReasonText(reason)),
                            count);
    printSummary(read.rows, csvPath, counts);
    return 0;
}

// Imports one of OurAirports' files into the navigation database and says
// what it did: 0 done, 1 the file or the database failed (the database is
// then as it was).
int importNavData(const QString& csvPath, navdb::Table table, const navdb::ImportOptions& options,
                  const QString& databasePath) {
    const QString name = QCoreApplication::applicationName();
    const auto bytes = readInput(csvPath);
    if (!bytes)
        return 1;
    const std::string path = QFile::encodeName(databasePath).toStdString();
    if (!core::makeParentFolder(path)) {
        say(stderr, QStringLiteral("%1: cannot make the folder of %2\n").arg(name, databasePath));
        return 1;
    }
    QString problem;
    auto db = navdb::NavDatabase::open(path, true, &problem);
    if (!problem.isEmpty())
        say(stderr, QStringLiteral("%1: %2\n").arg(name, problem));
    if (!db)
        return 1;
    db->setBusyTimeout(30000); // another copy's import ends in seconds
    // Long files show how far the import is, on a terminal only.
    const bool terminal = ::isatty(STDERR_FILENO) && bytes->size() > (1 << 20);
    int shown = -1;
    const auto result =
        db->import(table, bytes->toStdString(), options, [&](std::size_t done, std::size_t total) {
            const int percent = total ? static_cast<int>(done * 100 / total) : 100;
            if (terminal && percent != shown) {
                shown = percent;
                say(stderr, QStringLiteral("\rreading %1: %2%").arg(csvPath).arg(percent));
            }
        });
    if (terminal)
        say(stderr, QStringLiteral("\n"));
    if (!result.ok) {
        say(stderr, QStringLiteral("%1: %2 cannot be imported: %3. The navigation database is "
                                   "unchanged.\n")
                        .arg(name, csvPath, result.error));
        return 1;
    }
    Counts counts = {{QStringLiteral("added"), result.added},
                     {QStringLiteral("replaced"), result.replaced}};
    for (const auto& [reason, count] : result.skipped)
        counts.emplace_back(QStringLiteral("skipped: ") + reason, count);
    printSummary(result.rows, csvPath, counts);
    return 0;
}

// Prints the best matches, one a line, tab-separated: kind, ident, name,
// town, country, latitude, longitude, and what it is beyond its name (a
// navaid's type and frequency, an airport's longest runway).
int find(const QString& text, int limit, const std::optional<core::GeoPoint>& near,
         const QString& databasePath) {
    const navdb::NavData data =
        databasePath.isEmpty()
            ? navdb::NavData::of(store::dataPlaces())
            : navdb::NavData(QFile::encodeName(databasePath).toStdString(), std::nullopt);
    if (!data.problem().isEmpty()) {
        say(stderr,
            QStringLiteral("%1: %2\n").arg(QCoreApplication::applicationName(), data.problem()));
        // The database asked for cannot be searched: no list at all rather
        // than an empty one that reads as "not found".
        if (!databasePath.isEmpty())
            return 1;
    }
    QString error;
    const std::vector<navdb::Place> found = data.search(text, limit, near, &error);
    if (!error.isEmpty()) {
        say(stderr, QStringLiteral("%1: %2\n").arg(QCoreApplication::applicationName(), error));
        return 1;
    }
    QString out;
    for (const navdb::Place& p : found) {
        out += QStringList{navdb::kindText(p.kind),
                           p.ident,
                           p.name,
                           p.municipality,
                           p.country,
                           QString::fromStdString(core::formatFixed(p.position.latitudeDeg, 6)),
                           QString::fromStdString(core::formatFixed(p.position.longitudeDeg, 6)),
                           navdb::placeDetail(p)}
                   .join(QLatin1Char('\t')) +
               QLatin1Char('\n');
    }
    say(stdout, out);
    return 0;
}

// The kneeboard's column keys, for --columns' help.
QString columnKeys() {
    QStringList keys;
    for (const kneeboard::Column* c : kneeboard::columns())
        keys << QLatin1String(c->paperKey);
    return keys.join(QStringLiteral(", "));
}

// An option of --plan that takes a value into the command.
struct PlanValue {
    QCommandLineOption option;
    std::optional<QString> PlanCommand::*member;
};

// Every option the program takes, beside Qt's own.
struct Options {
    const QCommandLineOption import{
        QStringLiteral("import-airports-fly"),
        QStringLiteral("Add the airports of an OurAirports airports.csv to your airport file "
                       "(airports.fly, 3-character codes), then end."),
        QStringLiteral("FILE.csv")};
    const QCommandLineOption importAirports{
        QStringLiteral("import-airports"),
        QStringLiteral("Import an OurAirports airports.csv into the navigation database, every "
                       "airport by its own code, then end."),
        QStringLiteral("FILE.csv")};
    const QCommandLineOption importNavaids{
        QStringLiteral("import-navaids"),
        QStringLiteral("Import an OurAirports navaids.csv into the navigation database."),
        QStringLiteral("FILE.csv")};
    const QCommandLineOption importRunways{
        QStringLiteral("import-runways"),
        QStringLiteral("Import an OurAirports runways.csv into the navigation database."),
        QStringLiteral("FILE.csv")};
    const QCommandLineOption importFrequencies{
        QStringLiteral("import-frequencies"),
        QStringLiteral("Import an OurAirports airport-frequencies.csv into the navigation "
                       "database."),
        QStringLiteral("FILE.csv")};
    const QCommandLineOption findOption{
        QStringLiteral("find"),
        QStringLiteral("Print the best matches for a code or name, one a line (kind, ident, name, "
                       "town, country, latitude, longitude), then end."),
        QStringLiteral("TEXT")};
    const QCommandLineOption near{
        QStringLiteral("near"),
        QStringLiteral("With --find: the nearest of equal matches first, from LAT,LON in "
                       "decimal degrees."),
        QStringLiteral("LAT,LON")};
    const QCommandLineOption limit{QStringLiteral("limit"),
                                   QStringLiteral("With --find: at most this many (default 10)."),
                                   QStringLiteral("N"), QStringLiteral("10")};
    const QCommandLineOption updateNavdata{
        QStringLiteral("update-navdata"),
        QStringLiteral("Download OurAirports' airports, navaids, runways and frequencies (from "
                       "BASE-URL, an argument after the options, else OurAirports' own) and "
                       "import them into the navigation database, all or nothing, then end.")};
    const QCommandLineOption database{
        QStringLiteral("database"),
        QStringLiteral("With an import, --update-navdata or --find: this navigation database "
                       "file instead of "
                       "navdata.sqlite in your data folder."),
        QStringLiteral("FILE")};
    const QCommandLineOption code{
        QStringLiteral("code"),
        QStringLiteral("With --import-airports-fly: the column that gives the identifier: ident "
                       "(the default), iata_code, local_code or gps_code. The airport file "
                       "holds 3-character identifiers only."),
        QStringLiteral("column"), QStringLiteral("ident")};
    const QCommandLineOption types{
        QStringLiteral("types"),
        QStringLiteral("With --import-airports, --import-airports-fly or --import-navaids: the "
                       "types to take, comma-separated (default for the database: all; for the "
                       "airport file: large_airport,medium_airport,small_airport; closed "
                       "airports never)."),
        QStringLiteral("list")};
    const QCommandLineOption country{
        QStringLiteral("country"),
        QStringLiteral("With an airport or navaid import: only these countries (iso_country), "
                       "e.g. US,CA."),
        QStringLiteral("list")};
    const QCommandLineOption region{
        QStringLiteral("region"),
        QStringLiteral("With an airport import: only these regions (iso_region), e.g. US-CA."),
        QStringLiteral("list")};
    const QCommandLineOption planOption{
        QStringLiteral("plan"),
        QStringLiteral("Compute a flight plan (a .skyplan file, a GPX route or a Garmin .fpl) "
                       "without a window and write it with --csv, --json or --pdf, or convert "
                       "it with --export-gpx or --export-fpl (OUT a path, or - for standard "
                       "output), then end."),
        QStringLiteral("FILE")};
    const QCommandLineOption csvOut{QStringLiteral("csv"),
                                    QStringLiteral("With --plan: the nav log as CSV."),
                                    QStringLiteral("OUT")};
    const QCommandLineOption jsonOut{QStringLiteral("json"),
                                     QStringLiteral("With --plan: every leg, the totals and the "
                                                    "fuel as JSON."),
                                     QStringLiteral("OUT")};
    const QCommandLineOption pdfOut{QStringLiteral("pdf"),
                                    QStringLiteral("With --plan: the kneeboard nav log as PDF."),
                                    QStringLiteral("OUT")};
    const std::vector<PlanValue> planValues = {
        {{QStringLiteral("tas"), QStringLiteral("With --plan: true airspeed, kt."),
          QStringLiteral("KT")},
         &PlanCommand::tas},
        {{QStringLiteral("gph"), QStringLiteral("With --plan: fuel flow, gal/h."),
          QStringLiteral("GPH")},
         &PlanCommand::gph},
        {{QStringLiteral("fuel"), QStringLiteral("With --plan: fuel on board at start-up, gal."),
          QStringLiteral("GAL")},
         &PlanCommand::fuel},
        {{QStringLiteral("taxi"), QStringLiteral("With --plan: taxi fuel, gal."),
          QStringLiteral("GAL")},
         &PlanCommand::taxi},
        {{QStringLiteral("reserve"), QStringLiteral("With --plan: final reserve, minutes."),
          QStringLiteral("MIN")},
         &PlanCommand::reserve},
        {{QStringLiteral("off"), QStringLiteral("With --plan: time off, HH:MM[:SS]."),
          QStringLiteral("TIME")},
         &PlanCommand::off},
        {{QStringLiteral("wind"), QStringLiteral("With --plan: one wind for every leg, DDD/KT."),
          QStringLiteral("DDD/KT")},
         &PlanCommand::wind},
        {{QStringLiteral("alt"),
          QStringLiteral("With --plan: one cruise altitude for every leg, ft (with --aircraft "
                         "the route climbs to it and descends from it)."),
          QStringLiteral("FT")},
         &PlanCommand::alt},
        {{QStringLiteral("var"),
          QStringLiteral("With --plan: one variation for every leg (west positive), instead of "
                         "the magnetic model."),
          QStringLiteral("DEG")},
         &PlanCommand::var},
        {{QStringLiteral("md"), QStringLiteral("With --plan: one compass deviation for every leg."),
          QStringLiteral("DEG")},
         &PlanCommand::md},
        {{QStringLiteral("aircraft"),
          QStringLiteral("With --plan: the aircraft profile (a JSON file, see the README): its "
                         "climb, cruise and descent, its weight and balance, and no more fuel "
                         "than it holds."),
          QStringLiteral("FILE")},
         &PlanCommand::aircraft},
        {{QStringLiteral("load"),
          QStringLiteral("With --aircraft: the load at its stations, e.g. \"Front "
                         "seats=340,Baggage 1=30\" (the profile's weight unit)."),
          QStringLiteral("LOADS")},
         &PlanCommand::load},
        {{QStringLiteral("metar"),
          QStringLiteral("With --plan: METAR reports, as text or a file; each goes to the plan's "
                         "airport it names."),
          QStringLiteral("TEXT|FILE")},
         &PlanCommand::metar},
        {{QStringLiteral("taf"),
          QStringLiteral("With --plan: TAF reports, as text or a file; each goes to the plan's "
                         "airport it names."),
          QStringLiteral("TEXT|FILE")},
         &PlanCommand::taf},
        {{QStringLiteral("winds-aloft"),
          QStringLiteral("With --plan and --station: a winds-aloft bulletin (the US FB text); "
                         "the station's levels become the plan's winds aloft."),
          QStringLiteral("FILE")},
         &PlanCommand::windsAloft},
        {{QStringLiteral("station"),
          QStringLiteral("With --winds-aloft: the bulletin's station to take."),
          QStringLiteral("ID")},
         &PlanCommand::station},
        {{QStringLiteral("zone"),
          QStringLiteral("With --plan: the zone of the plan's times, local or utc."),
          QStringLiteral("local|utc")},
         &PlanCommand::zone}};
    const QCommandLineOption gpxOut{QStringLiteral("export-gpx"),
                                    QStringLiteral("With --plan: the route as a GPX 1.1 file."),
                                    QStringLiteral("OUT")};
    const QCommandLineOption fplOut{QStringLiteral("export-fpl"),
                                    QStringLiteral("With --plan: the route as a Garmin flight "
                                                   "plan (.fpl)."),
                                    QStringLiteral("OUT")};
    const QCommandLineOption pageOption{
        QStringLiteral("page"),
        QStringLiteral("With --pdf: the kneeboard page (%1); the remembered one otherwise.")
            .arg(kneeboard::pageNames().join(QStringLiteral(", "))),
        QStringLiteral("PAGE")};
    const QCommandLineOption columnsOption{
        QStringLiteral("columns"),
        QStringLiteral("With --pdf: the kneeboard's columns, comma-separated (%1); the "
                       "remembered ones otherwise.")
            .arg(columnKeys()),
        QStringLiteral("KEYS")};
    const QCommandLineOption pictureOption{
        QStringLiteral("picture"),
        QStringLiteral("With --pdf: the route picture on a page of its own (page), beside the "
                       "log (beside) or not at all (none)."),
        QStringLiteral("WHERE")};

    void addTo(QCommandLineParser& parser) const {
        parser.addOptions({importAirports, importNavaids, importRunways, importFrequencies, import,
                           code, types, country, region, findOption, limit, near, database,
                           updateNavdata});
        parser.addOptions({planOption, csvOut, jsonOut, pdfOut, gpxOut, fplOut, pageOption,
                           columnsOption, pictureOption});
        for (const PlanValue& v : planValues)
            parser.addOption(v.option);
    }
};

// --plan and what goes with it: computes the plan without a window.
int planCommand(const QCommandLineParser& parser, const Options& o) {
    PlanCommand command;
    command.planPath = parser.value(o.planOption);
    command.csvOut = parser.value(o.csvOut);
    command.jsonOut = parser.value(o.jsonOut);
    command.pdfOut = parser.value(o.pdfOut);
    command.gpxOut = parser.value(o.gpxOut);
    command.fplOut = parser.value(o.fplOut);
    command.page = parser.value(o.pageOption);
    command.columns = parser.value(o.columnsOption);
    command.picture = parser.value(o.pictureOption);
    for (const QCommandLineOption* withPdf : {&o.pageOption, &o.columnsOption, &o.pictureOption}) {
        if (parser.isSet(*withPdf) && command.pdfOut.isEmpty())
            return usageError(
                QStringLiteral("--%1 goes with --pdf").arg(withPdf->names().constFirst()));
    }
    for (const PlanValue& v : o.planValues) {
        if (parser.isSet(v.option))
            command.*v.member = parser.value(v.option);
    }
    return runPlanCommand(command);
}

// An option that belongs to another one and came without it: the usage
// error naming it, or none.
std::optional<int> strayOption(const QCommandLineParser& parser,
                               std::initializer_list<const QCommandLineOption*> options,
                               const QString& goesWith) {
    for (const QCommandLineOption* only : options) {
        if (parser.isSet(*only))
            return usageError(
                QStringLiteral("--%1 goes with %2").arg(only->names().constFirst(), goesWith));
    }
    return std::nullopt;
}

// The navigation database to write: --database, else the user's.
QString navDatabasePath(const QCommandLineParser& parser, const Options& o) {
    return parser.isSet(o.database)
               ? parser.value(o.database)
               : QFile::decodeName(QByteArray::fromStdString(
                     store::dataPlaces().userFile(QLatin1String(navdb::kFileName))));
}

// An import into the navigation database, when one was asked for.
std::optional<int> navImport(const QCommandLineParser& parser, const Options& o) {
    const QString databasePath = navDatabasePath(parser, o);
    const std::pair<const QCommandLineOption*, navdb::Table> navImports[] = {
        {&o.importAirports, navdb::Table::Airports},
        {&o.importNavaids, navdb::Table::Navaids},
        {&o.importRunways, navdb::Table::Runways},
        {&o.importFrequencies, navdb::Table::Frequencies}};
    for (const auto& [option, table] : navImports) {
        if (!parser.isSet(*option))
            continue;
        const bool places = table == navdb::Table::Airports || table == navdb::Table::Navaids;
        if (parser.isSet(o.code))
            return usageError(QStringLiteral("--code goes with --import-airports-fly"));
        if (!places &&
            (parser.isSet(o.types) || parser.isSet(o.country) || parser.isSet(o.region))) {
            return usageError(QStringLiteral("--%1 takes no --types, --country or --region")
                                  .arg(option->names().constFirst()));
        }
        if (table == navdb::Table::Navaids && parser.isSet(o.region))
            return usageError(QStringLiteral("navaids have no region; use --country"));
        navdb::ImportOptions options;
        options.types = listOf(parser.value(o.types));
        if (options.types.contains(QStringLiteral("closed")))
            return usageError(QStringLiteral("closed airports are never imported"));
        options.countries = listOf(parser.value(o.country));
        options.regions = listOf(parser.value(o.region));
        return importNavData(parser.value(*option), table, options, databasePath);
    }
    return std::nullopt;
}

int findCommand(const QCommandLineParser& parser, const Options& o) {
    bool number = false;
    const int most = parser.value(o.limit).toInt(&number);
    if (!number || most < 1 || most > 1000)
        return usageError(QStringLiteral("--limit takes a number from 1 to 1000"));
    std::optional<core::GeoPoint> from;
    if (parser.isSet(o.near)) {
        const QStringList parts = parser.value(o.near).split(QLatin1Char(','));
        const auto lat = core::parseNumber(parts.value(0).trimmed().toStdString());
        const auto lon = core::parseNumber(parts.value(1).trimmed().toStdString());
        if (parts.size() != 2 || !lat || !lon || !core::isValidLatitude(*lat) ||
            std::fabs(*lon) > 180)
            return usageError(QStringLiteral("--near takes LAT,LON in decimal degrees, e.g. "
                                             "47.1,8.0"));
        from = core::GeoPoint{*lat, *lon};
    }
    return find(parser.value(o.findOption), most, from,
                parser.isSet(o.database) ? parser.value(o.database) : QString());
}

int airportFileImport(const QCommandLineParser& parser, const Options& o) {
    store::ImportOptions options;
    options.codeColumn = parser.value(o.code);
    if (!store::importCodeColumns().contains(options.codeColumn)) {
        return usageError(
            QStringLiteral("--code takes %1, not '%2'")
                .arg(store::importCodeColumns().join(QStringLiteral(", ")), options.codeColumn));
    }
    if (parser.isSet(o.types))
        options.types = listOf(parser.value(o.types));
    if (options.types.contains(QStringLiteral("closed")))
        return usageError(QStringLiteral("closed airports are never imported"));
    options.countries = listOf(parser.value(o.country));
    options.regions = listOf(parser.value(o.region));
    return importAirportFile(parser.value(o.import), options);
}

// What is left for the window: one plan or route file to open, or nothing.
std::optional<int> windowArguments(const QCommandLineParser& parser, QString* planFile) {
    const QStringList positional = parser.positionalArguments();
    static const QRegularExpression planName(QStringLiteral(R"(\.(skyplan|gpx|fpl)$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (positional.size() == 1 && planFile && planName.match(positional.constFirst()).hasMatch()) {
        *planFile = positional.constFirst();
        return std::nullopt;
    }
    if (!positional.isEmpty())
        return usageError(QStringLiteral("unexpected argument '%1'").arg(positional.constFirst()));
    return std::nullopt;
}

} // namespace

std::optional<int> handleCommandLine(const QStringList& arguments, QString* planFile) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Skyvane, a flight-leg planning calculator for pilots.\n"
                       "Without options it opens the leg dialog."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const Options o;
    o.addTo(parser);
    addQtOptions(parser);

    const QString name = QCoreApplication::applicationName();
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        // Without an application object yet Qt cannot know the program's name.
        say(stdout, parser.helpText().replace(QStringLiteral("<executable_name>"), name));
        return 0;
    }
    if (parser.isSet(version)) {
        say(stdout, QStringLiteral("%1 %2\n").arg(name, QCoreApplication::applicationVersion()));
        return 0;
    }
    if (parser.isSet(o.planOption))
        return planCommand(parser, o);
    const QString withPlan = QStringLiteral("--plan");
    if (auto stray = strayOption(parser,
                                 {&o.csvOut, &o.jsonOut, &o.pdfOut, &o.gpxOut, &o.fplOut,
                                  &o.pageOption, &o.columnsOption, &o.pictureOption},
                                 withPlan))
        return stray;
    for (const PlanValue& v : o.planValues) {
        if (auto stray = strayOption(parser, {&v.option}, withPlan))
            return stray;
    }
    if (auto imported = navImport(parser, o))
        return imported;
    if (parser.isSet(o.updateNavdata)) {
        const QStringList positional = parser.positionalArguments();
        if (positional.size() > 1)
            return usageError(QStringLiteral("--update-navdata takes one BASE-URL at most"));
        return runUpdateCommand(QFile::encodeName(navDatabasePath(parser, o)).toStdString(),
                                positional.value(0));
    }
    if (parser.isSet(o.findOption))
        return findCommand(parser, o);
    if (parser.isSet(o.import))
        return airportFileImport(parser, o);
    if (auto stray = strayOption(parser, {&o.code, &o.types, &o.country, &o.region},
                                 QStringLiteral("an import")))
        return stray;
    if (auto stray = strayOption(parser, {&o.limit, &o.database},
                                 QStringLiteral("--find, --update-navdata or an import")))
        return stray;
    return windowArguments(parser, planFile);
}

} // namespace app
