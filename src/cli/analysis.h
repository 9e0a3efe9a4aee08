#pragma once

#include <array>
#include <optional>
#include <string>

#include "cli/options.h"
#include "cli/session.h"
#include "model/directivity.h"
#include "model/freespace.h"
#include "model/metrics.h"
#include "plot/chartfile.h"

// Everything the command line reports of one array: the session the window would hold, its
// pattern in the chosen model at the elevation, and the figures taken from it.
struct TPatternResult {
    std::optional<std::string> Config;  // the file as given; none for the initial array
    TArraySession Session;
    long double ElevationDegrees = 0;
    TFieldModel Field = TFieldModel::Window;
    std::optional<TPatternMetrics> Metrics;
    std::optional<TDirectivity> Directivity;
    int CutBearing = 0;  // degrees
    std::array<long double, kElevationCutCount> Cut{};
};

// Builds the session of the file (or of the initial array) and analyses it. Throws as
// BuildSession does.
TPatternResult Analyse(const TCliOptions& options, const std::optional<std::string>& config);

// The result as the charts and the report draw it.
TChartArray ChartArrayOf(const TPatternResult& result);
