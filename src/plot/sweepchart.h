#pragma once

#include <string>
#include <vector>

#include "plot/picturefile.h"

// One figure along a sweep; NaN where it has no value.
struct TSweepSeries {
    std::string Name;
    std::vector<double> Values;
};

// Each figure against the parameter on axes of its own range, overlaid in the series' colours
// with a legend of their names, as a picture file of the format.
std::string SweepChartBytes(const std::string& parameter, const std::vector<double>& x,
                            const std::vector<TSweepSeries>& series, TPictureFormat format);
