#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/emitters.h"
#include "model/field.h"
#include "model/frontsearch.h"
#include "model/ground.h"
#include "model/msgid.h"

// Excitations designed for the array's geometry and element type: amplitudes (largest 1) and
// phases (periods, this program's lag) of the enabled emitters, written into the array.
struct TDesignTarget {
    long double BearingDegrees = 0;         // compass
    long double ElevationDegrees = 0;       // above the horizon
    std::vector<long double> NullBearings;  // at the same elevation
};

struct TDesignReport {
    // Sum of |w|^2 over |sum of w s|^2 against a uniform excitation, dB: how much larger the
    // currents are than the field they make. Beyond 10 dB a design is super-directive.
    long double SensitivityDb = 0;
    int Evaluations = 0;     // of the optimiser; 0 for a closed form
    long double Figure = 0;  // the ratio reached, dB, capped (front-to-back and front-to-rear)
};

// The excitation of greatest directivity towards the target, w = A^-1 s with A the matrix of
// pair integrals (over perfect ground, of the array with its images) and s the steering
// vector; with null bearings, the greatest subject to exact nulls there. Nullopt, with the
// reason, where the matrix or the constraints are singular or the ground is real.
std::optional<TRefusal> DesignMaxDirectivity(TArray& array, const TGround& ground,
                                             const TDesignTarget& target, TDesignReport& report);

// The phases (and with freeAmplitudes the amplitudes, 0..1, the largest then set to 1) that
// maximise, up to kDesignDepthDb, the ratio of the field towards the target bearing to that at
// the opposite bearing (rear = false) or to the largest at whole bearings more than 90 degrees
// away (rear = true), in the given field, with the beam kept at the bearing: no whole-degree
// sample exceeds the field there. Nelder-Mead from the input excitation, the one in phase at
// the bearing and starts of a fixed seed: the same design every run, never worse than an input
// that already beams at the bearing.
void DesignFrontToBack(TArray& array, const TFieldSpec& field, const TDesignTarget& target,
                       bool rear, bool freeAmplitudes, TDesignReport& report);

// The array's ratio at a compass bearing (degrees) as the pattern's metrics take it at their
// maximum, dB: the field there against that at the opposite bearing, or (rear) against the
// largest at whole bearings more than 90 degrees away. Infinite where that is at most rounding
// noise (1e-12) of the front; minus infinity where the front itself is (against full scale).
long double FrontRatioDb(const TArray& array, const TFieldSpec& field, long double bearingDegrees,
                         bool rear);
