#pragma once

#include <string>
#include <vector>

#include "plot/cairoptr.h"
#include "plot/picturefile.h"

// One figure along a sweep: its column, which tells the unit of its axis, the panel's title
// in the reader's words, and its values, NaN where it has none.
struct TSweepSeries {
    std::string Name;
    std::string Title;
    std::vector<double> Values;
};

// Each figure in a panel of its own, stacked on the parameter's axis (captioned parameter),
// each on its own numbered axis in the unit its column's name ends in (_db, _dbi, _deg). A
// missing value breaks the
// curve; an infinite one is drawn at the panel's edge with a mark. A picture file of the format.
std::string SweepChartBytes(const std::string& parameter, const std::vector<double>& x,
                            const std::vector<TSweepSeries>& series, TPictureFormat format);

// The same chart drawn on cr, chartWidth pixels wide with panels panelHeight pixels tall (the
// file's are 960 and 120), SweepChartHeight pixels in all.
void DrawSweepChart(cairo_t* cr, double chartWidth, double panelHeight,
                    const std::string& parameter, const std::vector<double>& x,
                    const std::vector<TSweepSeries>& series);
double SweepChartHeight(std::size_t panels, double panelHeight);
