#pragma once

#include <cairo.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/beamwidth.h"
#include "model/emitters.h"
#include "model/pattern.h"
#include "plot/charttext.h"

// One array as the charts show it: its pattern samples (sample i at compass bearing
// (i + 180) mod 360), the solved half-power points (window azimuths in degrees) and the
// elevation cut at CutBearing (degrees).
struct TChartSeries {
    std::string Name;  // the legend's text, the configuration's file name
    TPattern Pattern;
    bool Zero = false;  // the pattern is zero, or rounding noise, everywhere
    std::optional<THalfPowerPoints> HalfPower;
    std::array<long double, kElevationCutCount> Cut{};
    int CutBearing = 0;
    // Over ground: the take-off elevation and the half-power elevations either side of it
    // (degrees), marked on the elevation cut.
    std::optional<std::array<long double, 3>> Takeoff;
    // 10 log10 of the pattern's mean power over the sphere (the upper half-space over ground):
    // 20 log10 of a sample less this is its directivity in dBi. None where it is not defined.
    std::optional<long double> MeanPowerDb;
    // The samples less MeanPowerDb are gains, against the power fed in (real wires), not
    // directivities.
    bool Gain = false;
    // On one dBi axis: the amplitude drawn at the chart's 0 dB, the axis's dBi there, and the
    // series' own peak in dBi for its legend. Reference 0: the series' own maximum.
    long double Reference = 0;
    std::optional<double> TopDbi;
    std::optional<double> PeakDbi;
};

// Puts every series on one dBi axis, its top the highest peak rounded up to a whole dB, where
// every series has a mean power; false, leaving them as they are, where one has none.
bool UseDbiScale(std::vector<TChartSeries>& series);

// The outer ring of the window's diagram for the series: a gain pattern's own maximum, as its
// samples are not on the array factor's scale; none for the window's own scale.
std::optional<long double> DiagramFullScale(const TChartSeries& series);

// A box on the page, in the surface's units (pixels, or points on a PDF page).
struct TChartBox {
    double X, Y, Width, Height;
};

// Each chart draws itself and its legend in the box with the font face already set on cr.
// Levels are 20 log10(sample / maximum) of each series' own maximum; a series whose pattern is
// zero everywhere draws no curve and says so in the legend.

// Polar, north up, on the logarithmic ARRL scale (radius 0.89^(-dB/2) of the box's), rings at
// 0, -3, -6, -10, -20 and -30 dB, bearings every 30 degrees, the half-power points marked.
void DrawPolarDb(cairo_t* cr, const TChartBox& box, const std::vector<TChartSeries>& series);
// Level against bearing 0..360, -40..0 dB, grid every 30 degrees and 10 dB, a -3 dB line.
void DrawRectDb(cairo_t* cr, const TChartBox& box, const std::vector<TChartSeries>& series);
// The elevation cut on the ARRL scale, a quarter circle from the horizon to the zenith.
void DrawElevationChart(cairo_t* cr, const TChartBox& box, const std::vector<TChartSeries>& series);

// Where a chart in the box draws, for a page that reads the level under the pointer: the polar
// charts' centre and radius of 0 dB, the level chart's plot area.
struct TPolarPlace {
    double Cx, Cy, Radius;
};
TPolarPlace PolarPlace(const TChartBox& box, std::size_t seriesCount);
TChartBox RectPlot(const TChartBox& box, std::size_t seriesCount);
TPolarPlace ElevationPlace(const TChartBox& box, std::size_t seriesCount);

// A level's text in the reader's language: "−3 dB", or "5 dBi" on one dBi axis.
std::string LevelText(const std::string& number, bool dbi);

inline constexpr std::size_t kSeriesColours = 12;
// The colour of the n-th series (red, green, blue 0..1), distinct for the first twelve; the
// next twelve take them again with dashed lines, then dotted, then dash-dotted.
std::array<double, 3> SeriesColour(std::size_t n);
// The n-th series' dash pattern for cairo_set_dash; empty for a solid line.
std::vector<double> SeriesDashes(std::size_t n);

// How a legend of count names fits a chart box of that height: the names it shows, and the
// ones it only counts ("и ещё N") when a quarter of the box cannot hold them all.
struct TLegendRows {
    std::size_t Named = 0;
    std::size_t Unnamed = 0;
};
TLegendRows LegendRows(std::size_t count, double boxHeight);
// The height of the legend's band above the chart.
double LegendHeight(const TLegendRows& rows);
