#include "studio/surfaceview.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "studio/cairoimage.h"

namespace {

constexpr double kDegreesPerPixel = 0.5;

}  // namespace

TSurface3dView::TSurface3dView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(260, 260);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::OpenHandCursor);
}

void TSurface3dView::SetSurface(std::shared_ptr<const TSphereGrid> full,
                                std::shared_ptr<const TSphereGrid> coarse, const TArray& array,
                                const TSurfaceView& prepared, const std::string& title,
                                const std::string& caption) {
    Full = std::move(full);
    Coarse = std::move(coarse);
    Array = array;
    // The viewer stays where the user turned it; the pattern brings its beam and conditions.
    const bool first = !View.ViewBearing && View.Subject.Conditions.empty();
    const auto bearing = View.ViewBearing;
    const double elevation = View.ViewElevation;
    const auto marker = View.Marker;
    View = prepared;
    if (!first) {
        View.ViewBearing = bearing;
        View.ViewElevation = elevation;
    }
    View.Marker = marker;
    Title = title;
    Caption = caption;
    Render();
    update();
}

void TSurface3dView::SetMarker(double bearingDegrees, double elevationDegrees) {
    View.Marker = TSurfaceMarker{bearingDegrees, elevationDegrees};
}

double TSurface3dView::ViewBearing() const {
    return ViewerBearing(View);
}

void TSurface3dView::Render() {
    Picture = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    Picture.fill(Qt::white);
    const auto& grid = Dragging && Coarse ? Coarse : Full;
    if (!grid) return;
    DrawIntoImage(Picture, [&](cairo_t* cr) {
        // Drawn at the pane's own size, not shrunk whole: its texts keep their pixel sizes.
        const int side = std::min(width(), height());
        cairo_translate(cr, (width() - side) / 2, (height() - side) / 2);
        DrawSurface(cr, *grid, Array, View, Title, Caption, side);
    });
    ++DrawCount;
}

void TSurface3dView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Picture);
}

void TSurface3dView::resizeEvent(QResizeEvent*) {
    Render();
}

void TSurface3dView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    Dragging = true;
    Last = event->position().toPoint();
    View.ViewBearing = ViewerBearing(View);
    setCursor(Qt::ClosedHandCursor);
}

void TSurface3dView::mouseMoveEvent(QMouseEvent* event) {
    if (!Dragging) return;
    const QPoint p = event->position().toPoint();
    // Dragging right turns the pattern with the mouse: the viewer walks the other way round.
    double bearing = *View.ViewBearing - (p.x() - Last.x()) * kDegreesPerPixel;
    bearing -= 360 * std::floor(bearing / 360);
    View.ViewBearing = bearing;
    View.ViewElevation =
        std::clamp(View.ViewElevation + (p.y() - Last.y()) * kDegreesPerPixel, -89.0, 89.0);
    Last = p;
    Render();
    repaint();
}

void TSurface3dView::mouseReleaseEvent(QMouseEvent* event) {
    if (!Dragging || event->button() != Qt::LeftButton) return;
    Dragging = false;
    setCursor(Qt::OpenHandCursor);
    Render();
    update();
}
