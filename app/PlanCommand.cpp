#include "app/PlanCommand.h"

#include "core/Files.h"
#include "core/Limits.h"
#include "core/NumberText.h"
#include "core/Wind.h"
#include "kneeboard/KneeboardPrint.h"
#include "magvar/MagneticVariation.h"
#include "map/RoutePicture.h"
#include "navdb/NavDatabase.h"
#include "navlog/LegColumns.h"
#include "plan/PlanFile.h"
#include "plan/RouteExchange.h"
#include "store/Defaults.h"
#include "store/Globals.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>

#include <cstdio>
#include <memory>

namespace app {
namespace {

void say(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

int refuse(const QString& text) {
    say(stderr, QStringLiteral("%1: %2\nTry '%1 --help' for the options.\n")
                    .arg(QCoreApplication::applicationName(), text));
    return 2;
}

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
    plan::FlightPlan p;
    p.waypoints = *route.waypoints;
    store::Defaults d;
    if (store::loadDefaultsFile(store::dataPlaces(), d) == store::DefaultsLoad::Loaded) {
        p.aircraft.tasKt = d.tas;
        p.aircraft.fuelFlowGph = d.gph;
        p.aircraft.fuelGal = d.fuel;
        p.deviationDeg = d.magDeviation;
    }
    const QTime now = QTime::currentTime();
    p.off = QDateTime(QDate::currentDate(), QTime(now.hour(), now.minute(), now.second()));
    out.plan = std::move(p);
    return out;
}

} // namespace

int runPlanCommand(const PlanCommand& c) {
    const QString name = QCoreApplication::applicationName();
    // The options first: a bad one changes and writes nothing.
    struct Option {
        const std::optional<QString>* text;
        const char* option;
        const core::Limit& limit;
        double* target;
    };
    QFile file(c.planPath);
    if (!file.open(QIODevice::ReadOnly)) {
        say(stderr,
            QStringLiteral("%1: cannot read %2: %3\n").arg(name, c.planPath, file.errorString()));
        return 1;
    }
    plan::PlanRead read = planFrom(file.readAll().toStdString());
    if (!read.plan) {
        say(stderr,
            QStringLiteral("%1: %2 cannot be opened: %3.\n").arg(name, c.planPath, read.error));
        return 1;
    }
    plan::FlightPlan& p = *read.plan;
    double reserve = p.fuel.reserveMin;
    namespace limits = core::limits;
    const Option options[] = {{&c.tas, "tas", limits::kTasKt, &p.aircraft.tasKt},
                              {&c.gph, "gph", limits::kFuelFlowGph, &p.aircraft.fuelFlowGph},
                              {&c.fuel, "fuel", limits::kFuelGal, &p.aircraft.fuelGal},
                              {&c.taxi, "taxi", limits::kTaxiGal, &p.aircraft.taxiGal},
                              {&c.reserve, "reserve", limits::kReserveMin, &reserve}};
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
    p.fuel.reserveMin = reserve;
    std::optional<QPageLayout> page;
    if (!c.page.isEmpty()) {
        page = kneeboard::pageLayout(c.page);
        if (!page)
            return refuse(QStringLiteral("--page takes %1, not '%2'")
                              .arg(kneeboard::pageNames().join(QStringLiteral(", ")), c.page));
    }
    std::optional<QStringList> columns;
    if (!c.columns.isEmpty()) {
        QString error;
        columns = kneeboard::parseColumns(c.columns, &error);
        if (!columns)
            return refuse(QStringLiteral("--columns: %1").arg(error));
    }
    std::optional<kneeboard::PicturePlace> picture;
    if (!c.picture.isEmpty()) {
        picture = kneeboard::picturePlace(c.picture);
        if (!picture)
            return refuse(
                QStringLiteral("--picture takes page, beside or none, not '%1'").arg(c.picture));
    }
    if (c.off) {
        const QTime time = QTime::fromString(*c.off, c.off->count(QLatin1Char(':')) == 2
                                                         ? QStringLiteral("H:mm:ss")
                                                         : QStringLiteral("H:mm"));
        if (!time.isValid())
            return refuse(QStringLiteral("--off takes HH:MM or HH:MM:SS, not '%1'").arg(*c.off));
        p.off.setTime(time);
    }
    if (c.wind) {
        const auto wind = core::parseWind(*c.wind);
        if (!wind)
            return refuse(
                QStringLiteral("--wind takes DDD/KT, e.g. 270/15, not '%1'").arg(*c.wind));
        for (plan::Waypoint& w : p.waypoints)
            w.leg.wind = *wind;
        if (p.alternate)
            p.alternate->leg.wind = *wind;
    }
    if (c.var) {
        const auto value = numberIn(c.var, core::limits::kVariationDeg);
        if (!value)
            return refuse(
                QStringLiteral("--var takes degrees from -360 to 360, not '%1'").arg(*c.var));
        p.variationDeg = *value;
        for (plan::Waypoint& w : p.waypoints)
            w.leg.variationDeg.reset();
        if (p.alternate)
            p.alternate->leg.variationDeg.reset();
    }
    if (c.md) {
        const auto value = numberIn(c.md, core::limits::kDeviationDeg);
        if (!value)
            return refuse(
                QStringLiteral("--md takes degrees from -360 to 360, not '%1'").arg(*c.md));
        p.deviationDeg = *value;
        p.deviationCard.reset();
    }
    if (p.waypoints.size() < 2) {
        say(stderr, QStringLiteral("%1: %2 has fewer than two waypoints.\n").arg(name, c.planPath));
        return 1;
    }

    const magvar::MagneticVariation model(magvar::findModelDir(store::dataPlaces()));
    const plan::ComputedPlan computed = plan::computePlan(p, &model);
    const navlog::Trip trip = plan::tripOf(computed, p.off);
    const int reserveMin = static_cast<int>(p.fuel.reserveMin);

    std::vector<std::pair<QString, std::string>> outputs;
    if (!c.csvOut.isEmpty())
        outputs.emplace_back(c.csvOut, navlog::tripCsv(trip, reserveMin));
    const plan::DecisionPoints points = plan::decisionPoints(p, computed, &model);
    if (!c.jsonOut.isEmpty())
        outputs.emplace_back(c.jsonOut, plan::computedPlanJson(p, computed, points));
    if (!c.gpxOut.isEmpty())
        outputs.emplace_back(c.gpxOut, plan::gpxOf(p));
    if (!c.fplOut.isEmpty())
        outputs.emplace_back(c.fplOut, plan::fplOf(p));
    if (!c.pdfOut.isEmpty()) {
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
        if (columns)
            options.columns = *columns;
        if (picture)
            options.picture = *picture;
        const map::RouteScene scene = map::routeScene(p, points, store::dataPlaces());
        options.drawPicture = [&scene](QPainter& painter, const QRectF& area) {
            map::drawRoute(painter, area, scene);
        };
        outputs.emplace_back(
            c.pdfOut,
            kneeboard::kneeboardPdf(kneeboard::planSheet(p, computed, points, &navData),
                                    page ? *page : kneeboard::rememberedPageLayout(), options)
                .toStdString());
    }
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
                    .arg(name, QString::fromStdString(core::writeFailureText(status, "output")),
                         path));
            return 1;
        }
    }
    if (outputs.empty())
        say(stdout, computed.fuel.verdict + QLatin1Char('\n'));
    return 0;
}

} // namespace app
