#pragma once

#include <string>
#include <vector>

#include "plot/charts.h"

// One frame of an animation: the series drawn and the caption that says which step it is.
struct TAnimationFrame {
    std::string Caption;
    TChartSeries Series;
};

// The polar-db chart of each frame in turn, as an animated GIF that loops, a tenth of a second
// a frame. Throws EHandlerError when the encoder fails.
std::string PolarDbAnimation(const std::vector<TAnimationFrame>& frames);
