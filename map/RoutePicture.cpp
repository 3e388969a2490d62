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

namespace {

// Where the picture puts the earth: the projection centred on the route and
// the scale that makes the route fill the area beside its labels.
struct Frame {
    explicit Frame(const core::GeoPoint& centre) : projection(centre) {}
    RouteProjection projection;
    double u = 1; // device pixels per screen pixel
    double pxPerNm = 1, spanNm = 20, midX = 0, midY = 0;
    QPointF middle;
    QPointF toScreen(const core::GeoPoint& p) const {
        const PlanePoint q = projection.forward(p);
        return QPointF(middle.x() + (q.eastNm - midX) * pxPerNm,
                       middle.y() - (q.northNm - midY) * pxPerNm);
    }
};

Frame frameOf(const QPainter& painter, const QRectF& area, const RouteScene& scene,
              const std::vector<core::GeoPoint>& all) {
    Frame f(centreOf(all));
    // The route's extent with a margin, at least 20 nm across.
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const auto& p : all) {
        const PlanePoint q = f.projection.forward(p);
        minX = std::min(minX, q.eastNm);
        maxX = std::max(maxX, q.eastNm);
        minY = std::min(minY, q.northNm);
        maxY = std::max(maxY, q.northNm);
    }
    // Sizes in the device's own pixels: a screen's, a PNG's or a 300 dpi
    // page's marks and labels come out the same size to the eye.
    f.u = painter.device() ? painter.device()->logicalDpiX() / 96.0 : 1.0;
    // Room on the right for the labels, which stand right of their points.
    double labelRoom = 0;
    const QFontMetricsF metrics(painter.font(), painter.device());
    for (const auto& w : scene.waypoints)
        labelRoom = std::max(labelRoom, metrics.horizontalAdvance(w.label));
    if (scene.alternate)
        labelRoom = std::max(labelRoom, metrics.horizontalAdvance(scene.alternate->label));
    labelRoom = std::min(labelRoom + 10 * f.u, area.width() * 0.4);
    // The route's extent, at least 20 nm each way, fills what is left with a
    // margin, the same scale both ways.
    const double spanX = std::max(maxX - minX, 20.0) * 1.1;
    const double spanY = std::max(maxY - minY, 20.0) * 1.1;
    f.spanNm = std::max(spanX, spanY);
    const QRectF inner = area.adjusted(14 * f.u, 30 * f.u, -labelRoom, -30 * f.u);
    f.pxPerNm = std::min(inner.width() / spanX, inner.height() / spanY);
    f.middle = inner.center();
    f.midX = (minX + maxX) / 2;
    f.midY = (minY + maxY) / 2;
    return f;
}

// Land: rings that come near the picture; points beyond a quarter of the
// earth from the centre are left out (the projection stretches them).
void drawLand(QPainter& painter, const Frame& f, const std::vector<Ring>& land) {
    painter.setPen(QPen(kCoast, 0.8 * f.u));
    painter.setBrush(kLand);
    const double reachDeg = std::min(90.0, f.spanNm / 60 * 2 + 5);
    for (const Ring& ring : land) {
        bool near = false;
        for (std::size_t i = 0; i < ring.size() && !near; i += 8)
            near = course::arcDeg(f.projection.centre(), ring[i]) < reachDeg;
        if (!near)
            continue;
        QPolygonF polygon;
        polygon.reserve(static_cast<int>(ring.size()));
        for (const core::GeoPoint& p : ring) {
            if (course::arcDeg(f.projection.centre(), p) < 90)
                polygon << f.toScreen(p);
        }
        if (polygon.size() >= 3)
            painter.drawPolygon(polygon);
    }
}

// The legs as great circles, the alternate's dashed.
void drawLegs(QPainter& painter, const Frame& f, const RouteScene& scene) {
    auto curve = [&](const core::GeoPoint& a, const core::GeoPoint& b) {
        QPainterPath path(f.toScreen(a));
        for (int i = 1; i <= 32; ++i)
            path.lineTo(f.toScreen(course::pointAlong(a, b, i / 32.0)));
        return path;
    };
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kRoute, 2.2 * f.u));
    for (std::size_t i = 0; i + 1 < scene.waypoints.size(); ++i)
        painter.drawPath(curve(scene.waypoints[i].position, scene.waypoints[i + 1].position));
    if (scene.alternate && !scene.waypoints.empty()) {
        painter.setPen(QPen(kRoute, 1.6 * f.u, Qt::DashLine));
        painter.drawPath(curve(scene.waypoints.back().position, scene.alternate->position));
    }
}

// Waypoints with their codes, and the decision points.
void drawMarks(QPainter& painter, const Frame& f, const RouteScene& scene) {
    const double u = f.u;
    auto mark = [&](const RouteScene::Point& w, bool alternate) {
        const QPointF at = f.toScreen(w.position);
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
        const QPointF at = f.toScreen(p);
        painter.setPen(QPen(colour, 2 * u));
        painter.drawLine(at + QPointF(-6, -6) * u, at + QPointF(6, 6) * u);
        painter.drawLine(at + QPointF(-6, 6) * u, at + QPointF(6, -6) * u);
        painter.drawText(at + QPointF(8, 14) * u, text);
    };
    if (scene.etp)
        decision(*scene.etp, QStringLiteral("ETP"), QColor(20, 90, 170));
    if (scene.pnr)
        decision(*scene.pnr, QStringLiteral("PNR"), QColor(200, 110, 0));
}

// Scale bar and north (up at the centre in this projection).
void drawScaleAndNorth(QPainter& painter, const Frame& f, const QRectF& area) {
    const double u = f.u;
    QFont font = painter.font();
    font.setBold(false);
    font.setPointSizeF(8);
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, 1.5 * u));
    const double barNm = niceLength(f.spanNm / 5);
    const QPointF start(area.left() + 16 * u, area.bottom() - 16 * u);
    const QPointF end = start + QPointF(barNm * f.pxPerNm, 0);
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
}

} // namespace

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
    QFont font = painter.font();
    font.setPointSizeF(9);
    font.setBold(true);
    painter.setFont(font);
    const Frame frame = frameOf(painter, area, scene, all);
    if (scene.land)
        drawLand(painter, frame, *scene.land);
    drawLegs(painter, frame, scene);
    drawMarks(painter, frame, scene);
    drawScaleAndNorth(painter, frame, area);
    painter.restore();
}

bool savePicture(const QString& path, const QSize& size, const QString& title,
                 const std::function<void(QPainter&, const QRectF&)>& draw) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(title);
        QPainter painter(&svg);
        draw(painter, QRectF(QPointF(0, 0), size));
    } else {
        QImage image(size, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            draw(painter, QRectF(QPointF(0, 0), size));
        }
        if (!image.save(&buffer, "PNG"))
            return false;
    }
    buffer.close();
    return core::writeFileSafely(QFile::encodeName(path).toStdString(), bytes.toStdString()) ==
           core::WriteStatus::Written;
}

bool saveRoutePicture(const QString& path, const QSize& size, const RouteScene& scene) {
    return savePicture(
        path, size, QStringLiteral("Skyvane route"),
        [&scene](QPainter& painter, const QRectF& area) { drawRoute(painter, area, scene); });
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
