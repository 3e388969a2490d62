#include "app/PlanCommand.h"

#include "app/BriefingOptions.h"
#include "app/Console.h"
#include "briefing/Briefing.h"
#include "briefing/BriefingText.h"

#include "core/Files.h"
#include "core/Limits.h"
#include "core/NumberText.h"
#include "core/Text.h"
#include "core/Wind.h"
#include "kneeboard/KneeboardPrint.h"
#include "magvar/MagneticVariation.h"
#include "map/RoutePicture.h"
#include "navdb/NavDatabase.h"
#include "navlog/LegColumns.h"
#include "plan/AircraftProfile.h"
#include "plan/BalancePicture.h"
#include "plan/NewPlan.h"
#include "plan/PlanFile.h"
#include "plan/RouteExchange.h"
#include "plan/WaypointResolver.h"
#include "plan/WeightBalance.h"
#include "store/Globals.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace app {
namespace {

std::optional<double> numberIn(const std::optional<QString>& text, const core::Limit& limit) {
    const auto value = core::parseNumber(text->toStdString());
    if (!value || !limit.contains(*value))
        return std::nullopt;
    return value;
}

// A plan file as it is; a GPX or FPL route with the aircraft of the saved
// defaults and the time now.
plan::PlanRead planFrom(const std::string& bytes) {
    if (plan::formatOf(bytes) == plan::RouteFormat::Plan)
        return plan::readPlan(bytes);
    const plan::RouteRead route = plan::readRoute(bytes);
    plan::PlanRead out;
    if (!route.waypoints) {
        out.error = route.error;
        return out;
    }
    if (!route.note.isEmpty())
        say(stderr,
            QStringLiteral("%1: %2\n").arg(QCoreApplication::applicationName(), route.note));
    plan::FlightPlan p = plan::newPlan(store::dataPlaces(), QDateTime::currentDateTime());
    p.waypoints = *route.waypoints;
    out.plan = std::move(p);
    return out;
}

// The file's plan, or the exit code of a file that cannot be read.
std::optional<plan::FlightPlan> readPlanFile(const QString& path, int* exitCode) {
    const QString name = QCoreApplication::applicationName();
    *exitCode = 1;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        say(stderr, QStringLiteral("%1: cannot read %2: %3\n").arg(name, path, file.errorString()));
        return std::nullopt;
    }
    if (const QString big = plan::routeFileSizeProblem(file.size()); !big.isEmpty()) {
        say(stderr, QStringLiteral("%1: %2 cannot be opened: %3.\n").arg(name, path, big));
        return std::nullopt;
    }
    plan::PlanRead read = planFrom(file.readAll().toStdString());
    if (!read.plan) {
        say(stderr, QStringLiteral("%1: %2 cannot be opened: %3.\n").arg(name, path, read.error));
        return std::nullopt;
    }
    *exitCode = 0;
    return read.plan;
}

// The aircraft and fuel options into the plan; the refusal's exit code of
// a value outside its limits.
std::optional<int> applyAircraft(const PlanCommand& c, plan::FlightPlan& p) {
    struct Option {
        const std::optional<QString>* text;
        const char* option;
        const core::Limit& limit;
        double* target;
    };
    namespace limits = core::limits;
    const Option options[] = {{&c.tas, "tas", limits::kTasKt, &p.aircraft.tasKt},
                              {&c.gph, "gph", limits::kFuelFlowGph, &p.aircraft.fuelFlowGph},
                              {&c.fuel, "fuel", limits::kFuelGal, &p.aircraft.fuelGal},
                              {&c.taxi, "taxi", limits::kTaxiGal, &p.aircraft.taxiGal},
                              {&c.reserve, "reserve", limits::kReserveMin, &p.fuel.reserveMin}};
    for (const Option& o : options) {
        if (!*o.text)
            continue;
        const auto value = numberIn(*o.text, o.limit);
        if (!value)
            return refuse(QStringLiteral("--%1 takes a number from %2 to %3, not '%4'")
                              .arg(QLatin1String(o.option))
                              .arg(o.limit.low)
                              .arg(o.limit.high)
                              .arg(**o.text));
        *o.target = *value;
    }
    return std::nullopt;
}

