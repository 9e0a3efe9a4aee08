#pragma once

#include <optional>
#include <vector>

#include "model/emitters.h"

// Figures of merit of one pattern, from samples 0..359 (sample 360 repeats sample 0).
// Levels are power ratios to the maximum in decibels, 20 log10 of the amplitude ratio.
struct TPatternMetrics {
    // Width in degrees between the -3 dB points either side of the maximum; 360 when the
    // pattern never falls 3 dB.
    long double BeamwidthDegrees = 360;
    // Maximum against the sample at the opposite bearing; infinite when that sample is 0.
    long double FrontToBackDb = 0;
    // The highest sample outside the main lobe; none when the main lobe is the whole circle.
    std::optional<long double> SideLobeDb;
    // Centre bearings (degrees, ascending) of the runs of samples below -40 dB.
    std::vector<long double> NullBearings;
};

// Nullopt when every sample is 0: no level can be taken relative to the maximum.
std::optional<TPatternMetrics> ComputeMetrics(const TPattern& pattern);
