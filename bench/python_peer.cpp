// The C++ side of the Python module's benchmark: the same analysis of the four-square as one
// `arraypattern.analyse(arraypattern.load(...))` call runs, in full and as far as a script that
// reads only some of it takes it, the file loaded once outside the loop.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "app/analysis.h"
#include "app/session.h"

namespace {

TArrayCase FourSquare() {
    std::ifstream in(ARRAYPATTERN_EXAMPLES_DIR "/four-square.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const TLoadedArray loaded = LoadArrayText("four-square.txt", text.str());
    TArrayCase arrayCase;
    arrayCase.Array = loaded.Array;
    arrayCase.Wires = loaded.Wires.Settings;
    return arrayCase;
}

void BM_AnalyseFourSquare(benchmark::State& state) {
    const TArrayCase arrayCase = FourSquare();
    for (auto _ : state) {
        const TAnalysisOutcome outcome = Analyse(arrayCase);
        benchmark::DoNotOptimize(outcome.Result->Directivity);
    }
}
BENCHMARK(BM_AnalyseFourSquare)->Unit(benchmark::kMicrosecond);

// What a script that reads only the samples has computed: the case checked and its pattern.
void BM_PatternFourSquare(benchmark::State& state) {
    const TArrayCase arrayCase = FourSquare();
    for (auto _ : state) {
        TStagedAnalysis staged;
        BeginAnalysis(arrayCase, staged);
        CompletePart(staged, TAnalysisPart::Pattern);
        benchmark::DoNotOptimize(staged.Result.Session.Pattern.MaxGain);
    }
}
BENCHMARK(BM_PatternFourSquare)->Unit(benchmark::kMicrosecond);

// The case checked, nothing computed: what analyse() does before anything is read.
void BM_BeginFourSquare(benchmark::State& state) {
    const TArrayCase arrayCase = FourSquare();
    for (auto _ : state) {
        TStagedAnalysis staged;
        benchmark::DoNotOptimize(BeginAnalysis(arrayCase, staged));
    }
}
BENCHMARK(BM_BeginFourSquare)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
