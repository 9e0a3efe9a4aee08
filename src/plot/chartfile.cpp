#include "plot/chartfile.h"

#include "plot/cairocanvas.h"
#include "plot/diagram.h"
#include "plot/exportpicture.h"
#include "plot/picturerender.h"
#include "plot/sansfont.h"

namespace {

// Pixels of the single charts; the report is a page of points, rastered at 2 pixels a point.
constexpr TChartBox kPolarBox{0, 0, 760, 820};
constexpr TChartBox kRectBox{0, 0, 960, 540};
constexpr TChartBox kElevationBox{0, 0, 760, 620};
constexpr double kMargin = 20;
constexpr double kReportRasterScale = 2;

// The window's export drawing scaled into the box, from a copy of the model: drawing
// recomputes the window's pattern.
void DrawDiagramInBox(cairo_t* cr, const TChartBox& box, TArrayModel model,
                      long double elevationDegrees) {
    constexpr int kSize = TExportPicture::kSize;
    cairo_save(cr);
    cairo_translate(cr, box.X, box.Y);
    cairo_scale(cr, box.Width / kSize, box.Height / kSize);
    {
        TCairoCanvas canvas(cr, TRect{0, 0, kSize, kSize}, TCairoCanvas::TTarget::Vectors);
        canvas.SetBrushColor(TColor{255, 255, 255});
        DrawDiagram(canvas, dtExportImage, model, elevationDegrees);
    }
    cairo_restore(cr);
}

}  // namespace

std::string ChartFileBytes(TChartKind kind, const std::vector<TChartArray>& arrays,
                           TPictureFormat format) {
    std::vector<TChartSeries> series;
    std::vector<TReportArray> reports;
    for (const TChartArray& a : arrays) {
        series.push_back(a.Report.Series);
        reports.push_back(a.Report);
    }
    const auto chart = [&](const TChartBox& box, auto draw) {
        TPicturePage page{box.Width + 2 * kMargin, box.Height + 2 * kMargin};
        return RenderPicture(format, page, [&](cairo_t* cr) {
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_paint(cr);
            cairo_set_font_face(cr, SansFontFace());
            draw(cr, TChartBox{kMargin, kMargin, box.Width, box.Height}, series);
        });
    };
    switch (kind) {
        case TChartKind::PolarDb:
            return chart(kPolarBox, DrawPolarDb);
        case TChartKind::RectDb:
            return chart(kRectBox, DrawRectDb);
        case TChartKind::Elevation:
            return chart(kElevationBox, DrawElevationChart);
        case TChartKind::Report:
            break;
    }
    TPicturePage page{kA4Width, kA4Height, true, kReportRasterScale};
    return RenderPicture(format, page, [&](cairo_t* cr) {
        cairo_set_font_face(cr, SansFontFace());
        DrawReportPage(cr, reports, [&](cairo_t* c, const TChartBox& box) {
            if (arrays.empty()) return;
            DrawDiagramInBox(c, box, arrays.front().Model, arrays.front().ElevationDegrees);
            cairo_set_font_face(c, SansFontFace());
        });
    });
}
