#include "plot/reportpage.h"

#include <algorithm>
#include <cmath>

#include "config/messages.h"
#include "config/numtext.h"

namespace {

constexpr double kMargin = 28;
constexpr double kGap = 19;
constexpr double kTextSize = 8;       // points, of the tables in one band
constexpr double kSmallTextSize = 7;  // in two bands
constexpr double kLineSpacing = 1.35;
// The least a file's column is given, in lines: the page of a few figures as it always was.
constexpr double kColumnLines = 24;
constexpr std::size_t kFilesPerBand = 4;
// The polar chart's side (points) below which the page grows rather than shrink the charts:
// what two bands of eight files in free space leave them.
constexpr double kLeastChartSide = 160;
// Lines of a column besides its grid rows and figures: the name, the gap under it, the grid's
// head, the gap above the figures and the last line's descent.
constexpr double kColumnFrameLines = 1 + 1.3 + 1 + 0.6 + 0.4;
// The gap between the grid and the wires' table beneath it, in lines.
constexpr double kWireTableGap = 0.6;

// Text with its left end (or, right-aligned, its right end) at x on the baseline y, shrunk to
// fit width, but to no less than kLeastShrink of its size while words can go instead: a list
// (of nulls, say) ends in "…" where the rest would be too small to read.
void FitText(cairo_t* cr, double x, double y, std::string text, double width, double textSize,
             bool rightAligned = false) {
    constexpr double kLeastShrink = 0.75;
    cairo_set_font_size(cr, textSize);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    for (auto space = text.rfind(' ');
         e.x_advance * kLeastShrink > width && space != std::string::npos && space > 0;
         space = text.rfind(' ', space - 1)) {
        text = text.substr(0, space) + " \u2026";
        cairo_text_extents(cr, text.c_str(), &e);
    }
    if (e.x_advance > width && e.x_advance > 0) {
        cairo_set_font_size(cr, textSize * width / e.x_advance);
        cairo_text_extents(cr, text.c_str(), &e);
    }
    cairo_move_to(cr, rightAligned ? x - e.x_advance : x, y);
    ShowChartText(cr, text);
}

void DrawArrayColumn(cairo_t* cr, const TChartBox& box, const TReportArray& array, size_t n,
                     double textSize) {
    const auto fit = [&](double x, double y, const std::string& text, double width,
                         bool rightAligned = false) {
        FitText(cr, x, y, text, width, textSize, rightAligned);
    };
    const double line = textSize * kLineSpacing;
    double y = box.Y + line;
    const auto colour = SeriesColour(n);
    cairo_set_source_rgb(cr, colour[0], colour[1], colour[2]);
    fit(box.X, y, array.Series.Name, box.Width);
    cairo_set_source_rgb(cr, 0, 0, 0);
    y += line * 1.3;
    const double cells[] = {0, 0.07, 0.17, 0.445, 0.72};
    const char* const heads[] = {Msgid("No."), Msgid("On"), "X", "Y", Msgid("Phase")};
    for (int c = 0; c < 5; ++c) {
        const double next = c + 1 < 5 ? cells[c + 1] : 1.0;
        fit(box.X + cells[c] * box.Width, y, Tr(heads[c]), (next - cells[c] - 0.01) * box.Width);
    }
    for (int k = 0; k < kEmitterCount; ++k) {
        const auto u = static_cast<unsigned>(k);
        // Emitters that are off add nothing to the pattern and take no row.
        if (!array.Enabled[u]) continue;
        y += line;
        fit(box.X, y, FormatInteger(k + 1), 0.07 * box.Width);
        fit(box.X + cells[1] * box.Width, y, array.Enabled[u] ? Tr("yes") : Tr("no"),
            0.1 * box.Width);
        for (int c = 0; c < kGridDataColumns; ++c) {
            fit(box.X + cells[c + 2] * box.Width, y, array.Grid[u][static_cast<unsigned>(c)],
                0.26 * box.Width);
        }
    }
    if (!array.Wires.Heads.empty()) {
        // Beneath the grid rather than beside it: a column of eight files has no room for nine
        // cells a row.
        y += line * (1 + kWireTableGap);
        const double wireCells[] = {0, 0.06, 0.22, 0.42, 0.86, 1.0};
        const auto row = [&](const std::string& first, const std::vector<std::string>& cells) {
            fit(box.X, y, first, (wireCells[1] - 0.01) * box.Width);
            for (std::size_t c = 0; c < cells.size() && c + 2 < std::size(wireCells); ++c) {
                fit(box.X + wireCells[c + 1] * box.Width, y, cells[c],
                    (wireCells[c + 2] - wireCells[c + 1] - 0.01) * box.Width);
            }
        };
        row(Tr("No."), array.Wires.Heads);
        for (int k = 0; k < kEmitterCount; ++k) {
            const auto u = static_cast<unsigned>(k);
            if (!array.Enabled[u]) continue;
            y += line;
            row(FormatInteger(k + 1), array.Wires.Cells[u]);
        }
    }
    y += line * 0.6;
    for (const auto& [caption, value] : array.Figures) {
        y += line;
        fit(box.X, y, caption, box.Width * 0.6);
        fit(box.X + box.Width, y, value, box.Width * 0.38, true);
    }
}

}  // namespace

