#pragma once

#include <optional>
#include <string>

#include "app/analysis.h"
#include "app/session.h"
#include "app/wireanalysis.h"
#include "config/wirekeys.h"

// The ground as the options give it; what they leave out comes from the configuration file.
struct TGroundRequest {
    std::optional<TGroundKind> Kind;
    std::optional<long double> HeightWavelengths;
    std::optional<long double> FrequencyMhz;
    std::optional<long double> Permittivity;
    std::optional<long double> Conductivity;  // S/m
};

// What to analyse of one array: the session's steps and the bearing of the elevation cut.
struct TAnalysisRequest {
    TSessionSteps Steps;
    std::optional<int> CutBearing;  // whole degrees 0..359; default the maximum's bearing
    TGroundRequest Ground;
    // Where the command needs one, the frequency (MHz) a feed network's parts and the
    // wavelengths of a frequency sweep are sized at: the option's, else the file's. A step of
    // a frequency sweep keeps it while its ground's frequency moves.
    std::optional<long double> DesignFrequencyMhz;
    bool ModelGiven = false;      // a formula named explicitly outweighs the file's ground
    bool ElevationGiven = false;  // over ground the default is the take-off angle
    TWireRequest Wires;
    // The radius, feed or line impedance came from the command line: where no emitter has a
    // length they change nothing, and the reader is told.
    bool WireOptionsGiven = false;
};

// The ground of the request over the file's: kind none when neither names one. Throws
// EUsageError for a ground that cannot be computed (real without a frequency, say).
TGround ResolveGround(const TGroundRequest& request, const std::optional<TGround>& fileGround);

// The design frequency (MHz) a configuration's text keeps: its real ground's, or the key
// written beside another ground; none when it keeps none. Throws EUsageError for a bad key,
// naming the file's line.
std::optional<long double> FileDesignFrequency(const std::string& config, const std::string& text);

// The wires the options ask for over the keys of the configuration the session loaded.
// Throws EUsageError for a bad key, naming the file's line.
TWireKeys WireKeysOf(const TAnalysisRequest& request, const TArraySession& session);

// The same, checked against the array over the ground as a save writes them, with the design
// frequency. Throws EUsageError for wires that cannot be.
TWireKeys WireKeysToSave(const TAnalysisRequest& request, const TArraySession& session,
                         const TArray& array, const TGround& ground);

// The options and the file as one case, analysed: the window's load, settings, focusing and
// drawings first, then the engine. Throws EUsageError with the command line's reason, as
// BuildSession does.
TPatternResult Analyse(const TAnalysisRequest& request);

// The array at the design frequency, whose distances in wavelengths a frequency sweep scales.
struct TDesignFrequencyArray {
    TArray Array;
    TWireKeys Wires;
    TGround Ground;
};

// The request's array, ground and wires as the analysis would take them. Throws as
// BuildSession and WireKeysToSave do.
TDesignFrequencyArray ArrayAtDesign(const TAnalysisRequest& request);

// The request at another frequency (MHz): every distance grows with it, the feeds stay as
// designed, and a real ground's permittivity follows the frequency. The design frequency is
// the request's ground frequency, which must be set; mhz must be above 0.
TAnalysisRequest FrequencyStep(const TAnalysisRequest& request, const TDesignFrequencyArray& design,
                               long double mhz);
