#include "plot/surface3d.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "config/messages.h"
#include "config/numtext.h"
#include "model/angles.h"
#include "plot/cairoptr.h"
#include "plot/picturerender.h"
#include "plot/sansfont.h"

namespace {

constexpr double kSize = 880;
constexpr double kRadians = static_cast<double>(kDegree);
constexpr double kAxis = 1.15;    // the compass axes' length, radii
constexpr double kMargin = 16;    // pixels no text comes nearer the picture's edge
constexpr double kBeamSide = 60;  // degrees clockwise of the beam the default viewer stands
// The colour scale stands right of the surface and its compass letters, labelled on its right.
constexpr double kBarWidth = 16;
constexpr double kTitleSize = 15, kCompassSize = 14, kScaleSize = 11, kCaptionSize = 10;
constexpr double kTextLeft = 20, kTitleBaseline = 30;
constexpr double kCaptionLine = 13;    // pixels between the caption's baselines
constexpr double kTickToBaseline = 4;  // pixels from a scale's tick down to its label's baseline

struct TVec {
    double E, N, U;
};

double Dot(const TVec& a, const TVec& b) {
    return a.E * b.E + a.N * b.N + a.U * b.U;
}

TVec Cross(const TVec& a, const TVec& b) {
    return {a.N * b.U - a.U * b.N, a.U * b.E - a.E * b.U, a.E * b.N - a.N * b.E};
}

TVec Minus(const TVec& a, const TVec& b) {
    return {a.E - b.E, a.N - b.N, a.U - b.U};
}

// Where the parts of a picture of a side in pixels go. The texts keep their pixel sizes at any
// side, and so do the scale's width and its labels' room; the surface takes what is left.
struct TPlace {
    double Size;
    double Scale;  // pixels of a radius of 1
    double CentreX, CentreY;
    double BarX, BarTop, BarHeight;
    double FootBaseline;
};

TPlace PlaceOf(double size) {
    const double f = size / kSize;
    TPlace p;
    p.Size = size;
    p.BarX = size - 84;
    p.BarTop = std::max(120 * f, 48.0);
    p.BarHeight = 520 * f;
    p.CentreX = (p.BarX - 6) / 2;
    p.CentreY = size / 2 + 5;
    p.Scale = 300 * std::min((p.BarX - 6) / 790, (size - 90) / 790);
    p.FootBaseline = size - 14;
    return p;
}

struct TCamera {
    TVec Towards;  // from the origin to the viewer
    TVec Right;
    TVec Up;
    TPlace Place;

