#pragma once

#include <array>
#include <optional>
#include <string>

#include "app/session.h"
#include "app/wireanalysis.h"
#include "model/directivity.h"
#include "model/groundfigures.h"
#include "model/metrics.h"
#include "model/pattern.h"
#include "plot/chartfile.h"

// The ground as the options give it; what they leave out comes from the configuration file.
struct TGroundRequest {
    std::optional<TGroundKind> Kind;
    std::optional<long double> HeightWavelengths;
    std::optional<long double> FrequencyMhz;
    std::optional<long double> Permittivity;
    std::optional<long double> Conductivity;  // S/m
};

// What to analyse of one array: the session's steps and the bearing of the elevation cut.
struct TAnalysisRequest {
    TSessionSteps Steps;
    std::optional<int> CutBearing;  // whole degrees 0..359; default the maximum's bearing
    TGroundRequest Ground;
    bool ModelGiven = false;      // a formula named explicitly outweighs the file's ground
    bool ElevationGiven = false;  // over ground the default is the take-off angle
    TWireRequest Wires;
    // The radius, feed or line impedance came from the command line: where no emitter has a
    // length they change nothing, and the reader is told.
    bool WireOptionsGiven = false;
};

// Everything reported of one array: the session the window would hold, its pattern in the
// chosen formula at the elevation, and the figures taken from it.
struct TPatternResult {
    std::optional<std::string> Config;  // the file as given; none for the initial array
    TArraySession Session;
    TFieldSpec Field;
    std::optional<TTaper> Taper;  // as asked for; the amplitudes it set are the session's
    std::optional<TPatternMetrics> Metrics;
    std::optional<TDirectivity> Directivity;
    std::optional<TGroundFigures> GroundFigures;  // over ground
    int CutBearing = 0;                           // degrees
    TFieldSpec CutField;                          // the formula of the elevation cut
    std::array<long double, kElevationCutCount> Cut{};
    TWireResult Wires;  // with lengths: the solved wires the figures above come from
};

// The ground of the request over the file's: kind none when neither names one. Throws
// EUsageError for a ground that cannot be computed (real without a frequency, say).
TGround ResolveGround(const TGroundRequest& request, const std::optional<TGround>& fileGround);

// Builds the session of the file (or of the initial array) and analyses it. Throws as
// BuildSession does, and EUsageError for an emitter type without a polarisation over ground.
TPatternResult Analyse(const TAnalysisRequest& request);

// The result as the charts and the report draw it.
TChartArray ChartArrayOf(const TPatternResult& result);