// Every leg's wind and variation, the deviation and the time off.
std::optional<int> applyConditions(const PlanCommand& c, plan::FlightPlan& p) {
    if (c.off) {
        const QTime time = QTime::fromString(*c.off, c.off->count(QLatin1Char(':')) == 2
                                                         ? QStringLiteral("H:mm:ss")
                                                         : QStringLiteral("H:mm"));
        if (!time.isValid())
            return refuse(QStringLiteral("--off takes HH:MM or HH:MM:SS, not '%1'").arg(*c.off));
        p.off.setTime(time);
    }
    std::vector<plan::Waypoint*> arrivals;
    for (plan::Waypoint& w : p.waypoints)
        arrivals.push_back(&w);
    if (p.alternate)
        arrivals.push_back(&*p.alternate);
    if (c.wind) {
        const auto wind = core::parseWind(*c.wind);
        if (!wind)
            return refuse(
                QStringLiteral("--wind takes DDD/KT, e.g. 270/15, not '%1'").arg(*c.wind));
        for (plan::Waypoint* w : arrivals)
            w->leg.wind = *wind;
    }
    if (c.alt) {
        const auto value = numberIn(c.alt, core::limits::kAltitudeFt);
        if (!value)
            return refuse(QStringLiteral("--alt takes feet from %1 to %2, not '%3'")
                              .arg(core::limits::kAltitudeFt.low)
                              .arg(core::limits::kAltitudeFt.high)
                              .arg(*c.alt));
        for (plan::Waypoint* w : arrivals)
            w->leg.altitudeFt = *value;
    }
    if (c.var) {
        const auto value = numberIn(c.var, core::limits::kVariationDeg);
        if (!value)
            return refuse(
                QStringLiteral("--var takes degrees from -360 to 360, not '%1'").arg(*c.var));
        p.variationDeg = *value;
        for (plan::Waypoint* w : arrivals)
            w->leg.variationDeg.reset();
    }
    if (c.md) {
        const auto value = numberIn(c.md, core::limits::kDeviationDeg);
        if (!value)
            return refuse(
                QStringLiteral("--md takes degrees from -360 to 360, not '%1'").arg(*c.md));
        p.deviationDeg = *value;
        p.deviationCard.reset();
    }
    return std::nullopt;
}

