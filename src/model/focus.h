#pragma once

#include "model/emitters.h"

// Steers the beam to a whole bearing (degrees): rewrites the phases of the enabled emitters.
void FocusBeam(TArray& array, int bearing);
