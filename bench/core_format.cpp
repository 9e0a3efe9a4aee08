#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "config/numtext.h"

namespace {

// Values of the kind the grid and labels show: coordinates and phases in wavelengths,
// bearings, pattern maxima.
std::vector<long double> GridValues() {
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> wavelengths(-2.0, 2.0);
    std::vector<long double> values;
    for (int i = 0; i < 256; ++i) {
        values.push_back(static_cast<long double>(wavelengths(gen)) / 3.0L);
    }
    return values;
}

void BM_FormatGeneral(benchmark::State& state) {
    const std::vector<long double> values = GridValues();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatGeneral(values[i++ % values.size()]));
    }
}
BENCHMARK(BM_FormatGeneral);

void BM_FormatFixed(benchmark::State& state) {
    const std::vector<long double> values = GridValues();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatFixed(values[i++ % values.size()] * 8.0L, 8, 3));
    }
}
BENCHMARK(BM_FormatFixed);

void BM_ParseFloat(benchmark::State& state) {
    SetDecimalMark(',');
    std::vector<std::string> texts;
    for (const long double v : GridValues()) {
        texts.push_back(FormatGeneral(v));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseFloat(texts[i++ % texts.size()]));
    }
    SetDecimalMark('.');
}
BENCHMARK(BM_ParseFloat);

// Extreme magnitudes take the slow paths: long digit expansions and large powers of ten.
void BM_FormatGeneralExtreme(benchmark::State& state) {
    std::size_t i = 0;
    const long double values[] = {1.2345E4000L, -6.789E-4000L, 3.3E-300L, 9.9E2000L};
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatGeneral(values[i++ % 4]));
    }
}
BENCHMARK(BM_FormatGeneralExtreme);

void BM_ParseFloatExtreme(benchmark::State& state) {
    std::size_t i = 0;
    const char* const texts[] = {"1,2345E4000", "-6,789E-4000", "3,3E-300", "9,9E2000"};
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseFloat(texts[i++ % 4], ','));
    }
}
BENCHMARK(BM_ParseFloatExtreme);

}  // namespace
