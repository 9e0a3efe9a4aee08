#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/named.h"
#include "plot/picturefile.h"
#include "plot/reportpage.h"
#include "plot/surface3d.h"

// What `plot` draws: the window's diagram, or one of the charts.
enum class TPlotKind { Diagram, PolarDb, RectDb, Elevation, ElevationHeights, Report, Surface3d };

inline constexpr TNamed<TPlotKind> kPlotKindNames[] = {
    {"diagram", TPlotKind::Diagram},
    {"polar-db", TPlotKind::PolarDb},
    {"rect-db", TPlotKind::RectDb},
    {"elevation", TPlotKind::Elevation},
    {"elevation-heights", TPlotKind::ElevationHeights},
    {"report", TPlotKind::Report},
    {"3d", TPlotKind::Surface3d}};

// One array for a chart: its figures, and the array whose diagram the report draws.
struct TChartArray {
    TReportArray Report;
    TArray Array;
    // What the picture was computed under (model, elevation, type, taper, ground, version), as
    // its caption states it.
    std::string Caption;
    // The 3-D picture's samples and view; only its kind fills them.
    std::shared_ptr<const TSphereGrid> Surface;
    TSurfaceView View;
    long double ElevationDegrees = 0;
};

// The picture of the arrays as a file of the format: the diagram of the first array as the
// window draws it, a chart of all overlaid in their colours, or the report, one A4 page with
// every array's diagram.
std::string ChartFileBytes(TPlotKind kind, const std::vector<TChartArray>& arrays,
                           TPictureFormat format);
