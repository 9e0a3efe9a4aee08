#pragma once

#include <cmath>

#include "model/trig.h"

// The direction (sin az, cos az, sin el) and its length: everything in a path length that does
// not depend on the emitter. Computing it once per direction gives the very values that
// computing it once per emitter gives.
struct TDirection {
    long double SinAz;
    long double CosAz;
    long double Length;
};

inline TDirection Direction(long double az, long double sinEl) {
    const long double e = ExtSin(az);
    const long double f = ExtCos(az);
    return TDirection{e, f, std::sqrt(e * e + f * f + sinEl * sinEl)};
}

// Path length in wavelengths of the emitter at (x, y) towards the direction.
inline long double Projection(const TDirection& d, long double x, long double y) {
    return (x * d.SinAz + y * d.CosAz) / d.Length;
}