    double X(const TVec& p) const { return Place.CentreX + Place.Scale * Dot(p, Right); }
    double Y(const TVec& p) const { return Place.CentreY - Place.Scale * Dot(p, Up); }
};

TCamera Camera(const TSurfaceView& view, const TPlace& place) {
    const double a = ViewerBearing(view) * kRadians;
    const double e = view.ViewElevation * kRadians;
    TCamera c;
    c.Place = place;
    c.Towards = {std::cos(e) * std::sin(a), std::cos(e) * std::cos(a), std::sin(e)};
    c.Right = {-std::cos(a), std::sin(a), 0};
    c.Up = Cross(c.Towards, c.Right);
    return c;
}

// Blue at the floor through cyan, green and yellow to red at the maximum: linear between
// the stops at eighths 0, 1, 3, 5, 7 and 8.
std::array<double, 3> LevelColour(double t) {
    t = std::clamp(t, 0.0, 1.0);
    const double r = std::clamp(1.5 - std::fabs(4 * t - 3), 0.0, 1.0);
    const double g = std::clamp(1.5 - std::fabs(4 * t - 2), 0.0, 1.0);
    const double b = std::clamp(1.5 - std::fabs(4 * t - 1), 0.0, 1.0);
    return {r, g, b};
}

struct TFacet {
    std::array<std::array<double, 2>, 4> Corners;  // pixels
    double Depth;
    double Level;  // 0..1
};

// Moves the facet's corners away from its centre, so that it reaches a little under its
// neighbours and no antialiased seam between them lets the background through.
void Widen(TFacet& f) {
    constexpr double kOverlap = 0.6;  // pixels
    double x = 0, y = 0;
    for (const auto& [cx, cy] : f.Corners) {
        x += cx / 4;
        y += cy / 4;
    }
    for (auto& [cx, cy] : f.Corners) {
        const double d = std::hypot(cx - x, cy - y);
        if (d > 0) {
            cx += (cx - x) / d * kOverlap;
            cy += (cy - y) / d * kOverlap;
        }
    }
}

// The facets the viewer sees, farthest first. A closed surface seen from outside hides every
// facet turned away behind one turned towards the viewer; over ground the surface is open
// at the horizon, so from below it every facet may show.
std::vector<TFacet> VisibleFacets(const TSphereGrid& grid, const TSurfaceView& view,
                                  const TCamera& camera) {
    const auto columns = static_cast<std::size_t>(grid.Bearings);
    std::vector<TVec> points(grid.Values.size());
    std::vector<double> radii(grid.Values.size());
    for (int j = 0; j < grid.Elevations; ++j) {
        const double e = std::min(90.0, grid.LowestElevation + j * grid.StepDegrees) * kRadians;
        for (int i = 0; i < grid.Bearings; ++i) {
            const std::size_t k =
                static_cast<std::size_t>(j) * columns + static_cast<std::size_t>(i);
            const double r = SurfaceRadius(grid.Values[k], grid.Maximum, view);
            const double b = i * grid.StepDegrees * kRadians;
            radii[k] = r;
            points[k] = {r * std::cos(e) * std::sin(b), r * std::cos(e) * std::cos(b),
                         r * std::sin(e)};
        }
    }
    const bool cull = grid.LowestElevation < 0 || view.ViewElevation > 0;
    std::vector<TFacet> facets;
    for (std::size_t j = 0; j + 1 < static_cast<std::size_t>(grid.Elevations); ++j) {
        for (std::size_t i = 0; i + 1 < columns; ++i) {
            const std::array<std::size_t, 4> at = {j * columns + i, j * columns + i + 1,
                                                   (j + 1) * columns + i + 1,
                                                   (j + 1) * columns + i};
            double level = 0;
            for (const std::size_t k : at) level += radii[k];
            if (level <= 0) continue;  // at the floor: nothing to see
            // The outward normal: the parameters run east and up, so up x east points out.
            const TVec normal =
                Cross(Minus(points[at[3]], points[at[1]]), Minus(points[at[2]], points[at[0]]));
            if (cull && !(Dot(normal, camera.Towards) > 0)) continue;
            TFacet f;
            double depth = 0;
            for (std::size_t c = 0; c < 4; ++c) {
                const TVec& p = points[at[c]];
                f.Corners[c] = {camera.X(p), camera.Y(p)};
                depth += Dot(p, camera.Towards);
            }
            f.Depth = depth / 4;
            f.Level = level / 4;
            Widen(f);
            facets.push_back(f);
        }
    }
    std::sort(facets.begin(), facets.end(),
              [](const TFacet& a, const TFacet& b) { return a.Depth < b.Depth; });
    return facets;
}

TSurfaceText Measured(cairo_t* cr, std::string text, double size, double x, double y) {
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    const double left = x + e.x_bearing, top = y + e.y_bearing;
    return {std::move(text), size, x, y, left, top, left + e.width, top + e.height};
}

// The text at the size, smaller where it would run past the right edge.
TSurfaceText Fitted(cairo_t* cr, std::string text, double size, double x, double y, double right) {
    TSurfaceText t = Measured(cr, std::move(text), size, x, y);
    if (t.Right > right) {
        t = Measured(cr, std::move(t.Text), size * (right - x) / (t.Right - x), x, y);
    }
    return t;
}

void Shift(TSurfaceText& t, double dx, double dy) {
    t.X += dx;
    t.Left += dx;
    t.Right += dx;
    t.Y += dy;
    t.Top += dy;
    t.Bottom += dy;
}

struct TArea {
    double Left, Top, Right, Bottom;
};

// The least move that brings the text's box into the area.
void Confine(TSurfaceText& t, const TArea& area) {
    const auto into = [](double low, double high, double from, double to) {
        return low < from ? from - low : high > to ? to - high : 0.0;
    };
    Shift(t, into(t.Left, t.Right, area.Left, area.Right),
          into(t.Top, t.Bottom, area.Top, area.Bottom));
}

bool Overlap(const TSurfaceText& a, const TSurfaceText& b) {
    constexpr double kGap = 2;
    return a.Left < b.Right + kGap && b.Left < a.Right + kGap && a.Top < b.Bottom + kGap &&
           b.Top < a.Bottom + kGap;
}

struct TTextLayout {
    TSurfaceText Title;
    std::vector<TSurfaceText> Compass, Scale, Caption;
};

// The caption's lines, broken after its "; " where it is wider than the picture, the last
// on the foot's baseline.
std::vector<TSurfaceText> CaptionLines(cairo_t* cr, const std::string& caption,
                                       const TPlace& place) {
    const double kRight = place.Size - kMargin;
    cairo_set_font_size(cr, kCaptionSize);
    const auto width = [cr](const std::string& text) {
        cairo_text_extents_t e;
        cairo_text_extents(cr, text.c_str(), &e);
        return e.x_advance;
    };
    std::vector<std::string> lines(1);
    for (std::size_t start = 0; start < caption.size();) {
        const std::size_t stop = std::min(caption.find("; ", start), caption.size());
        const std::string part = caption.substr(start, stop - start);
        if (!lines.back().empty() && width(lines.back() + " " + part) > kRight - kTextLeft) {
            lines.emplace_back();
        }
        if (!lines.back().empty()) lines.back() += " ";
        lines.back() += part + (stop < caption.size() ? ";" : "");
        start = stop + 2;
    }
    std::vector<TSurfaceText> texts;
    double y = place.FootBaseline - kCaptionLine * static_cast<double>(lines.size() - 1);
    for (std::string& line : lines) {
        texts.push_back(Fitted(cr, std::move(line), kCaptionSize, kTextLeft, y, kRight));
        y += kCaptionLine;
    }
    return texts;
}

// The compass letters beyond their axes' ends, kept inside the area and clear of each other;
// an axis seen nearly end-on has none, its end lying on the origin.
std::vector<TSurfaceText> CompassLetters(cairo_t* cr, const TCamera& camera, const TArea& area) {
    constexpr double kEndOn = 0.3;  // of the axis' length, as projected
    constexpr double kBeyond = 14;  // pixels from the axis' end to the letter's centre
    const std::array<std::pair<TVec, const char*>, 4> axes = {{{{0, kAxis, 0}, Msgid("N")},
                                                               {{kAxis, 0, 0}, Msgid("E")},
                                                               {{0, -kAxis, 0}, Msgid("S")},
                                                               {{-kAxis, 0, 0}, Msgid("W")}}};
    std::vector<TSurfaceText> letters;
    for (const auto& [end, name] : axes) {
        const double dx = camera.X(end) - camera.Place.CentreX;
        const double dy = camera.Y(end) - camera.Place.CentreY;
        const double length = std::hypot(dx, dy);
        if (length < kEndOn * kAxis * camera.Place.Scale) continue;
        TSurfaceText t = Measured(cr, Tr(name), kCompassSize, 0, 0);
        Shift(t, camera.X(end) + dx / length * kBeyond - (t.Left + t.Right) / 2,
              camera.Y(end) + dy / length * kBeyond - (t.Top + t.Bottom) / 2);
        Confine(t, area);
        // Letters that meet (two axes on one line of sight) step apart up and down.
        const TSurfaceText placed = t;
        const double step = t.Bottom - t.Top + 4;
        for (int k = 1; k <= 8 && std::any_of(letters.begin(), letters.end(),
                                              [&](const auto& l) { return Overlap(l, t); });
             ++k) {
            t = placed;
            Shift(t, 0, (k % 2 == 1 ? 1 : -1) * step * ((k + 1) / 2));
            Confine(t, area);
        }
        letters.push_back(t);
    }
    return letters;
}

TTextLayout TextLayout(cairo_t* cr, const TCamera& camera, const TSurfaceView& view,
                       const std::string& title, const std::string& caption) {
    TTextLayout layout;
    const TPlace& place = camera.Place;
    layout.Title = Fitted(cr, title, kTitleSize, kTextLeft, kTitleBaseline, place.Size - kMargin);
    layout.Caption = CaptionLines(cr, caption, place);
    const double captionTop =
        std::min_element(layout.Caption.begin(), layout.Caption.end(),
                         [](const auto& a, const auto& b) { return a.Top < b.Top; })
            ->Top;
    // Between the title and the caption, left of the colour scale.
    layout.Compass = CompassLetters(cr, camera,
                                    {kMargin, std::max(layout.Title.Bottom, kTitleBaseline) + 8,
                                     place.BarX - 14, captionTop - 6});
    for (const double tick : ScaleTicks(view)) {
        const double y =
            place.BarTop + place.BarHeight * (view.Linear ? 1 - tick : tick / view.FloorDb);
        const std::string label =
            view.Linear ? FormatFixed(static_cast<long double>(tick), 18, 2)
                        : TrFormat("%s dB", {FormatFixed(static_cast<long double>(tick), 18, 0)});
        layout.Scale.push_back(Fitted(cr, label, kScaleSize, place.BarX + kBarWidth + 6,
                                      y + kTickToBaseline, place.Size - kMargin));
    }
    return layout;
}

void StrokeAxes(cairo_t* cr, const TCamera& camera) {
    const TVec origin{0, 0, 0};
    for (const TVec& end :
         {TVec{0, kAxis, 0}, TVec{kAxis, 0, 0}, TVec{0, -kAxis, 0}, TVec{-kAxis, 0, 0}}) {
        cairo_move_to(cr, camera.X(origin), camera.Y(origin));
        cairo_line_to(cr, camera.X(end), camera.Y(end));
    }
    cairo_set_source_rgb(cr, 0.45, 0.45, 0.45);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void Show(cairo_t* cr, const TSurfaceText& t) {
    cairo_set_font_size(cr, t.Size);
    cairo_move_to(cr, t.X, t.Y);
    cairo_show_text(cr, t.Text.c_str());
}

// The emitters on the ground plane, at a scale that keeps the widest layout within half the
// radius; drawn over the surface, which in free space encloses them.
void DrawEmitters(cairo_t* cr, const TArray& array, const TCamera& camera) {
    double extent = 0;
    for (const TEmitter& e : array.Emitters) {
        if (e.Enabled) extent = std::max(extent, static_cast<double>(std::hypot(e.X, e.Y)));
    }
    const double layout = 0.5 / std::max(extent, 0.5);
    for (const TEmitter& e : array.Emitters) {
        if (!e.Enabled) continue;
        const TVec p{static_cast<double>(e.X) * layout, static_cast<double>(e.Y) * layout, 0};
        cairo_new_sub_path(cr);
        cairo_arc(cr, camera.X(p), camera.Y(p), 3.5, 0, 2 * static_cast<double>(kPi));
    }
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill(cr);
}

// The direction of a chart's cut as a red ray from the centre past the surface, its tip a dot.
void DrawMarker(cairo_t* cr, const TSurfaceMarker& marker, const TCamera& camera) {
    const double b = marker.BearingDegrees * kRadians;
    const double e = marker.ElevationDegrees * kRadians;
    const TVec tip{kAxis * std::cos(e) * std::sin(b), kAxis * std::cos(e) * std::cos(b),
                   kAxis * std::sin(e)};
    const TVec origin{0, 0, 0};
    cairo_move_to(cr, camera.X(origin), camera.Y(origin));
    cairo_line_to(cr, camera.X(tip), camera.Y(tip));
    cairo_set_source_rgb(cr, 0.85, 0, 0);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_arc(cr, camera.X(tip), camera.Y(tip), 4, 0, 2 * static_cast<double>(kPi));
    cairo_fill(cr);
}

void DrawScale(cairo_t* cr, const TTextLayout& layout, const TPlace& place) {
    const double barX = place.BarX, barTop = place.BarTop;
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, barTop + place.BarHeight, 0, barTop);
    for (const double t : {0.0, 0.125, 0.375, 0.625, 0.875, 1.0}) {
        const auto c = LevelColour(t);
        cairo_pattern_add_color_stop_rgb(gradient, t, c[0], c[1], c[2]);
    }
    cairo_rectangle(cr, barX, barTop, kBarWidth, place.BarHeight);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 1);
    for (const TSurfaceText& t : layout.Scale) {
        const double y = std::round(t.Y - kTickToBaseline) + 0.5;
        cairo_move_to(cr, barX + kBarWidth, y);
        cairo_line_to(cr, barX + kBarWidth + 4, y);
        cairo_stroke(cr);
        Show(cr, t);
    }
}

