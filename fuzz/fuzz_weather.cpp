// Any text pasted as weather: a METAR, a TAF, a winds-aloft bulletin. The
// decoders never crash, keep within their bounds, and what they take holds:
// a wind's direction within the circle, a TAF's periods inside its validity,
// a bulletin's levels one per level, and a group decoded twice the same.
#include "briefing/Report.h"
#include "briefing/WindsBulletin.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void checkConditions(const briefing::Conditions& c) {
    if (c.wind && c.wind->directionDeg &&
        !(*c.wind->directionDeg >= 0 && *c.wind->directionDeg <= 360))
        std::abort();
    if (c.visibility && !(c.visibility->metres >= 0 && std::isfinite(c.visibility->metres)))
        std::abort();
    briefing::categoryOf(c);
    briefing::conditionsText(c);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QDate near(2026, 12, 8);
    const briefing::MetarRead metar = briefing::decodeMetar(text, near);
    if (metar.metar)
        checkConditions(metar.metar->now);
    else if (metar.error.isEmpty())
        std::abort(); // every refusal says why
    const briefing::TafRead taf = briefing::decodeTaf(text, near);
    if (taf.taf && !taf.taf->nil) {
        for (const briefing::TafPeriod& p : taf.taf->periods) {
            checkConditions(p.conditions);
            if (p.kind == briefing::TafPeriod::Kind::From && p.to > taf.taf->validTo &&
                p.from < taf.taf->validTo)
                std::abort();
        }
        briefing::periodsAt(*taf.taf, QDateTime(near, QTime(12, 0), Qt::UTC));
    }
    const briefing::BulletinRead bulletin = briefing::decodeWindsBulletin(text);
    if (bulletin.bulletin) {
        for (const briefing::StationWinds& s : bulletin.bulletin->stations) {
            if (s.levels.size() != bulletin.bulletin->levelsFt.size())
                std::abort();
            for (const briefing::LevelWind& l : s.levels) {
                if (l.wind && !(l.wind->directionDeg >= 0 && l.wind->directionDeg <= 360 &&
                                l.wind->speedKt >= 0 && l.wind->speedKt <= 199))
                    std::abort();
                const briefing::LevelWind again = briefing::decodeLevel(l.text, l.altitudeFt);
                if (again.wind != l.wind || again.temperatureC != l.temperatureC)
                    std::abort();
            }
        }
    }
    return 0;
}
