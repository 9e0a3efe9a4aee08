#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSlider>

#include "app/frequencysweep.h"
#include "config/numtext.h"
#include "model/phaseangle.h"
#include "studio/chartview.h"
#include "studio/emitterstable.h"
#include "studio/studiowindow.h"

namespace {

// Eight vertical dipoles on a 2 x 4 grid a quarter wavelength apart, a quarter wavelength over
// average ground at 7.1 MHz: the array the live loop must keep up with.
TStudioDocument GridOverGround() {
    TStudioDocument d = InitialDocument();
    d.Array.EmitterType = etVerticalDipole;
    for (int k = 1; k <= kEmitterCount; ++k) {
        TEmitter& e = d.Array.Emitter(k);
        e.X = (k - 1) % 2 == 0 ? -0.125L : 0.125L;
        e.Y = -0.375L + 0.25L * ((k - 1) / 2);
        e.Phase = 0;
        e.Enabled = true;
    }
    d.Ground.Kind = TGroundKind::Real;
    return d;
}

// The same eight as half-wave wires (0.47 wavelength) half a wavelength over the ground: each
// step solves the coupled wires again.
TStudioDocument WireGridOverGround() {
    TStudioDocument d = GridOverGround();
    d.Ground.HeightWavelengths = 0.5L;
    d.Wires.Lengths.fill(0.47);
    return d;
}

// The four-square of quarter-wave monopoles over perfect ground, as its example file holds it.
TStudioDocument MonopoleFourSquare() {
    TStudioDocument d = InitialDocument();
    d.Array.EmitterType = etVerticalDipole;
    const long double phases[] = {0, 0.25L, 0.25L, 0.5L};
    for (int k = 1; k <= 4; ++k) {
        TEmitter& e = d.Array.Emitter(k);
        e.X = k % 2 == 1 ? -0.125L : 0.125L;
        e.Y = k <= 2 ? -0.125L : 0.125L;
        e.Phase = phases[k - 1];
        d.Wires.Lengths[static_cast<std::size_t>(k - 1)] = 0.25;
    }
    d.Ground.Kind = TGroundKind::Perfect;
    d.Ground.HeightWavelengths = 0;
    return d;
}

// The arrays the benchmarks step, by their argument.
TStudioDocument Document(std::int64_t which) {
    switch (which) {
        case 1:
            return WireGridOverGround();
        case 2:
            return MonopoleFourSquare();
        default:
            return GridOverGround();
    }
}

void NameArrays(benchmark::internal::Benchmark* b) {
    b->ArgName("array");
    for (const int which : {0, 1, 2}) b->Arg(which);
}

// One step of emitter 2's phase slider held down: the analysis, both charts drawn, the
// figures set, and the whole window painted.
void BM_StudioSliderStepToRedrawnWindow(benchmark::State& state) {
    SetDecimalMark('.');
    TStudioWindow window;
    window.resize(1280, 900);
    window.show();
    window.State().Reset(Document(state.range(0)));
    QApplication::processEvents();
    QSlider* slider = window.Table()->Slider(2, TEmitterField::Phase);
    slider->setSliderDown(true);
    int degrees = 0;
    for (auto _ : state) {
        degrees = degrees == 179 ? -179 : degrees + 1;
        slider->setValue(degrees);
        window.repaint();
    }
    slider->setSliderDown(false);
    state.counters["undo_steps"] = window.State().UndoStack().count();
}
// array: 0 ideal dipoles, 1 the same as wires, 2 the four-square of monopoles.
BENCHMARK(BM_StudioSliderStepToRedrawnWindow)
    ->Apply(NameArrays)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// The analysis alone of one such step: what the engine costs of the step above.
void BM_StudioAnalysisOfOneStep(benchmark::State& state) {
    TStudioDocument d = Document(state.range(0));
    int degrees = 0;
    for (auto _ : state) {
        degrees = degrees == 179 ? -179 : degrees + 1;
        d.Array.Emitter(2).Phase = PhaseFromDegrees(degrees);
        benchmark::DoNotOptimize(Analyse(CaseOf(d, std::nullopt)));
    }
}
BENCHMARK(BM_StudioAnalysisOfOneStep)
    ->Apply(NameArrays)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// The wires' 41-step frequency sweep the window draws once a drag rests.
void BM_StudioWireSweep(benchmark::State& state) {
    const TStudioDocument d = Document(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(
            SweepDrive(CaseOf(d, std::nullopt), DesignFrequencyMhz(d), 0.05L, 41));
}
BENCHMARK(BM_StudioWireSweep)
    ->ArgName("array")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

// A new window to its first painted frame, charts and figures included.
void BM_StudioStartUpToFirstFrame(benchmark::State& state) {
    SetDecimalMark('.');
    for (auto _ : state) {
        TStudioWindow window;
        window.resize(1280, 900);
        window.show();
        window.repaint();
        benchmark::DoNotOptimize(window.Polar()->Drawings());
        state.PauseTiming();
        window.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StudioStartUpToFirstFrame)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace
