#pragma once

#include <array>
#include <memory>
#include <optional>

#include "config/wirekeys.h"
#include "model/coupling.h"
#include "model/wirepattern.h"
#include "model/wirevalidity.h"

struct TArrayCase;
struct TCaseFault;
struct TPatternResult;

// The wires a face holds over those of a file: each value set here replaces the file's.
struct TWireRequest {
    std::optional<double> AllLengths;                            // every emitter's, wavelengths
    std::array<std::optional<double>, kEmitterCount> Lengths{};  // by number - 1, over AllLengths
    std::optional<double> Radius;                                // wavelengths
    std::array<std::optional<double>, kEmitterCount> Radii{};    // by number - 1, over Radius
    std::optional<int> SegmentsPerWavelength;
    std::optional<TFeed> Feed;
    std::optional<double> Z0;  // ohms
    std::optional<TGroundModel> GroundModel;
};

// What the wires give beside the pattern; Solved is none without lengths.
struct TWireResult {
    TWireSettings Settings;
    std::shared_ptr<const TCoupledArray> Solved;
    TWirePeak Peak;
    TWireValidity Validity;  // of Solved
};

// The request's values over the keys (a file's, or the defaults), the radius, the feed and the
// ground model marked given where either sets them.
TWireKeys WireKeysOver(TWireKeys keys, const TWireRequest& request);

// Why a file's wire key cannot be, at its line: "name:12: invalid radius ...".
std::string WireKeyFaultText(const TWireKeyFault& fault, const std::string& fileName);

// With lengths, replaces the result's pattern, read-outs and figures by those of the solved
// wires (Wires.Solved then set); without, leaves it as it is. The result's field is the case's,
// checked. Nullopt, or why the wires cannot be.
std::optional<TCaseFault> AnalyseWires(const TArrayCase& arrayCase, TPatternResult& result);
