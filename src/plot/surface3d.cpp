#include "plot/surface3d.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "config/messages.h"
#include "config/numtext.h"
#include "model/angles.h"
#include "plot/picturerender.h"
#include "plot/sansfont.h"

namespace {

constexpr double kSize = 880;
constexpr double kRadians = static_cast<double>(kDegree);
constexpr double kScale = 330;  // pixels of a radius of 1
constexpr double kCentreX = 410, kCentreY = 470;

struct TVec {
    double E, N, U;
};

struct TCamera {
    TVec Towards;  // from the origin to the viewer
    TVec Right;
    TVec Up;

    double X(const TVec& p) const { return kCentreX + kScale * Dot(p, Right); }
    double Y(const TVec& p) const { return kCentreY - kScale * Dot(p, Up); }
    double Depth(const TVec& p) const { return Dot(p, Towards); }
    static double Dot(const TVec& a, const TVec& b) { return a.E * b.E + a.N * b.N + a.U * b.U; }
};

TCamera Camera(const TSurfaceView& view) {
    const double a = view.ViewBearing * kRadians;
    const double e = view.ViewElevation * kRadians;
    TCamera c;
    c.Towards = {std::cos(e) * std::sin(a), std::cos(e) * std::cos(a), std::sin(e)};
    c.Right = {-std::cos(a), std::sin(a), 0};
    // Up = Towards x Right.
    c.Up = {c.Towards.N * c.Right.U - c.Towards.U * c.Right.N,
            c.Towards.U * c.Right.E - c.Towards.E * c.Right.U,
            c.Towards.E * c.Right.N - c.Towards.N * c.Right.E};
    return c;
}

// Blue at the floor through cyan, green and yellow to red at the maximum.
std::array<double, 3> LevelColour(double t) {
    t = std::clamp(t, 0.0, 1.0);
    const double r = std::clamp(1.5 - std::fabs(4 * t - 3), 0.0, 1.0);
    const double g = std::clamp(1.5 - std::fabs(4 * t - 2), 0.0, 1.0);
    const double b = std::clamp(1.5 - std::fabs(4 * t - 1), 0.0, 1.0);
    return {r, g, b};
}

struct TFacet {
    std::array<TVec, 4> Corners;
    double Depth;
    double Level;  // 0..1
};

}  // namespace

double SurfaceRadius(double value, double maximum, const TSurfaceView& view) {
    if (!(maximum > 0) || !(value > 0)) return 0;
    if (view.Linear) return value / maximum;
    const double db = 20 * std::log10(value / maximum);
    return std::max(0.0, (db - view.FloorDb) / -view.FloorDb);
}

