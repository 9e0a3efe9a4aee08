#include "plot/reportpage.h"

#include <algorithm>
#include <cmath>

#include "config/numtext.h"

namespace {

constexpr double kMargin = 28;
constexpr double kGap = 19;
constexpr double kTextSize = 8;  // points

std::string Fixed(long double v, int decimals) {
    return FormatFixed(v, 18, decimals);
}

std::string Db(long double v) {
    if (std::isinf(v)) return v > 0 ? "\u221E" : "\u2212\u221E";
    return Fixed(v, 2);
}

// Text with its left end (or, right-aligned, its right end) at x on the baseline y, shrunk to
// fit width.
void FitText(cairo_t* cr, double x, double y, const std::string& text, double width,
             bool rightAligned = false) {
    cairo_set_font_size(cr, kTextSize);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    if (e.x_advance > width && e.x_advance > 0) {
        cairo_set_font_size(cr, kTextSize * width / e.x_advance);
        cairo_text_extents(cr, text.c_str(), &e);
    }
    cairo_move_to(cr, rightAligned ? x - e.x_advance : x, y);
    cairo_show_text(cr, text.c_str());
}

void DrawArrayColumn(cairo_t* cr, const TChartBox& box, const TReportArray& array, size_t n) {
    const double line = kTextSize * 1.35;
    double y = box.Y + line;
    const auto colour = SeriesColour(n);
    cairo_set_source_rgb(cr, colour[0], colour[1], colour[2]);
    FitText(cr, box.X, y, array.Series.Name, box.Width);
    cairo_set_source_rgb(cr, 0, 0, 0);
    y += line * 1.3;
    const double cells[] = {0, 0.07, 0.17, 0.445, 0.72};
    const char* const heads[] = {"№", "Вкл.", "X", "Y", "Фаза"};
    for (int c = 0; c < 5; ++c) {
        FitText(cr, box.X + cells[c] * box.Width, y, heads[c], 0.27 * box.Width);
    }
    for (int k = 0; k < kEmitterCount; ++k) {
        y += line;
        const auto u = static_cast<unsigned>(k);
        FitText(cr, box.X, y, FormatInteger(k + 1), 0.07 * box.Width);
        FitText(cr, box.X + cells[1] * box.Width, y, array.Enabled[u] ? "да" : "нет",
                0.1 * box.Width);
        for (int c = 0; c < kGridDataColumns; ++c) {
            FitText(cr, box.X + cells[c + 2] * box.Width, y,
                    array.Grid[u][static_cast<unsigned>(c)], 0.26 * box.Width);
        }
    }
    y += line * 0.6;
    for (const auto& [caption, value] : ReportFigures(array)) {
        y += line;
        FitText(cr, box.X, y, caption, box.Width * 0.6);
        FitText(cr, box.X + box.Width, y, value, box.Width * 0.38, true);
    }
}

}  // namespace

std::vector<std::array<std::string, 2>> ReportFigures(const TReportArray& array) {
    std::vector<std::array<std::string, 2>> figures;
    const auto add = [&](const char* caption, const std::string& value) {
        figures.push_back({caption, value});
    };
    if (!array.Series.Conditions.empty()) add("Земля", array.Series.Conditions);
    add("Угол места, град.", Fixed(array.ElevationDegrees, 2));
    if (const auto& g = array.Ground) {
        add("Угол излучения, град.", Fixed(g->TakeoffElevationDegrees, 2));
        add("  по уровню \u22123 дБ, град.",
            Fixed(g->TakeoffLowDegrees, 2) + "\u2026" + Fixed(g->TakeoffHighDegrees, 2));
        add("КНД пространственной волны, дБи",
            g->SpaceWaveDirectivityDbi ? Fixed(*g->SpaceWaveDirectivityDbi, 3) : "нет");
        add("Усиление, дБи", g->GainDbi ? Fixed(*g->GainDbi, 3) : "нет (потери в земле)");
    }
    add("Максимальное усиление", array.GainText);
    add("В направлении, град.", array.BearingText);
    if (!array.Metrics) {
        add("Диаграмма", "равна нулю");
    } else {
        const TPatternMetrics& m = *array.Metrics;
        add("Ширина луча (\u22123 дБ), град.", Fixed(m.BeamwidthDegrees, 2));
        add("Ширина луча по нулям, град.", Fixed(m.FirstNullBeamwidthDegrees, 0));
        add("Вперед/назад, дБ", Db(m.FrontToBackDb));
        add("Вперед/тыл, дБ", Db(m.FrontToRearDb));
        add("Вперед/бок, дБ", Db(m.FrontToSideDb));
        add("Боковой лепесток, дБ", m.SideLobeDb ? Db(*m.SideLobeDb) : "нет");
        std::string nulls;
        for (const long double b : m.NullBearings)
            nulls += (nulls.empty() ? "" : " ") + FormatGeneral(b);
        add("Нули, град.", nulls.empty() ? "нет" : nulls);
    }
    if (array.Directivity) {
        const TDirectivity& d = *array.Directivity;
        add("КНД к максимуму у горизонта, дБи", Fixed(d.HorizonDbi, 3));
        if (d.PeakDbi) {
            add("Наибольший КНД, дБи", Fixed(*d.PeakDbi, 3));
            add("  его азимут, град.", Fixed(d.PeakBearingDegrees, 2));
            add("  его угол места, град.", Fixed(d.PeakElevationDegrees, 2));
        } else {
            add("Наибольший КНД, дБи", "не найден");
        }
    } else {
        add("КНД", "нет излучения");
    }
    return figures;
}

void DrawReportPage(cairo_t* cr, const std::vector<TReportArray>& arrays,
                    const std::function<void(cairo_t*, const TChartBox&)>& drawDiagram) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_font_size(cr, 14);
    cairo_move_to(cr, kMargin, kMargin + 4);
    cairo_show_text(cr, "Диаграмма направленности антенной решетки");

    std::vector<TChartSeries> series;
    for (const TReportArray& a : arrays) series.push_back(a.Series);
    const double half = (kA4Width - 2 * kMargin - kGap) / 2;
    const double right = kMargin + half + kGap;
    const double row1 = kMargin + 18;
    drawDiagram(cr, TChartBox{kMargin, row1, half, half});
    // The charts' own texts are drawn at 12 units; the page scales them to about 7 points.
    const double scale = 0.6;
    const auto scaled = [&](auto draw, const TChartBox& box) {
        cairo_save(cr);
        cairo_translate(cr, box.X, box.Y);
        cairo_scale(cr, scale, scale);
        draw(cr, TChartBox{0, 0, box.Width / scale, box.Height / scale}, series);
        cairo_restore(cr);
    };
    scaled(DrawPolarDb, TChartBox{right, row1, half, half});
    const double row2 = row1 + half + kGap / 2;
    const double chartHeight = half * 0.72;
    scaled(DrawRectDb, TChartBox{kMargin, row2, half, chartHeight});
    scaled(DrawElevationChart, TChartBox{right, row2, half, chartHeight});

    const double row3 = row2 + chartHeight + kGap / 2;
    const double columns = static_cast<double>(std::max<std::size_t>(1, arrays.size()));
    const double width = (kA4Width - 2 * kMargin - kGap * (columns - 1)) / columns;
    for (std::size_t n = 0; n < arrays.size(); ++n) {
        const double x = kMargin + static_cast<double>(n) * (width + kGap);
        DrawArrayColumn(cr, TChartBox{x, row3, width, kA4Height - kMargin - row3}, arrays[n], n);
    }
}
