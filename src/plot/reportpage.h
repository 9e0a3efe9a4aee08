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

// Real wires' own columns of the emitters' table: each emitter's length, amplitude, drive
// impedance and SWR, in the reader's language. No heads for ideal emitters, whose page stays
// as it always was.
struct TWireColumns {
    std::vector<std::string> Heads;
    std::array<std::vector<std::string>, kEmitterCount> Cells;  // of the emitters switched on
};

// Fed through a network: the transmitter's and the loss's captions and values, and a row an
// emitter under the heads; all empty without a network, whose page stays as it always was.
struct TReportNetwork {
    std::vector<std::array<std::string, 2>> Transmitter;
    std::vector<std::string> Heads;
    std::vector<std::vector<std::string>> Emitters;
};

// One array's page content besides its charts: the grid as the window shows it, its wires'
// columns, its read-outs and every figure of merit.
struct TReportArray {
    TChartSeries Series;
    std::array<bool, kEmitterCount> Enabled{};
    TGridTexts Grid;
    TWireColumns Wires;
    TReportNetwork Network;
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
    // The page is A4, longer where the tables would leave the charts too small to read.
    double PageHeight = kA4Height;
    double FootTop = 0;  // where the conditions at the page's foot begin
};
// The layout for the files, the tallest file's column in lines of its text, and the lines of
// conditions at the page's foot.
TReportLayout ReportLayout(std::size_t files, double columnLines = 0, std::size_t footLines = 1);
// The lines a file's column takes: its name, the grid's head and rows, the wires' table and
// the figures.
double ReportColumnLines(const TReportArray& array);

// The page's text size for the conditions at its foot, and their line spacing (points).
inline constexpr double kReportFootSize = 5.5;
inline constexpr double kReportFootLine = 6.5;
inline constexpr double kReportFootMargin = 20;  // either side of the foot's lines

// One page in points, laid out as given: the diagram (drawn by drawDiagram into its box), the
// polar and rectangular level charts and the elevation cut of every array overlaid, each
// array's table and figures side by side, and the conditions, broken into lines as they are
// measured for the layout, at the foot.
void DrawReportPage(cairo_t* cr, const TReportLayout& layout,
                    const std::vector<TReportArray>& arrays,
                    const std::vector<std::string>& footLines,
                    const std::function<void(cairo_t*, const TChartBox&)>& drawDiagram);
