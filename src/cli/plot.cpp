#include <algorithm>
#include <memory>

#include "app/overlay.h"
#include "cli/feed.h"
#include "cli/runner.h"
#include "config/messages.h"
#include "config/numtext.h"
#include "model/spheregrid.h"
#include "plot/htmlreport.h"
#include "plot/picturefile.h"

namespace {

// Facets of 2 x 2 degrees do not show at 880 pixels.
constexpr double kSurfaceStepDegrees = 2;

// The elevation cut of the array at each height, named by it.
void AddHeights(const TCliOptions& options, const std::optional<std::string>& config,
                std::vector<TChartArray>& arrays) {
    const TAnalysisRequest atEachHeight = RequestFor(options, config);
    for (const long double height : options.Heights) {
        TAnalysisRequest request = atEachHeight;
        request.Ground.HeightWavelengths = height;
        const TPatternResult result = AnalyseFor(options, request);
        if (arrays.empty()) {
            PrintMessages(result.Session, "");
            StrictCheck(options, result.Session);
        }
        TChartArray chart = ChartArrayOf(result);
        chart.Report.Series.Name = "h = " + FormatGeneral(height) + " λ";
        arrays.push_back(std::move(chart));
    }
}

}  // namespace

// Every file is analysed before the picture is drawn; a failure leaves no picture.
int RunPlot(const TCliOptions& options, std::string&) {
    const bool batch = options.ConfigFiles.size() > 1;
    std::vector<TChartArray> arrays;
    int status = 0;
    for (const auto& config : Configs(options)) {
        const std::string prefix = batch ? *config + ": " : "";
        status = std::max(status, Guarded(prefix, [&] {
                              if (options.Kind == TPlotKind::ElevationHeights) {
                                  AddHeights(options, config, arrays);
                                  return;
                              }
                              const TPatternResult result =
                                  AnalyseFor(options, RequestFor(options, config));
                              PrintMessages(result.Session, prefix);
                              StrictCheck(options, result.Session);
                              arrays.push_back(ChartArrayOf(result));
                              if (options.Kind == TPlotKind::Surface3d || options.Html) {
                                  arrays.back().Surface =
                                      std::make_shared<TSphereGrid>(SampleSphere(
                                          result.Session.Model, result.Field, kSurfaceStepDegrees));
                                  arrays.back().View = ChosenView(arrays.back().View, options.View);
                              }
                          }));
    }
    if (status != 0) return status;
    return Guarded("", [&] {
        if (options.Kind != TPlotKind::Diagram && options.Kind != TPlotKind::Surface3d) {
            if (!ChooseLevelAxis(arrays, options.DbiScale)) {
                throw EUsageError(
                    Tr("--scale dbi: a file has no directivity (nothing radiates, or the window's "
                       "model off the horizon)"));
            }
        }
        WritePictureFile(options.OutputFile, options.Html ? HtmlReport(arrays)
                                                          : ChartFileBytes(options.Kind, arrays,
                                                                           options.PictureFormat));
    });
}
