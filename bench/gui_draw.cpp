#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <string>

#include "form/clientsize.h"
#include "model/emitters.h"
#include "plot/qtexportpicture.h"
#include "plot/qtwindowdiagram.h"

namespace {

// One paint of the window: pattern computation and the whole diagram on the client area.
void BM_WindowDiagram(benchmark::State& state) {
    QImage client(kClientWidth, kClientHeight, QImage::Format_RGB32);
    TArrayModel model = MakeInitialModel();
    for (auto _ : state) {
        QPainter painter(&client);
        const TDiagramLabels labels =
            DrawWindowDiagram(painter, client.size(), QColor(240, 240, 240), model, 0);
        benchmark::DoNotOptimize(labels);
    }
}
BENCHMARK(BM_WindowDiagram)->Unit(benchmark::kMillisecond);

// One export: the diagram drawn on the 880 x 880 picture and written as a BMP file.
void BM_ExportDiagram(benchmark::State& state) {
    TExportPicture picture;
    TArrayModel model = MakeInitialModel();
    const std::string path = "/tmp/bench-diagram-" + std::to_string(::getpid()) + ".bmp";
    for (auto _ : state) {
        picture.Draw(model, 0);
        picture.Save(path);
    }
    ::unlink(path.c_str());
}
BENCHMARK(BM_ExportDiagram)->Unit(benchmark::kMillisecond);

}  // namespace
