#include "plot/charts.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "config/messages.h"
#include "config/numtext.h"
#include "model/angles.h"
#include "plot/textwrap.h"

namespace {

constexpr double kPiDouble = static_cast<double>(kPi);
constexpr double kRingsDb[] = {0, -3, -6, -10, -20, -30};
constexpr double kRectFloorDb = -40;
// The level of the half-power points the beamwidth is solved at.
const double kHalfPowerDb = static_cast<double>(20 * std::log10(kHalfPowerRatio));
constexpr double kFontSize = 12;
constexpr double kLineWidth = 1.6;
constexpr double kLegendRow = kFontSize * 1.3;
// The legend takes at most this share of a chart's height; the chart keeps the rest.
constexpr double kLegendShare = 0.25;
const char* const kZeroText = Msgid("the pattern is zero");

// The ARRL scale: 0 dB at the full radius, -3 dB at 0.84 of it, the centre at -infinity.
double ArrlRadius(double db) {
    return std::pow(0.89, -db / 2);
}

double LevelDb(long double sample, long double maximum) {
    if (!(sample > 0)) return -HUGE_VAL;
    return static_cast<double>(20 * std::log10(sample / maximum));
}

void SetGrid(cairo_t* cr, bool strong) {
    cairo_set_source_rgb(cr, strong ? 0.35 : 0.72, strong ? 0.35 : 0.72, strong ? 0.35 : 0.72);
    cairo_set_line_width(cr, strong ? 1.0 : 0.6);
    cairo_set_dash(cr, nullptr, 0, 0);
}

void SetSeries(cairo_t* cr, std::size_t n) {
    const auto c = SeriesColour(n);
    cairo_set_source_rgb(cr, c[0], c[1], c[2]);
    cairo_set_line_width(cr, kLineWidth);
    const std::vector<double> dashes = SeriesDashes(n);
    cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()), 0);
}

std::string Integer(double v) {
    return FormatInteger(static_cast<int>(std::lround(v)));
}

std::string DbText(double db) {
    return LevelText(db < 0 ? "\u2212" + Integer(-db) : Integer(db), false);
}

bool IsZero(const TChartSeries& s) {
    return s.Zero || !(s.Pattern.MaxGain > 0);
}

// The amplitude at the chart's 0 dB for a series whose own largest value is `own`.
long double Reference(const TChartSeries& s, long double own) {
    return s.Reference > 0 ? s.Reference : own;
}

// Where a level relative to the series' own maximum lies on the chart's axis.
double OnAxis(const TChartSeries& s, long double own, double db) {
    return s.Reference > 0 ? db + LevelDb(own, s.Reference) : db;
}

// A ring's label: dB below the maximum, or dBi on one axis.
std::string RingText(const std::vector<TChartSeries>& series, double db) {
    if (series.empty() || !series.front().TopDbi) return DbText(db);
    const double dbi = *series.front().TopDbi + db;
    return LevelText(dbi < 0 ? "\u2212" + Integer(-dbi) : Integer(dbi), true);
}

