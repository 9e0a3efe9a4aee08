#include "plot/htmlreport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "config/messages.h"
#include "config/numtext.h"
#include "model/angles.h"
#include "plot/diagramfile.h"
#include "plot/htmlpage.h"
#include "plot/sansfont.h"
#include "plot/svgtext.h"

extern "C" const char kThreeJs[];
extern "C" const char kThreeJsEnd[];
extern "C" const char kOrbitControls[];
extern "C" const char kOrbitControlsEnd[];

namespace {

constexpr double kReadoutFloorDb = -60;  // the lowest level the pointer's read-out states
// The page's charts in pixels, their texts at the size of the pictures' own.
constexpr double kMargin = 10;
constexpr TChartBox kPolarBox{kMargin, kMargin, 420, 470};
constexpr TChartBox kRectBox{kMargin, kMargin, 560, 330};
constexpr TChartBox kElevationBox{kMargin, kMargin, 420, 380};
// The printed 3-D picture takes every third sample of the pane's grid: facets of 6 degrees
// read well on paper and keep the report within a fraction of a second.
constexpr int kPrintGridStride = 3;
// The colour scale beside the 3-D pane, pixels.
constexpr double kScaleWidth = 70, kScaleHeight = 300, kBarWidth = 14, kBarTop = 12;

// A number for the page's data to the decimals, trailing zeros dropped: four decimals are far
// finer than a pixel.
void Number(std::string& out, double v, int decimals = 4) {
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    std::string_view text(buffer, static_cast<std::size_t>(end.ptr - buffer));
    if (decimals > 0) {
        while (text.back() == '0') text.remove_suffix(1);
        if (text.back() == '.') text.remove_suffix(1);
    }
    if (text == "-0") text = "0";
    out += text;
}

void Numbers(std::string& out, const std::vector<double>& values, int decimals = 4) {
    out += '[';
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (k) out += ',';
        Number(out, values[k], decimals);
    }
    out += ']';
}

double LevelDb(long double v, long double maximum) {
    if (!(v > 0) || !(maximum > 0)) return kReadoutFloorDb;
    return std::max(kReadoutFloorDb, static_cast<double>(20 * std::log10(v / maximum)));
}

// Levels (dB) at compass bearings 0..360.
std::vector<double> BearingLevels(const TChartSeries& s) {
    std::vector<double> levels;
    for (int b = 0; b <= 360; ++b) {
        levels.push_back(
            LevelDb(s.Pattern.Samples[static_cast<unsigned>(BearingSample(b))], s.Pattern.MaxGain));
    }
    return levels;
}

// Levels (dB) of the elevation cut at elevations 0..90, to the cut's own maximum.
std::vector<double> CutLevels(const TChartSeries& s) {
    const long double maximum = *std::max_element(s.Cut.begin(), s.Cut.end());
    std::vector<double> levels;
    for (const long double v : s.Cut) levels.push_back(LevelDb(v, maximum));
    return levels;
}

// Every stride-th sample of the grid both ways: the same surface on coarser facets.
TSphereGrid Coarser(const TSphereGrid& grid, int stride) {
    TSphereGrid coarse;
    coarse.StepDegrees = grid.StepDegrees * stride;
    coarse.LowestElevation = grid.LowestElevation;
    coarse.Bearings = (grid.Bearings - 1) / stride + 1;
    coarse.Elevations = (grid.Elevations - 1) / stride + 1;
    coarse.Maximum = grid.Maximum;
    for (int j = 0; j < coarse.Elevations; ++j) {
        for (int i = 0; i < coarse.Bearings; ++i)
            coarse.Values.push_back(grid.At(i * stride, j * stride));
    }
    return coarse;
}

using TDraw = void (*)(cairo_t*, const TChartBox&, const std::vector<TChartSeries>&);

