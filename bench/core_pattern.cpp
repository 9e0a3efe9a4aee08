#include <benchmark/benchmark.h>

#include "model/directivity.h"
#include "model/focus.h"
#include "model/freespace.h"
#include "model/metrics.h"
#include "model/pattern.h"

namespace {

// Eight enabled emitters spread over about a wavelength, as a full array is drawn.
TArrayModel FullArray() {
    TArrayModel model = MakeInitialModel();
    for (int k = 1; k <= kEmitterCount; ++k) {
        TEmitter& emitter = model.Emitter(k);
        emitter.X = 0.125L * k - 0.5L;
        emitter.Y = 0.0625L * ((k * 5) % 8) - 0.25L;
        emitter.Phase = 0.1L * k;
        emitter.Enabled = true;
    }
    model.EnabledCount = kEmitterCount;
    return model;
}

void BM_ComputePattern(benchmark::State& state) {
    TArrayModel model = FullArray();
    model.EmitterType = static_cast<int>(state.range(0));
    for (auto _ : state) {
        ComputePattern(model, 30);
        benchmark::DoNotOptimize(model.Pattern);
    }
}
BENCHMARK(BM_ComputePattern)->Arg(etOmni)->Arg(etHorizontalDipoleWE)->Unit(benchmark::kMicrosecond);

void BM_FocusBeam(benchmark::State& state) {
    TArrayModel model = FullArray();
    int bearing = 0;
    for (auto _ : state) {
        FocusBeam(model, bearing);
        benchmark::DoNotOptimize(model.Emitters);
        bearing = (bearing + 7) % 360;
    }
}
BENCHMARK(BM_FocusBeam);

// Every figure `pattern --format json` adds to the samples: metrics with the solved beamwidth,
// the directivities and the elevation cut, for eight short dipoles.
void BM_PatternFigures(benchmark::State& state) {
    TArrayModel model = FullArray();
    model.EmitterType = etHorizontalDipoleNS;
    ComputePattern(model, 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeMetrics(
            model.Pattern, [&](long double az) { return PatternValue(model, az * kDegree, 0); }));
        benchmark::DoNotOptimize(ComputeDirectivity(model, &model.Pattern));
        benchmark::DoNotOptimize(ElevationCut(model, TFieldModel::Window, 45));
    }
}
BENCHMARK(BM_PatternFigures)->Unit(benchmark::kMicrosecond);

void BM_HalfPowerPoints(benchmark::State& state) {
    TArrayModel model = FullArray();
    ComputePattern(model, 0);
    int evaluations = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(HalfPowerPoints(model.Pattern, [&](long double az) {
            ++evaluations;
            return PatternValue(model, az * kDegree, 0);
        }));
    }
    state.counters["evaluations"] =
        benchmark::Counter(evaluations, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HalfPowerPoints)->Unit(benchmark::kMicrosecond);

}  // namespace