// File names with their colours, top left of the box, as many as the legend's band holds; the
// rest are counted on its last line. The elevation chart adds each cut's bearing.
void DrawLegend(cairo_t* cr, const TChartBox& box, const std::vector<TChartSeries>& series,
                bool bearings = false) {
    const TLegendRows rows = LegendRows(series.size(), box.Height);
    cairo_save(cr);
    cairo_rectangle(cr, box.X, box.Y, box.Width, LegendHeight(rows));
    cairo_clip(cr);
    double y = box.Y + kFontSize * 0.8;
    const bool mixed =
        std::any_of(series.begin(), series.end(), [](const TChartSeries& s) { return s.Gain; });
    for (std::size_t n = 0; n < rows.Named; ++n) {
        SetSeries(cr, n);
        cairo_move_to(cr, box.X, y);
        cairo_line_to(cr, box.X + 18, y);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        std::string more;
        if (bearings) more += ", " + TrFormat("bearing %s deg", {Integer(series[n].CutBearing)});
        if (series[n].PeakDbi) {
            const std::string dbi = FormatFixed(*series[n].PeakDbi, 18, 2);
            // Gains and directivities on one axis say which each is.
            more += ", " + (series[n].Gain ? TrFormat("gain %s dBi", {dbi})
                            : mixed        ? TrFormat("directivity %s dBi", {dbi})
                                           : TrFormat("%s dBi", {dbi}));
        }
        if (IsZero(series[n])) more += ": " + std::string(Tr(kZeroText));
        // A long file name gives way to its figures; the whole line stays inside the box.
        cairo_set_font_size(cr, kFontSize * 0.9);
        cairo_text_extents_t e;
        cairo_text_extents(cr, more.c_str(), &e);
        const double room = box.Width - 24;
        const std::string name = CutToWidth(
            cr, CutToWidth(cr, series[n].Name, std::max(room / 3, room - e.x_advance)) + more,
            room);
        ChartText(cr, box.X + 24, y, name, TTextAlign::Start, kFontSize * 0.9);
        y += kLegendRow;
    }
    if (rows.Unnamed > 0) {
        cairo_set_source_rgb(cr, 0, 0, 0);
        ChartText(cr, box.X + 24, y,
                  TrFormat("and %s more", {FormatInteger(static_cast<int>(rows.Unnamed))}),
                  TTextAlign::Start, kFontSize * 0.9);
    }
    cairo_restore(cr);
}

// A polar chart's frame: rings on the ARRL scale, spokes, their labels. `from` and `to` are
// the directions of the spokes' span in degrees, clockwise from straight up.
struct TPolarFrame {
    double Cx, Cy, Radius;
    // Screen point at compass angle a (degrees clockwise from up) and level db.
    void Point(double a, double db, double& x, double& y) const {
        const double r = Radius * ArrlRadius(db);
        x = Cx + r * std::sin(a * kPiDouble / 180);
        y = Cy - r * std::cos(a * kPiDouble / 180);
    }
};

void DrawRings(cairo_t* cr, const TPolarFrame& f, double from, double to) {
    for (const double db : kRingsDb) {
        SetGrid(cr, db == 0);
        const double r = f.Radius * ArrlRadius(db);
        cairo_new_sub_path(cr);
        cairo_arc(cr, f.Cx, f.Cy, r, (from - 90) * kPiDouble / 180, (to - 90) * kPiDouble / 180);
        cairo_stroke(cr);
    }
}

void DrawCurve(cairo_t* cr, const TPolarFrame& f, const long double* values, int count,
               long double maximum, double angleStep, double angleOf0) {
    for (int k = 0; k < count; ++k) {
        double x;
        double y;
        f.Point(angleOf0 + angleStep * k, LevelDb(values[k], maximum), x, y);
        if (k == 0) {
            cairo_move_to(cr, x, y);
        } else {
            cairo_line_to(cr, x, y);
        }
    }
    cairo_stroke(cr);
}

// Where ChartText puts a text's ink.
struct TInk {
    double Left, Top, Right, Bottom;
};
TInk InkOf(cairo_t* cr, double x, double y, const std::string& text, TTextAlign align,
           double size) {
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    const double share = align == TTextAlign::Start ? 0 : align == TTextAlign::Centre ? 0.5 : 1;
    const double left = x - e.width * share;
    const double top = y - e.height / 2;
    return {left, top, left + e.width, top + e.height};
}

// A ring's label where it clears the labels drawn before it; on a small chart the inner rings
// lie closer than a line of text, and their labels give way to the outer ones.
void LabelUnlessCrowded(cairo_t* cr, std::vector<TInk>& drawn, double x, double y,
                        const std::string& text, TTextAlign align, double size) {
    constexpr double kGap = 1;
    const TInk ink = InkOf(cr, x, y, text, align, size);
    for (const TInk& d : drawn) {
        if (ink.Left < d.Right + kGap && d.Left < ink.Right + kGap && ink.Top < d.Bottom + kGap &&
            d.Top < ink.Bottom + kGap) {
            return;
        }
    }
    drawn.push_back(ink);
    ChartText(cr, x, y, text, align, size);
}

}  // namespace

