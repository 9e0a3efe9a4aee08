#include <benchmark/benchmark.h>

#include "model/wires.h"

namespace {

// Eight half-wave dipoles spread over about a wavelength: upright (free space, or 0.5
// wavelength over the ground) or west-east in a broadside row 0.3 wavelength apart.
TWireArray EightDipoles(TWireAxis axis, TGroundKind ground) {
    TWireArray a;
    a.Axis = axis;
    a.Ground = {ground, 0.5L, 299.792458L, 13, 0.005L};
    for (int k = 1; k <= 8; ++k) {
        if (axis == TWireAxis::Up)
            a.Wires.push_back({0.125 * k - 0.5, 0.0625 * ((k * 5) % 8) - 0.25, 0.5});
        else
            a.Wires.push_back({0, 0.3 * k, 0.5});
    }
    return a;
}

void BM_WireFillAndFactor(benchmark::State& state) {
    const TWireArray a = EightDipoles(static_cast<TWireAxis>(state.range(0)),
                                      static_cast<TGroundKind>(state.range(1)));
    for (auto _ : state) {
        const TWireSystem system(a);
        benchmark::DoNotOptimize(system.PortImpedance());
    }
}
BENCHMARK(BM_WireFillAndFactor)
    ->ArgNames({"axis", "ground"})
    ->Args({int(TWireAxis::Up), int(TGroundKind::None)})
    ->Args({int(TWireAxis::Up), int(TGroundKind::Perfect)})
    ->Args({int(TWireAxis::Up), int(TGroundKind::Real)})
    ->Args({int(TWireAxis::WestEast), int(TGroundKind::Perfect)})
    ->Args({int(TWireAxis::WestEast), int(TGroundKind::Real)})
    ->Unit(benchmark::kMillisecond);

// A drag of phases: the factored system gives the new currents.
void BM_WireNewPhases(benchmark::State& state) {
    const TWireSystem system(EightDipoles(TWireAxis::Up, TGroundKind::Real));
    Eigen::VectorXcd drive = Eigen::VectorXcd::Ones(system.Ports());
    double phase = 0;
    for (auto _ : state) {
        phase += 0.01;
        drive(3) = std::polar(1.0, phase);
        const TWireCurrents c = system.Solve(TFeed::Current, drive);
        benchmark::DoNotOptimize(c.Modes.data());
    }
}
BENCHMARK(BM_WireNewPhases)->Unit(benchmark::kMicrosecond);

}  // namespace
