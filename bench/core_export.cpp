#include <benchmark/benchmark.h>

#include <string>

#include "model/emitters.h"
#include "model/pattern.h"
#include "plot/diagramfile.h"
#include "plot/exportpicture.h"
#include "plot/pngwriter.h"

namespace {

// One export without the file write: the diagram drawn on the 880 x 880 picture, pattern
// computation included, and encoded as a BMP file.
void BM_ExportDrawingAndBmp(benchmark::State& state) {
    TExportPicture picture;
    TArray model = MakeInitialArray();
    for (auto _ : state) {
        picture.Draw(model, ComputePattern(model, {}), 0);
        benchmark::DoNotOptimize(picture.BmpBytes());
    }
}
BENCHMARK(BM_ExportDrawingAndBmp)->Unit(benchmark::kMillisecond);

void BM_ExportDrawing(benchmark::State& state) {
    TExportPicture picture;
    TArray model = MakeInitialArray();
    const TPattern pattern = ComputePattern(model, {});
    for (auto _ : state) benchmark::DoNotOptimize(picture.Draw(model, pattern, 0));
}
BENCHMARK(BM_ExportDrawing)->Unit(benchmark::kMillisecond);

// The PNG encoding of a drawn picture at each zlib level: the size in bytes is reported.
void BM_PngLevel(benchmark::State& state) {
    TExportPicture picture;
    TArray model = MakeInitialArray();
    picture.Draw(model, ComputePattern(model, {}), 0);
    std::size_t size = 0;
    for (auto _ : state) {
        size = EncodePng24(picture.Pixels(), TExportPicture::kSize, TExportPicture::kSize,
                           picture.Stride(), static_cast<int>(state.range(0)))
                   .size();
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_PngLevel)->Arg(1)->Arg(3)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);

// A whole diagram file in each format, without the file write.
void BM_DiagramFile(benchmark::State& state) {
    const auto format = static_cast<TPictureFormat>(state.range(0));
    TArray model = MakeInitialArray();
    std::size_t size = 0;
    for (auto _ : state) size = DiagramFileBytes(model, ComputePattern(model, {}), 0, format).size();
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_DiagramFile)
    ->ArgName("format")
    ->Arg(static_cast<int>(TPictureFormat::Bmp))
    ->Arg(static_cast<int>(TPictureFormat::Png))
    ->Arg(static_cast<int>(TPictureFormat::Svg))
    ->Arg(static_cast<int>(TPictureFormat::Pdf))
    ->Unit(benchmark::kMillisecond);

}  // namespace