// A chart as inline SVG with its texts as text, and where its curves lie for the read-out.
std::string Chart(const char* kind, TDraw draw, const TChartBox& box, const std::string& which,
                  const std::vector<TChartSeries>& series) {
    std::string svg = TextSvg(box.Width + 2 * kMargin, box.Height + 2 * kMargin,
                              std::string(1, kind[0]) + which + "-", [&](cairo_t* cr) {
                                  cairo_set_source_rgb(cr, 1, 1, 1);
                                  cairo_paint(cr);
                                  cairo_set_font_face(cr, SansFontFace());
                                  draw(cr, box, series);
                              });
    std::string attributes =
        " class=\"chart " + std::string(kind) + "\" data-files=\"" + which + "\"";
    const auto data = [&](const char* name, double v) {
        attributes += std::string(" data-") + name + "=\"";
        Number(attributes, v, 2);
        attributes += '"';
    };
    if (draw == DrawRectDb) {
        const TChartBox plot = RectPlot(box, series.size());
        data("left", plot.X);
        data("width", plot.Width);
    } else {
        const TPolarPlace place = draw == DrawPolarDb ? PolarPlace(box, series.size())
                                                      : ElevationPlace(box, series.size());
        data("cx", place.Cx);
        data("cy", place.Cy);
    }
    svg.insert(4, attributes);
    return svg;
}

// The polar, level and elevation charts of the series, and the read-out of the pointer.
void Charts(std::string& out, const std::string& which, const std::vector<TChartSeries>& series) {
    out += "<div class=\"charts\">";
    out += Chart("polar", DrawPolarDb, kPolarBox, which, series);
    out += Chart("elevation", DrawElevationChart, kElevationBox, which, series);
    out += Chart("rect", DrawRectDb, kRectBox, which, series);
    out += "<div class=\"readout\"></div></div>";
}

// The network the array is fed through, under its figures; nothing without one.
void NetworkTable(std::string& out, const TReportNetwork& n) {
    if (n.Transmitter.empty()) return;
    out += "<h3>" + EscapeMarkup(Tr("Feed network")) + "</h3><table class=\"network\">";
    for (const auto& [caption, value] : n.Transmitter) {
        out +=
            "<tr><td>" + EscapeMarkup(caption) + "</td><td>" + EscapeMarkup(value) + "</td></tr>";
    }
    out += "</table><table class=\"network-emitters\"><tr>";
    for (const std::string& head : n.Heads) out += "<th>" + EscapeMarkup(head) + "</th>";
    out += "</tr>";
    for (const auto& row : n.Emitters) {
        out += "<tr>";
        for (const std::string& cell : row) out += "<td>" + EscapeMarkup(cell) + "</td>";
        out += "</tr>";
    }
    out += "</table>";
}

void Table(std::string& out, const TReportArray& r) {
    out += "<table class=\"emitters\"><tr><th>" + EscapeMarkup(Tr("No.")) + "</th><th>" +
           EscapeMarkup(Tr("On")) + "</th><th>X</th><th>Y</th><th>" + EscapeMarkup(Tr("Phase")) +
           "</th>";
    for (const std::string& head : r.Wires.Heads) out += "<th>" + EscapeMarkup(head) + "</th>";
    out += "</tr>";
    for (int k = 0; k < kEmitterCount; ++k) {
        const auto u = static_cast<unsigned>(k);
        if (!r.Enabled[u]) continue;  // an emitter that is off adds nothing
        out += "<tr><td>" + std::to_string(k + 1) + "</td><td>" +
               EscapeMarkup(r.Enabled[u] ? Tr("yes") : Tr("no")) + "</td>";
        for (const std::string& cell : r.Grid[u]) out += "<td>" + EscapeMarkup(cell) + "</td>";
        for (const std::string& cell : r.Wires.Cells[u])
            out += "<td>" + EscapeMarkup(cell) + "</td>";
        out += "</tr>";
    }
    out += "</table><table class=\"figures\">";
    for (const auto& [caption, value] : r.Figures) {
        out +=
            "<tr><td>" + EscapeMarkup(caption) + "</td><td>" + EscapeMarkup(value) + "</td></tr>";
    }
    out += "</table>";
    NetworkTable(out, r.Network);
}