std::string LevelText(const std::string& number, bool dbi) {
    return dbi ? TrFormat("%s dBi", {number}) : TrFormat("%s dB", {number});
}

std::array<double, 3> SeriesColour(std::size_t n) {
    static constexpr std::array<std::array<double, 3>, kSeriesColours> kColours = {{
        {0.12, 0.35, 0.75},
        {0.84, 0.15, 0.16},
        {0.17, 0.63, 0.17},
        {1.00, 0.50, 0.05},
        {0.58, 0.40, 0.74},
        {0.55, 0.34, 0.29},
        {0.89, 0.47, 0.76},
        {0.09, 0.75, 0.81},
        {0.60, 0.60, 0.00},
        {0.10, 0.10, 0.45},
        {0.80, 0.00, 0.60},
        {0.00, 0.45, 0.40},
    }};
    return kColours[n % kColours.size()];
}

std::vector<double> SeriesDashes(std::size_t n) {
    static const std::vector<double> kPatterns[] = {{}, {7, 4}, {2, 3}, {8, 3, 2, 3}};
    return kPatterns[n / kSeriesColours % std::size(kPatterns)];
}

TLegendRows LegendRows(std::size_t count, double boxHeight) {
    const auto room =
        static_cast<std::size_t>(std::max(1.0, std::floor(boxHeight * kLegendShare / kLegendRow)));
    if (count <= room) return {count, 0};
    return {room - 1, count - (room - 1)};
}

double LegendHeight(const TLegendRows& rows) {
    return kLegendRow * static_cast<double>(rows.Named + (rows.Unnamed > 0 ? 1 : 0));
}

TPolarPlace PolarPlace(const TChartBox& box, std::size_t seriesCount) {
    const double legend = LegendHeight(LegendRows(seriesCount, box.Height));
    const double side = std::min(box.Width, box.Height - legend);
    return {box.X + box.Width / 2, box.Y + legend + side / 2, side / 2 - kFontSize * 2};
}

TChartBox RectPlot(const TChartBox& box, std::size_t seriesCount) {
    const double legend = LegendHeight(LegendRows(seriesCount, box.Height));
    return {box.X + kFontSize * 3.5, box.Y + legend + kFontSize, box.Width - kFontSize * 4.5,
            box.Height - legend - kFontSize * 4};
}

TPolarPlace ElevationPlace(const TChartBox& box, std::size_t seriesCount) {
    const double legend = LegendHeight(LegendRows(seriesCount, box.Height));
    // Below the horizon: the rings' labels, then the axis' title, all inside the box.
    const double radius = std::min(box.Width - kFontSize * 4, box.Height - legend - kFontSize * 6);
    return {box.X + kFontSize * 1.5, box.Y + legend + kFontSize * 2 + radius, radius};
}

