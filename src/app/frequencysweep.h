#pragma once

#include <vector>

#include "app/analysis.h"
#include "config/wirekeys.h"
#include "model/ground.h"

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

// Each wire's drive across a sweep: one row a frequency, one column an emitter switched on.
struct TDriveSweep {
    std::vector<double> FrequenciesMhz;
    std::vector<int> Emitters;                   // numbers, as the coupling lists them
    std::vector<std::vector<double>> Swr;        // [emitter][frequency], NaN where none
    std::vector<std::vector<double>> DriveROhm;  // the same, the drive resistance
};

// The wires' drive at count evenly spaced frequencies from 1 - span to 1 + span times the
// request's design frequency, the middle one of an odd count exactly it, solved as Analyse
// solves the wires; empty without lengths. Throws as ArrayAtDesign does, and for wires that
// touch at a step.
TDriveSweep SweepDrive(const TAnalysisRequest& request, long double span, int count);