std::string SurfacePictureBytes(const TSphereGrid& grid, const TArray& array,
                                const TSurfaceView& view, const std::string& title,
                                const std::string& caption, TPictureFormat format) {
    const TCamera camera = Camera(view);
    const auto point = [&](int i, int j) {
        const double r = SurfaceRadius(grid.At(i, j), grid.Maximum, view);
        const double b = i * grid.StepDegrees * kRadians;
        const double e = std::min(90.0, grid.LowestElevation + j * grid.StepDegrees) * kRadians;
        return TVec{r * std::cos(e) * std::sin(b), r * std::cos(e) * std::cos(b), r * std::sin(e)};
    };
    std::vector<TFacet> facets;
    for (int j = 0; j + 1 < grid.Elevations; ++j) {
        for (int i = 0; i + 1 < grid.Bearings; ++i) {
            TFacet f;
            f.Corners = {point(i, j), point(i + 1, j), point(i + 1, j + 1), point(i, j + 1)};
            double depth = 0, level = 0;
            for (int k = 0; k < 4; ++k)
                depth += camera.Depth(f.Corners[static_cast<std::size_t>(k)]);
            for (const auto& [di, dj] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
                level += SurfaceRadius(grid.At(i + di, j + dj), grid.Maximum, view);
            }
            f.Depth = depth / 4;
            f.Level = level / 4;
            if (f.Level <= 0) continue;  // at the floor: nothing to see
            facets.push_back(f);
        }
    }
    // Painter's order: the farthest facets first.
    std::sort(facets.begin(), facets.end(),
              [](const TFacet& a, const TFacet& b) { return a.Depth < b.Depth; });
    return RenderPicture(format, TPicturePage{kSize, kSize}, [&](cairo_t* cr) {
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_set_font_face(cr, SansFontFace());
        // The ground plane's compass axes and the emitters, under the surface.
        cairo_set_line_width(cr, 1);
        cairo_set_source_rgb(cr, 0.45, 0.45, 0.45);
        const TVec origin{0, 0, 0};
        const std::array<std::pair<TVec, const char*>, 4> axes = {{{{0, 1.25, 0}, Msgid("N")},
                                                                   {{1.25, 0, 0}, Msgid("E")},
                                                                   {{0, -1.25, 0}, Msgid("S")},
                                                                   {{-1.25, 0, 0}, Msgid("W")}}};
        for (const auto& [end, name] : axes) {
            cairo_move_to(cr, camera.X(origin), camera.Y(origin));
            cairo_line_to(cr, camera.X(end), camera.Y(end));
            cairo_stroke(cr);
        }
        double extent = 0;
        for (const TEmitter& e : array.Emitters) {
            if (e.Enabled) extent = std::max(extent, static_cast<double>(std::hypot(e.X, e.Y)));
        }
        const double layout = extent > 0 ? 0.5 / std::max(extent, 0.5) : 0;
        cairo_set_source_rgb(cr, 0.85, 0, 0);
        for (const TEmitter& e : array.Emitters) {
            if (!e.Enabled) continue;
            const TVec p{static_cast<double>(e.X) * layout, static_cast<double>(e.Y) * layout, 0};
            cairo_new_sub_path(cr);
            cairo_arc(cr, camera.X(p), camera.Y(p), 3.5, 0, 2 * static_cast<double>(kPi));
            cairo_fill(cr);
        }
        cairo_set_line_width(cr, 0.6);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        for (const TFacet& f : facets) {
            const auto c = LevelColour(f.Level);
            cairo_set_source_rgb(cr, c[0], c[1], c[2]);
            cairo_move_to(cr, camera.X(f.Corners[0]), camera.Y(f.Corners[0]));
            for (std::size_t k = 1; k < 4; ++k)
                cairo_line_to(cr, camera.X(f.Corners[k]), camera.Y(f.Corners[k]));
            cairo_close_path(cr);
            cairo_fill_preserve(cr);
            cairo_stroke(cr);
        }
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_set_font_size(cr, 14);
        for (const auto& [end, name] : axes) {
            cairo_move_to(cr, camera.X(end) - 5, camera.Y(end) + 5);
            cairo_show_text(cr, Tr(name));
        }
        cairo_move_to(cr, 20, 30);
        cairo_set_font_size(cr, 15);
        cairo_show_text(cr, title.c_str());
        // The colour scale.
        constexpr double kBarX = 820, kBarTop = 120, kBarHeight = 520;
        for (int k = 0; k < 100; ++k) {
            const auto c = LevelColour(1 - k / 100.0);
            cairo_set_source_rgb(cr, c[0], c[1], c[2]);
            cairo_rectangle(cr, kBarX, kBarTop + kBarHeight * k / 100, 20, kBarHeight / 100 + 0.5);
            cairo_fill(cr);
        }
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_set_font_size(cr, 11);
        for (int k = 0; k <= 4; ++k) {
            const double t = 1 - k / 4.0;
            const std::string label =
                view.Linear
                    ? FormatFixed(static_cast<long double>(t), 18, 2)
                    : TrFormat(
                          "%s dB",
                          {FormatFixed(static_cast<long double>(view.FloorDb * (1 - t)), 18, 0)});
            // Right-aligned against the bar.
            cairo_text_extents_t e;
            cairo_text_extents(cr, label.c_str(), &e);
            cairo_move_to(cr, kBarX - 6 - e.x_advance, kBarTop + kBarHeight * k / 4 + 4);
            cairo_show_text(cr, label.c_str());
        }
        // The conditions at the foot, as under every chart.
        cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
        cairo_set_font_size(cr, 10);
        cairo_move_to(cr, 20, kSize - 14);
        cairo_show_text(cr, caption.c_str());
    });
}
