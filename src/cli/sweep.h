#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/analysis.h"
#include "app/sweepcolumns.h"
#include "cli/options.h"

// The parameter's values of a sweep, from --from to --to by --steps or --step, in extended
// precision as from (1 - t) + to t so that both ends are exact. Throws EUsageError when they
// cannot be stepped (more than 100,000 of them, say).
std::vector<long double> SweepValues(const TCliOptions& options);

// The options of one step: the parameter set to value; a frequency is set by the sweep itself,
// which scales the array at the design frequency. Throws EUsageError for a value the
// parameter cannot take.
TCliOptions SweepStep(const TCliOptions& options, long double value);

// The rows of the sweep as CSV (a header, a row a step) or JSON Lines. The parameter, and the
// column it sets, are written as the shortest text that reads back as the same value.
std::string FormatSweep(const TSweepTarget& target, const std::vector<long double>& values,
                        const std::vector<std::vector<TFigureValue>>& rows, TOutputFormat format);
