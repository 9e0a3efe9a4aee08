#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/coupling.h"
#include "model/emitters.h"
#include "model/field.h"

// One array as the engine analyses it, every value resolved: whichever face set it, from a
// file, an option or a control, has already decided what it is.
struct TArrayCase {
    TArray Array;  // the emitters, their type, amplitudes and phases
    // The formula and the elevation of the azimuth cut; over ground the ground under the array.
    TFieldSpec Field;
    // Over ground, the azimuth cut lies at the take-off angle rather than Field's elevation.
    bool ElevationAtTakeoff = false;
    TWireSettings Wires;            // no emitter with a length: ideal emitters
    std::optional<int> CutBearing;  // whole degrees 0..359; default the maximum's bearing
    // The arrays a window drew, oldest first, where a face keeps the window's read-outs: the
    // ideal emitters' azimuth pattern is then the last drawing's, and where none of its samples
    // rises above 0 the maximum's bearing is the last one's that did. Empty: the array's own.
    std::vector<TArray> WindowDrawings;
};

// Why a case cannot be analysed. A face words it in its own terms.
struct TCaseFault {
    enum TKind {
        Unpolarised,      // over ground, a type without a polarisation (Type)
        NoFrequency,      // a real ground without a frequency
        BadHeight,        // a height below 0 or not a number (Value)
        BadPermittivity,  // below 1 or not a number (Value)
        BadConductivity,  // below 0 or not a number (Value)
        WindowWires,      // the window's formula has no field of wires
        Wires,            // the wires cannot be: Coupling says why
        ThinWireModel,    // the power radiated parts from the power fed (Value, their ratio)
    } Kind = Unpolarised;
    int Type = 0;
    long double Value = 0;
    TCouplingFault Coupling;
};

// Whether an emitter switched on has a length: the wires are solved.
bool HasWireLengths(const TWireSettings& settings, const TArray& array);

// Why a ground cannot be computed: a height below 0, a real ground without a frequency or with
// a soil that is none. Nullopt for a sound one.
std::optional<TCaseFault> GroundFault(const TGround& ground);

// The reason in words that name neither an option nor a control; none where a face must say
// which of its own mends it (a type without polarisation or wires, a real ground's frequency,
// the window's formula with wires).
std::optional<std::string> CaseFaultText(const TCaseFault& fault);
