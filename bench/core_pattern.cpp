#include <benchmark/benchmark.h>

#include "model/directivity.h"
#include "model/focus.h"
#include "model/metrics.h"
#include "model/pattern.h"

namespace {

// Eight enabled emitters spread over about a wavelength, as a full array is drawn.
TArray FullArray() {
    TArray model = MakeInitialArray();
    for (int k = 1; k <= kEmitterCount; ++k) {
        TEmitter& emitter = model.Emitter(k);
        emitter.X = 0.125L * k - 0.5L;
        emitter.Y = 0.0625L * ((k * 5) % 8) - 0.25L;
        emitter.Phase = 0.1L * k;
        emitter.Enabled = true;
    }
    return model;
}

void BM_ComputePattern(benchmark::State& state) {
    TArray model = FullArray();
    model.EmitterType = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, 30});
        benchmark::DoNotOptimize(modelPattern);
    }
}
BENCHMARK(BM_ComputePattern)->Arg(etOmni)->Arg(etHorizontalDipoleWE)->Unit(benchmark::kMicrosecond);

void BM_FocusBeam(benchmark::State& state) {
    TArray model = FullArray();
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
    TArray model = FullArray();
    model.EmitterType = etHorizontalDipoleNS;
    const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, 0});
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeMetrics(modelPattern, [&](long double az) {
            return FieldValue(model, {TFieldModel::Window, 0}, az * kDegree);
        }));
        benchmark::DoNotOptimize(ComputeDirectivity(model, &modelPattern));
        benchmark::DoNotOptimize(ElevationCut(model, {TFieldModel::Window}, 45));
    }
}
BENCHMARK(BM_PatternFigures)->Unit(benchmark::kMicrosecond);

// The peak search over the sphere and both directivities of eight emitters of each type, the
// horizon pattern at hand as the command line has it at elevation 0.
void BM_PeakSearchAndDirectivity(benchmark::State& state) {
    TArray model = FullArray();
    model.EmitterType = static_cast<int>(state.range(0));
    const TPattern horizon = ComputePattern(model, {TFieldModel::FreeSpace, 0});
    for (auto _ : state) benchmark::DoNotOptimize(ComputeDirectivity(model, &horizon));
}
BENCHMARK(BM_PeakSearchAndDirectivity)
    ->DenseRange(etOmni, etHorizontalDipoleWE)
    ->Unit(benchmark::kMicrosecond);

void BM_HalfPowerPoints(benchmark::State& state) {
    TArray model = FullArray();
    const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, 0});
    int evaluations = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(HalfPowerPoints(modelPattern, [&](long double az) {
            ++evaluations;
            return FieldValue(model, {TFieldModel::Window, 0}, az * kDegree);
        }));
    }
    state.counters["evaluations"] =
        benchmark::Counter(evaluations, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HalfPowerPoints)->Unit(benchmark::kMicrosecond);

}  // namespace
