#pragma once

#include <array>
#include <memory>
#include <optional>

#include "config/wirekeys.h"
#include "model/coupling.h"
#include "model/wirepattern.h"

struct TAnalysisRequest;
struct TPatternResult;

// The wires the options ask for; what they leave out comes from the configuration's keys.
struct TWireRequest {
    std::optional<double> AllLengths;                            // --length, wavelengths
    std::array<std::optional<double>, kEmitterCount> Lengths{};  // --set N:length=L
    std::optional<double> Radius;                                // wavelengths
    std::optional<TFeed> Feed;
    std::optional<double> Z0;  // ohms
};

// What the wires give beside the pattern; Solved is none without lengths.
struct TWireResult {
    TWireSettings Settings;
    std::shared_ptr<const TCoupledArray> Solved;
    TWirePeak Peak;
};

// The wire keys a save writes: the options over the configuration's keys, the radius and the
// feed marked given where either sets them. Throws EUsageError as AnalyseWires does.
TWireKeys WireKeysToSave(const TAnalysisRequest& request, const TArray& array,
                         const TGround& ground);

// The wires the options ask for over the configuration's keys, which it reads. Throws
// EUsageError for a bad key, naming the file's line.
TWireSettings WireSettingsOf(const TAnalysisRequest& request);

// Whether an emitter switched on has a length, from the options or the configuration's keys.
bool HasWireLengths(const TAnalysisRequest& request, const TArray& array);
bool HasWireLengths(const TWireSettings& settings, const TArray& array);

// With lengths (the request's settings, as WireSettingsOf reads them), replaces the result's
// pattern, read-outs and figures by those of the solved wires and returns true; without,
// leaves it as it is. Throws EUsageError for wires that cannot be (naming the emitters) and
// for --model window with lengths.
bool AnalyseWires(const TAnalysisRequest& request, const TWireSettings& settings,
                  TPatternResult& result);
