#pragma once

#include <Eigen/Dense>
#include <array>
#include <complex>
#include <string>
#include <vector>

#include "model/emitters.h"
#include "model/ground.h"

// A feed network between the transmitter and the emitters' ports, as a circuit of lumped
// parts and transmission lines. Node 0 is ground.
enum class TPartKind { Resistor, Inductor, Capacitor, Line, Source };

struct TPart {
    TPartKind Kind = TPartKind::Resistor;
    std::string Name;    // as written, "L1"
    int SourceLine = 0;  // of the netlist, from 1
    int A = 0;           // nodes; a line runs from A to B over ground
    int B = 0;
    double Value = 0;  // ohms, henries, farads; a line's characteristic impedance, ohms
    // A line's length: a delay (seconds), or wavelengths at a frequency (Hz).
    double DelaySeconds = 0;
    double Wavelengths = 0;
    double AtHz = 0;
    double LossDbPer100m = 0;  // matched loss at the design frequency, growing with sqrt(f)
    double VelocityFactor = 1;
    std::complex<double> Volts;  // the source's peak phasor
};

struct TNetwork {
    std::string Title;
    std::vector<std::string> Nodes;  // by index; Nodes[0] is ground
    std::vector<TPart> Parts;
    std::array<int, kEmitterCount> EmitterNode{};  // node of emitter number - 1; 0 where none
    int Source = -1;                               // index of the source part
    int SourceResistor = -1;                       // the transmitter's resistance in series
    int TransmitterNode = 0;                       // where the series resistance meets the network
};

// The electrical length (radians) of a line at a frequency (Hz).
double LineRadians(const TPart& line, double hz);
// Its physical length (metres), with its velocity factor.
double LineMetres(const TPart& line);
// Its matched loss in nepers at a frequency, from its loss at the design frequency.
double LineNepers(const TPart& line, double hz, double designHz);

// The network's node voltages with the array attached at its ports: each port k between node
// portNodes[k] and ground draws the currents Y V of the array's port admittance matrix.
struct TNetworkSolution {
    Eigen::VectorXcd NodeVoltage;             // by node, ground's 0
    Eigen::VectorXcd PortVoltage;             // by port
    Eigen::VectorXcd PortCurrent;             // into each port from the network
    std::complex<double> TransmitterVoltage;  // at the network's side of the series resistance
    std::complex<double> TransmitterCurrent;  // into the network there
};

// The network assembled once for a frequency; SolveWith then takes any port admittance.
class TNetworkSystem {
  public:
    TNetworkSystem(const TNetwork& network, double hz, double designHz);
    TNetworkSolution Solve(const Eigen::MatrixXcd& portAdmittance,
                           const std::vector<int>& portNodes) const;

  private:
    const TNetwork* Network;
    Eigen::MatrixXcd Base;  // nodes - 1 plus one row a line port and the source
    Eigen::VectorXcd Drive;
};

TNetworkSolution SolveNetwork(const TNetwork& network, double hz, double designHz,
                              const Eigen::MatrixXcd& portAdmittance,
                              const std::vector<int>& portNodes);
