#pragma once

#include <array>

#include "model/emitters.h"

// Which formula gives the pattern: the window's, or the field of the array in free space.
enum class TFieldModel { Window, FreeSpace };

// The free-space field towards window azimuth az (radians; compass bearing az + 180 degrees)
// at elevation (degrees above the horizon): the element factor of the emitter type times the
// modulus of the sum of the enabled emitters' unit phasors. At elevation 0 it is, bit for bit,
// the window's pattern at that azimuth.
long double FreeSpaceValue(const TArrayModel& model, long double az, long double elevationDegrees);

// The value of the chosen model towards az (radians) at elevation (degrees).
long double FieldValue(const TArrayModel& model, TFieldModel field, long double az,
                       long double elevationDegrees);

// Fills model.Pattern from the chosen model, with ComputePattern's sample bearings and its rule
// for the maximum.
void ComputeFieldPattern(TArrayModel& model, TFieldModel field, long double elevationDegrees);

inline constexpr int kElevationCutCount = 91;  // one per degree, horizon to zenith

// The chosen model at one whole compass bearing (degrees), elevation 0..90 degrees.
std::array<long double, kElevationCutCount> ElevationCut(const TArrayModel& model,
                                                         TFieldModel field, int bearing);
