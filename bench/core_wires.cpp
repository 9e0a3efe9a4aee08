#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "app/analysis.h"
#include "model/wirekernel.h"
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

// Eight west-east 0.48-wavelength dipoles on a 2 x 4 grid (rows a quarter wavelength apart,
// columns 0.6), 0.1 wavelength over average soil at 7.1 MHz, as bench/ground_against_nec.sh.
TWireArray LowDipoles(TGroundModel model, double conductivity) {
    TWireArray a;
    a.Axis = TWireAxis::WestEast;
    a.Ground = {TGroundKind::Real, 0.1L, 7.1L, 13, conductivity, model};
    for (int k = 0; k < 8; ++k) a.Wires.push_back({k / 4 * 0.6 - 0.3, k % 4 * 0.25 - 0.375, 0.48});
    return a;
}

// The fill and factor over the Sommerfeld ground with its tables built afresh each time (a soil
// never seen before), reused (new phases), and under the reflection model.
void BM_LowWiresFillAndFactor(benchmark::State& state) {
    const auto model = static_cast<TGroundModel>(state.range(0));
    const bool fresh = state.range(1) != 0;
    double conductivity = 0.005;
    for (auto _ : state) {
        if (fresh) conductivity *= 1 + 1e-9;
        const TWireSystem system(LowDipoles(model, conductivity));
        benchmark::DoNotOptimize(system.PortImpedance());
    }
}
BENCHMARK(BM_LowWiresFillAndFactor)
    ->ArgNames({"model", "fresh"})
    ->Args({int(TGroundModel::Sommerfeld), 1})
    ->Args({int(TGroundModel::Sommerfeld), 0})
    ->Args({int(TGroundModel::Reflection), 0})
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

// The file of eight upright 0.48-wavelength dipoles on a 2 x 4 grid a quarter wavelength apart,
// 0.5 wavelength over average ground at 7.1 MHz, that bench/wires_against_nec.sh times against
// nec2c; `east` moves the whole grid, so that its solved system cannot serve again.
std::string EightUprightFile(double east, double phaseStep) {
    const auto number = [](double v) {
        std::string text = std::to_string(v);
        std::replace(text.begin(), text.end(), '.', ',');
        return text;
    };
    std::string text =
        "[\xc2\xf1\xe5 \xe8\xe7\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xe8]\r\n\xd2\xe8\xef=1\r\n"
        "\xc7\xe5\xec\xeb\xff=2\r\n\xc2\xfb\xf1\xee\xf2\xe0=0,5\r\n"
        "\xd7\xe0\xf1\xf2\xee\xf2\xe0=7,1\r\n"
        "\xcf\xf0\xee\xed\xe8\xf6\xe0\xe5\xec\xee\xf1\xf2\xfc=13\r\n"
        "\xcf\xf0\xee\xe2\xee\xe4\xe8\xec\xee\xf1\xf2\xfc=0,005\r\n";
    for (int k = 1; k <= 8; ++k) {
        text += "[\xc8\xe7\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xfc " + std::to_string(k) +
                "]\r\n\xc2\xea\xeb\xfe\xf7\xe5\xed=1\r\nX=" +
                number(((k - 1) % 4) * 0.25 - 0.375 + east) +
                "\r\nY=" + number(((k - 1) / 4) * 0.25 - 0.125) +
                "\r\n\xd4\xe0\xe7\xe0=" + number(phaseStep * k) +
                "\r\n\xc4\xeb\xe8\xed\xe0=0,48\r\n";
    }
    return text;
}

TPatternResult AnalyseFile(const std::string& text) {
    const TLoadedArray loaded = LoadArrayText("eight.txt", text);
    TArrayCase arrayCase;
    arrayCase.Array = loaded.Array;
    arrayCase.Wires = loaded.Wires.Settings;
    arrayCase.Field = loaded.Ground && loaded.Ground->Kind != TGroundKind::None
                          ? TFieldSpec{TFieldModel::OverGround, 0, *loaded.Ground}
                          : TFieldSpec{TFieldModel::FreeSpace};
    arrayCase.ElevationAtTakeoff = true;
    return *Analyse(arrayCase).Result;
}

// Everything `pattern` reports of the eight dipoles, their matrix filled and factored afresh
// (phases_only:0), or after a change of phases only, which the factored system serves again.
void BM_WireAnalysis(benchmark::State& state) {
    const bool phasesOnly = state.range(0) != 0;
    const std::string files[2] = {
        EightUprightFile(0, 0.1),
        EightUprightFile(phasesOnly ? 0 : 0.001, phasesOnly ? 0.11 : 0.1)};
    int n = 0;
    for (auto _ : state) {
        const TPatternResult result = AnalyseFile(files[n++ % 2]);
        benchmark::DoNotOptimize(result.Metrics);
    }
}
BENCHMARK(BM_WireAnalysis)->ArgName("phases_only")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// E1(jx), which the fill calls twice for every pair of nodes, one call per item: over
// log-uniform arguments from 1e-6 to 1e3 (spread:1, thin wires' own axes to far neighbours),
// and uniform from 0.01 to 40 (spread:0, where most of a fill's arguments lie).
void BM_ExpIntegralImaginary(benchmark::State& state) {
    std::mt19937_64 random(7);
    std::vector<double> xs(4096);
    for (double& x : xs)
        x = state.range(0) != 0 ? std::pow(10.0, std::uniform_real_distribution(-6.0, 3.0)(random))
                                : std::uniform_real_distribution(0.01, 40.0)(random);
    for (auto _ : state) {
        std::complex<double> sum = 0;
        for (const double x : xs) sum += ExpIntegralImaginary(x);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(xs.size()));
}
BENCHMARK(BM_ExpIntegralImaginary)->ArgName("spread")->Arg(1)->Arg(0);

}  // namespace
