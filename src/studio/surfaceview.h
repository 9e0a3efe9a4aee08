#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <memory>
#include <string>

#include "model/emitters.h"
#include "model/spheregrid.h"
#include "plot/surface3d.h"

// The pattern in 3-D beside the cuts, turned by dragging. It is the plot layer's own 3-D
// picture (the one `plot --kind 3d` writes) drawn by cairo at the pane's size into an image,
// as the charts are: it looks like the exported file with texts as legible, needs no OpenGL
// under a software-rendered X server, and a test can read its pixels. While the mouse turns it, the
// coarse grid keeps it at frame rate; on release the full grid is drawn.
class TSurface3dView : public QWidget {
    Q_OBJECT

  public:
    explicit TSurface3dView(QWidget* parent = nullptr);

    // The sampled pattern (full and coarse grids), its array and texts, and the cut's
    // direction the charts show (degrees).
    void SetSurface(std::shared_ptr<const TSphereGrid> full,
                    std::shared_ptr<const TSphereGrid> coarse, const TArray& array,
                    const TSurfaceView& prepared, const std::string& title,
                    const std::string& caption);
    void SetMarker(double bearingDegrees, double elevationDegrees);

    // Where the viewer stands: compass degrees, and degrees above the horizon.
    double ViewBearing() const;
    double ViewElevation() const { return View.ViewElevation; }
    const QImage& Image() const { return Picture; }
    int Drawings() const { return DrawCount; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void Render();

    std::shared_ptr<const TSphereGrid> Full;
    std::shared_ptr<const TSphereGrid> Coarse;
    TArray Array;
    TSurfaceView View;
    std::string Title;
    std::string Caption;
    bool Dragging = false;
    QPoint Last;
    QImage Picture;
    int DrawCount = 0;
};
