#pragma once

#include <optional>

#include "model/emitters.h"

// The direction of the largest free-space field over the sphere, in window azimuth (degrees;
// compass bearing az + 180) and elevation above the horizon (degrees, 0..90: the pattern is
// symmetric about the array's plane), with the power found there (fast path).
struct TSpherePeak {
    double AzimuthDegrees = 0;
    double ElevationDegrees = 0;
    double Power = 0;
};

// Every lobe is sampled on a grid of direction cosines, then the best candidates are climbed
// by Newton's method to full precision. Nullopt when the array is so wide that a grid fine
// enough for its lobes would exceed the search's bound of time and memory.
std::optional<TSpherePeak> FindSpherePeak(const TArray& array);

// The widest emitter spacing (wavelengths) whose lobes the search still resolves.
inline constexpr double kSearchableAperture = 200;
