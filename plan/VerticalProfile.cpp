#include "plan/VerticalProfile.h"

#include "core/Math.h"
#include "core/NumberText.h"
#include "core/Text.h"
#include "leg/LegCalc.h"

#include <cmath>

namespace plan {
namespace {

struct Position {
    int leg = 0;
    double intoNm = 0;
};

bool isBefore(const Position& a, const Position& b) {
    return a.leg < b.leg || (a.leg == b.leg && a.intoNm < b.intoNm);
}

// A climb or descent and where along the route it is flown.
struct Change {
    Phase phase = Phase::Climb;
    double fromFt = 0, toFt = 0;
    double minutes = 0, tasKt = 0, fuelFlowGph = 0;
    Position start, end;
};

QString feet(double ft) {
    return core::numberText(std::round(ft)) + QStringLiteral(" ft");
}

QString changeName(const Change& c) {
    return QStringLiteral("the %1 from %2 to %3")
        .arg(phaseText(c.phase), feet(c.fromFt), feet(c.toFt));
}

// The time, airspeed and fuel flow of a change from one altitude to another;
// false (why says) where the profile cannot tell.
bool rates(const AircraftProfile& p, double isaDeviationC, Change& c, QString* why) {
    if (c.toFt > c.fromFt) {
        c.phase = Phase::Climb;
        if (!p.climbTable.empty()) {
            const auto cost = tableClimb(p.climbTable, c.fromFt, c.toFt, isaDeviationC, why);
            if (!cost)
                return false;
            if (!(cost->minutes > 0) || !(cost->distanceNm > 0)) {
                *why = QStringLiteral("the climb table gives no time or distance for %1")
                           .arg(changeName(c));
                return false;
            }
            // The table's mean airspeed and fuel flow, to a tenth of a knot and
            // a hundredth of a gallon: figures a log can show, whose time and
            // fuel stay within a second and a spoonful of the table's.
            c.minutes = cost->minutes;
            c.tasKt = std::round(cost->distanceNm / cost->minutes * 600) / 10;
            c.fuelFlowGph = core::roundTo2Places(cost->fuelGal / cost->minutes * 60);
            return true;
        }
        if (!p.climbRate) {
            *why = QStringLiteral("the aircraft profile has no climb");
            return false;
        }
        c.minutes = (c.toFt - c.fromFt) / p.climbRate->rateFpm;
        c.tasKt = p.climbRate->tasKt;
        c.fuelFlowGph = p.climbRate->fuelFlowGph;
        return true;
    }
    c.phase = Phase::Descent;
    c.minutes = (c.fromFt - c.toFt) / p.descent.rateFpm;
    c.tasKt = p.descent.tasKt;
    c.fuelFlowGph = p.descent.fuelFlowGph;
    return true;
}

class Planner {
public:
    Planner(const AircraftProfile& profile, const VerticalInput& input, const WindOnLeg& windOn)
        : m_profile(profile), m_in(input), m_windOn(windOn),
          m_last(static_cast<int>(input.legs.size()) - 1) {}

    VerticalPlan plan();

private:
    double legNm(int leg) const { return m_in.legs[static_cast<std::size_t>(leg)].distanceNm; }
    bool groundSpeed(const Change& c, int leg, double* kt);
    bool forward(Change& c);
    bool backward(Change& c, const Position& notBefore);
    bool fail(int leg, const QString& why);
    void lay(const Position& from, const Position& to, LegPiece piece, const Change* change);
    void assemble();

