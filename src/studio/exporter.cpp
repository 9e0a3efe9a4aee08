#include "studio/exporter.h"

#include "app/overlay.h"
#include "model/spheregrid.h"
#include "plot/htmlreport.h"

std::shared_ptr<const TSphereGrid> SampleSurface(const TPatternResult& result, double stepDegrees) {
    return std::make_shared<TSphereGrid>(
        SampleSphere(result.Session.Model, result.Field, stepDegrees));
}

TChartArray ExportChartArray(const TPatternResult& result, const std::string& fileName,
                             std::shared_ptr<const TSphereGrid> surface) {
    TPatternResult named = result;
    if (!fileName.empty()) named.Config = fileName;
    TChartArray chart = ChartArrayOf(named);
    chart.Surface = std::move(surface);
    return chart;
}

std::string ChartExportBytes(TPlotKind kind, std::vector<TChartArray> arrays,
                             TPictureFormat format) {
    if (kind != TPlotKind::Diagram && kind != TPlotKind::Surface3d) {
        static_cast<void>(ChooseLevelAxis(arrays, std::nullopt));
    }
    return ChartFileBytes(kind, arrays, format);
}

std::string ReportExportBytes(std::vector<TChartArray> arrays) {
    static_cast<void>(ChooseLevelAxis(arrays, std::nullopt));
    return HtmlReport(arrays);
}
