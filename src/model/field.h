#pragma once

#include "model/emitters.h"

// Which formula gives the pattern. A formula added here is a compile error (-Werror=switch)
// in every dispatch that does not handle it yet.
enum class TFieldModel {
    Window,     // the window's own: the path length over the (sin az, cos az, sin el) norm
    FreeSpace,  // the array's far field in free space, elevation above the horizon
};

// The surroundings of the array as a pattern sees them.
struct TFieldSpec {
    TFieldModel Model = TFieldModel::Window;
    long double ElevationDegrees = 0;  // 0..90 above the horizon
};

// "window" or "free-space", as options and outputs name the formula.
const char* FieldModelName(TFieldModel model);
