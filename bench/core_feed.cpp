#include <benchmark/benchmark.h>

#include "config/netlist.h"
#include "model/network.h"
#include "model/wires.h"

namespace {

// Eight half-wave dipoles in a line, each fed from one node through its own line, with an L
// match to the transmitter: the network solved again after its series inductor changes, the
// array's port admittance already at hand.
void NetworkAfterAPartChanges(benchmark::State& state) {
    TWireArray array;
    for (int k = 0; k < 8; ++k) array.Wires.push_back({0.25 * k, 0, 0.5});
    const TWireSystem wires(array);
    std::string text = "* eight dipoles\nVTX src 0 AC 1\nRTX src tx 50\nLM tx n1 1u\nCM tx 0 100p\n";
    for (int k = 1; k <= 8; ++k) {
        text += "T" + std::to_string(k) + " n1 0 e" + std::to_string(k) + " 0 Z0=75 F=7.1MEG NL=" +
                std::to_string(0.25 + 0.01 * k) + "\n";
    }
    TNetwork network = ReadNetlist(text);
    std::vector<int> ports;
    for (int node : network.EmitterNode) ports.push_back(node);
    TPart& inductor = network.Parts[2];
    double step = 0;
    for (auto _ : state) {
        inductor.Value = 1e-6 * (1 + 1e-3 * (step += 1));
        const TNetworkSolution s =
            TNetworkSystem(network, 7.1e6, 7.1e6).Solve(wires.PortAdmittance(), ports);
        benchmark::DoNotOptimize(s.TransmitterCurrent);
    }
}
BENCHMARK(NetworkAfterAPartChanges)->Unit(benchmark::kMicrosecond);

}  // namespace
