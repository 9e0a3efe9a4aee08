#pragma once

#include <complex>
#include <optional>
#include <string>
#include <vector>

#include "model/coupling.h"
#include "model/network.h"

// An emitter fed through the network: what reaches it, and how far that is from the current
// the file wants.
struct TFeedEmitter {
    int Number = 0;
    std::complex<double> Current;  // peak amperes, into the feed
    std::complex<double> Voltage;  // peak volts
    // The current against the wanted one, both taken relative to the emitter with the largest
    // wanted amplitude: none for a parasitic element and where the file gives voltages.
    std::optional<double> ErrorDb;
    std::optional<double> ErrorDeg;  // (-180, 180]
    TDrive Drive;                    // impedance, and the power in (negative: returned)
};

// The array solved through its feed network at one frequency, per the source's volts.
struct TFeedFigures {
    double FrequencyMhz = 0;
    std::complex<double> TransmitterImpedance;  // what the transmitter's resistance sees, ohms
    std::optional<double> TransmitterSwr;       // against that resistance
    double TransmitterResistance = 50;
    double TransmitterPower = 0;  // watts delivered past the transmitter's resistance
    std::vector<TFeedEmitter> Emitters;
    double LossPower = 0;  // watts lost in the network's lines and resistors
    TNetworkSolution Solution;
};

// Why the network cannot feed the array: a port for an emitter switched off.
struct TNetworkFault {
    int Line = 0;
    std::string Reason;
};
std::optional<TNetworkFault> CheckNetworkPorts(const TNetwork& network, const TArray& array);

// The ports the network connects, in the coupling's order of emitters switched on: an emitter
// without a node is left open.
struct TNetworkPorts {
    std::vector<int> Nodes;       // network node of each connected port
    std::vector<int> Indexes;     // of each connected port in the coupling's order
    Eigen::MatrixXcd Admittance;  // of the connected ports, the others open
};
TNetworkPorts NetworkPorts(const TNetwork& network, const TCoupling& coupling);

// The network and the array solved together at hz, the network's losses scaled from designHz.
// wanted holds the file's currents in the coupling's order (none where it gives voltages).
TFeedFigures SolveFeed(const TNetwork& network, const TCoupling& coupling, double hz,
                       double designHz, const std::optional<Eigen::VectorXcd>& wanted);
