#include "plot/sweepchart.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

#include "config/numtext.h"
#include "plot/charts.h"
#include "plot/picturerender.h"
#include "plot/sansfont.h"

namespace {

constexpr double kWidth = 960;
constexpr double kLeft = 90, kRight = 30, kTop = 14, kBottom = 56;  // pixels
constexpr double kTitleBand = 22;
constexpr double kPanelHeight = 120;
constexpr double kPanelGap = 10;
constexpr double kFontSize = 11;
constexpr double kMarkSize = 5;

struct TAxis {
    double Low, High, Step;
    // The multiples of the step from Low to High, a multiple within rounding of zero as 0.
    std::vector<double> Ticks() const {
        std::vector<double> ticks;
        const double first = std::ceil(Low / Step - 1e-9);
        for (double k = first; k * Step <= High + 1e-9 * Step; ++k) {
            ticks.push_back(std::fabs(k) < 0.5 ? 0 : k * Step);
        }
        return ticks;
    }
};

// The round step, 1, 2, 2.5 or 5 times a power of ten, nearest above span / intervals.
double RoundStep(double span, double intervals) {
    const double raw = span / intervals;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 2.5, 5.0}) {
        if (m * power >= raw) return m * power;
    }
    return 10 * power;
}

// The range of the finite values, widened where they are all one value, or none.
std::pair<double, double> FiniteRange(const std::vector<double>& v) {
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (const double x : v) {
        if (!std::isfinite(x)) continue;
        low = std::min(low, x);
        high = std::max(high, x);
    }
    if (!(low <= high)) return {0, 1};
    const double least = 1e-9 * std::max(1.0, std::fabs(high));
    if (high - low < least) {
        const double widen = std::max(1.0, std::fabs(high) * 0.05);
        return {low - widen, high + widen};
    }
    return {low, high};
}

// A figure's axis: its range rounded out to whole steps.
TAxis ValueAxis(const std::vector<double>& values) {
    const auto [low, high] = FiniteRange(values);
    const double step = RoundStep(high - low, 4);
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

// The decimals that show every multiple of the step exactly.
int StepDecimals(double step) {
    int decimals = 0;
    while (decimals < 6) {
        const double scaled = step * std::pow(10.0, decimals);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * scaled) break;
        ++decimals;
    }
    return decimals;
}

