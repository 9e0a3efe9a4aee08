#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include "config/numtext.h"
#include "studio/designer.h"
#include "studio/studiowindow.h"
#include "studio/surfaceview.h"

namespace {

void Send(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// One frame of the 3-D view turned under the mouse: a move of the held button, the coarse
// grid drawn and painted.
void BM_Studio3dViewFrameWhileTurning(benchmark::State& state) {
    TStudioWindow window;
    window.resize(1280, 960);
    window.show();
    QApplication::processEvents();
    TSurface3dView* view = window.Surface();
    view->repaint();
    const QPointF centre = view->rect().center();
    Send(view, QEvent::MouseButtonPress, centre, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 200;
        Send(view, QEvent::MouseMove, centre + QPointF(step, step / 4), Qt::LeftButton);
    }
    Send(view, QEvent::MouseButtonRelease, centre, Qt::NoButton);
    state.counters["drawings"] = view->Drawings();
}
BENCHMARK(BM_Studio3dViewFrameWhileTurning)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// The full grid drawn once, as on the release of the mouse.
void BM_Studio3dViewFullGrid(benchmark::State& state) {
    TStudioWindow window;
    window.resize(1280, 960);
    window.show();
    // The full grid arrives once the document rests.
    QElapsedTimer rest;
    rest.start();
    while (rest.elapsed() < 400) QApplication::processEvents();
    TSurface3dView* view = window.Surface();
    view->repaint();
    const QPointF centre = view->rect().center();
    for (auto _ : state) {
        Send(view, QEvent::MouseButtonPress, centre, Qt::LeftButton);
        Send(view, QEvent::MouseButtonRelease, centre, Qt::NoButton);
        view->repaint();
    }
    state.counters["drawings"] = view->Drawings();
}
BENCHMARK(BM_Studio3dViewFullGrid)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// A design action applied as an undo step, analysed and the whole window repainted: the
// closed form towards the beam, and the nulls placed on the polar chart.
void BM_StudioDesignAppliedAndRedrawn(benchmark::State& state) {
    SetDecimalMark('.');
    TStudioWindow window;
    window.resize(1280, 960);
    window.show();
    QApplication::processEvents();
    const auto goal = static_cast<TDesignGoal>(state.range(0));
    int bearing = 0;
    for (auto _ : state) {
        bearing = (bearing + 7) % 360;
        if (goal == TDesignGoal::Nulls) {
            // Placed and taken away in turn: each click designs anew.
            window.Designer().ToggleNull(200);
        } else {
            window.Designer().Design(goal, bearing);
        }
        window.repaint();
    }
}
BENCHMARK(BM_StudioDesignAppliedAndRedrawn)
    ->ArgName("goal")
    ->Arg(static_cast<int>(TDesignGoal::MaxDirectivity))
    ->Arg(static_cast<int>(TDesignGoal::Nulls))
    ->Arg(static_cast<int>(TDesignGoal::FrontToBack))
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

}  // namespace
