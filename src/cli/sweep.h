#pragma once

#include <string>
#include <vector>

#include "app/analysis.h"
#include "cli/options.h"

// The parameter's values of a sweep, from --from to --to by --steps or --step. Throws
// EUsageError when they cannot be stepped (more than 100,000 of them, say).
std::vector<long double> SweepValues(const TCliOptions& options);

// The options of one step: the parameter set to value. Throws EUsageError for a value the
// parameter cannot take.
TCliOptions SweepStep(const TCliOptions& options, long double value);

// Every figure of a result that a sweep row reports, by its JSON name; NaN where there is
// none.
struct TFigure {
    const char* Name;
    long double Value;
};
std::vector<TFigure> SweepFigures(const TPatternResult& result);

// The rows of the sweep as CSV (a header, a row a step) or JSON Lines.
std::string FormatSweep(const std::vector<long double>& values,
                        const std::vector<std::vector<TFigure>>& rows, TOutputFormat format);

// The chart of the named figures (all but the elevation when none are named) against the
// parameter, as a picture file of the format. Throws EUsageError for a name no row has.
std::string SweepChartFile(const std::string& parameter, const std::vector<long double>& values,
                           const std::vector<std::vector<TFigure>>& rows,
                           const std::vector<std::string>& names, TPictureFormat format);
