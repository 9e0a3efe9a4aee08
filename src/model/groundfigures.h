#pragma once

#include <optional>

#include "model/emitters.h"
#include "model/ground.h"

// What the array does over ground, in its upper half-space.
struct TGroundFigures {
    // The maximum's elevation (degrees above the horizon), solved to far below 0.01 degree,
    // and its compass bearing (degrees).
    long double TakeoffElevationDegrees = 0;
    long double PeakBearingDegrees = 0;
    // The half-power elevations either side of the maximum at its bearing (degrees); the
    // horizon or the zenith where the lobe reaches them.
    long double TakeoffLowDegrees = 0;
    long double TakeoffHighDegrees = 90;
    // 4 pi U_max over the power radiated into the upper half-space (dBi); none when the
    // quadrature over real ground does not settle within its bound.
    std::optional<long double> SpaceWaveDirectivityDbi;
    // The power radiated into the upper half-space, on the scale of FieldValue squared; none
    // where the space-wave directivity is none.
    std::optional<long double> UpperHalfSpacePower;
    // Against the power the sources deliver (dBi): over perfect ground the space-wave
    // directivity; over real ground none, as the earth's share of that power is not modelled.
    std::optional<long double> GainDbi;
};

// Nullopt when the array radiates nothing into the upper half-space, or when it is too wide
// for the searches (SearchableAperture in model/searchbounds.h tells which). The ground's kind
// must be Perfect or Real.
std::optional<TGroundFigures> ComputeGroundFigures(const TArray& array, const TGround& ground);

// The mean over the sphere of F^2 of the array together with its images in perfect ground
// (twice the power into the upper half-space over 4 pi), exact from the pair integrals.
long double MeanPowerWithImages(const TArray& array, long double heightWavelengths);

// The power radiated into the upper half-space over 4 pi, by Gauss-Legendre quadrature in
// elevation and the trapezoid rule in azimuth, refined until two levels agree to 1e-7 dB;
// none if they do not within the bound, or if the array is too wide for the searches.
std::optional<long double> UpperHalfSpacePower(const TArray& array, const TGround& ground);
