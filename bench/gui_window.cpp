#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <optional>

#include "config/numtext.h"
#include "ui/dialogs.h"
#include "ui/label.h"
#include "ui/trackbar.h"
#include "ui/unit1.h"
#include "ui/updown.h"

namespace {

class TNoDialogs : public TDialogs {
  public:
    std::optional<QString> OpenConfigFile(QWidget*) override { return std::nullopt; }
    std::optional<QString> SaveConfigFile(QWidget*) override { return std::nullopt; }
    std::optional<QString> SavePictureFile(QWidget*) override { return std::nullopt; }
    void Information(QWidget*, const QString&, const QString&) override {}
    void ErrorBox(QWidget*, const QString&, const QString&) override {}
};

void WaitForFirstPaint(const TForm1& form) {
    while (form.Label5->Text() != QStringLiteral("45")) {
        QApplication::processEvents(QEventLoop::AllEvents);
    }
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void BM_StartUpToFirstPaint(benchmark::State& state) {
    SetDecimalMark(',');
    TNoDialogs dialogs;
    for (auto _ : state) {
        TForm1 form(dialogs);
        form.show();
        WaitForFirstPaint(form);
        state.PauseTiming();
        form.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToFirstPaint)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// Press and release on an arrow of the east-west spin: one step, the table, the grid cell and
// the whole diagram redrawn.
void BM_SpinReleaseToEndOfRedraw(benchmark::State& state) {
    SetDecimalMark(',');
    TNoDialogs dialogs;
    TForm1 form(dialogs);
    form.show();
    WaitForFirstPaint(form);
    TUpDown* spin = form.UpDown1;
    const QPoint left(3, spin->height() / 2);
    const QPoint right(spin->width() - 3, spin->height() / 2);
    bool stepRight = true;
    for (auto _ : state) {
        state.PauseTiming();
        SendMouse(spin, QEvent::MouseButtonPress, stepRight ? right : left);
        state.ResumeTiming();
        SendMouse(spin, QEvent::MouseButtonRelease, stepRight ? right : left);
        stepRight = !stepRight;
    }
    state.counters["redraws"] = form.RedrawCount;
}
BENCHMARK(BM_SpinReleaseToEndOfRedraw)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// The thumb dragged from the bottom to the top: a redraw at each of the 18 positions.
void BM_SliderDragAcrossAllPositions(benchmark::State& state) {
    SetDecimalMark(',');
    TNoDialogs dialogs;
    TForm1 form(dialogs);
    form.show();
    WaitForFirstPaint(form);
    TTrackBar* slider = form.TrackBar1;
    for (auto _ : state) {
        slider->setSliderDown(true);
        for (int position = 17; position >= 0; --position) slider->setSliderPosition(position);
        slider->setSliderDown(false);
        state.PauseTiming();
        slider->SetPosition(17);
        state.ResumeTiming();
    }
    state.counters["redraws per drag"] =
        benchmark::Counter(form.RedrawCount, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SliderDragAcrossAllPositions)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace
