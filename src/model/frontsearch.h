#pragma once

#include <cmath>
#include <functional>
#include <vector>

#include "model/angles.h"

// The search behind the front-to-back and front-to-rear designs, whatever computes the field
// of an excitation: ideal elements or the wires' embedded patterns.

// The field magnitude (any scale, the same for every excitation) of an excitation x towards
// each whole-degree compass bearing 0..359, then towards the target bearing and its opposite.
// x holds each emitter's phase (periods of lag), then with free amplitudes each one's
// amplitude, which the field takes clamped to 0..1.
using TRingField = std::function<void(const std::vector<double>& x, std::vector<double>& values)>;

// The depth the front-to-back and front-to-rear designs aim for, dB: beyond it a null is
// deeper than any real array keeps, and a ratio without bound lets the search trade the beam
// for a deeper back.
inline constexpr long double kDesignDepthDb = 60;

inline constexpr int kRingValues = kCircleDegrees + 2;

// Degrees between two compass bearings, 0..180.
template <typename R>
R Separation(R a, R b) {
    return std::fabs(std::remainder(a - b, R(kCircleDegrees)));
}

struct TFrontSearch {
    double BearingDegrees = 0;  // compass
    bool Rear = false;          // against the largest more than 90 degrees away
    bool FreeAmplitudes = false;
    std::vector<double> Input;    // the input excitation, its amplitudes to a largest of 1
    std::vector<double> InPhase;  // phases that add the elements' fields at the bearing
};

struct TFrontFound {
    std::vector<double> Best;
    double RatioDb = 0;  // at the bearing, capped at kDesignDepthDb
    int Evaluations = 0;
};

// Nelder-Mead from the input, the excitation in phase at the bearing and starts of a fixed
// seed, ranked by the ratio where the beam stays at the bearing (no whole-degree sample
// exceeds the field there): the same design every run.
TFrontFound SearchFrontRatio(const TFrontSearch& search, const TRingField& field);
