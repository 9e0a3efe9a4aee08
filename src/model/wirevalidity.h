#pragma once

#include <string_view>
#include <vector>

#include "model/coupling.h"

// Where the solved wires stand against the bounds of the thin-wire model: each rule's worst
// figure, its limit and the emitters that break it (numbers, ascending; none where it holds).
struct TValidityRule {
    std::string_view Name;
    double Figure = 0;
    double Limit = 0;
    bool AtMost = true;  // the figure must not exceed the limit; else not fall below it
    std::vector<int> Emitters;
};

struct TWireValidity {
    bool Monopoles = false;            // else dipoles, upright ones lifted off the ground too
    std::vector<int> Numbers;          // the emitters solved, in order
    std::vector<int> Modes;            // the sinusoidal modes on each
    std::vector<TValidityRule> Rules;  // only those that apply to the case
};

inline constexpr double kMaxRadiusPerSegment = 0.5;
inline constexpr double kMaxThinRadius = 0.01;     // wavelengths
inline constexpr double kMinSpacingRadii = 4;      // centre to centre, in the larger radius
inline constexpr double kMinClearanceRadii = 4;    // over real ground
inline constexpr double kMinClearance = 0.001;     // over real ground, wavelengths
inline constexpr double kMaxPowerImbalance = 0.5;  // percent

TWireValidity CheckValidity(const TCoupledArray& solved);
