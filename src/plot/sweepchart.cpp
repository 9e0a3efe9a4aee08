#include "plot/sweepchart.h"

#include <algorithm>
#include <cmath>

#include "config/numtext.h"
#include "plot/charts.h"
#include "plot/picturerender.h"
#include "plot/sansfont.h"

namespace {

constexpr double kWidth = 960;
constexpr double kHeight = 540;
constexpr double kLeft = 70, kRight = 30, kTop = 30, kBottom = 60;
constexpr double kFontSize = 12;

// The range of the finite values, widened where they are all one value.
std::pair<double, double> Range(const std::vector<double>& v) {
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (const double x : v) {
        if (!std::isfinite(x)) continue;
        low = std::min(low, x);
        high = std::max(high, x);
    }
    if (!(low <= high)) return {0, 1};
    if (high - low < 1e-12 * std::max(1.0, std::fabs(high))) return {low - 1, high + 1};
    return {low, high};
}

void Label(cairo_t* cr, double x, double y, const std::string& text) {
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, text.c_str());
}

}  // namespace

std::string SweepChartBytes(const std::string& parameter, const std::vector<double>& x,
                            const std::vector<TSweepSeries>& series, TPictureFormat format) {
    return RenderPicture(format, TPicturePage{kWidth, kHeight}, [&](cairo_t* cr) {
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_set_font_face(cr, SansFontFace());
        cairo_set_font_size(cr, kFontSize);
        const double w = kWidth - kLeft - kRight;
        const double h = kHeight - kTop - kBottom;
        const auto [x0, x1] = Range(x);
        cairo_set_source_rgb(cr, 0.35, 0.35, 0.35);
        cairo_set_line_width(cr, 1);
        cairo_rectangle(cr, kLeft, kTop, w, h);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        Label(cr, kLeft, kHeight - 20, FormatFixed(static_cast<long double>(x0), 18, 3));
        Label(cr, kLeft + w - 40, kHeight - 20, FormatFixed(static_cast<long double>(x1), 18, 3));
        Label(cr, kLeft + w / 2 - 20, kHeight - 20, parameter);
        // Each figure on its own scale: the legend gives its range.
        for (std::size_t n = 0; n < series.size(); ++n) {
            const auto [y0, y1] = Range(series[n].Values);
            const auto colour = SeriesColour(n);
            cairo_set_source_rgb(cr, colour[0], colour[1], colour[2]);
            cairo_set_line_width(cr, 1.6);
            bool drawing = false;
            for (std::size_t i = 0; i < x.size() && i < series[n].Values.size(); ++i) {
                const double v = series[n].Values[i];
                if (!std::isfinite(v)) {
                    drawing = false;
                    continue;
                }
                const double px = kLeft + w * (x[i] - x0) / (x1 - x0);
                const double py = kTop + h * (1 - (v - y0) / (y1 - y0));
                if (drawing) {
                    cairo_line_to(cr, px, py);
                } else {
                    cairo_move_to(cr, px, py);
                }
                drawing = true;
            }
            cairo_stroke(cr);
            const double ly = kTop + 16 + kFontSize * 1.3 * static_cast<double>(n);
            cairo_move_to(cr, kLeft + 10, ly - 4);
            cairo_line_to(cr, kLeft + 28, ly - 4);
            cairo_stroke(cr);
            cairo_set_source_rgb(cr, 0, 0, 0);
            Label(cr, kLeft + 34, ly,
                  series[n].Name + " " + FormatFixed(static_cast<long double>(y0), 18, 2) + "…" +
                      FormatFixed(static_cast<long double>(y1), 18, 2));
        }
    });
}
