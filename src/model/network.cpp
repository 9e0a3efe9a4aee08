#include "model/network.h"

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kDecibelsPerNeper = 8.685889638065037;

std::complex<double> Propagation(const TPart& line, double hz, double designHz) {
    return {LineNepers(line, hz, designHz), LineRadians(line, hz)};
}

// A line whose sinh vanishes (a lossless whole number of half waves) has no admittance
// matrix: it keeps its port currents as unknowns.
bool NeedsChain(const TPart& line, double hz, double designHz) {
    return std::abs(std::sinh(Propagation(line, hz, designHz))) < 1e-6;
}

int ChainCount(const TNetwork& network, double hz, double designHz) {
    int lines = 0;
    for (const TPart& p : network.Parts)
        lines += p.Kind == TPartKind::Line && NeedsChain(p, hz, designHz);
    return lines;
}

}  // namespace

double LineRadians(const TPart& line, double hz) {
    return line.AtHz > 0 ? kTwoPi * line.Wavelengths * hz / line.AtHz
                         : kTwoPi * hz * line.DelaySeconds;
}

double LineMetres(const TPart& line) {
    const double seconds = line.AtHz > 0 ? line.Wavelengths / line.AtHz : line.DelaySeconds;
    return seconds * 1e6 * static_cast<double>(kLightSpeed) * line.VelocityFactor;
}

double LineNepers(const TPart& line, double hz, double designHz) {
    // A line's loss is mostly its conductors', and the skin depth makes it grow as sqrt(f).
    return line.LossDbPer100m / kDecibelsPerNeper * LineMetres(line) / 100 *
           std::sqrt(hz / designHz);
}

// Modified nodal analysis: a row a node but ground, each line stamped as its admittance matrix
// (a whole number of half waves, which has none, as two rows of its port currents through its
// chain matrix), one row for the source.
TNetworkSystem::TNetworkSystem(const TNetwork& network, double hz, double designHz)
    : Network(&network) {
    const int nodes = static_cast<int>(network.Nodes.size()) - 1;
    const int size = nodes + 2 * ChainCount(network, hz, designHz) + 1;
    Base = Eigen::MatrixXcd::Zero(size, size);
    Drive = Eigen::VectorXcd::Zero(size);
    const double omega = kTwoPi * hz;
    const auto stamp = [&](int a, int b, std::complex<double> y) {
        if (a > 0) Base(a - 1, a - 1) += y;
        if (b > 0) Base(b - 1, b - 1) += y;
        if (a > 0 && b > 0) {
            Base(a - 1, b - 1) -= y;
            Base(b - 1, a - 1) -= y;
        }
    };
    int extra = nodes;
    for (const TPart& p : network.Parts) {
        switch (p.Kind) {
            case TPartKind::Resistor:
                stamp(p.A, p.B, 1.0 / p.Value);
                break;
            case TPartKind::Inductor:
                stamp(p.A, p.B, 1.0 / std::complex<double>(0, omega * p.Value));
                break;
            case TPartKind::Capacitor:
                stamp(p.A, p.B, std::complex<double>(0, omega * p.Value));
                break;
            case TPartKind::Line: {
                const std::complex<double> gamma = Propagation(p, hz, designHz);
                const std::complex<double> ch = std::cosh(gamma);
                const std::complex<double> sh = std::sinh(gamma);
                if (!NeedsChain(p, hz, designHz)) {
                    // Y11 = Y22 = coth / Z0, Y12 = Y21 = -1 / (Z0 sinh).
                    const std::complex<double> self = ch / sh / p.Value;
                    const std::complex<double> mutual = -1.0 / (sh * p.Value);
                    if (p.A > 0) Base(p.A - 1, p.A - 1) += self;
                    if (p.B > 0) Base(p.B - 1, p.B - 1) += self;
                    if (p.A > 0 && p.B > 0) {
                        Base(p.A - 1, p.B - 1) += mutual;
                        Base(p.B - 1, p.A - 1) += mutual;
                    }
                    break;
                }
                // I1 enters the line at A, I2 leaves it at B: V_A = cosh V_B + Z0 sinh I2,
                // I1 = sinh / Z0 V_B + cosh I2.
                const int i1 = extra++;
                const int i2 = extra++;
                if (p.A > 0) Base(p.A - 1, i1) += 1.0;
                if (p.B > 0) Base(p.B - 1, i2) -= 1.0;
                if (p.A > 0) Base(i1, p.A - 1) += 1.0;
                if (p.B > 0) Base(i1, p.B - 1) -= ch;
                Base(i1, i2) -= p.Value * sh;
                Base(i2, i1) += 1.0;
                if (p.B > 0) Base(i2, p.B - 1) -= sh / p.Value;
                Base(i2, i2) -= ch;
                break;
            }
            case TPartKind::Source: {
                // Its current leaves the positive node into the circuit.
                const int is = extra++;
                if (p.A > 0) {
                    Base(p.A - 1, is) -= 1.0;
                    Base(is, p.A - 1) += 1.0;
                }
                if (p.B > 0) {
                    Base(p.B - 1, is) += 1.0;
                    Base(is, p.B - 1) -= 1.0;
                }
                Drive(is) = p.Volts;
                break;
            }
        }
    }
}

TNetworkSolution TNetworkSystem::Solve(const Eigen::MatrixXcd& portAdmittance,
                                       const std::vector<int>& portNodes) const {
    Eigen::MatrixXcd m = Base;
    const auto ports = static_cast<Eigen::Index>(portNodes.size());
    for (Eigen::Index k = 0; k < ports; ++k) {
        for (Eigen::Index j = 0; j < ports; ++j) {
            const int a = portNodes[static_cast<std::size_t>(k)];
            const int b = portNodes[static_cast<std::size_t>(j)];
            if (a > 0 && b > 0) m(a - 1, b - 1) += portAdmittance(k, j);
        }
    }
    const Eigen::VectorXcd x = m.partialPivLu().solve(Drive);
    const TNetwork& network = *Network;
    TNetworkSolution s;
    s.NodeVoltage = Eigen::VectorXcd::Zero(static_cast<Eigen::Index>(network.Nodes.size()));
    s.NodeVoltage.tail(s.NodeVoltage.size() - 1) = x.head(s.NodeVoltage.size() - 1);
    s.PortVoltage.resize(ports);
    for (Eigen::Index k = 0; k < ports; ++k)
        s.PortVoltage(k) = s.NodeVoltage(portNodes[static_cast<std::size_t>(k)]);
    s.PortCurrent = portAdmittance * s.PortVoltage;
    if (network.SourceResistor >= 0) {
        const TPart& r = network.Parts[static_cast<std::size_t>(network.SourceResistor)];
        const int t = network.TransmitterNode;
        const int other = r.A == t ? r.B : r.A;
        s.TransmitterVoltage = s.NodeVoltage(t);
        s.TransmitterCurrent = (s.NodeVoltage(other) - s.NodeVoltage(t)) / r.Value;
    }
    return s;
}

TNetworkSolution SolveNetwork(const TNetwork& network, double hz, double designHz,
                              const Eigen::MatrixXcd& portAdmittance,
                              const std::vector<int>& portNodes) {
    return TNetworkSystem(network, hz, designHz).Solve(portAdmittance, portNodes);
}
