#include "model/emitters.h"

#include <algorithm>
#include <cmath>

#include "model/rounding.h"

namespace {

constexpr int kSpinLimit = 64;  // one wavelength in spin steps

}  // namespace

void FillInitialTable(TArrayModel& model) {
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
        TEmitter& emitter = model.Emitter(k);
        emitter.X = initial[k - 1].X;
        emitter.Y = initial[k - 1].Y;
        emitter.Phase = initial[k - 1].Phase;
    }
}

TArrayModel MakeInitialModel() {
    TArrayModel model;
    FillInitialTable(model);
    for (int k = 1; k <= kEmitterCount; ++k) model.Emitter(k).Enabled = k <= kInitialEnabledCount;
    model.EnabledCount = CountEnabled(model);
    model.SelectedRow = 1;
    model.EmitterType = etOmni;
    return model;
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

int CountEnabled(const TArrayModel& model) {
    return static_cast<int>(std::count_if(model.Emitters.begin(), model.Emitters.end(),
                                          [](const TEmitter& e) { return e.Enabled; }));
}