// The 3-D picture of `plot --kind 3d` on the print grid, shown on paper in the pane's place.
void PrintedSurface(std::string& out, const TChartArray& a, std::size_t n) {
    if (!a.Surface) return;
    out += "<div class=\"printed3d\"><h3>" + EscapeMarkup(Tr("The pattern in space")) + "</h3>";
    out += InlineSvg(SurfacePictureBytes(Coarser(*a.Surface, kPrintGridStride), a.Array, a.View,
                                         a.Report.Series.Name, a.Caption, TPictureFormat::Svg),
                     "s" + std::to_string(n) + "-");
    out += "</div>";
}

// The 3-D pane's colour scale: the 3-D picture's colours and round dB ticks, as text.
std::string ColourScale(const TSurfaceView& view) {
    return TextSvg(kScaleWidth, kScaleHeight, "scale-", [&](cairo_t* cr) {
        const double height = kScaleHeight - 2 * kBarTop;
        cairo_pattern_t* gradient = cairo_pattern_create_linear(0, kBarTop + height, 0, kBarTop);
        for (const auto& stop : kSurfaceColourStops) {
            cairo_pattern_add_color_stop_rgb(gradient, stop[0], stop[1], stop[2], stop[3]);
        }
        cairo_rectangle(cr, 0, kBarTop, kBarWidth, height);
        cairo_set_source(cr, gradient);
        cairo_fill(cr);
        cairo_pattern_destroy(gradient);
        cairo_set_font_face(cr, SansFontFace());
        cairo_set_line_width(cr, 1);
        for (const double tick : ScaleTicks(view)) {
            const double y =
                std::round(kBarTop + height * (view.Linear ? 1 - tick : tick / view.FloorDb)) + 0.5;
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_move_to(cr, kBarWidth, y);
            cairo_line_to(cr, kBarWidth + 4, y);
            cairo_stroke(cr);
            const std::string label =
                view.Linear ? FormatFixed(static_cast<long double>(tick), 18, 2)
                            : LevelText(FormatFixed(static_cast<long double>(tick), 18, 0), false);
            ChartText(cr, kBarWidth + 7, y, label, TTextAlign::Start, 11);
        }
    });
}

// A text as a string of the page's script: quotes and backslashes escaped, and no "<" to end
// the script early.
std::string ScriptString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '<') {
            out += "\\u003c";
            continue;
        }
        out += c;
    }
    return out + '"';
}

// One array's data for the page's script: levels for the read-out, the surface as radii
// 0..1 on the view's scale, the emitters on the ground plane and where the view stands.
void ScriptData(std::string& out, const TChartArray& a) {
    out += "{\"name\":" + ScriptString(a.Report.Series.Name) + ",\"levels\":";
    Numbers(out, BearingLevels(a.Report.Series), 2);
    out += ",\"cut\":";
    Numbers(out, CutLevels(a.Report.Series), 2);
    out += ",\"view\":[";
    Number(out, ViewerBearing(a.View));
    out += ',';
    Number(out, a.View.ViewElevation);
    out += "],\"emitters\":[";
    bool first = true;
    for (const TEmitter& e : a.Array.Emitters) {
        if (!e.Enabled) continue;
        out += first ? "[" : ",[";
        first = false;
        Number(out, static_cast<double>(e.X));
        out += ',';
        Number(out, static_cast<double>(e.Y));
        out += ']';
    }
    out += ']';
    if (a.Surface) {
        const TSphereGrid& g = *a.Surface;
        out += ",\"grid\":{\"step\":";
        Number(out, g.StepDegrees);
        out += ",\"low\":";
        Number(out, g.LowestElevation);
        out += ",\"cols\":" + std::to_string(g.Bearings) +
               ",\"rows\":" + std::to_string(g.Elevations) + ",\"radii\":";
        std::vector<double> radii;
        for (const double v : g.Values) radii.push_back(SurfaceRadius(v, g.Maximum, a.View));
        Numbers(out, radii, 3);
        out += '}';
    }
    out += '}';
}

}  // namespace

