#pragma once

#include <functional>

#include <array>

#include "model/angles.h"
#include "model/emitters.h"
#include "model/field.h"

// The result of one pattern computation: sample i (i degrees of window azimuth) and the first
// strictly largest sample. MaxGainAngle keeps the previous computation's index when no sample
// exceeds 0.
struct TPattern {
    std::array<long double, kSampleCount> Samples{};
    long double MaxGain = 0;
    int MaxGainAngle = 0;                     // sample index 0..360
    TFieldModel Model = TFieldModel::Window;  // the formula of the samples
};

// The largest field the model gives the array: every enabled emitter in phase, the element
// factor at most 1, and over ground the direct and the reflected wave in phase as well (the
// reflection coefficients are at most 1 in modulus), so twice that. A diagram's outer ring.
long double FullScale(const TArray& array, TFieldModel model);

// Path length in wavelengths of an emitter at (x, y) towards azimuth az at elevation el
// (both radians): (x sin az + y cos az) / sqrt(sin^2 az + cos^2 az + sin^2 el).
long double PathLength(long double az, long double el, long double x, long double y);

// The exact value of the field towards window azimuth az (radians; compass bearing az + 180
// degrees): the value a sample at that azimuth gets.
long double FieldValue(const TArray& array, const TFieldSpec& field, long double az);

// The same in double precision, for searches and integrals; within 1e-12 of full scale of the
// exact value.
double FastFieldValue(const TArray& array, const TFieldSpec& field, double az);

// The same two as functions of the window azimuth in degrees, the array's sources and the
// elevation's terms taken once for the many evaluations of a search; the values are
// FieldValue's and FastFieldValue's to the bit.
std::function<long double(long double)> ExactFieldFunction(const TArray& array,
                                                           const TFieldSpec& field);
std::function<long double(long double)> FastFieldFunction(const TArray& array,
                                                          const TFieldSpec& field);

// The 361 samples of the field and their maximum; previousMaxGainAngle is carried when no
// sample exceeds 0, as the window carries the index of its last drawing.
TPattern ComputePattern(const TArray& array, const TFieldSpec& field, int previousMaxGainAngle = 0);

// True when even the maximum is rounding noise against full scale: emitters that cancel
// everywhere leave samples of 1e-19, not 0.
bool IsZeroPattern(const TPattern& pattern, const TArray& array);

inline constexpr int kElevationCutCount = 91;  // one per degree, horizon to zenith

// The field at one whole compass bearing (degrees), elevation 0..90 degrees; the elevation
// given with the field is not used.
std::array<long double, kElevationCutCount> ElevationCut(const TArray& array,
                                                         const TFieldSpec& field, int bearing);

// 10 log10(m + 1e-11), the decibel value shown after the maximum.
long double GainDecibels(long double m);
