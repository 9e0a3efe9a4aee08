#pragma once

#include <complex>
#include <string>
#include <vector>

#include "model/coupling.h"

// The pattern cards of a wire deck: an azimuth cut at an elevation and an elevation cut at a
// compass bearing, both in steps of StepDegrees.
struct TWireDeckCuts {
    double ElevationDegrees = 0;
    double BearingDegrees = 0;
    double StepDegrees = 1;
};

// A NEC-2 input deck of the emitters switched on as wires of their real length and radius,
// 21 segments per half wavelength (odd, so that a segment holds the centre feed), and a
// voltage source at every emitter whose voltage (one per emitter switched on, in number order)
// is not 0: with the solved voltages NEC reproduces the solved currents. A monopole runs from
// the ground up and is fed in its lowest segment. Lines end in CR LF; numbers are written with
// a full stop whatever the locale.
std::string WireNecDeck(const TArray& array, const TWireSettings& wires, const TGround& ground,
                        const std::vector<std::complex<double>>& voltages,
                        const TWireDeckCuts& cuts);
