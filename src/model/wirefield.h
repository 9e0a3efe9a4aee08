#pragma once

#include <complex>

#include "model/wires.h"

// The far field r E (volts, peak) of the solved currents towards a compass bearing and an
// elevation (degrees), split along the vertical unit vector of the plane of incidence (Theta)
// and the horizontal one across it (Phi). Over ground the reflected wave is the image's,
// weighted by the Fresnel coefficients; below the horizon there it is 0.
struct TFarField {
    std::complex<double> Theta;
    std::complex<double> Phi;
};
TFarField WireFarField(const TWireSystem& system, const TWireCurrents& currents,
                       double bearingDegrees, double elevationDegrees);

// Radiated power per unit solid angle (watts per steradian).
double RadiationIntensity(const TFarField& field);

// The power the far field carries through the sphere, or over ground through the upper
// half-space (watts): by Gauss-Legendre quadrature in the sine of the elevation and the
// trapezoid rule in bearing, both fine enough for the array's extent.
double RadiatedPower(const TWireSystem& system, const TWireCurrents& currents);

// 4 pi U over the input power (dBi): over real ground the earth's loss lowers it.
double WireGainDbi(const TWireSystem& system, const TWireCurrents& currents, double bearingDegrees,
                   double elevationDegrees);