void DrawPolarDb(cairo_t* cr, const TChartBox& box, const std::vector<TChartSeries>& series) {
    const TPolarPlace place = PolarPlace(box, series.size());
    const TPolarFrame f{place.Cx, place.Cy, place.Radius};
    DrawRings(cr, f, 0, 360);
    for (int a = 0; a < 360; a += 30) {
        double x;
        double y;
        SetGrid(cr, false);
        cairo_move_to(cr, f.Cx, f.Cy);
        f.Point(a, 0, x, y);
        cairo_line_to(cr, x, y);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        f.Point(a, 0, x, y);
        const double s = std::sin(a * kPiDouble / 180);
        const double c = std::cos(a * kPiDouble / 180);
        ChartText(cr, x + s * kFontSize * 1.1, y - c * kFontSize * 0.9, Integer(a),
                  TTextAlign::Centre);
    }
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    std::vector<TInk> labels;
    for (const double db : kRingsDb) {
        double x;
        double y;
        f.Point(0, db, x, y);
        LabelUnlessCrowded(cr, labels, x + 3, y + kFontSize * 0.5, RingText(series, db),
                           TTextAlign::Start, kFontSize * 0.8);
    }
    for (std::size_t n = 0; n < series.size(); ++n) {
        const TChartSeries& s = series[n];
        if (IsZero(s)) continue;
        SetSeries(cr, n);
        DrawCurve(cr, f, s.Pattern.Samples.data(), kSampleCount, Reference(s, s.Pattern.MaxGain), 1,
                  SampleBearing(0));
        if (!s.HalfPower) continue;
        for (const long double az : {s.HalfPower->Lower, s.HalfPower->Upper}) {
            double x;
            double y;
            f.Point(static_cast<double>(AzimuthBearing(az)),
                    OnAxis(s, s.Pattern.MaxGain, kHalfPowerDb), x, y);
            cairo_new_sub_path(cr);
            cairo_arc(cr, x, y, 3.5, 0, 2 * kPiDouble);
            cairo_fill(cr);
        }
    }
    DrawLegend(cr, box, series);
}

