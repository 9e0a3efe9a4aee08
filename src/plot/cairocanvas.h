#pragma once

#include <cairo.h>

#include "plot/canvas.h"

// The drawing surface over cairo, with the raster rules of a classic desktop surface: solid
// pens and brushes that plainly copy their colour, no antialiasing on a picture of pixels,
// opaque text cells. Joined lines are stroked as one path at the next other operation or when
// the canvas is destroyed, so the cairo context must outlive the canvas.
class TCairoCanvas : public TCanvas {
  public:
    enum class TTarget { Pixels, Vectors };

    // clip is the drawable area in the context's coordinates, e.g. the whole picture.
    TCairoCanvas(cairo_t* cr, const TRect& clip, TTarget target);
    ~TCairoCanvas() override;
    TCairoCanvas(const TCairoCanvas&) = delete;
    TCairoCanvas& operator=(const TCairoCanvas&) = delete;

    void SetPenColor(TColor color) override;
    void SetPenWidth(int pixels) override;
    void SetBrushColor(TColor color) override;
    // "MS Sans Serif" is served by Liberation Sans (SansFontFace()) at the given height.
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
    void FlushLines();
    void UseColour(TColor color);
    int Ascent();

    cairo_t* Cr;
    TRect Clip;
    double Nudge;  // pixels, see kEdgeNudge
    TColor Pen;
    int PenWidth = 1;
    TColor Brush{255, 255, 255};
    TColor FontColour;
    int X = 0;
    int Y = 0;
    bool LinesPending = false;
};