double ReportColumnLines(const TReportArray& array) {
    const auto rows =
        static_cast<double>(std::count(array.Enabled.begin(), array.Enabled.end(), true));
    const double wireLines = array.Wires.Heads.empty() ? 0 : 1 + kWireTableGap + rows;
    return kColumnFrameLines + rows + wireLines + static_cast<double>(array.Figures.size());
}

void DrawReportPage(cairo_t* cr, const TReportLayout& layout,
                    const std::vector<TReportArray>& arrays,
                    const std::vector<std::string>& footLines,
                    const std::function<void(cairo_t*, const TChartBox&)>& drawDiagram) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_font_size(cr, 14);
    cairo_move_to(cr, kMargin, kMargin + 4);
    ShowChartText(cr, Tr(kReportTitle));

    std::vector<TChartSeries> series;
    for (const TReportArray& a : arrays) series.push_back(a.Series);
    drawDiagram(cr, layout.Diagram);
    // The charts' own texts are drawn at 12 units; the page scales them to about 7 points.
    const double scale = 0.6;
    const auto scaled = [&](auto draw, const TChartBox& box) {
        cairo_save(cr);
        cairo_translate(cr, box.X, box.Y);
        cairo_scale(cr, scale, scale);
        draw(cr, TChartBox{0, 0, box.Width / scale, box.Height / scale}, series);
        cairo_restore(cr);
    };
    scaled(DrawPolarDb, layout.Polar);
    scaled(DrawRectDb, layout.Rect);
    scaled(DrawElevationChart, layout.Elevation);
    for (std::size_t n = 0; n < arrays.size() && n < layout.Columns.size(); ++n) {
        DrawArrayColumn(cr, layout.Columns[n], arrays[n], n, layout.TextSize);
    }
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    cairo_set_font_size(cr, kReportFootSize);
    double y = layout.FootTop + kReportFootSize;
    for (const std::string& line : footLines) {
        cairo_move_to(cr, kReportFootMargin, y);
        ShowChartText(cr, line);
        y += kReportFootLine;
    }
}

// The charts keep their size while the tables fit in one band; a second band takes its room
// from them, with the tables' text a point smaller. Where the tables would leave the charts
// smaller than two bands of a few figures do, the page grows instead.
TReportLayout ReportLayout(std::size_t files, double columnLines, std::size_t footLines) {
    const std::size_t count = std::clamp<std::size_t>(files, 1, kMaxReportFiles);
    const std::size_t bands = (count + kFilesPerBand - 1) / kFilesPerBand;
    const std::size_t perBand = std::min(count, kFilesPerBand);
    TReportLayout layout;
    layout.TextSize = bands > 1 ? kSmallTextSize : kTextSize;
    const double bandHeight = std::max(kColumnLines, columnLines) * layout.TextSize * kLineSpacing;
    const double tables =
        static_cast<double>(bands) * bandHeight + static_cast<double>(bands - 1) * kGap / 2;
    // The foot's lines sit in the bottom margin while it holds them.
    const double lines = static_cast<double>(std::max<std::size_t>(footLines, 1));
    const double foot = std::max(kMargin, lines * kReportFootLine + 8);

    const double half = (kA4Width - 2 * kMargin - kGap) / 2;
    const double row1 = kMargin + 18;
    // The square charts of the first row and the flatter ones of the second share what the
    // tables leave.
    const double room = kA4Height - foot - row1 - tables - kGap;
    double side = std::min(half, (room - kGap / 2) / 1.72);
    if (side < kLeastChartSide) {
        layout.PageHeight += (kLeastChartSide - side) * 1.72;
        side = kLeastChartSide;
    }
    // The last line's baseline 6 points above the page's edge.
    layout.FootTop = layout.PageHeight - 6 - (lines - 1) * kReportFootLine - kReportFootSize;
    const double inset = (half - side) / 2;
    const double right = kMargin + half + kGap;
    layout.Diagram = {kMargin + inset, row1, side, side};
    layout.Polar = {right + inset, row1, side, side};
    const double row2 = row1 + side + kGap / 2;
    const double chartHeight = side * 0.72;
    layout.Rect = {kMargin + inset, row2, side, chartHeight};
    layout.Elevation = {right + inset, row2, side, chartHeight};

    const double row3 = row2 + chartHeight + kGap / 2;
    const double columns = static_cast<double>(perBand);
    const double width = (kA4Width - 2 * kMargin - kGap * (columns - 1)) / columns;
    for (std::size_t n = 0; n < files && n < kMaxReportFiles; ++n) {
        const double x = kMargin + static_cast<double>(n % kFilesPerBand) * (width + kGap);
        const double y = row3 + static_cast<double>(n / kFilesPerBand) * (bandHeight + kGap / 2);
        layout.Columns.push_back(
            {x, y, width, bands > 1 ? bandHeight : layout.PageHeight - foot - y});
    }
    return layout;
}
