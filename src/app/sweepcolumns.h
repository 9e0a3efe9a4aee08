#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/analysis.h"

// A sweep column's title with its unit, in the reader's language: a figure's caption, or a
// feed figure's (one column an emitter switched on, "swr_2") with the emitter's number; the
// column's own name where it has none.
std::string ColumnCaption(std::string_view column);

// The caption of the swept parameter, named as --vary names it ("frequency", "2:phase"), with
// its unit, in the reader's language; the name itself where it is none of those.
std::string ParameterCaption(std::string_view parameter);

// One figure of a sweep's row, by its column name; NaN where there is none.
struct TFigureValue {
    std::string_view Key;
    long double Value;
};
// The row of one step: the read-outs, metrics, directivity and, over ground, the ground's
// figures; then the wires' figures and each feed's, one column an emitter ("swr_2"); fed
// through a network, the transmitter's match and each emitter's current error.
std::vector<TFigureValue> SweepFigures(const TPatternResult& result);
