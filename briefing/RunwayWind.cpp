#include "briefing/RunwayWind.h"

#include <algorithm>
#include <cmath>

namespace briefing {
namespace {

constexpr double kRad = 3.14159265358979323846 / 180;

// "09L" -> 90 magnetic; none for a runway named otherwise ("N", "H1").
std::optional<double> numberHeading(const QString& ident) {
    int digits = 0;
    while (digits < ident.size() && digits < 2 && ident.at(digits).isDigit())
        ++digits;
    if (digits == 0)
        return std::nullopt;
    const int number = ident.left(digits).toInt();
    if (number < 1 || number > 36)
        return std::nullopt;
    return number * 10.0;
}

std::optional<RunwayComponents> componentsOf(const navdb::RunwayEnd& end, double variationWestDeg) {
    RunwayComponents r;
    r.ident = end.ident;
    r.surface = end.surface;
    r.hard = isHardSurface(end.surface);
    r.lengthFt = end.lengthFt;
    if (end.headingDegT) {
        r.headingDegT = *end.headingDegT;
    } else if (const auto magnetic = numberHeading(end.ident)) {
        r.headingDegT = std::fmod(*magnetic - variationWestDeg + 720, 360.0);
        r.headingFromNumber = true;
    } else {
        return std::nullopt;
    }
    return r;
}

void applyWind(RunwayComponents& r, const SurfaceWind& wind) {
    const double angle = (*wind.directionDegT - r.headingDegT) * kRad;
    r.headwindKt = wind.speedKt * std::cos(angle);
    const double across = std::sin(angle);
    r.crosswindKt = std::abs(wind.speedKt * across);
    r.gustCrosswindKt = std::abs(wind.gustKt.value_or(wind.speedKt) * across);
    // Within half a knot the wind is straight along the runway.
    if (r.gustCrosswindKt >= 0.5)
        r.crosswindSide = across > 0 ? QStringLiteral("right") : QStringLiteral("left");
}

// Most headwind (in whole knots), then a hard surface, then least crosswind.
bool better(const RunwayComponents& a, const RunwayComponents& b) {
    const long ha = std::lround(a.headwindKt), hb = std::lround(b.headwindKt);
    if (ha != hb)
        return ha > hb;
    if (a.hard != b.hard)
        return a.hard;
    return a.gustCrosswindKt < b.gustCrosswindKt;
}

} // namespace

bool isHardSurface(const QString& surface) {
    static const QStringList hard = {QStringLiteral("ASP"), QStringLiteral("CON"),
                                     QStringLiteral("BIT"), QStringLiteral("PEM"),
                                     QStringLiteral("TAR"), QStringLiteral("PAV")};
    const QString s = surface.trimmed().toUpper();
    return std::any_of(hard.begin(), hard.end(), [&](const QString& h) { return s.startsWith(h); });
}

RunwayWinds runwayWinds(const std::vector<navdb::RunwayEnd>& ends, const SurfaceWind& wind,
                        double variationWestDeg, std::optional<double> maxCrosswindKt) {
    RunwayWinds out;
    for (const navdb::RunwayEnd& end : ends) {
        if (auto r = componentsOf(end, variationWestDeg))
            out.runways.push_back(std::move(*r));
    }
    if (wind.calm()) {
        out.said = QStringLiteral("Calm: any runway.");
        return out;
    }
    const double strongest = wind.gustKt.value_or(wind.speedKt);
    if (wind.variable()) {
        out.said = QStringLiteral("Variable %1 kt: the crosswind may be up to %1 kt on any runway.")
                       .arg(std::lround(strongest));
        if (maxCrosswindKt && strongest > *maxCrosswindKt)
            out.warnings << QStringLiteral("A variable wind of %1 kt may exceed the aircraft's "
                                           "demonstrated crosswind of %2 kt.")
                                .arg(std::lround(strongest))
                                .arg(std::lround(*maxCrosswindKt));
        return out;
    }
    for (RunwayComponents& r : out.runways)
        applyWind(r, wind);
    if (out.runways.empty())
        return out;
    auto best = std::min_element(out.runways.begin(), out.runways.end(), better);
    best->favoured = true;
    if (maxCrosswindKt) {
        for (RunwayComponents& r : out.runways)
            r.beyondDemonstrated = r.gustCrosswindKt > *maxCrosswindKt;
        if (best->beyondDemonstrated)
            out.warnings << QStringLiteral("The crosswind on runway %1, %2 kt, exceeds the "
                                           "aircraft's demonstrated %3 kt.")
                                .arg(best->ident)
                                .arg(std::lround(best->gustCrosswindKt))
                                .arg(std::lround(*maxCrosswindKt));
    }
    return out;
}

} // namespace briefing
