#pragma once

#include <optional>

#include "model/emitters.h"

// The direction of the largest free-space field over the sphere, in window azimuth (degrees;
// compass bearing az + 180) and elevation above the horizon (degrees, 0..90: the pattern is
// symmetric about the array's plane).
struct TSpherePeak {
    double AzimuthDegrees = 0;
    double ElevationDegrees = 0;
};

// Every lobe is sampled on a grid of direction cosines, then the best candidates are climbed
// by Newton's method to full precision. Nullopt when the array is too wide for the searches
// (SearchableAperture).
std::optional<TSpherePeak> FindSpherePeak(const TArray& array);
