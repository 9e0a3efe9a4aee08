// The C++ side of the Python module's benchmark: the same analysis of the four-square as one
// `arraypattern.analyse(arraypattern.load(...))` call runs, the file loaded once outside the loop.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "app/analysis.h"
#include "app/session.h"

namespace {

void BM_AnalyseFourSquare(benchmark::State& state) {
    std::ifstream in(ARRAYPATTERN_EXAMPLES_DIR "/four-square.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const TLoadedArray loaded = LoadArrayText("four-square.txt", text.str());
    TArrayCase arrayCase;
    arrayCase.Array = loaded.Array;
    arrayCase.Wires = loaded.Wires.Settings;
    for (auto _ : state) {
        const TAnalysisOutcome outcome = Analyse(arrayCase);
        benchmark::DoNotOptimize(outcome.Result->Directivity);
    }
}
BENCHMARK(BM_AnalyseFourSquare)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
