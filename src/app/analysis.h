#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/arraycase.h"
#include "app/session.h"
#include "app/wireanalysis.h"
#include "model/directivity.h"
#include "model/groundfigures.h"
#include "model/metrics.h"
#include "model/pattern.h"
#include "plot/chartfile.h"

// Everything reported of one array: the session the window would hold, its pattern in the
// chosen formula at the elevation, and the figures taken from it.
struct TFeedFigures;

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
    // Fed through a network: what it delivers, from which the currents above follow.
    std::shared_ptr<const TFeedFigures> Network;
};

// The case analysed, or why it cannot be.
struct TAnalysisOutcome {
    std::optional<TPatternResult> Result;
    std::optional<TCaseFault> Fault;
};

// The one way into the engine: the pattern of the case in its formula at its elevation, the
// read-outs and every figure, of the ideal emitters or of the solved wires. The result's session
// holds the array with the grid's texts of its values; a face adds what it keeps of its own (the
// file's name, its warnings, the window's messages).
TAnalysisOutcome Analyse(const TArrayCase& arrayCase);

// The parts of an ideal array's analysis a face may take one at a time, where a script reads
// only some of them: the azimuth pattern (with the ground's figures, which may place it at the
// take-off angle), then from it the metrics, the directivity and the elevation cut.
enum class TAnalysisPart { Pattern, Metrics, Directivity, Cut };
inline constexpr int kAnalysisPartCount = 4;

// An analysis begun and completed part by part: each part is computed by the same code, from
// the same inputs, as Analyse computes it, so every number is Analyse's.
struct TStagedAnalysis {
    TArrayCase Case;
    TPatternResult Result;
    std::array<bool, kAnalysisPartCount> Done{};
};

// The case checked, and solved wires with every figure; of ideal emitters nothing computed yet.
// The fault where the case cannot be analysed.
std::optional<TCaseFault> BeginAnalysis(TArrayCase arrayCase, TStagedAnalysis& staged);
// The part with the parts it is taken from, unless done already.
void CompletePart(TStagedAnalysis& staged, TAnalysisPart part);

// The result as the charts and the report draw it.
TChartArray ChartArrayOf(const TPatternResult& result);
// Its curve alone, without the report's table.
TChartSeries ChartSeriesOf(const TPatternResult& result);

