#pragma once

#include <array>

#include "model/emitters.h"

// Steers the beam to a whole bearing (degrees): rewrites the phases of the enabled emitters.
// Returns, per emitter (index k - 1), whether its phase cell must be rewritten.
std::array<bool, kEmitterCount> FocusBeam(TArrayModel& model, int bearing);
