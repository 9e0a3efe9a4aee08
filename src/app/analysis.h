#pragma once

#include <array>
#include <optional>
#include <string>

#include "app/session.h"
#include "model/directivity.h"
#include "model/metrics.h"
#include "model/pattern.h"
#include "plot/chartfile.h"

// What to analyse of one array: the session's steps and the bearing of the elevation cut.
struct TAnalysisRequest {
    TSessionSteps Steps;
    std::optional<int> CutBearing;  // whole degrees 0..359; default the maximum's bearing
};

// Everything reported of one array: the session the window would hold, its pattern in the
// chosen formula at the elevation, and the figures taken from it.
struct TPatternResult {
    std::optional<std::string> Config;  // the file as given; none for the initial array
    TArraySession Session;
    TFieldSpec Field;
    std::optional<TPatternMetrics> Metrics;
    std::optional<TDirectivity> Directivity;
    int CutBearing = 0;  // degrees
    std::array<long double, kElevationCutCount> Cut{};
};

// Builds the session of the file (or of the initial array) and analyses it. Throws as
// BuildSession does.
TPatternResult Analyse(const TAnalysisRequest& request);

// The result as the charts and the report draw it.
TChartArray ChartArrayOf(const TPatternResult& result);