// "Front seats=340,Baggage 1=30": each station by its name (case does not
// count), each weight within the limits; none and why when one is not.
std::optional<std::vector<double>> loadsOf(const QString& text,
                                           const plan::AircraftProfile& profile, QString* why) {
    std::vector<double> loads(profile.stations.size(), 0);
    QStringList known;
    for (const plan::Station& s : profile.stations)
        known << s.name;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = part.section(QLatin1Char('='), 0, 0).trimmed();
        const auto station = std::find_if(known.begin(), known.end(), [&name](const QString& k) {
            return k.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (station == known.end()) {
            *why = QStringLiteral("--load: no station '%1' (the stations: %2)")
                       .arg(name, known.join(QStringLiteral(", ")));
            return std::nullopt;
        }
        const auto weight = numberIn(part.section(QLatin1Char('='), 1), core::limits::kWeight);
        if (!part.contains(QLatin1Char('=')) || !weight) {
            *why = QStringLiteral("--load takes STATION=WEIGHT, the weight from 0 to %1, not '%2'")
                       .arg(core::limits::kWeight.high)
                       .arg(part.trimmed());
            return std::nullopt;
        }
        loads[static_cast<std::size_t>(station - known.begin())] = *weight;
    }
    return loads;
}

// The aircraft of --aircraft (else the plan file's own) and the loads of
// --load into the plan; the exit code of a profile that cannot be read, a
// load refused or more fuel than the aircraft holds.
std::optional<int> applyProfile(const PlanCommand& c, plan::FlightPlan& p) {
    if (c.aircraft) {
        const plan::ProfileRead read = plan::readProfileFile(*c.aircraft);
        if (!read.profile) {
            say(stderr, QStringLiteral("%1: the aircraft %2 cannot be read: %3.\n")
                            .arg(QCoreApplication::applicationName(), *c.aircraft, read.error));
            return 1;
        }
        p.profile = *read.profile;
        p.stationLoads.assign(p.profile->stations.size(), 0);
    }
    if (c.load) {
        if (!p.profile)
            return refuse(QStringLiteral("--load goes with an aircraft (--aircraft)"));
        QString why;
        const auto loads = loadsOf(*c.load, *p.profile, &why);
        if (!loads)
            return refuse(why);
        p.stationLoads = *loads;
    }
    if (const QString tanks = plan::tanksProblem(p); !tanks.isEmpty())
        return refuse(tanks);
    return std::nullopt;
}

// The kneeboard's page, columns and picture place as the options choose them.
struct PrintChoices {
    std::optional<QPageLayout> page;
    std::optional<QStringList> columns;
    std::optional<kneeboard::PicturePlace> picture;
};

std::optional<int> readPrintChoices(const PlanCommand& c, PrintChoices& out) {
    if (!c.page.isEmpty()) {
        out.page = kneeboard::pageLayout(c.page);
        if (!out.page)
            return refuse(QStringLiteral("--page takes %1, not '%2'")
                              .arg(kneeboard::pageNames().join(QStringLiteral(", ")), c.page));
    }
    if (!c.columns.isEmpty()) {
        QString error;
        out.columns = kneeboard::parseColumns(c.columns, &error);
        if (!out.columns)
            return refuse(QStringLiteral("--columns: %1").arg(error));
    }
    if (!c.picture.isEmpty()) {
        out.picture = kneeboard::picturePlace(c.picture);
        if (!out.picture)
            return refuse(
                QStringLiteral("--picture takes page, beside or none, not '%1'").arg(c.picture));
    }
    return std::nullopt;
}

// The kneeboard PDF of the computed plan.
std::string planPdf(const plan::FlightPlan& p, const plan::ComputedPlan& computed,
                    const plan::DecisionPoints& points, const PrintChoices& choices) {
    // Fonts and the PDF writer need a GUI application, not a display.
    std::unique_ptr<QGuiApplication> gui;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static char program[] = "skyvane";
        static char* arguments[] = {program, nullptr};
        static int count = 1;
        gui = std::make_unique<QGuiApplication>(count, arguments);
    }
    const navdb::NavData navData = navdb::NavData::of(store::dataPlaces());
    kneeboard::PrintOptions options = kneeboard::rememberedOptions();
    if (choices.columns)
        options.columns = *choices.columns;
    if (choices.picture)
        options.picture = *choices.picture;
    const map::RouteScene scene = map::routeScene(p, points, store::dataPlaces());
    options.drawPicture = [&scene](QPainter& painter, const QRectF& area) {
        map::drawRoute(painter, area, scene);
    };
    options.drawBalance = plan::balanceDrawing(p, computed);
    return kneeboard::kneeboardPdf(kneeboard::planSheet(p, computed, points, &navData),
                                   choices.page ? *choices.page : kneeboard::rememberedPageLayout(),
                                   options)
        .toStdString();
}

// The plan's JSON with its "briefing" and the zone its times are in.
std::string withBriefing(QJsonObject root, const plan::FlightPlan& p, const briefing::Briefing& b) {
    root.insert(QStringLiteral("timeZone"), plan::zoneName(p.off, p.zone));
    root.insert(QStringLiteral("briefing"), briefing::briefingJson(b));
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

// Writes each output, "-" to standard output; 1 at the first that fails.
int writeOutputs(const std::vector<std::pair<QString, std::string>>& outputs) {
    for (const auto& [path, bytes] : outputs) {
        if (path == QLatin1String("-")) {
            std::fwrite(bytes.data(), 1, bytes.size(), stdout);
            std::fflush(stdout);
            continue;
        }
        const auto status = core::writeFileSafely(QFile::encodeName(path).toStdString(), bytes);
        if (status != core::WriteStatus::Written) {
            say(stderr,
                QStringLiteral("%1: %2 (%3)\n")
                    .arg(QCoreApplication::applicationName(),
                         QString::fromStdString(core::writeFailureText(status, "output")), path));
            return 1;
        }
    }
    return 0;
}

} // namespace

