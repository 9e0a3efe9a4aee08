#include "plot/chartfile.h"

#include <algorithm>
#include <cmath>

#include "plot/cairocanvas.h"
#include "plot/cairoptr.h"
#include "plot/diagram.h"
#include "plot/diagramfile.h"
#include "plot/exportpicture.h"
#include "plot/picturerender.h"
#include "plot/sansfont.h"
#include "plot/textwrap.h"

namespace {

// Pixels of the single charts; the report is a page of points, rastered at 2 pixels a point.
constexpr TChartBox kPolarBox{0, 0, 760, 820};
constexpr TChartBox kRectBox{0, 0, 960, 540};
constexpr TChartBox kElevationBox{0, 0, 760, 620};
constexpr double kMargin = 20;
constexpr double kReportRasterScale = 2;
constexpr double kCaptionLine = 14;  // pixels between the lines under a chart

// The window's export drawing of the pattern scaled into the box.
void DrawDiagramInBox(cairo_t* cr, const TChartBox& box, const TChartArray& chart) {
    constexpr int kSize = TExportPicture::kSize;
    cairo_save(cr);
    cairo_translate(cr, box.X, box.Y);
    cairo_scale(cr, box.Width / kSize, box.Height / kSize);
    {
        TCairoCanvas canvas(cr, TRect{0, 0, kSize, kSize}, TCairoCanvas::TTarget::Vectors);
        canvas.SetBrushColor(TColor{255, 255, 255});
        DrawDiagram(canvas, dtExportImage, chart.Array, chart.Report.Series.Pattern,
                    chart.ElevationDegrees, DiagramFullScale(chart.Report.Series));
    }
    cairo_restore(cr);
}

// What each array was computed under, a line each, named by its file; one line serves all
// when they share it.
std::vector<std::string> CaptionLines(const std::vector<TChartArray>& arrays) {
    if (arrays.empty()) return {};
    const bool shared = std::all_of(arrays.begin(), arrays.end(), [&](const TChartArray& a) {
        return a.Caption == arrays.front().Caption;
    });
    if (shared) return {arrays.front().Caption};
    std::vector<std::string> lines;
    for (const TChartArray& a : arrays) lines.push_back(a.Report.Series.Name + ": " + a.Caption);
    return lines;
}

// The lines broken to the width in the charts' face at the size, measured as cairo draws them.
std::vector<std::string> WrappedLines(const std::vector<std::string>& lines, double size,
                                      double width) {
    const TCairoSurface scratch(cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1));
    const TCairoContext cr(cairo_create(scratch.get()));
    cairo_set_font_face(cr.get(), SansFontFace());
    cairo_set_font_size(cr.get(), size);
    std::vector<std::string> wrapped;
    for (const std::string& line : lines) {
        for (std::string& part : WrapText(cr.get(), line, width))
            wrapped.push_back(std::move(part));
    }
    return wrapped;
}

}  // namespace

std::string ChartFileBytes(TPlotKind kind, const std::vector<TChartArray>& arrays,
                           TPictureFormat format) {
    std::vector<TChartSeries> series;
    std::vector<TReportArray> reports;
    for (const TChartArray& a : arrays) {
        series.push_back(a.Report.Series);
        reports.push_back(a.Report);
    }
    const auto chart = [&](const TChartBox& box, auto draw) {
        const std::vector<std::string> captions = WrappedLines(CaptionLines(arrays), 10, box.Width);
        // The bottom margin holds one line; each further one adds to the page.
        const double foot =
            kCaptionLine * static_cast<double>(std::max<std::size_t>(captions.size(), 1) - 1);
        TPicturePage page{box.Width + 2 * kMargin, box.Height + 2 * kMargin + foot};
        return RenderPicture(format, page, [&](cairo_t* cr) {
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_paint(cr);
            cairo_set_font_face(cr, SansFontFace());
            draw(cr, TChartBox{kMargin, kMargin, box.Width, box.Height}, series);
            // The conditions under the chart, in its bottom margin.
            cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
            cairo_set_font_size(cr, 10);
            double y = box.Height + 2 * kMargin - 6;
            for (const std::string& line : captions) {
                cairo_move_to(cr, kMargin, y);
                ShowChartText(cr, line);
                y += kCaptionLine;
            }
        });
    };
    switch (kind) {
        case TPlotKind::PolarDb:
            return chart(kPolarBox, DrawPolarDb);
        case TPlotKind::RectDb:
            return chart(kRectBox, DrawRectDb);
        case TPlotKind::Elevation:
        case TPlotKind::ElevationHeights:
            return chart(kElevationBox, DrawElevationChart);
        case TPlotKind::Diagram: {
            const TChartArray& first = arrays.front();
            return DiagramFileBytes(first.Array, first.Report.Series.Pattern,
                                    first.ElevationDegrees, format,
                                    DiagramFullScale(first.Report.Series));
        }
        case TPlotKind::Surface3d: {
            const TChartArray& first = arrays.front();
            return SurfacePictureBytes(*first.Surface, first.Array, first.View,
                                       first.Report.Series.Name, first.Caption, format);
        }
        case TPlotKind::Report:
            break;
    }
    // Each file's conditions at the foot of the page, broken to its width.
    std::vector<std::string> named;
    for (const TChartArray& a : arrays) named.push_back(a.Report.Series.Name + ": " + a.Caption);
    const std::vector<std::string> foot =
        WrappedLines(named, kReportFootSize, kA4Width - 2 * kReportFootMargin);
    double columnLines = 0;
    for (const TReportArray& r : reports) columnLines = std::max(columnLines, ReportColumnLines(r));
    const TReportLayout layout = ReportLayout(reports.size(), columnLines, foot.size());
    TPicturePage page{kA4Width, layout.PageHeight, true, kReportRasterScale};
    return RenderPicture(format, page, [&](cairo_t* cr) {
        cairo_set_font_face(cr, SansFontFace());
        DrawReportPage(cr, layout, reports, foot, [&](cairo_t* c, const TChartBox& box) {
            // Every file's diagram: one fills the panel, several share it as small multiples.
            const auto n = arrays.size();
            const auto columns = static_cast<std::size_t>(std::ceil(std::sqrt(n)));
            const std::size_t rows = columns == 0 ? 0 : (n + columns - 1) / columns;
            for (std::size_t k = 0; k < n; ++k) {
                const double w = box.Width / static_cast<double>(columns);
                const double h = box.Height / static_cast<double>(rows);
                const double side = std::min(w, h);
                const TChartBox cell{box.X + w * static_cast<double>(k % columns) + (w - side) / 2,
                                     box.Y + h * static_cast<double>(k / columns) + (h - side) / 2,
                                     side, side};
                const TChartArray& a = arrays[k];
                DrawDiagramInBox(c, cell, a);
                if (n > 1) {
                    // Each small diagram named in its file's colour.
                    const auto colour = SeriesColour(k);
                    cairo_set_source_rgb(c, colour[0], colour[1], colour[2]);
                    cairo_set_font_face(c, SansFontFace());
                    cairo_set_font_size(c, 7);
                    cairo_move_to(c, cell.X, cell.Y + 7);
                    ShowChartText(c, CutToWidth(c, a.Report.Series.Name, side));
                }
            }
            cairo_set_font_face(c, SansFontFace());
        });
    });
}
