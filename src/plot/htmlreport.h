#pragma once

#include <string>
#include <vector>

#include "plot/chartfile.h"

// The report as one self-contained HTML page: for each array its conditions, emitter table and
// figures, the window's diagram and the level charts as inline SVG with the value under the
// pointer, and the 3-D pattern (the arrays' Surface) turned with the mouse through three.js,
// built in; with several arrays a switch between them and an overlay of their charts.
std::string HtmlReport(const std::vector<TChartArray>& arrays);
