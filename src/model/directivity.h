#pragma once

#include <optional>

#include "model/emitters.h"
#include "model/pattern.h"

// The mean of the free-space power pattern F^2 over the whole sphere (the integral over 4 pi),
// exact from the pair integrals of the radiating emitters.
long double MeanRadiatedPower(const TArray& array);

// Directivities of the array in free space, in dBi.
struct TDirectivity {
    // Towards the maximum of the free-space pattern at elevation 0.
    long double HorizonDbi = 0;
    // The largest over the sphere, and where it lies: compass bearing 0..360 (degrees) and
    // elevation 0..90 (degrees; the pattern is symmetric about the plane of the array). None
    // when the array is too wide for its lobes to be told apart by a bounded search.
    std::optional<long double> PeakDbi;
    long double PeakBearingDegrees = 0;
    long double PeakElevationDegrees = 0;
};

// Nullopt when the array radiates nothing (the field cancels everywhere). horizon, when given,
// is the array's pattern at elevation 0 already computed (both formulas give the same there).
std::optional<TDirectivity> ComputeDirectivity(const TArray& array,
                                               const TPattern* horizon = nullptr);
