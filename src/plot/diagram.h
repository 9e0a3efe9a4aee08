#pragma once

#include <optional>

#include <string>
#include <string_view>

#include "model/emitters.h"
#include "model/pattern.h"
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

// The maximum and its decibels as the gain read-out shows them, filled into format: the
// window's is "%s  (%s дБ)".
std::string GainReadout(const TPattern& pattern, std::string_view format);

// The three read-outs of a pattern computed at that elevation.
TDiagramLabels DiagramLabels(const TPattern& pattern, long double elevationDegrees);

// Draws rings, bearing lines, the markers of the array's enabled emitters and the curve of the
// pattern, computed beforehand at that elevation, on the surface. On dtWindow the centre comes
// from the surface's clip rectangle size (width - R - 8, height div 2); on dtExportImage from
// its middle. The outer ring is fullScale where given (the pattern's own maximum for a gain
// pattern, whose samples are not on the array factor's scale), otherwise the array's full
// scale in the pattern's model, as the window draws it.
TDiagramLabels DrawDiagram(TCanvas& surface, TDrawTarget target, const TArray& array,
                           const TPattern& pattern, long double elevationDegrees,
                           std::optional<long double> fullScale = std::nullopt);
