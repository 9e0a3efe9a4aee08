#pragma once

#include <string>
#include <vector>

#include "plot/picturefile.h"
#include "plot/reportpage.h"

// The pictures beyond the window's diagram.
enum class TChartKind { PolarDb, RectDb, Elevation, Report };

// One array for a chart: its figures and the model the diagram is drawn from.
struct TChartArray {
    TReportArray Report;
    TArrayModel Model;
    long double ElevationDegrees = 0;
};

// The chart of the arrays, overlaid in their colours, as a file of the format. The report is
// one A4 page with the window's diagram of the first array.
std::string ChartFileBytes(TChartKind kind, const std::vector<TChartArray>& arrays,
                           TPictureFormat format);
