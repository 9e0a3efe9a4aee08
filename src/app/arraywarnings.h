#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/coupling.h"
#include "model/emitters.h"
#include "model/field.h"
#include "model/taper.h"

// What makes an array fail in practice although its pattern can be computed: the warnings a
// designer sees beside the emitters, each naming the emitters it concerns.
enum class TArrayWarningKind {
    Coincident,      // two enabled emitters in one place
    GratingLobe,     // a second beam as strong as the main one, from too wide a spacing
    SuperDirective,  // currents far larger than the field they make
    TaperOffLine,    // the taper asked for needs the emitters evenly spaced on a line
};

struct TArrayWarning {
    TArrayWarningKind Kind;
    std::vector<int> Emitters;  // emitter numbers, 1..8, ascending
    std::string Text;           // in the reader's language
};

// The lobes of the array factor within this of its maximum are beams of their own.
inline constexpr double kGratingLobeDb = 1;

// The array factor's sensitivity at its maximum on the elevation's cone, dB: n times the sum
// of the squared amplitudes over the squared maximum. 0 for n emitters in phase at the
// beam; beyond kSuperDirectiveDb the excitation is super-directive. None where nothing
// radiates.
std::optional<double> ExcitationSensitivityDb(const TArray& array, double elevationDegrees);

// The warnings for the array's enabled emitters at the elevation (degrees), and for the taper
// when one is asked for.
std::vector<TArrayWarning> ArrayWarnings(const TArray& array, double elevationDegrees,
                                         const std::optional<TTaper>& taper = std::nullopt);

// Wires lower than this (wavelengths) over real ground are beyond the reflection model.
inline constexpr double kReflectionModelHeight = 0.2;

// The warning that wires so low over real ground have currents the reflection model misjudges,
// naming the Sommerfeld model; none under that model, for ideal emitters or higher wires.
std::optional<std::string> GroundModelWarning(const TArray& array, const TWireSettings& wires,
                                              const TFieldSpec& field);
