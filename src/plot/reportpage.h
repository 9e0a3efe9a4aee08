#pragma once

#include <cairo.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/gridcolumns.h"
#include "model/msgid.h"
#include "plot/charts.h"

// The grid's three texts (X, Y, Phase) of each emitter row, as the window shows them.
using TGridTexts = std::array<std::array<std::string, kGridDataColumns>, kEmitterCount>;

// One array's page content besides its charts: the grid as the window shows it, its
// read-outs and every figure of merit.
struct TReportArray {
    TChartSeries Series;
    std::array<bool, kEmitterCount> Enabled{};
    TGridTexts Grid;
    // Every figure as the table lists it: caption and value, in the reader's language and
    // with the window's decimal mark.
    std::vector<std::array<std::string, 2>> Figures;
};

// The report's heading, as the window's title names the program.
inline constexpr const char* kReportTitle = Msgid("Radiation pattern of the antenna array");

inline constexpr double kA4Width = 595.28;  // points
inline constexpr double kA4Height = 841.89;
// The most files a report lays out legibly: two bands of four.
inline constexpr std::size_t kMaxReportFiles = 8;

// Where a report's parts lie on the page, in points.
struct TReportLayout {
    TChartBox Diagram, Polar, Rect, Elevation;
    std::vector<TChartBox> Columns;  // one per file, at most kMaxReportFiles
    double TextSize = 0;             // of the tables
};
TReportLayout ReportLayout(std::size_t files);

// One A4 page in points: the diagram (drawn by drawDiagram into its box), the polar and
// rectangular level charts and the elevation cut of every array overlaid, then each array's
// table and figures side by side.
void DrawReportPage(cairo_t* cr, const std::vector<TReportArray>& arrays,
                    const std::function<void(cairo_t*, const TChartBox&)>& drawDiagram);
