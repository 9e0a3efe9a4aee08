#pragma once

#include <string>

#include "model/emitters.h"
#include "plot/canvas.h"

enum TDrawTarget { dtWindow, dtExportImage };

// The three read-outs a drawing produces (UTF-8), for the labels the caller owns.
struct TDiagramLabels {
    std::string Elevation;  // Label1: "Угол места 0 град."
    std::string Gain;       // Label4: "4,000  (6,02 дБ)"
    std::string Bearing;    // Label5: "45"
};

// Elevation in degrees from the slider: (max - position) * 90 / (max + 1).
long double ElevationDegrees(int trackMax, int trackPosition);

// The three read-outs of the pattern last computed into model.Pattern at that elevation.
TDiagramLabels DiagramLabels(const TArrayModel& model, long double elevationDegrees);

// Draws rings, bearing lines, emitter markers and the pattern curve on the surface and
// computes the pattern into model.Pattern. On dtWindow the centre comes from the surface's
// clip rectangle size (width - R - 8, height div 2); on dtExportImage from its middle.
TDiagramLabels DrawDiagram(TCanvas& surface, TDrawTarget target, TArrayModel& model,
                           long double elevationDegrees);
