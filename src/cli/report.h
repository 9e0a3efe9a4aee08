#pragma once

#include <array>
#include <string>

#include "cli/options.h"
#include "model/emitters.h"
#include "plot/diagram.h"

// The grid's three texts (X, Y, Phase) of each emitter row, as the window shows them.
using TGridTexts = std::array<std::array<std::string, 3>, kEmitterCount>;

// Everything `pattern` reports: the model after all options, its pattern at the elevation,
// and the read-outs the window's labels would show.
struct TPatternReport {
    const TArrayModel& Model;
    const TGridTexts& Grid;
    const TDiagramLabels& Labels;
    long double ElevationDegrees;
};

std::string FormatReport(const TPatternReport& report, TOutputFormat format);
