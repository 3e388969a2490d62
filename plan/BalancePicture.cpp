#include "plan/BalancePicture.h"

#include "core/Text.h"
#include "map/RoutePicture.h"
#include "plan/FlightPlan.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace plan {
namespace {

// Room for the axes' figures and names, in pixels of the picture.
constexpr double kLeft = 58, kBottom = 40, kTop = 12, kRight = 14;

QRectF plotArea(const QRectF& area) {
    return area.adjusted(kLeft, kTop, -kRight, -kBottom);
}

double xOf(const MassPoint& p, bool byMoment) {
    return byMoment ? p.moment : p.arm;
}

// About five round steps across a span: 1, 2 or 5 times a power of ten.
double tickStep(double span) {
    const double raw = span / 5;
    const double power = std::pow(10, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0}) {
        if (m * power >= raw)
            return m * power;
    }
    return 10 * power;
}

void drawAxes(QPainter& painter, const QRectF& area, const QRectF& bounds,
              const AircraftProfile& profile) {
    const QRectF plot = plotArea(area);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
    const QFontMetricsF metrics(painter.font());
    const double xStep = tickStep(bounds.width()), yStep = tickStep(bounds.height());
    for (double x = std::ceil(bounds.left() / xStep) * xStep; x <= bounds.right(); x += xStep) {
        const QPointF at = balancePoint(area, bounds, x, bounds.top());
        painter.drawLine(at, at + QPointF(0, 4));
        const QString text = core::numberText(x);
        painter.drawText(
            QPointF(at.x() - metrics.horizontalAdvance(text) / 2, at.y() + 4 + metrics.ascent()),
            text);
    }
    for (double y = std::ceil(bounds.top() / yStep) * yStep; y <= bounds.bottom(); y += yStep) {
        const QPointF at = balancePoint(area, bounds, bounds.left(), y);
        painter.drawLine(at, at - QPointF(4, 0));
        const QString text = core::numberText(y);
        painter.drawText(
            QPointF(at.x() - 6 - metrics.horizontalAdvance(text), at.y() + metrics.ascent() / 2),
            text);
    }
    const QString weight = unitText(profile.weightUnit), arm = unitText(profile.armUnit);
    const QString xName = pictureByMoment(profile)
                              ? QStringLiteral("Moment (%1 %2)").arg(weight, arm)
                              : QStringLiteral("Arm (%1)").arg(arm);
    painter.drawText(
        QRectF(plot.left(), area.bottom() - metrics.height(), plot.width(), metrics.height()),
        Qt::AlignCenter, xName);
    painter.save();
    painter.translate(area.left() + metrics.height() / 2, plot.center().y());
    painter.rotate(-90);
    painter.drawText(
        QRectF(-plot.height() / 2, -metrics.height() / 2, plot.height(), metrics.height()),
        Qt::AlignCenter, QStringLiteral("Weight (%1)").arg(weight));
    painter.restore();
}

void drawEnvelopes(QPainter& painter, const QRectF& area, const QRectF& bounds,
                   const AircraftProfile& profile) {
    const bool byMoment = pictureByMoment(profile);
    for (const Envelope& e : profile.envelopes) {
        if (e.byMoment != byMoment)
            continue;
        QPolygonF polygon;
        for (const auto& [x, weight] : e.points)
            polygon << balancePoint(area, bounds, x, weight);
        painter.setPen(QPen(QColor(0x20, 0x50, 0x90), 1.5));
        painter.setBrush(QColor(0xd8, 0xe6, 0xf5));
        painter.drawPolygon(polygon);
    }
}

