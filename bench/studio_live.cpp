#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSlider>

#include "config/numtext.h"
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

// One step of emitter 2's phase slider held down: the analysis, both charts drawn, the
// figures set, and the whole window painted.
void BM_StudioSliderStepToRedrawnWindow(benchmark::State& state) {
    SetDecimalMark('.');
    TStudioWindow window;
    window.resize(1280, 900);
    window.show();
    window.State().Reset(GridOverGround());
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
BENCHMARK(BM_StudioSliderStepToRedrawnWindow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// The analysis alone of one such step: what the engine costs of the step above.
void BM_StudioAnalysisOfOneStep(benchmark::State& state) {
    TStudioDocument d = GridOverGround();
    int degrees = 0;
    for (auto _ : state) {
        degrees = degrees == 179 ? -179 : degrees + 1;
        d.Array.Emitter(2).Phase = PhaseFromDegrees(degrees);
        benchmark::DoNotOptimize(Analyse(AnalysisRequestOf(d, std::nullopt)));
    }
}
BENCHMARK(BM_StudioAnalysisOfOneStep)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
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
