#pragma once

#include <array>

#include "model/coupling.h"
#include "model/metrics.h"
#include "model/pattern.h"

// The pattern of the solved wires on the samples' scale of gain: each value is the field
// against an isotropic source fed with the same power, sqrt(4 pi U / P_in), so that
// 20 log10 of a value is the gain in dBi. Sample i lies at window azimuth i degrees (compass
// bearing i + 180) at the elevation given (degrees).
TPattern WirePattern(const TCoupledArray& wires, double elevationDegrees);

// The same value towards window azimuth az (degrees, sample i at i) at that elevation: the
// continuous function the samples come from, which the metrics' searches between samples take.
TPatternFunction WirePatternFunction(const TCoupledArray& wires, double elevationDegrees);

// Elevation 0..90 degrees at a compass bearing (degrees), on the same scale.
std::array<long double, kElevationCutCount> WireElevationCut(const TCoupledArray& wires,
                                                             double bearingDegrees);

// The largest gain over the sphere, or over ground the upper half-space, and where it lies:
// a grid of 5 degrees refined by halving steps to below 0.01 degree. The elevation is 0..90:
// in free space the upper of the twin peaks either side of the horizon.
struct TWirePeak {
    double GainDbi = 0;
    double BearingDegrees = 0;
    double ElevationDegrees = 0;
};
TWirePeak WirePeakGain(const TCoupledArray& wires);