// What the surface was computed under: the view's conditions, else the chart's caption.
const std::string& Footer(const TSurfaceView& view, const std::string& caption) {
    return view.Subject.Conditions.empty() ? caption : view.Subject.Conditions;
}

}  // namespace

TSurfaceView ChosenView(const TSurfaceView& prepared, TSurfaceView chosen) {
    chosen.Subject = prepared.Subject;
    return chosen;
}

double ViewerBearing(const TSurfaceView& view) {
    return view.ViewBearing.value_or(std::fmod(view.Subject.BeamBearing + kBeamSide, 360));
}

double SurfaceRadius(double value, double maximum, const TSurfaceView& view) {
    if (!(maximum > 0) || !(value > 0)) return 0;
    if (view.Linear) return value / maximum;
    const double db = 20 * std::log10(value / maximum);
    return std::max(0.0, (db - view.FloorDb) / -view.FloorDb);
}

std::vector<double> ScaleTicks(const TSurfaceView& view) {
    if (view.Linear) return {1, 0.75, 0.5, 0.25, 0};
    constexpr int kMostSteps = 5;
    const double depth = -view.FloorDb;
    double step = 1;
    for (const double s : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0}) {
        step = s;
        if (depth <= kMostSteps * s) break;
    }
    std::vector<double> ticks = {0};
    for (int k = 1; k * step <= depth; ++k) ticks.push_back(-k * step);
    return ticks;
}

