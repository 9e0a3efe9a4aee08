#include "app/feedanalysis.h"

#include <cmath>

#include "config/messages.h"

std::optional<TNetworkFault> CheckNetworkPorts(const TNetwork& network, const TArray& array) {
    for (int k = 1; k <= kEmitterCount; ++k) {
        const int node = network.EmitterNode[static_cast<std::size_t>(k - 1)];
        if (node == 0 || array.Emitter(k).Enabled) continue;
        int line = 0;
        for (const TPart& p : network.Parts) {
            if ((p.A == node || p.B == node) && line == 0) line = p.SourceLine;
        }
        return TNetworkFault{line, TrFormat("node E%s feeds emitter %s, which is switched off",
                                            {std::to_string(k), std::to_string(k)})};
    }
    return std::nullopt;
}

TNetworkPorts NetworkPorts(const TNetwork& network, const TCoupling& coupling) {
    TNetworkPorts ports;
    for (std::size_t k = 0; k < coupling.Emitters.size(); ++k) {
        const int node =
            network.EmitterNode[static_cast<std::size_t>(coupling.Emitters[k].Number - 1)];
        if (node == 0) continue;
        ports.Nodes.push_back(node);
        ports.Indexes.push_back(static_cast<int>(k));
    }
    const auto n = static_cast<Eigen::Index>(ports.Indexes.size());
    Eigen::MatrixXcd z(n, n);
    for (Eigen::Index i = 0; i < n; ++i) {
        for (Eigen::Index j = 0; j < n; ++j)
            z(i, j) = coupling.ImpedanceMatrix(ports.Indexes[static_cast<std::size_t>(i)],
                                               ports.Indexes[static_cast<std::size_t>(j)]);
    }
    ports.Admittance = z.partialPivLu().inverse();
    return ports;
}

namespace {

// The ratio of the current to the wanted one, both relative to the reference emitter.
void CurrentError(TFeedEmitter& e, std::complex<double> wanted, std::complex<double> ratio) {
    if (std::abs(wanted) == 0) return;
    const std::complex<double> error = ratio / wanted;
    e.ErrorDb = 20 * std::log10(std::abs(error));
    double degrees = std::arg(error) * 180 / 3.141592653589793;
    if (degrees <= -180) degrees += 360;
    e.ErrorDeg = degrees;
}

}  // namespace

TFeedFigures SolveFeed(const TNetwork& network, const TCoupling& coupling, double hz,
                       double designHz, const std::optional<Eigen::VectorXcd>& wanted) {
    TFeedFigures f;
    f.FrequencyMhz = hz / 1e6;
    const TNetworkPorts ports = NetworkPorts(network, coupling);
    f.Solution = SolveNetwork(network, hz, designHz, ports.Admittance, ports.Nodes);
    const auto count = static_cast<Eigen::Index>(coupling.Emitters.size());
    Eigen::VectorXcd current = Eigen::VectorXcd::Zero(count);
    for (std::size_t p = 0; p < ports.Indexes.size(); ++p)
        current(ports.Indexes[p]) = f.Solution.PortCurrent(static_cast<Eigen::Index>(p));
    // An open port's voltage is what its neighbours' currents induce there.
    const Eigen::VectorXcd voltage = coupling.ImpedanceMatrix * current;
    const TPart& rtx = network.Parts[static_cast<std::size_t>(network.SourceResistor)];
    f.TransmitterResistance = std::abs(rtx.Value);
    const TDrive tx = DriveFigures(f.Solution.TransmitterVoltage, f.Solution.TransmitterCurrent,
                                   f.TransmitterResistance);
    f.TransmitterImpedance = tx.Impedance.value_or(std::complex<double>());
    f.TransmitterSwr = tx.Swr;
    f.TransmitterPower = tx.Power;
    int reference = -1;
    if (wanted) {
        for (Eigen::Index k = 0; k < count; ++k) {
            if (reference < 0 || std::abs((*wanted)(k)) > std::abs((*wanted)(reference)))
                reference = static_cast<int>(k);
        }
    }
    double delivered = 0;
    for (Eigen::Index k = 0; k < count; ++k) {
        TFeedEmitter e;
        e.Number = coupling.Emitters[static_cast<std::size_t>(k)].Number;
        e.Current = current(k);
        e.Voltage = voltage(k);
        e.Drive = DriveFigures(e.Voltage, e.Current, f.TransmitterResistance);
        delivered += e.Drive.Power;
        if (reference >= 0 && std::abs(current(reference)) > 0) {
            CurrentError(e, (*wanted)(k) / (*wanted)(reference), current(k) / current(reference));
        }
        f.Emitters.push_back(e);
    }
    f.LossPower = f.TransmitterPower - delivered;
    return f;
}