std::string Number(double v, int decimals) {
    std::string text = FormatFixed(static_cast<long double>(v), 18, decimals);
    if (text.starts_with('-')) text = "\u2212" + text.substr(1);
    return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A tick's text in the unit the column's name ends in.
std::string TickText(const std::string& column, double v, int decimals) {
    const std::string number = Number(v, decimals);
    if (EndsWith(column, "_dbi")) return LevelText(number, true);
    if (EndsWith(column, "_db")) return LevelText(number, false);
    if (EndsWith(column, "_deg") || column == "bearing") return number + "\u00b0";
    return number;
}

void SetGrid(cairo_t* cr, bool strong) {
    const double grey = strong ? 0.35 : 0.8;
    cairo_set_source_rgb(cr, grey, grey, grey);
    cairo_set_line_width(cr, strong ? 1.0 : 0.6);
}

// A small triangle on the panel's edge at x, pointing out of the panel: an infinite value.
void InfinityMark(cairo_t* cr, double x, double edge, double outwards) {
    cairo_move_to(cr, x - kMarkSize, edge - outwards * 2);
    cairo_line_to(cr, x + kMarkSize, edge - outwards * 2);
    cairo_line_to(cr, x, edge + outwards * (kMarkSize * 1.6 - 2));
    cairo_close_path(cr);
    cairo_fill(cr);
}

// An infinite value lies this share of a step beyond the last tick, apart from every finite one.
constexpr double kInfinityRoom = 0.6;

struct TPanel {
    double Top, Height;  // of the plotting area, pixels
    TAxis Axis;
    bool Above = false, Below = false;  // room for infinite values past the axis' ends
    double Y(double v) const {
        const double high = Axis.High + (Above ? kInfinityRoom * Axis.Step : 0);
        const double low = Axis.Low - (Below ? kInfinityRoom * Axis.Step : 0);
        if (std::isinf(v)) return v > 0 ? Top : Top + Height;
        return Top + Height * (1 - (v - low) / (high - low));
    }
};

TPanel PanelOf(double top, double height, const std::vector<double>& values) {
    TPanel panel{top, height, ValueAxis(values)};
    for (const double v : values) {
        if (std::isinf(v)) (v > 0 ? panel.Above : panel.Below) = true;
    }
    return panel;
}

void DrawPanel(cairo_t* cr, double chartWidth, const TPanel& p, const TSweepSeries& s,
               const std::vector<double>& x, const TAxis& xAxis, std::size_t colour) {
    const double width = chartWidth - kLeft - kRight;
    const auto px = [&](double v) {
        return kLeft + width * (v - xAxis.Low) / (xAxis.High - xAxis.Low);
    };
    for (const double t : xAxis.Ticks()) {
        SetGrid(cr, false);
        cairo_move_to(cr, px(t), p.Top);
        cairo_line_to(cr, px(t), p.Top + p.Height);
        cairo_stroke(cr);
    }
    const int decimals = StepDecimals(p.Axis.Step);
    for (const double t : p.Axis.Ticks()) {
        SetGrid(cr, false);
        cairo_move_to(cr, kLeft, p.Y(t));
        cairo_line_to(cr, kLeft + width, p.Y(t));
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        ChartText(cr, kLeft - 6, p.Y(t), TickText(s.Name, t, decimals), TTextAlign::End, kFontSize);
    }
    SetGrid(cr, true);
    cairo_rectangle(cr, kLeft, p.Top, width, p.Height);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    ChartText(cr, kLeft, p.Top - kTitleBand / 2, s.Title, TTextAlign::Start, kFontSize * 1.1);

    const auto c = SeriesColour(colour);
    cairo_set_source_rgb(cr, c[0], c[1], c[2]);
    cairo_set_line_width(cr, 1.6);
    const std::size_t n = std::min(x.size(), s.Values.size());
    for (std::size_t i = 0; i < n; ++i) {
        const double v = s.Values[i];
        if (std::isnan(v)) continue;
        const bool joined = i > 0 && !std::isnan(s.Values[i - 1]);
        const bool followed = i + 1 < n && !std::isnan(s.Values[i + 1]);
        if (joined) {
            cairo_line_to(cr, px(x[i]), p.Y(v));
        } else {
            cairo_move_to(cr, px(x[i]), p.Y(v));
        }
        if (!joined && !followed) {
            // A value between two missing ones is a dot of its own.
            cairo_stroke(cr);
            cairo_arc(cr, px(x[i]), p.Y(v), 2.5, 0, 2 * std::numbers::pi);
            cairo_fill(cr);
        }
    }
    cairo_stroke(cr);
    for (std::size_t i = 0; i < n; ++i) {
        const double v = s.Values[i];
        if (std::isinf(v)) InfinityMark(cr, px(x[i]), p.Y(v), v > 0 ? -1 : 1);
    }
    // The key to the marks, after the title.
    cairo_set_font_size(cr, kFontSize * 1.1);
    cairo_text_extents_t e;
    cairo_text_extents(cr, s.Title.c_str(), &e);
    double keyX = kLeft + e.x_advance + 3 * kMarkSize;
    const double keyY = p.Top - kTitleBand / 2;
    for (const auto& [shown, sign, text] :
         {std::tuple{p.Above, -1, "= +\u221e"}, std::tuple{p.Below, 1, "= \u2212\u221e"}}) {
        if (!shown) continue;
        cairo_set_source_rgb(cr, c[0], c[1], c[2]);
        InfinityMark(cr, keyX, keyY - sign * kMarkSize * 0.3, sign);
        cairo_set_source_rgb(cr, 0, 0, 0);
        ChartText(cr, keyX + 2 * kMarkSize, keyY, text, TTextAlign::Start, kFontSize * 1.1);
        cairo_text_extents_t key;
        cairo_text_extents(cr, text, &key);
        keyX += key.x_advance + 5 * kMarkSize;
    }
}

}  // namespace

double SweepChartHeight(std::size_t panels, double panelHeight) {
    const double n = static_cast<double>(std::max<std::size_t>(panels, 1));
    return kTop + n * (kTitleBand + panelHeight + kPanelGap) - kPanelGap + kBottom;
}

void DrawSweepChart(cairo_t* cr, double chartWidth, double panelHeight,
                    const std::string& parameter, const std::vector<double>& x,
                    const std::vector<TSweepSeries>& series) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_font_face(cr, SansFontFace());
    const double width = chartWidth - kLeft - kRight;
    const auto [x0, x1] = FiniteRange(x);
    // As many intervals as fit their numbers, at most the picture file's eight.
    const double intervals = std::clamp(std::floor(width / 60), 2.0, 8.0);
    const TAxis xAxis{x0, x1, RoundStep(x1 - x0, intervals)};
    double top = kTop + kTitleBand;
    for (std::size_t n = 0; n < series.size(); ++n) {
        DrawPanel(cr, chartWidth, PanelOf(top, panelHeight, series[n].Values), series[n], x, xAxis,
                  n);
        top += kTitleBand + panelHeight + kPanelGap;
    }
    const double axisY = top - kTitleBand - kPanelGap;
    const int decimals = StepDecimals(xAxis.Step);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (const double t : xAxis.Ticks()) {
        ChartText(cr, kLeft + width * (t - x0) / (x1 - x0), axisY + kFontSize, Number(t, decimals),
                  TTextAlign::Centre, kFontSize);
    }
    ChartText(cr, kLeft + width / 2, axisY + kFontSize * 3, parameter, TTextAlign::Centre,
              kFontSize * 1.1);
}

std::string SweepChartBytes(const std::string& parameter, const std::vector<double>& x,
                            const std::vector<TSweepSeries>& series, TPictureFormat format) {
    return RenderPicture(
        format, TPicturePage{kWidth, SweepChartHeight(series.size(), kPanelHeight)},
        [&](cairo_t* cr) { DrawSweepChart(cr, kWidth, kPanelHeight, parameter, x, series); });
}
