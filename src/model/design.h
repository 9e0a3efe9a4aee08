#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/emitters.h"
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
    long double Figure = 0;  // the ratio reached, dB (front-to-back and front-to-rear)
};

// The excitation of greatest directivity towards the target, w = A^-1 s with A the matrix of
// pair integrals (over perfect ground, of the array with its images) and s the steering
// vector; with null bearings, the greatest subject to exact nulls there. Nullopt, with the
// reason, where the matrix or the constraints are singular or the ground is real.
std::optional<TRefusal> DesignMaxDirectivity(TArray& array, const TGround& ground,
                                             const TDesignTarget& target, TDesignReport& report);

// The phases (and with freeAmplitudes the amplitudes, 0..1) that maximise the ratio of the
// field towards the target bearing to that at the opposite bearing (rear = false) or to the
// largest more than 90 degrees away (rear = true), at the target's elevation in free space.
// Nelder-Mead from starts of a fixed seed: the same design every run.
void DesignFrontToBack(TArray& array, const TDesignTarget& target, bool rear, bool freeAmplitudes,
                       TDesignReport& report);
