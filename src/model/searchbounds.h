#pragma once

#include <cmath>

#include "model/emitters.h"

// Every search over a pattern samples it on a grid as fine as its lobes, then climbs from the
// best samples. Both are bounded here by counts, never by time, so that an answer is the same
// on every processor.

// The widest aperture (wavelengths) whose lobes a search still resolves: a lobe is about
// 1 / aperture wide in direction cosines, and a grid fine enough for wider arrays would outgrow
// any bound of time and memory.
inline constexpr long double kSearchableAperture = 200;

// The most steps a climb takes. From a grid's best samples climbs settle in a few hundred,
// about a thousand near the widest aperture; one that wanders over rounding noise ends here.
inline constexpr int kRefinementSteps = 10000;

// The largest distance between two enabled emitters (wavelengths); not finite when a
// coordinate is not.
inline long double Aperture(const TArray& array) {
    long double widest = 0;
    for (const TEmitter& a : array.Emitters) {
        for (const TEmitter& b : array.Emitters) {
            if (!a.Enabled || !b.Enabled) continue;
            const long double d = std::hypot(a.X - b.X, a.Y - b.Y);
            if (!(d <= widest)) widest = d;
        }
    }
    return widest;
}

// Whether the searches can tell the array's lobes apart; false for coordinates that are not
// finite.
inline bool SearchableAperture(const TArray& array) {
    return Aperture(array) <= kSearchableAperture;
}
