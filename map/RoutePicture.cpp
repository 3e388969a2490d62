#include "map/RoutePicture.h"

#include "core/Files.h"
#include "course/GreatCircle.h"
#include "plan/DecisionPoints.h"
#include "plan/FlightPlan.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace map {
namespace {

const QColor kSea(236, 243, 250);
const QColor kLand(222, 230, 205);
const QColor kCoast(150, 165, 130);
const QColor kRoute(180, 30, 30);

// A scale bar length near a fifth of the width: 1, 2 or 5 times a power of ten.
double niceLength(double nm) {
    const double power = std::pow(10.0, std::floor(std::log10(nm)));
    for (double f : {5.0, 2.0, 1.0}) {
        if (f * power <= nm)
            return f * power;
    }
    return power;
}

} // namespace

RouteScene routeScene(const plan::FlightPlan& plan, const plan::DecisionPoints& points,
                      const core::DataPlaces& places) {
    RouteScene scene;
    for (const plan::Waypoint& w : plan.waypoints)
        scene.waypoints.push_back({w.label(), w.position});
    if (plan.alternate)
        scene.alternate = RouteScene::Point{plan.alternate->label(), plan.alternate->position};
    if (points.etp.point)
        scene.etp = points.etp.point->position;
    if (points.pnr.point && !points.pnr.beyondDestination)
        scene.pnr = points.pnr.point->position;
    scene.land = &landOutlines(places);
    return scene;
}

