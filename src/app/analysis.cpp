#include "app/analysis.h"

#include <filesystem>

TPatternResult Analyse(const TAnalysisRequest& request) {
    TPatternResult result;
    result.Config = request.Steps.ConfigFile;
    result.Session = BuildSession(request.Steps);
    result.Field = request.Steps.Field;
    const TArray& array = result.Session.Model;
    const TPattern& pattern = result.Session.Pattern;
    if (!IsZeroPattern(pattern, array)) {
        result.Metrics = ComputeMetrics(
            pattern, [&](long double az) { return FieldValue(array, result.Field, az * kDegree); });
    }
    // Both formulas agree at the horizon, so the pattern there serves the directivity.
    result.Directivity =
        ComputeDirectivity(array, result.Field.ElevationDegrees == 0 ? &pattern : nullptr);
    result.CutBearing = request.CutBearing.value_or(DisplayedBearing(pattern.MaxGainAngle));
    result.Cut = ElevationCut(array, result.Field.Model, result.CutBearing);
    return result;
}

TChartArray ChartArrayOf(const TPatternResult& result) {
    const TArraySession& session = result.Session;
    TChartArray chart;
    chart.Array = session.Model;
    chart.ElevationDegrees = result.Field.ElevationDegrees;
    TReportArray& report = chart.Report;
    report.Series.Name =
        result.Config ? std::filesystem::path(*result.Config).filename().string() : "—";
    report.Series.Pattern = session.Pattern;
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
