#include "plot/cairocanvas.h"

#include <cmath>
#include <cstdlib>

#include "plot/sansfont.h"

namespace {

// The control-point distance of a quarter ellipse drawn as one cubic Bézier curve, as a
// fraction of the radius.
constexpr double kQuarterArc = 0.5522847498;

// The window's painter counts a pixel whose centre lies exactly on a shape's left or top edge
// as outside and on its right or bottom edge as inside; cairo does the opposite. On pixels the
// shapes are moved by cairo's smallest step, 1/256 pixel, right and down to cover the same
// pixels, which matters for every odd-width line along a row or a column.
constexpr double kEdgeNudge = 1.0 / 256;
// Flattening tolerance of curves on pixels (pixels): the one whose ring outlines come closest
// to the window's painter's.
constexpr double kPixelTolerance = 0.15;

// A one-pixel pen covers the pixel right of and below its path, as on a classic desktop
// surface; a wider pen lies about the path itself.
double Hairline(int penWidth) {
    return penWidth > 1 ? 0.0 : 0.5;
}

// The ellipse as the window's painter builds it, four quarter curves from the east point
// clockwise, so that the picture's outlines cover the same pixels.
void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
    const double kx = rx * kQuarterArc;
    const double ky = ry * kQuarterArc;
    cairo_new_path(cr);
    cairo_move_to(cr, cx + rx, cy);
    cairo_curve_to(cr, cx + rx, cy + ky, cx + kx, cy + ry, cx, cy + ry);
    cairo_curve_to(cr, cx - kx, cy + ry, cx - rx, cy + ky, cx - rx, cy);
    cairo_curve_to(cr, cx - rx, cy - ky, cx - kx, cy - ry, cx, cy - ry);
    cairo_curve_to(cr, cx + kx, cy - ry, cx + rx, cy - ky, cx + rx, cy);
    cairo_close_path(cr);
}

}  // namespace

TCairoCanvas::TCairoCanvas(cairo_t* cr, const TRect& clip, TTarget target)
    : Cr(cr), Clip(clip), Nudge(target == TTarget::Pixels ? kEdgeNudge : 0.0) {
    cairo_save(Cr);
    cairo_rectangle(Cr, clip.Left, clip.Top, clip.Right - clip.Left, clip.Bottom - clip.Top);
    cairo_clip(Cr);
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
    cairo_font_options_t* options = cairo_font_options_create();
    // Unhinted metrics keep every measured width and height the same on every target.
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    if (target == TTarget::Pixels) {
        cairo_set_antialias(Cr, CAIRO_ANTIALIAS_NONE);
        cairo_set_tolerance(Cr, kPixelTolerance);
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
    }
    cairo_set_font_options(Cr, options);
    cairo_font_options_destroy(options);
    cairo_set_font_face(Cr, SansFontFace());
    cairo_set_font_size(Cr, kSansFontPixels);
    cairo_set_line_width(Cr, PenWidth);
}

// The context leaves with the state it came with.
TCairoCanvas::~TCairoCanvas() {
    FlushLines();
    cairo_restore(Cr);
}

void TCairoCanvas::FlushLines() {
    if (!LinesPending) return;
    UseColour(Pen);
    cairo_set_line_width(Cr, PenWidth);
    cairo_stroke(Cr);
    LinesPending = false;
}

void TCairoCanvas::UseColour(TColor color) {
    cairo_set_source_rgb(Cr, color.R / 255.0, color.G / 255.0, color.B / 255.0);
}

void TCairoCanvas::SetPenColor(TColor color) {
    FlushLines();
    Pen = color;
}

void TCairoCanvas::SetPenWidth(int pixels) {
    FlushLines();
    PenWidth = pixels < 1 ? 1 : pixels;
}

void TCairoCanvas::SetBrushColor(TColor color) {
    FlushLines();
    Brush = color;
}

void TCairoCanvas::SetFont(const std::string& name, int heightPixels) {
    FlushLines();
    if (name == "MS Sans Serif" || name == "Liberation Sans") {
        cairo_set_font_face(Cr, SansFontFace());
    } else {
        cairo_select_font_face(Cr, name.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    }
    cairo_set_font_size(Cr, heightPixels > 0 ? heightPixels : kSansFontPixels);
}

void TCairoCanvas::SetFontColor(TColor color) {
    FontColour = color;
}

void TCairoCanvas::FillRect(const TRect& rect) {
    FlushLines();
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    cairo_rectangle(Cr, rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
    UseColour(Brush);
    cairo_fill(Cr);
}

// Centred on the middle of its rectangle, passing through the corners' coordinates; the
// outline is shifted half a pixel right and down so that it is centred on pixels, as on the
// window.
void TCairoCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    FlushLines();
    EllipsePath(Cr, (x1 + x2) / 2.0 + 0.5 + Nudge, (y1 + y2) / 2.0 + 0.5 + Nudge,
                std::abs(x2 - x1) / 2.0, std::abs(y2 - y1) / 2.0);
    UseColour(Brush);
    cairo_fill_preserve(Cr);
    UseColour(Pen);
    cairo_set_line_width(Cr, PenWidth);
    cairo_stroke(Cr);
}

void TCairoCanvas::MoveTo(int x, int y) {
    X = x;
    Y = y;
    const double shift = Hairline(PenWidth) + Nudge;
    if (LinesPending) cairo_move_to(Cr, x + shift, y + shift);
}

void TCairoCanvas::LineTo(int x, int y) {
    const double shift = Hairline(PenWidth) + Nudge;
    if (!LinesPending) {
        cairo_new_path(Cr);
        cairo_move_to(Cr, X + shift, Y + shift);
        LinesPending = true;
    }
    cairo_line_to(Cr, x + shift, y + shift);
    X = x;
    Y = y;
}

int TCairoCanvas::Ascent() {
    cairo_font_extents_t extents;
    cairo_font_extents(Cr, &extents);
    return static_cast<int>(std::lround(extents.ascent));
}

void TCairoCanvas::TextOut(int x, int y, const std::string& text) {
    FlushLines();
    cairo_rectangle(Cr, x, y, TextWidth(text), TextHeight(text));
    UseColour(Brush);
    cairo_fill(Cr);
    cairo_move_to(Cr, x, y + Ascent());
    UseColour(FontColour);
    cairo_show_text(Cr, text.c_str());
    cairo_new_path(Cr);
}

int TCairoCanvas::TextWidth(const std::string& text) {
    cairo_text_extents_t extents;
    cairo_text_extents(Cr, text.c_str(), &extents);
    return static_cast<int>(std::lround(extents.x_advance));
}

// The cell's height is the font's whole pixels above and below the baseline, whatever the text.
int TCairoCanvas::TextHeight(const std::string&) {
    cairo_font_extents_t extents;
    cairo_font_extents(Cr, &extents);
    return static_cast<int>(std::lround(extents.ascent) + std::lround(extents.descent));
}
