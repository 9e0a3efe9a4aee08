#include <benchmark/benchmark.h>

#include <QColor>
#include <QImage>
#include <QPainter>

#include "form/clientsize.h"
#include "model/emitters.h"
#include "plot/qt/qtwindowdiagram.h"

namespace {

// One paint of the window: pattern computation and the whole diagram on the client area.
void BM_WindowDiagram(benchmark::State& state) {
    QImage client(kClientWidth, kClientHeight, QImage::Format_RGB32);
    TArray model = MakeInitialArray();
    for (auto _ : state) {
        QPainter painter(&client);
        const TPattern pattern = ComputePattern(model, {});
        const TDiagramLabels labels =
            DrawWindowDiagram(painter, client.size(), QColor(240, 240, 240), model, pattern, 0);
        benchmark::DoNotOptimize(labels);
    }
}
BENCHMARK(BM_WindowDiagram)->Unit(benchmark::kMillisecond);

}  // namespace
