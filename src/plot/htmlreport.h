#pragma once

#include <string>
#include <vector>

#include "plot/chartfile.h"

// The report as one self-contained HTML page: for each array its conditions, emitter table and
// figures, the window's diagram, and the polar, elevation and level charts as inline SVG with
// their labels as text and the value under the pointer; the 3-D pattern (the arrays' Surface)
// turned with the mouse through three.js, built in, with its compass letters and colour scale,
// and on paper the 3-D picture in its place. With several arrays a switch between them and an
// overlay of their charts.
std::string HtmlReport(const std::vector<TChartArray>& arrays);
