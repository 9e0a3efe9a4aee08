#pragma once

#include <cmath>

// The phase as NEC and most tools show it: the current's angle -360 Phase, where Phase is the
// file's lag in periods, folded into (-180, 180] degrees; a lagging element reads negative.
// Every face that shows or reads a phase in degrees goes through this pair.
inline long double PhaseDegrees(long double phasePeriods) {
    long double degrees = std::fmod(-360 * phasePeriods, 360.0L);
    if (degrees <= -180) degrees += 360;
    if (degrees > 180) degrees -= 360;
    return degrees + 0.0L;  // no negative zero
}

// The file's phase (periods of lag) of a current's angle in degrees, unfolded.
inline long double PhaseFromDegrees(long double degrees) {
    return -degrees / 360 + 0.0L;
}
