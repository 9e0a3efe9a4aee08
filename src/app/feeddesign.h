#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/feedanalysis.h"

enum class TFeedLayout {
    CurrentForcing,  // quarter- and three-quarter-wave lines, L-networks between phase groups
    Lines,           // two elements: line lengths whose inputs share one voltage
};

struct TFeedDesignRequest {
    TFeedLayout Layout = TFeedLayout::CurrentForcing;
    double LineZ0 = 75;         // ohms
    double VelocityFactor = 1;  // of the lines
    double TransmitterZ0 = 50;  // ohms, the resistance the common node is matched to
    double FrequencyMhz = 0;    // the design frequency
    std::string Title;          // the netlist's first line, a comment
};

// The networks that deliver the wanted currents (the file's, in the coupling's order) to the
// array of the coupling at the design frequency, the most compact first, each ending in an
// L-network to the transmitter; its source drives the largest wanted current at its own
// amplitude. None, with the reason, where the layout cannot.
struct TFeedDesign {
    std::vector<TNetwork> Networks;
    std::optional<std::string> Refusal;
};
TFeedDesign DesignFeed(const TCoupling& coupling, const Eigen::VectorXcd& wanted,
                       const TFeedDesignRequest& request);

// A part's reactance at a frequency (ohms): jX for a capacitor is negative.
double PartReactance(const TPart& part, double hz);