    const AircraftProfile& m_profile;
    const VerticalInput& m_in;
    const WindOnLeg& m_windOn;
    const int m_last;
    std::vector<Change> m_changes;
    VerticalPlan m_out;
};

bool Planner::fail(int leg, const QString& why) {
    m_out.problem = why;
    m_out.problemLeg = leg;
    return false;
}

// The change's ground speed on a leg, in the wind at its mean altitude.
bool Planner::groundSpeed(const Change& c, int leg, double* kt) {
    const auto wind = m_windOn(leg, (c.fromFt + c.toFt) / 2);
    *kt = wind ? leg::groundSpeedKt(m_in.legs[static_cast<std::size_t>(leg)].courseDeg,
                                    wind->directionDeg, wind->speedKt, c.tasKt)
               : std::nan("");
    if (*kt > 0)
        return true;
    return fail(leg, wind ? QStringLiteral("%1 cannot be flown: the wind is too strong for its "
                                           "%2 kt")
                                .arg(changeName(c), core::numberText(std::round(c.tasKt)))
                          : QStringLiteral("%1 has no wind").arg(changeName(c)));
}

// From c.start on, as far as its time takes it.
bool Planner::forward(Change& c) {
    double leftMin = c.minutes;
    Position p = c.start;
    for (; p.leg <= m_last; p = Position{p.leg + 1, 0}) {
        double gs = 0;
        if (!groundSpeed(c, p.leg, &gs))
            return false;
        const double room = legNm(p.leg) - p.intoNm;
        const double need = gs * leftMin / 60;
        if (need <= room) {
            c.end = Position{p.leg, p.intoNm + need};
            return true;
        }
        leftMin -= room / gs * 60;
    }
    return fail(c.start.leg,
                QStringLiteral("%1 does not end before the destination (%2 min "
                               "of it are left there)")
                    .arg(changeName(c), core::numberText(core::roundTo2Places(leftMin))));
}

// Back from the destination, to end there; not before notBefore.
bool Planner::backward(Change& c, const Position& notBefore) {
    double leftMin = c.minutes;
    Position p{m_last, legNm(m_last)};
    for (;; p = Position{p.leg - 1, legNm(p.leg - 1)}) {
        double gs = 0;
        if (!groundSpeed(c, p.leg, &gs))
            return false;
        const double floor = p.leg == notBefore.leg ? notBefore.intoNm : 0;
        const double need = gs * leftMin / 60;
        if (need <= p.intoNm - floor) {
            c.start = Position{p.leg, p.intoNm - need};
            c.end = Position{m_last, legNm(m_last)};
            return true;
        }
        if (p.leg <= notBefore.leg)
            break;
        leftMin -= (p.intoNm - floor) / gs * 60;
    }
    return fail(m_last,
                QStringLiteral("%1 over the destination does not fit: it takes %2 min, more than "
                               "the route leaves after the climb")
                    .arg(changeName(c), core::numberText(core::roundTo2Places(c.minutes))));
}

VerticalPlan Planner::plan() {
    if (m_last < 0)
        return m_out;
    double level = m_in.departureFt;
    Position reached;
    for (int i = 0; i <= m_last; ++i) {
        const double target = m_in.legs[static_cast<std::size_t>(i)].altitudeFt;
        if (i == 0 && target < level) {
            fail(0, QStringLiteral("the leg is planned at %1, below the departure field's %2")
                        .arg(feet(target), feet(level)));
            return m_out;
        }
        if (target == level)
            continue;
        Change c;
        c.fromFt = level;
        c.toFt = target;
        QString why;
        if (!rates(m_profile, m_in.isaDeviationC ? m_in.isaDeviationC(target) : 0, c, &why)) {
            fail(i, why);
            return m_out;
        }
        c.start = isBefore(reached, Position{i, 0}) ? Position{i, 0} : reached;
        if (!forward(c))
            return m_out;
        m_changes.push_back(c);
        reached = c.end;
        level = target;
    }
    if (level > m_in.arrivalFt) {
        Change c;
        c.fromFt = level;
        c.toFt = m_in.arrivalFt;
        QString why;
        rates(m_profile, 0, c, &why);
        if (!backward(c, reached))
            return m_out;
        m_changes.push_back(c);
        m_out.topOfDescent = LevelChange{c.start.leg, c.start.intoNm, c.fromFt};
    }
    for (const Change& c : m_changes) {
        if (c.phase == Phase::Climb) {
            m_out.topOfClimb = LevelChange{c.end.leg, c.end.intoNm, c.toFt};
            break;
        }
    }
    assemble();
    return m_out;
}

QString startLabel(const Change& c) {
    return c.phase == Phase::Climb ? QStringLiteral("BOC") : QStringLiteral("TOD");
}

QString endLabel(const Change& c) {
    return c.phase == Phase::Climb ? QStringLiteral("TOC") : QStringLiteral("BOD");
}

// The pieces of the stretch from `from` to `to`, one per leg it crosses.
void Planner::lay(const Position& from, const Position& to, LegPiece piece, const Change* change) {
    for (int leg = from.leg; leg <= to.leg && leg <= m_last; ++leg) {
        const double length = legNm(leg);
        const double a = leg == from.leg ? core::roundTo2Places(from.intoNm) : 0;
        double b = leg == to.leg ? core::roundTo2Places(to.intoNm) : length;
        b = std::min(b, length);
        if (!(b - a >= 0.005))
            continue;
        LegPiece p = piece;
        p.startNm = a;
        p.endNm = b;
        if (a > 0 && leg == from.leg)
            p.fromLabel = piece.fromLabel;
        else
            p.fromLabel.clear();
        if (b < length && leg == to.leg)
            p.toLabel = piece.toLabel;
        else
            p.toLabel.clear();
        if (change && leg < to.leg && b >= length)
            p.note = QStringLiteral("%1 carries on into leg %2")
                         .arg(phaseText(change->phase))
                         .arg(leg + 2);
        m_out.legs[static_cast<std::size_t>(leg)].push_back(p);
    }
}

void Planner::assemble() {
    m_out.legs.assign(m_in.legs.size(), {});
    Position cursor;
    double level = m_in.departureFt;
    QString label; // of the point the cursor stands at
    auto cruiseTo = [&](const Position& to, const QString& toLabel) {
        const CruiseRow cruise = cruiseAt(m_profile, level);
        LegPiece p = cruisePiece(0, level, cruise.tasKt, cruise.fuelFlowGph);
        p.fromLabel = label;
        p.toLabel = toLabel;
        lay(cursor, to, p, nullptr);
    };
    for (const Change& c : m_changes) {
        // A change that begins where the one before ended keeps that point's name.
        const bool joined = !label.isEmpty() && !isBefore(cursor, c.start);
        cruiseTo(c.start, startLabel(c));
        LegPiece p;
        p.phase = c.phase;
        p.tasKt = c.tasKt;
        p.fuelFlowGph = c.fuelFlowGph;
        p.windAltitudeFt = (c.fromFt + c.toFt) / 2;
        p.altitudeFt = c.toFt;
        p.fromLabel = joined ? label : startLabel(c);
        p.toLabel = endLabel(c);
        lay(c.start, c.end, p, &c);
        cursor = c.end;
        level = c.toFt;
        label = endLabel(c);
    }
    cruiseTo(Position{m_last, legNm(m_last)}, QString());
}

} // namespace

QString phaseText(Phase phase) {
    switch (phase) {
    case Phase::Cruise:
        return QStringLiteral("cruise");
    case Phase::Climb:
        return QStringLiteral("climb");
    case Phase::Descent:
        return QStringLiteral("descent");
    }
    return {};
}

LegPiece cruisePiece(double distanceNm, double altitudeFt, double tasKt, double fuelFlowGph) {
    LegPiece p;
    p.endNm = distanceNm;
    p.tasKt = tasKt;
    p.fuelFlowGph = fuelFlowGph;
    p.windAltitudeFt = altitudeFt;
    p.altitudeFt = altitudeFt;
    return p;
}

VerticalPlan verticalPlan(const AircraftProfile& profile, const VerticalInput& input,
                          const WindOnLeg& windOn) {
    return Planner(profile, input, windOn).plan();
}

} // namespace plan
