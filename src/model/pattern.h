#pragma once

#include "model/emitters.h"

inline constexpr long double kPi = 3.14159265358979323846L;
inline constexpr long double kDegree = 0.017453292519943295L;  // one degree in radians

// Path length in wavelengths of an emitter at (x, y) towards azimuth az at elevation el
// (both radians): (x sin az + y cos az) / sqrt(sin^2 az + cos^2 az + sin^2 el).
long double PathLength(long double az, long double el, long double x, long double y);
// The value ComputePattern gives a sample, towards any azimuth az (radians; sample i lies at
// i degrees, compass bearing (i + 180) mod 360) at elevation (degrees), by the same operations.
long double PatternValue(const TArrayModel& model, long double az, long double elevationDegrees);
// Fills the samples 0..360 from value(i) and finds the maximum: the first strictly largest
// sample; MaxGainAngle keeps its index when no sample exceeds 0.
template <typename TValue>
void FillPattern(TPattern& pattern, TValue value) {
    pattern.MaxGain = 0;
    for (int i = 0; i < kSampleCount; ++i) {
        const long double v = value(i);
        pattern.Samples[static_cast<unsigned>(i)] = v;
        if (v > pattern.MaxGain) {
            pattern.MaxGain = v;
            pattern.MaxGainAngle = i;
        }
    }
}
// Fills model.Pattern from the table and model.EmitterType at elevation (degrees).
void ComputePattern(TArrayModel& model, long double elevationDegrees);
// 10 log10(m + 1e-11), the decibel value shown after the maximum.
long double GainDecibels(long double m);
// Compass bearing 0..359 of a sample index: (index + 540) mod 360.
int DisplayedBearing(int maxGainAngle);
