#pragma once

#include <cmath>

// Angles and the sample circle, named once: every figure, picture and text goes through these.

inline constexpr long double kPi = 3.14159265358979323846L;
inline constexpr long double kDegree = 0.017453292519943295L;  // one degree in radians

inline constexpr int kCircleDegrees = 360;
// One sample per degree of window azimuth; sample 360 repeats sample 0.
inline constexpr int kSampleCount = kCircleDegrees + 1;

// The window's azimuth of sample i points the opposite way to the compass: sample 0 is south.
// Compass bearing 0..359 of sample index i (any integer).
constexpr int SampleBearing(int sample) {
    return ((sample + kCircleDegrees / 2) % kCircleDegrees + kCircleDegrees) % kCircleDegrees;
}
// Sample index 0..359 of a compass bearing (any integer): the same half turn.
constexpr int BearingSample(int bearing) {
    return SampleBearing(bearing);
}
// Compass bearing 0..359 of the maximum's sample index: (index + 540) mod 360.
constexpr int DisplayedBearing(int maxGainAngle) {
    return (maxGainAngle + 540) % 360;
}
// Compass bearing in [0, 360) of a window azimuth in degrees (any real).
inline long double AzimuthBearing(long double azimuthDegrees) {
    const long double b = std::fmod(azimuthDegrees + kCircleDegrees / 2, kCircleDegrees);
    return b < 0 ? b + kCircleDegrees : b;
}
