#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "model/beamwidth.h"
#include "model/pattern.h"

// The continuous pattern the samples come from, of a window azimuth in degrees (sample i lies
// at i degrees).
using TPatternFunction = std::function<long double(long double)>;

// Figures of merit of one pattern, from samples 0..359 (sample 360 repeats sample 0).
// Levels are power ratios to the maximum in decibels, 20 log10 of the amplitude ratio; a
// sample at most 1e-12 of the maximum is rounding noise and counts as zero.
struct TPatternMetrics {
    // Width in degrees between the half-power points either side of the maximum, solved on
    // the continuous pattern; 360 when the pattern never falls to half power.
    long double BeamwidthDegrees = 360;
    // Where those points lie; none when the width is 360.
    std::optional<THalfPowerPoints> HalfPower;
    // Width in degrees of the main lobe between its first minima, solved on the continuous
    // pattern; 360 when the lobe is the circle.
    long double FirstNullBeamwidthDegrees = 360;
    // Maximum against the sample at the opposite bearing; infinite when that sample is 0.
    long double FrontToBackDb = 0;
    // Maximum against the largest sample more than 90 degrees away from it.
    long double FrontToRearDb = 0;
    // Maximum against the larger of the samples 90 degrees either side of it.
    long double FrontToSideDb = 0;
    // The highest level outside the main lobes, its peak solved on the continuous pattern;
    // none when they cover the whole circle.
    std::optional<long double> SideLobeDb;
    // Peak bearings (degrees, ascending) of the main lobes, solved on the continuous pattern:
    // the lobe at the maximum and each lobe whose peak is at most 0.01 dB below that lobe's
    // (the mirror beam of a broadside line).
    std::vector<long double> MainLobeBearings;
    // Bearings (degrees, ascending) of the continuous pattern's minima below -40 dB: one in each
    // run of samples below it, and one between samples wherever the pattern dips below it there.
    std::vector<long double> NullBearings;
    // Their depths against the maximum, dB; minus infinity where the field vanishes (at most
    // rounding noise).
    std::vector<long double> NullDepthsDb;
};

// Nullopt when every sample is 0: no level can be taken relative to the maximum.
// fastPath, when given, is the same pattern in a fast path that brackets each null and lobe
// peak before the exact one places it.
std::optional<TPatternMetrics> ComputeMetrics(const TPattern& pattern,
                                              const TPatternFunction& continuous,
                                              const TPatternFunction& fastPath = {});