std::string HtmlReport(const std::vector<TChartArray>& arrays) {
    std::string out;
    const std::string title = EscapeMarkup(Tr(kReportTitle));
    out += "<!DOCTYPE html>\n<html lang=\"";
    out += MessageLanguage() == TLanguage::Russian ? "ru" : "en";
    out += "\"><head><meta charset=\"utf-8\"><title>" + title + "</title><style>";
    out += kReportStyle;
    out += "</style></head><body><h1>" + title + "</h1>\n";
    if (arrays.size() > 1) {
        out += "<p class=\"switch\"><select id=\"pick\">";
        for (std::size_t n = 0; n < arrays.size(); ++n) {
            out += "<option value=\"" + std::to_string(n) + "\">" +
                   EscapeMarkup(arrays[n].Report.Series.Name) + "</option>";
        }
        out += "<option value=\"all\">" + EscapeMarkup(Tr("all together")) +
               "</option></select></p>\n";
    }
    std::vector<TChartSeries> all;
    for (std::size_t n = 0; n < arrays.size(); ++n) {
        const TChartArray& a = arrays[n];
        all.push_back(a.Report.Series);
        out += "<section class=\"file\" data-index=\"" + std::to_string(n) + "\"><h2>" +
               EscapeMarkup(a.Report.Series.Name) + "</h2>";
        // What the file's figures were computed under, as every picture states it.
        out += "<p>" + EscapeMarkup(a.Caption) + "</p><div class=\"diagram\">";
        out += InlineSvg(DiagramFileBytes(a.Array, a.Report.Series.Pattern, a.ElevationDegrees,
                                          TPictureFormat::Svg, DiagramFullScale(a.Report.Series)),
                         "d" + std::to_string(n) + "-");
        out += "</div>";
        Charts(out, std::to_string(n), {a.Report.Series});
        Table(out, a.Report);
        PrintedSurface(out, a, n);
        out += "</section>\n";
    }
    if (arrays.size() > 1) {
        out += "<section id=\"overlay\"><h2>" + EscapeMarkup(Tr("All together")) + "</h2>";
        Charts(out, "all", all);
        out += "</section>\n";
    }
    out += "<section id=\"space\"><h2>" + EscapeMarkup(Tr("The pattern in space")) +
           " <span id=\"shown\"></span></h2><div class=\"space\"><div id=\"three\"></div>";
    if (!arrays.empty()) out += ColourScale(arrays.front().View);
    out += "</div></section>\n<script>";
    out.append(kThreeJs, static_cast<std::size_t>(kThreeJsEnd - kThreeJs));
    out += "</script>\n<script>";
    out.append(kOrbitControls, static_cast<std::size_t>(kOrbitControlsEnd - kOrbitControls));
    out += "</script>\n<script>const DATA=[";
    for (std::size_t n = 0; n < arrays.size(); ++n) {
        if (n) out += ',';
        ScriptData(out, arrays[n]);
    }
    out += "];\nconst TEXT={bearing:" + ScriptString(Tr("bearing %s deg")) +
           ",elevation:" + ScriptString(Tr("elevation %s deg")) +
           ",db:" + ScriptString(Tr("%s dB")) + ",compass:[" + ScriptString(Tr("N")) + ',' +
           ScriptString(Tr("E")) + ',' + ScriptString(Tr("S")) + ',' + ScriptString(Tr("W")) +
           "]};\nconst STOPS=[";
    for (std::size_t k = 0; k < std::size(kSurfaceColourStops); ++k) {
        if (k) out += ',';
        out += '[';
        for (std::size_t c = 0; c < 4; ++c) {
            if (c) out += ',';
            Number(out, kSurfaceColourStops[k][c]);
        }
        out += ']';
    }
    out += "];\n";
    out += kReportScript;
    out += "</script></body></html>\n";
    return out;
}
