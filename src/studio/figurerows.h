#pragma once

#include <string>
#include <vector>

#include "app/analysis.h"

// One line of the figures panel: every figure of the catalogue in the reader's language,
// its value as the command line's formatter writes it, or "none" with the reason.
struct TFigureRow {
    // The figure's JSON key (a range's, its low end's); "main_lobes" and "nulls" for the lists.
    std::string Key;
    std::string Caption;
    std::string Value;
    std::string Reason;  // why there is no value; empty when there is one
};

// The rows of the result, grouped as the report lists them; the ground's only over ground.
std::vector<TFigureRow> FigureRowsOf(const TPatternResult& result);
