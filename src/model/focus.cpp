#include "model/focus.h"

#include <cmath>

#include "model/pattern.h"

void FocusBeam(TArray& array, int bearing) {
    const long double beta = bearing * kPi / 180;
    // Larger than any projection an array of a few wavelengths can have.
    long double lowest = 1e12L;
    for (TEmitter& emitter : array.Emitters) {
        if (!emitter.Enabled) continue;
        emitter.Phase = PathLength(beta, 0, emitter.X, emitter.Y);
        if (emitter.Phase < lowest) lowest = emitter.Phase;
    }
    for (TEmitter& emitter : array.Emitters) {
        if (!emitter.Enabled) continue;
        emitter.Phase -= lowest;
        // Rounding noise of the projections would otherwise show as phases like 5.4E-20.
        if (std::fabs(emitter.Phase) < 1e-6L) emitter.Phase = 0;
    }
}
