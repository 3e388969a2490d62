#include "app/BriefingOptions.h"

#include "app/Console.h"
#include "briefing/Briefing.h"
#include "briefing/Report.h"
#include "briefing/WindsBulletin.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace app {
namespace {

// The option's text, or the file it names; none (said) when the file
// cannot be read.
std::optional<QString> textOrFile(const QString& value, const char* option) {
    const QFileInfo info(value);
    if (!info.isFile())
        return value;
    const std::optional<QString> text = briefing::readWeatherFile(value);
    if (!text)
        refuse(QStringLiteral("--%1: %2 cannot be read").arg(QLatin1String(option), value));
    return text;
}

// Each report to the airport (departure, destination, alternate) it names.
std::optional<int> applyReports(const QString& text, const char* option, plan::FlightPlan& p) {
    const bool taf = QLatin1String(option) == QLatin1String("taf");
    const briefing::ReportsPlaced placed = briefing::placeReports(
        text, taf ? briefing::ReportKind::Taf : briefing::ReportKind::Metar, p);
    if (!placed.unreadable.isEmpty())
        return refuse(QStringLiteral("--%1: \"%2\" names no station")
                          .arg(QLatin1String(option), placed.unreadable.first()));
    if (!placed.elsewhere.isEmpty())
        return refuse(QStringLiteral("--%1: the report of %2 is for none of the plan's airports")
                          .arg(QLatin1String(option), placed.elsewhere.first()));
    return std::nullopt;
}

std::optional<int> applyWindsAloft(const PlanCommand& c, plan::FlightPlan& p) {
    if (c.station && !c.windsAloft)
        return refuse(QStringLiteral("--station needs --winds-aloft"));
    if (!c.windsAloft)
        return std::nullopt;
    if (!c.station)
        return refuse(QStringLiteral("--winds-aloft needs --station"));
    const auto text = textOrFile(*c.windsAloft, "winds-aloft");
    if (!text)
        return 1;
    const briefing::BulletinRead read = briefing::decodeWindsBulletin(*text);
    if (!read.bulletin)
        return refuse(QStringLiteral("--winds-aloft: %1").arg(read.error));
    for (const briefing::StationWinds& s : read.bulletin->stations) {
        if (s.station.compare(*c.station, Qt::CaseInsensitive) != 0)
            continue;
        p.windsAloft = briefing::windRowsOf(s);
        if (p.windsAloft.empty())
            return refuse(QStringLiteral("--winds-aloft: %1 has no wind decoded").arg(s.station));
        for (const briefing::LevelWind& level : s.levels)
            if (!level.problem.isEmpty())
                say(stderr, QStringLiteral("%1: %2 ft left out: %3\n")
                                .arg(QCoreApplication::applicationName())
                                .arg(level.altitudeFt)
                                .arg(level.problem));
        return std::nullopt;
    }
    return refuse(QStringLiteral("--station: the bulletin has no station %1").arg(*c.station));
}

} // namespace

std::optional<int> applyBriefing(const PlanCommand& c, plan::FlightPlan& p) {
    if (c.zone) {
        if (*c.zone != QLatin1String("local") && *c.zone != QLatin1String("utc"))
            return refuse(QStringLiteral("--zone: \"%1\" is not local or utc").arg(*c.zone));
        p.zone = *c.zone == QLatin1String("utc") ? plan::PlanZone::Utc : plan::PlanZone::Local;
    }
    if (p.waypoints.size() < 2)
        return std::nullopt; // said by the plan command
    for (const auto& [value, option] : {std::pair{&c.metar, "metar"}, std::pair{&c.taf, "taf"}}) {
        if (!*value)
            continue;
        const auto text = textOrFile(**value, option);
        if (!text)
            return 1;
        if (auto refused = applyReports(*text, option, p))
            return refused;
    }
    return applyWindsAloft(c, p);
}

} // namespace app