void drawRoute(QPainter& painter, const QRectF& area, const RouteScene& scene) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, kSea);
    std::vector<core::GeoPoint> all;
    for (const auto& w : scene.waypoints)
        all.push_back(w.position);
    if (scene.alternate)
        all.push_back(scene.alternate->position);
    if (all.empty()) {
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("Add waypoints to see the route."));
        painter.restore();
        return;
    }
    const RouteProjection projection(centreOf(all));
    // The route's extent with a margin, at least 20 nm across.
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const auto& p : all) {
        const PlanePoint q = projection.forward(p);
        minX = std::min(minX, q.eastNm);
        maxX = std::max(maxX, q.eastNm);
        minY = std::min(minY, q.northNm);
        maxY = std::max(maxY, q.northNm);
    }
    // Sizes in the device's own pixels: a screen's, a PNG's or a 300 dpi
    // page's marks and labels come out the same size to the eye.
    const double u = painter.device() ? painter.device()->logicalDpiX() / 96.0 : 1.0;
    QFont font = painter.font();
    font.setPointSizeF(9);
    font.setBold(true);
    painter.setFont(font);
    // Room on the right for the labels, which stand right of their points.
    double labelRoom = 0;
    const QFontMetricsF metrics(font, painter.device());
    for (const auto& w : scene.waypoints)
        labelRoom = std::max(labelRoom, metrics.horizontalAdvance(w.label));
    if (scene.alternate)
        labelRoom = std::max(labelRoom, metrics.horizontalAdvance(scene.alternate->label));
    labelRoom = std::min(labelRoom + 10 * u, area.width() * 0.4);
    // The route's extent, at least 20 nm each way, fills what is left with a
    // margin, the same scale both ways.
    const double spanX = std::max(maxX - minX, 20.0) * 1.1;
    const double spanY = std::max(maxY - minY, 20.0) * 1.1;
    const double spanNm = std::max(spanX, spanY);
    const QRectF inner = area.adjusted(14 * u, 30 * u, -labelRoom, -30 * u);
    const double pxPerNm = std::min(inner.width() / spanX, inner.height() / spanY);
    const QPointF middle = inner.center();
    const double midX = (minX + maxX) / 2, midY = (minY + maxY) / 2;
    auto toScreen = [&](const core::GeoPoint& p) {
        const PlanePoint q = projection.forward(p);
        return QPointF(middle.x() + (q.eastNm - midX) * pxPerNm,
                       middle.y() - (q.northNm - midY) * pxPerNm);
    };
    // Land: rings that come near the picture; points beyond a quarter of the
    // earth from the centre are left out (the projection stretches them).
    if (scene.land) {
        painter.setPen(QPen(kCoast, 0.8 * u));
        painter.setBrush(kLand);
        const double reachDeg = std::min(90.0, spanNm / 60 * 2 + 5);
        for (const Ring& ring : *scene.land) {
            bool near = false;
            for (std::size_t i = 0; i < ring.size() && !near; i += 8)
                near = course::arcDeg(projection.centre(), ring[i]) < reachDeg;
            if (!near)
                continue;
            QPolygonF polygon;
            polygon.reserve(static_cast<int>(ring.size()));
            for (const core::GeoPoint& p : ring) {
                if (course::arcDeg(projection.centre(), p) < 90)
                    polygon << toScreen(p);
            }
            if (polygon.size() >= 3)
                painter.drawPolygon(polygon);
        }
    }
    // The legs as great circles.
    auto curve = [&](const core::GeoPoint& a, const core::GeoPoint& b) {
        QPainterPath path(toScreen(a));
        for (int i = 1; i <= 32; ++i)
            path.lineTo(toScreen(course::pointAlong(a, b, i / 32.0)));
        return path;
    };
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kRoute, 2.2 * u));
    for (std::size_t i = 0; i + 1 < scene.waypoints.size(); ++i)
        painter.drawPath(curve(scene.waypoints[i].position, scene.waypoints[i + 1].position));
    if (scene.alternate && !scene.waypoints.empty()) {
        painter.setPen(QPen(kRoute, 1.6 * u, Qt::DashLine));
        painter.drawPath(curve(scene.waypoints.back().position, scene.alternate->position));
    }
    // Waypoints and their codes.
    auto mark = [&](const RouteScene::Point& w, bool alternate) {
        const QPointF at = toScreen(w.position);
        painter.setPen(QPen(Qt::black, 1.2 * u));
        painter.setBrush(alternate ? Qt::white : QColor(Qt::black));
        painter.drawEllipse(at, 4 * u, 4 * u);
        painter.setPen(Qt::black);
        painter.drawText(at + QPointF(7, -6) * u, w.label);
    };
    for (const auto& w : scene.waypoints)
        mark(w, false);
    if (scene.alternate)
        mark(*scene.alternate, true);
    auto decision = [&](const core::GeoPoint& p, const QString& text, const QColor& colour) {
        const QPointF at = toScreen(p);
        painter.setPen(QPen(colour, 2 * u));
        painter.drawLine(at + QPointF(-6, -6) * u, at + QPointF(6, 6) * u);
        painter.drawLine(at + QPointF(-6, 6) * u, at + QPointF(6, -6) * u);
        painter.drawText(at + QPointF(8, 14) * u, text);
    };
    if (scene.etp)
        decision(*scene.etp, QStringLiteral("ETP"), QColor(20, 90, 170));
    if (scene.pnr)
        decision(*scene.pnr, QStringLiteral("PNR"), QColor(200, 110, 0));
    // Scale bar and north (up at the centre in this projection).
    font.setBold(false);
    font.setPointSizeF(8);
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, 1.5 * u));
    const double barNm = niceLength(spanNm / 5);
    const QPointF start(area.left() + 16 * u, area.bottom() - 16 * u);
    const QPointF end = start + QPointF(barNm * pxPerNm, 0);
    painter.drawLine(start, end);
    painter.drawLine(start, start + QPointF(0, -5) * u);
    painter.drawLine(end, end + QPointF(0, -5) * u);
    painter.drawText(start + QPointF(0, -8) * u, QStringLiteral("%1 nm").arg(barNm));
    const QPointF north(area.right() - 20 * u, area.top() + 34 * u);
    painter.drawLine(north, north + QPointF(0, -20) * u);
    painter.drawLine(north + QPointF(0, -20) * u, north + QPointF(-4, -12) * u);
    painter.drawLine(north + QPointF(0, -20) * u, north + QPointF(4, -12) * u);
    painter.drawText(QRectF(north.x() - 10 * u, north.y(), 20 * u, 14 * u), Qt::AlignCenter,
                     QStringLiteral("N"));
    painter.restore();
}

bool saveRoutePicture(const QString& path, const QSize& size, const RouteScene& scene) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Skyvane route"));
        QPainter painter(&svg);
        drawRoute(painter, QRectF(QPointF(0, 0), size), scene);
    } else {
        QImage image(size, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            drawRoute(painter, QRectF(QPointF(0, 0), size), scene);
        }
        if (!image.save(&buffer, "PNG"))
            return false;
    }
    buffer.close();
    return core::writeFileSafely(QFile::encodeName(path).toStdString(), bytes.toStdString()) ==
           core::WriteStatus::Written;
}

RouteView::RouteView(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("Route picture"));
    setMinimumSize(240, 200);
}

void RouteView::setScene(RouteScene scene) {
    m_scene = std::move(scene);
    update();
}

void RouteView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawRoute(painter, rect(), m_scene);
}

} // namespace map
