#pragma once

#include <functional>
#include <optional>

#include "model/pattern.h"

// The amplitude ratio of the half-power points, 1/sqrt(2): the "-3 dB" of a beamwidth.
inline constexpr long double kHalfPowerRatio = 0.707106781186547524400844362104849039L;

// The half-power points either side of the maximum, as window azimuths in degrees, unwrapped
// about the maximum's sample: Lower < MaxGainAngle < Upper. Their difference is the beamwidth.
struct THalfPowerPoints {
    long double Lower = 0;
    long double Upper = 0;
};

// Walks from the maximum sample in each direction to the first sample below half power, then
// solves the continuous pattern `value` (of a window azimuth in degrees, the formula the
// samples come from) between that sample and the one before it. Nullopt when the pattern is
// zero or never falls to half power.
std::optional<THalfPowerPoints> HalfPowerPoints(
    const TPattern& pattern, const std::function<long double(long double)>& value);

// The root of f between a and b, where f(a) and f(b) have opposite signs (fa and fb given), to
// within tolerance, by Brent's method: bisection's safety, the speed of interpolation.
long double SolveBracketed(const std::function<long double(long double)>& f, long double a,
                           long double b, long double fa, long double fb, long double tolerance);