std::vector<TSurfaceText> SurfaceTexts(const TSurfaceView& view, const std::string& title,
                                       const std::string& caption, double size) {
    const TCairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1));
    const TCairoContext cr(cairo_create(surface.get()));
    cairo_set_font_face(cr.get(), SansFontFace());
    TTextLayout layout =
        TextLayout(cr.get(), Camera(view, PlaceOf(size)), view, title, Footer(view, caption));
    std::vector<TSurfaceText> texts = {layout.Title};
    for (auto* group : {&layout.Compass, &layout.Scale, &layout.Caption}) {
        texts.insert(texts.end(), group->begin(), group->end());
    }
    return texts;
}

void DrawSurface(cairo_t* cr, const TSphereGrid& grid, const TArray& array,
                 const TSurfaceView& view, const std::string& title, const std::string& caption,
                 double size) {
    const TCamera camera = Camera(view, PlaceOf(size));
    const std::vector<TFacet> facets = VisibleFacets(grid, view, camera);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_font_face(cr, SansFontFace());
    const TTextLayout layout = TextLayout(cr, camera, view, title, Footer(view, caption));
    // The ground plane's compass axes: solid under the surface, dashed through it where it
    // hides them, so that the emitters drawn over it stand on the ground plane's cross.
    StrokeAxes(cr, camera);
    for (const TFacet& f : facets) {
        const auto c = LevelColour(f.Level);
        cairo_set_source_rgb(cr, c[0], c[1], c[2]);
        cairo_move_to(cr, f.Corners[0][0], f.Corners[0][1]);
        for (std::size_t k = 1; k < 4; ++k) cairo_line_to(cr, f.Corners[k][0], f.Corners[k][1]);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    const double dash[] = {4, 4};
    cairo_set_dash(cr, dash, 2, 0);
    StrokeAxes(cr, camera);
    cairo_set_dash(cr, nullptr, 0, 0);
    DrawEmitters(cr, array, camera);
    if (view.Marker) DrawMarker(cr, *view.Marker, camera);
    // The letters stand over the surface: a white rim keeps them legible on any colour.
    for (const TSurfaceText& t : layout.Compass) {
        cairo_set_font_size(cr, t.Size);
        cairo_move_to(cr, t.X, t.Y);
        cairo_text_path(cr, t.Text.c_str());
    }
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill(cr);
    Show(cr, layout.Title);
    DrawScale(cr, layout, camera.Place);
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    for (const TSurfaceText& t : layout.Caption) Show(cr, t);
}

std::string SurfacePictureBytes(const TSphereGrid& grid, const TArray& array,
                                const TSurfaceView& view, const std::string& title,
                                const std::string& caption, TPictureFormat format) {
    return RenderPicture(format, TPicturePage{kSize, kSize},
                         [&](cairo_t* cr) { DrawSurface(cr, grid, array, view, title, caption); });
}
