#pragma once

#include <vector>

#include "app/arraycase.h"

// The case at another frequency (MHz) than its design frequency: every distance in wavelengths
// grows with it (positions, lengths, the radius, the height), the feeds stay as designed, and a
// real ground's soil is taken at the new frequency. Both frequencies above 0.
TArrayCase CaseAtFrequency(const TArrayCase& design, long double designMhz, long double mhz);

// Each wire's drive across a sweep: one row a frequency, one column an emitter switched on.
struct TDriveSweep {
    std::vector<double> FrequenciesMhz;
    std::vector<int> Emitters;                   // numbers, as the coupling lists them
    std::vector<std::vector<double>> Swr;        // [emitter][frequency], NaN where none
    std::vector<std::vector<double>> DriveROhm;  // the same, the drive resistance
};

// The wires' drive at count evenly spaced frequencies from 1 - span to 1 + span times the
// design frequency, the middle one of an odd count exactly it, solved as the analysis solves
// the wires. Empty without lengths, and where the wires cannot be at some step (two grown
// wires touching).
TDriveSweep SweepDrive(const TArrayCase& design, long double designMhz, long double span,
                       int count);
