#pragma once
// The weight and balance picture: the profile's envelopes with the ramp,
// takeoff and landing points, joined by the line the fuel burn draws, on
// axes labelled in the profile's units. Drawn beside the plan and saved as
// PNG or SVG as the route picture is.

#include "plan/WeightBalance.h"

#include <QRectF>
#include <QWidget>

#include <functional>
#include <optional>

class QPainter;

namespace plan {

// The picture's x is the arm, or the moment where the first envelope is by
// moment (every envelope of the other kind is left out).
bool pictureByMoment(const AircraftProfile& profile);

// The figures the picture spans: every envelope point of its kind and the
// mass points, a little room around them (x left to right, weight bottom to
// top: the rectangle's top is the lowest weight).
QRectF balanceBounds(const AircraftProfile& profile, const WeightAndBalance& balance);

// Where (x, weight) falls in the plotting area of a picture drawn in area.
QPointF balancePoint(const QRectF& area, const QRectF& bounds, double x, double weight);

void drawBalance(QPainter& painter, const QRectF& area, const AircraftProfile& profile,
                 const WeightAndBalance& balance);

// The plan's picture as a page draws it (a copy of what it needs); empty for
// a plan without an aircraft.
std::function<void(QPainter&, const QRectF&)> balanceDrawing(const FlightPlan& plan,
                                                             const ComputedPlan& computed);

class BalanceView : public QWidget {
    Q_OBJECT
public:
    explicit BalanceView(QWidget* parent = nullptr);
    // Nothing to show without both.
    void setBalance(const std::optional<AircraftProfile>& profile,
                    const std::optional<WeightAndBalance>& balance);
    bool save(const QString& path, const QSize& size) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<AircraftProfile> m_profile;
    std::optional<WeightAndBalance> m_balance;
};

} // namespace plan
