#include "model/emitters.h"

#include <algorithm>
#include <cmath>

#include "model/rounding.h"

namespace {

constexpr int kSpinLimit = 64;  // one wavelength in spin steps

}  // namespace

int TArray::EnabledCount() const {
    return static_cast<int>(std::count_if(Emitters.begin(), Emitters.end(),
                                          [](const TEmitter& e) { return e.Enabled; }));
}

void FillInitialTable(TArray& array) {
    // A 2 x 2 square of quarter-wavelength offsets, phased so the beam points to bearing 45.
    const long double diagonal = -0.5L / std::sqrt(2.0L);
    const long double corner = std::sqrt(2.0L) * -0.5L;
    const struct {
        long double X, Y, Phase;
    } initial[kEmitterCount] = {
        {0.25L, 0.25L, 0},
        {-0.25L, 0.25L, diagonal},
        {0.25L, -0.25L, diagonal},
        {-0.25L, -0.25L, corner},
        {0, 0, 0},
        {0, 0, 0},
        {0, 0, 0},
        {0, 0, 0},
    };
    for (int k = 1; k <= kEmitterCount; ++k) {
        TEmitter& emitter = array.Emitter(k);
        emitter.X = initial[k - 1].X;
        emitter.Y = initial[k - 1].Y;
        emitter.Phase = initial[k - 1].Phase;
    }
}

TArray MakeInitialArray() {
    TArray array;
    FillInitialTable(array);
    for (int k = 1; k <= kEmitterCount; ++k) array.Emitter(k).Enabled = k <= kInitialEnabledCount;
    array.EmitterType = etOmni;
    return array;
}

long double FullScale(const TArray& array) {
    // Summed in slot order: with amplitudes 1 this is exactly the number of emitters on.
    long double sum = 0;
    for (const TEmitter& e : array.Emitters) {
        if (e.Enabled) sum += e.Amplitude;
    }
    return sum;
}

long double SpinToValue(int position) {
    return static_cast<long double>(position) / kSpinLimit;
}

int ValueToSpin(long double value) {
    // A loaded file may hold any value; the spin shows the nearer end of its range instead of
    // wrapping the position or failing on a value too large to round.
    const long double steps = value * kSpinLimit;
    if (std::isnan(steps)) return 0;
    if (steps >= kSpinLimit) return kSpinLimit;
    if (steps <= -kSpinLimit) return -kSpinLimit;
    return static_cast<int>(RoundHalfEven(steps));
}
