#pragma once
// The picture of a route: land, the legs as great-circle curves, the
// waypoints by their codes, the equal-time point and the point of no return,
// a scale bar and north. Drawn with QPainter, on a widget, into an image or
// as SVG.

#include "map/RouteProjection.h"

#include <QRectF>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace core {
class DataPlaces;
}
namespace plan {
struct FlightPlan;
struct DecisionPoints;
} // namespace plan

namespace map {

struct RouteScene {
    struct Point {
        QString label;
        core::GeoPoint position;
    };
    std::vector<Point> waypoints;   // in route order
    std::optional<Point> alternate; // drawn dashed from the destination
    std::optional<core::GeoPoint> etp, pnr;
    const std::vector<Ring>* land = nullptr;
};

// A flight plan's scene: its waypoints by code (or name), its alternate, the
// equal-time point and the point of no return (unless it lies beyond the
// destination), over the land installed with the program.
RouteScene routeScene(const plan::FlightPlan& plan, const plan::DecisionPoints& points,
                      const core::DataPlaces& places);

// Draws the scene into area (a white background first).
void drawRoute(QPainter& painter, const QRectF& area, const RouteScene& scene);

// Writes the picture as PNG (or as SVG when the path ends in .svg). False
// when it cannot be written.
bool saveRoutePicture(const QString& path, const QSize& size, const RouteScene& scene);
// A picture drawn by draw, written safely as SVG (a path ending ".svg") or
// PNG; false when it cannot be written.
bool savePicture(const QString& path, const QSize& size, const QString& title,
                 const std::function<void(QPainter&, const QRectF&)>& draw);

// A widget that shows a scene and redraws it as it changes.
class RouteView : public QWidget {
    Q_OBJECT
public:
    explicit RouteView(QWidget* parent = nullptr);
    void setScene(RouteScene scene);
    const RouteScene& scene() const { return m_scene; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    RouteScene m_scene;
};

} // namespace map