void DrawRectDb(cairo_t* cr, const TChartBox& box, const std::vector<TChartSeries>& series) {
    const TChartBox plot = RectPlot(box, series.size());
    const double left = plot.X, top = plot.Y, width = plot.Width, height = plot.Height;
    const auto x = [&](double bearing) { return left + width * bearing / 360; };
    const auto y = [&](double db) {
        return top + height * std::min(1.0, std::max(0.0, db / kRectFloorDb));
    };
    // A narrow chart numbers every other line: three digits need about two font sizes.
    const int numbered = x(30) - x(0) < kFontSize * 2.5 ? 60 : 30;
    for (int b = 0; b <= 360; b += 30) {
        SetGrid(cr, b == 0 || b == 360);
        cairo_move_to(cr, x(b), top);
        cairo_line_to(cr, x(b), top + height);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        if (b % numbered == 0) {
            ChartText(cr, x(b), top + height + kFontSize, Integer(b), TTextAlign::Centre);
        }
    }
    for (double db = 0; db >= kRectFloorDb; db -= 10) {
        SetGrid(cr, db == 0 || db == kRectFloorDb);
        cairo_move_to(cr, left, y(db));
        cairo_line_to(cr, left + width, y(db));
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        ChartText(cr, left - 4, y(db), RingText(series, db), TTextAlign::End, kFontSize * 0.9);
    }
    const double halfPowerDb = kHalfPowerDb;
    const double dashes[] = {6, 4};
    SetGrid(cr, true);
    cairo_set_dash(cr, dashes, 2, 0);
    cairo_move_to(cr, left, y(halfPowerDb));
    cairo_line_to(cr, left + width, y(halfPowerDb));
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_set_source_rgb(cr, 0, 0, 0);
    ChartText(cr, left + width / 2, top + height + kFontSize * 2.3, Tr("Bearing, deg"),
              TTextAlign::Centre);

    cairo_save(cr);
    cairo_rectangle(cr, left, top, width, height);
    cairo_clip(cr);
    for (std::size_t n = 0; n < series.size(); ++n) {
        const TChartSeries& s = series[n];
        if (IsZero(s)) continue;
        SetSeries(cr, n);
        for (int b = 0; b <= 360; ++b) {
            const long double v = s.Pattern.Samples[static_cast<unsigned>(BearingSample(b))];
            const double level =
                std::max(kRectFloorDb - 1, LevelDb(v, Reference(s, s.Pattern.MaxGain)));
            if (b == 0) {
                cairo_move_to(cr, x(b), y(level));
            } else {
                cairo_line_to(cr, x(b), y(level));
            }
        }
        cairo_stroke(cr);
        if (!s.HalfPower) continue;
        for (const long double az : {s.HalfPower->Lower, s.HalfPower->Upper}) {
            const auto bearing = static_cast<double>(AzimuthBearing(az));
            cairo_new_sub_path(cr);
            cairo_arc(cr, x(bearing), y(OnAxis(s, s.Pattern.MaxGain, halfPowerDb)), 3.5, 0,
                      2 * kPiDouble);
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
    DrawLegend(cr, box, series);
}

void DrawElevationChart(cairo_t* cr, const TChartBox& box,
                        const std::vector<TChartSeries>& series) {
    const TPolarPlace place = ElevationPlace(box, series.size());
    const TPolarFrame f{place.Cx, place.Cy, place.Radius};
    DrawRings(cr, f, 0, 90);
    for (int e = 0; e <= 90; e += 15) {
        double x;
        double y;
        SetGrid(cr, e == 0 || e == 90);
        cairo_move_to(cr, f.Cx, f.Cy);
        f.Point(90 - e, 0, x, y);
        cairo_line_to(cr, x, y);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        const double a = (90 - e) * kPiDouble / 180;
        ChartText(cr, x + std::sin(a) * kFontSize * 1.1, y - std::cos(a) * kFontSize * 0.9,
                  Integer(e), TTextAlign::Centre);
    }
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    // The inner rings crowd towards the centre: their labels alternate below the horizon.
    int ring = 0;
    std::vector<TInk> labels;
    for (const double db : kRingsDb) {
        double x;
        double y;
        f.Point(90, db, x, y);
        const double below = (ring++ % 2 == 0 ? 0.8 : 1.8) * kFontSize;
        LabelUnlessCrowded(cr, labels, x, y + below, RingText(series, db), TTextAlign::Centre,
                           kFontSize * 0.75);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    ChartText(cr, f.Cx, f.Cy + kFontSize * 3, Tr("Elevation, deg"), TTextAlign::Start);
    for (std::size_t n = 0; n < series.size(); ++n) {
        const TChartSeries& s = series[n];
        const long double maximum = *std::max_element(s.Cut.begin(), s.Cut.end());
        if (IsZero(s) || !(maximum > 0)) continue;
        SetSeries(cr, n);
        DrawCurve(cr, f, s.Cut.data(), kElevationCutCount, Reference(s, maximum), -1, 90);
        if (!s.Takeoff) continue;
        // The take-off angle at the lobe's top, its half-power elevations on the -3 dB ring.
        const auto& [takeoff, low, high] = *s.Takeoff;
        const std::array<std::pair<long double, double>, 3> marks = {
            {{takeoff, 0}, {low, kHalfPowerDb}, {high, kHalfPowerDb}}};
        for (const auto& [elevation, db] : marks) {
            double x;
            double y;
            f.Point(90 - static_cast<double>(elevation), OnAxis(s, maximum, db), x, y);
            cairo_new_sub_path(cr);
            cairo_arc(cr, x, y, elevation == takeoff ? 4.5 : 3.5, 0, 2 * kPiDouble);
            cairo_fill(cr);
        }
    }
    DrawLegend(cr, box, series, true);
}

bool UseDbiScale(std::vector<TChartSeries>& series) {
    double top = -HUGE_VAL;
    for (const TChartSeries& s : series) {
        if (!s.MeanPowerDb || IsZero(s)) return false;
        top =
            std::max(top, static_cast<double>(20 * std::log10(s.Pattern.MaxGain) - *s.MeanPowerDb));
    }
    if (series.empty()) return false;
    top = std::ceil(top);
    for (TChartSeries& s : series) {
        s.TopDbi = top;
        s.PeakDbi = static_cast<double>(20 * std::log10(s.Pattern.MaxGain) - *s.MeanPowerDb);
        s.Reference = std::pow(10.0L, (*s.MeanPowerDb + top) / 20);
    }
    return true;
}

std::optional<long double> DiagramFullScale(const TChartSeries& series) {
    if (!series.Gain || !(series.Pattern.MaxGain > 0)) return std::nullopt;
    return series.Pattern.MaxGain;
}
