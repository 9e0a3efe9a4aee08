#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "app/analysis.h"
#include "app/feedanalysis.h"

// The case's wanted currents, in the coupling's order: none where the file gives voltages.
std::optional<Eigen::VectorXcd> WantedCurrents(const TCoupling& coupling, TFeed feed);

// The case with each emitter's current the one the network delivers, and the network's
// figures; none where the wires cannot be solved (the analysis of the case says why). The
// network's ports must fit the array (CheckNetworkPorts).
struct TFedCase {
    TArrayCase Case;
    std::shared_ptr<TFeedFigures> Feed;
};
std::optional<TFedCase> FeedThrough(const TArrayCase& arrayCase, const TNetwork& network,
                                    double hz, double designHz);

// The case analysed with its emitters fed through the network at its own frequency (Hz), the
// network's losses scaled from designHz: the pattern and every figure from the currents the
// network delivers, its figures in the result's Network. The case analysed alone where the
// wires cannot be solved (the outcome says why). The network's ports must fit the array
// (CheckNetworkPorts).
TAnalysisOutcome AnalyseThrough(const TArrayCase& arrayCase, const TNetwork& network, double hz,
                                double designHz);

// The transmitter's SWR and each emitter's current error across frequency, the wires solved
// at every step as the analysis solves them and the network with them.
struct TFeedSweep {
    std::vector<double> FrequenciesMhz;
    std::vector<double> Swr;                    // NaN where none
    std::vector<int> Emitters;                  // numbers, those with a wanted current
    std::vector<std::vector<double>> ErrorDb;   // [emitter][frequency]
    std::vector<std::vector<double>> ErrorDeg;  // the same, degrees
};
// At count frequencies evenly from 1 - span to 1 + span times designMhz; empty without wires
// or where some step cannot be solved.
TFeedSweep SweepFeed(const TArrayCase& design, const TNetwork& network, long double designMhz,
                     long double span, int count);
