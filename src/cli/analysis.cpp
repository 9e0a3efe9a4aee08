#include "cli/analysis.h"

#include <filesystem>

#include "config/nametext.h"
#include "model/pattern.h"

TPatternResult Analyse(const TCliOptions& options, const std::optional<std::string>& config) {
    TPatternResult result;
    result.Config = config;
    result.Session = BuildSession(options, config);
    result.ElevationDegrees = options.ElevationDegrees;
    result.Field = options.Field;
    const TArrayModel& model = result.Session.Model;
    if (!IsZeroPattern(model.Pattern, CountEnabled(model))) {
        result.Metrics = ComputeMetrics(model.Pattern, [&](long double az) {
            return FieldValue(model, options.Field, az * kDegree, options.ElevationDegrees);
        });
    }
    result.Directivity =
        ComputeDirectivity(model, options.ElevationDegrees == 0 ? &model.Pattern : nullptr);
    result.CutBearing = options.CutBearing.value_or(DisplayedBearing(model.Pattern.MaxGainAngle));
    result.Cut = ElevationCut(model, options.Field, result.CutBearing);
    return result;
}

TChartArray ChartArrayOf(const TPatternResult& result) {
    const TArraySession& session = result.Session;
    TChartArray chart;
    chart.Model = session.Model;
    chart.ElevationDegrees = result.ElevationDegrees;
    TReportArray& report = chart.Report;
    report.Series.Name =
        result.Config ? DisplayName(std::filesystem::path(*result.Config).filename().string())
                      : "—";
    report.Series.Pattern = session.Model.Pattern;
    report.Series.Zero = !result.Metrics;
    if (result.Metrics) report.Series.HalfPower = result.Metrics->HalfPower;
    report.Series.Cut = result.Cut;
    report.Series.CutBearing = result.CutBearing;
    for (int k = 1; k <= kEmitterCount; ++k) {
        report.Enabled[static_cast<unsigned>(k - 1)] = session.Model.Emitter(k).Enabled;
    }
    report.Grid = session.Grid;
    report.GainText = session.Labels.Gain;
    report.BearingText = session.Labels.Bearing;
    report.Metrics = result.Metrics;
    report.Directivity = result.Directivity;
    return chart;
}
