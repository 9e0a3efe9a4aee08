#pragma once

#include <array>
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

struct TFigure;
// A figure's caption as the studio shows it (a message id): the catalogue's, or the window's
// words for its read-outs.
const char* FigureCaption(const TFigure& figure);

// One emitter's drive as the table shows it: "R + jX" ohms and the SWR against the line, each
// "none" with the reason where there is none; empty for an emitter switched off or ideal ones.
struct TDriveCells {
    std::string Impedance;
    std::string ImpedanceReason;
    std::string Swr;
    std::string SwrReason;
};
std::array<TDriveCells, kEmitterCount> DriveCellsOf(const TPatternResult& result);
