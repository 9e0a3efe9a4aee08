#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QPolygon>

#include "plot/canvas.h"

class QPainter;

// The drawing surface over a QPainter, with the raster rules of a classic desktop surface:
// no antialiasing, solid pens, opaque text cells. Joined lines reach the painter at the next
// other operation or when the canvas is destroyed, so the painter must outlive the canvas.
class TQtCanvas : public TCanvas {
  public:
    // clip is the drawable area in the painter's coordinates, e.g. a window's client area.
    TQtCanvas(QPainter& painter, const TRect& clip);
    ~TQtCanvas() override;
    TQtCanvas(const TQtCanvas&) = delete;
    TQtCanvas& operator=(const TQtCanvas&) = delete;

    void SetPenColor(TColor color) override;
    void SetPenWidth(int pixels) override;
    void SetBrushColor(TColor color) override;
    // "MS Sans Serif" is served by SansSerif11() at the given height.
    void SetFont(const std::string& name, int heightPixels) override;
    void SetFontColor(TColor color) override;

    void FillRect(const TRect& rect) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, const std::string& text) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    TRect ClipRect() const override { return Clip; }

  private:
    void ApplyPen();
    void FlushLines();

    QPainter& Painter;
    TRect Clip;
    TColor Pen;
    int PenWidth = 1;
    TColor Brush{255, 255, 255};
    TColor FontColor;
    QFont Font;
    QPoint Position;
    // Joined line segments not yet drawn: one polyline strokes far faster than its segments.
    QPolygon PendingLines;
};