void drawLoading(QPainter& painter, const QRectF& area, const QRectF& bounds,
                 const AircraftProfile& profile, const WeightAndBalance& balance) {
    const bool byMoment = pictureByMoment(profile);
    std::vector<std::pair<const MassPoint*, QString>> points = {{&balance.ramp, "Ramp"},
                                                                {&balance.takeoff, "T/O"}};
    if (balance.landingKnown)
        points.emplace_back(&balance.landing, QStringLiteral("Ldg"));
    QPolygonF burn;
    for (const auto& [p, name] : points)
        burn << balancePoint(area, bounds, xOf(*p, byMoment), p->weight);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawPolyline(burn);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const bool inside = points[i].first->insideEnvelopes;
        painter.setBrush(inside ? QColor(0x10, 0x80, 0x30) : QColor(0xc0, 0x10, 0x10));
        painter.drawEllipse(burn[static_cast<int>(i)], 4, 4);
        // Ramp above, takeoff below on the right, landing below on the left:
        // apart even where a short flight puts the points on one another.
        const double width = QFontMetricsF(painter.font()).horizontalAdvance(points[i].second);
        const QPointF offset = i == 0   ? QPointF(7, -4)
                               : i == 1 ? QPointF(7, 12)
                                        : QPointF(-7 - width, 12);
        painter.drawText(burn[static_cast<int>(i)] + offset, points[i].second);
    }
}

} // namespace

bool pictureByMoment(const AircraftProfile& profile) {
    return !profile.envelopes.empty() && profile.envelopes.front().byMoment;
}

QRectF balanceBounds(const AircraftProfile& profile, const WeightAndBalance& balance) {
    const bool byMoment = pictureByMoment(profile);
    std::vector<std::pair<double, double>> all;
    for (const Envelope& e : profile.envelopes) {
        if (e.byMoment == byMoment)
            all.insert(all.end(), e.points.begin(), e.points.end());
    }
    for (const MassPoint* p : {&balance.ramp, &balance.takeoff, &balance.landing}) {
        if (p != &balance.landing || balance.landingKnown)
            all.emplace_back(xOf(*p, byMoment), p->weight);
    }
    auto [minX, maxX] = std::minmax_element(all.begin(), all.end());
    auto [minY, maxY] = std::minmax_element(
        all.begin(), all.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    const double w = std::max(maxX->first - minX->first, 1e-9);
    const double h = std::max(maxY->second - minY->second, 1e-9);
    return QRectF(minX->first - w * 0.05, minY->second - h * 0.05, w * 1.1, h * 1.1);
}

QPointF balancePoint(const QRectF& area, const QRectF& bounds, double x, double weight) {
    const QRectF plot = plotArea(area);
    return {plot.left() + (x - bounds.left()) / bounds.width() * plot.width(),
            plot.bottom() - (weight - bounds.top()) / bounds.height() * plot.height()};
}

std::function<void(QPainter&, const QRectF&)> balanceDrawing(const FlightPlan& plan,
                                                             const ComputedPlan& computed) {
    const std::optional<WeightAndBalance> balance = planBalance(plan, computed);
    if (!plan.profile || !balance)
        return {};
    return [profile = *plan.profile, balance = *balance](QPainter& painter, const QRectF& area) {
        drawBalance(painter, area, profile, balance);
    };
}

void drawBalance(QPainter& painter, const QRectF& area, const AircraftProfile& profile,
                 const WeightAndBalance& balance) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    const QRectF bounds = balanceBounds(profile, balance);
    drawEnvelopes(painter, area, bounds, profile);
    drawAxes(painter, area, bounds, profile);
    drawLoading(painter, area, bounds, profile, balance);
    painter.restore();
}

BalanceView::BalanceView(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("Weight and balance picture"));
    setMinimumSize(220, 170);
}

void BalanceView::setBalance(const std::optional<AircraftProfile>& profile,
                             const std::optional<WeightAndBalance>& balance) {
    m_profile = profile;
    m_balance = balance;
    update();
}

bool BalanceView::save(const QString& path, const QSize& size) const {
    if (!m_profile || !m_balance)
        return false;
    return map::savePicture(path, size, QStringLiteral("Skyvane weight and balance"),
                            [this](QPainter& painter, const QRectF& area) {
                                drawBalance(painter, area, *m_profile, *m_balance);
                            });
}

void BalanceView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_profile && m_balance)
        drawBalance(painter, rect(), *m_profile, *m_balance);
    else
        painter.fillRect(rect(), palette().window());
}

} // namespace plan