int runPlanCommand(const PlanCommand& c) {
    // The options first: a bad one changes and writes nothing.
    int exitCode = 0;
    std::optional<plan::FlightPlan> read = readPlanFile(c.planPath, &exitCode);
    if (!read)
        return exitCode;
    plan::FlightPlan& p = *read;
    PrintChoices choices;
    if (auto refused = applyAircraft(c, p))
        return *refused;
    if (auto refused = readPrintChoices(c, choices))
        return *refused;
    if (auto refused = applyConditions(c, p))
        return *refused;
    if (auto refused = applyProfile(c, p))
        return *refused;
    if (auto refused = applyBriefing(c, p))
        return *refused;
    // Where the climb starts and the descent ends, and the briefing's
    // density altitude.
    const navdb::NavData navData = navdb::NavData::of(store::dataPlaces());
    plan::fillFieldElevations(p.waypoints, navData);
    if (p.alternate) {
        std::vector<plan::Waypoint> alternate{*p.alternate};
        plan::fillFieldElevations(alternate, navData);
        p.alternate = alternate.front();
    }
    if (p.waypoints.size() < 2) {
        say(stderr, QStringLiteral("%1: %2 has fewer than two waypoints.\n")
                        .arg(QCoreApplication::applicationName(), c.planPath));
        return 1;
    }

    const magvar::MagneticVariation model(magvar::findModelDir(store::dataPlaces()));
    const plan::ComputedPlan computed = plan::computePlan(p, &model);
    const plan::DecisionPoints points = plan::decisionPoints(p, computed, &model);
    const std::optional<plan::WeightAndBalance> balance = plan::planBalance(p, computed);
    std::vector<std::pair<QString, std::string>> outputs;
    if (!c.csvOut.isEmpty())
        outputs.emplace_back(c.csvOut, navlog::tripCsv(plan::tripOf(computed, p.off),
                                                       static_cast<int>(p.fuel.reserveMin)));
    if (!c.jsonOut.isEmpty())
        outputs.emplace_back(c.jsonOut,
                             withBriefing(plan::computedPlanObject(computed, points, balance), p,
                                          briefing::briefingOf(p, computed, &navData, &model)));
    QString unwritable;
    for (const auto& [out, writer] :
         {std::pair{&c.gpxOut, &plan::gpxOf}, std::pair{&c.fplOut, &plan::fplOf}}) {
        if (out->isEmpty())
            continue;
        const auto bytes = writer(p, &unwritable);
        if (!bytes) {
            say(stderr, QStringLiteral("%1: %2 cannot be written: %3.\n")
                            .arg(QCoreApplication::applicationName(), *out, unwritable));
            return 1;
        }
        outputs.emplace_back(*out, *bytes);
    }
    if (!c.pdfOut.isEmpty())
        outputs.emplace_back(c.pdfOut, planPdf(p, computed, points, choices));
    if (const int failed = writeOutputs(outputs))
        return failed;
    if (outputs.empty())
        say(stdout, computed.fuel.verdict + QLatin1Char('\n') + plan::enduranceText(p) +
                        QLatin1Char('\n') +
                        (balance ? QStringLiteral("Weight and balance: %1\n").arg(balance->verdict)
                                 : QString()));
    // A route converted for another planner carries no figures to doubt.
    const bool figures =
        outputs.empty() || !c.csvOut.isEmpty() || !c.jsonOut.isEmpty() || !c.pdfOut.isEmpty();
    if (figures && !computed.complete()) {
        // Written all the same, each saying so, but never taken for a plan.
        say(stderr,
            QStringLiteral("%1: %2 %3\n")
                .arg(QCoreApplication::applicationName(), c.planPath, computed.fuel.verdict));
        return kCannotBePlanned;
    }
    return 0;
}

} // namespace app
