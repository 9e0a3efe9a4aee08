#pragma once

#include <optional>
#include <vector>

#include "plot/chartfile.h"

// The level charts of one or more arrays on one axis of directivity in dBi when asked (dbi
// true), each to its own maximum when asked (false), and otherwise in dBi for an overlay
// wherever every array has a directivity. False, the axes left as they were, when dBi is asked
// and an array has none.
[[nodiscard]] bool ChooseLevelAxis(std::vector<TChartArray>& arrays, std::optional<bool> dbi);
