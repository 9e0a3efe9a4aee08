#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "config/configfile.h"
#include "config/headlesswindow.h"

namespace {

// A file with all eight emitters, as a save of a full table writes it; no file (an empty Path)
// when the scratch folder cannot be made.
class TConfigFixture {
  public:
    explicit TConfigFixture(const std::filesystem::path& parent) {
        std::string pattern = (parent / "cfgbench.XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) return;
        Dir = pattern;
        Path = Dir + "/setup.txt";
        Model = MakeInitialModel();
        for (int k = 1; k <= kEmitterCount; ++k) {
            Model.Emitter(k) = {0.1L * k, -0.3L / k, 1.0L / (k + 2), true};
        }
        SaveConfiguration(Path, Model, 2);
    }
    ~TConfigFixture() {
        std::error_code ec;
        std::filesystem::remove_all(Dir, ec);
    }

    std::string Dir;
    std::string Path;
    TArrayModel Model;
};

void BM_LoadFullConfiguration(benchmark::State& state) {
    TConfigFixture fixture(std::filesystem::temp_directory_path());
    if (fixture.Path.empty()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    TArrayModel model = MakeInitialModel();
    THeadlessWindow window(model);
    for (auto _ : state) {
        LoadConfiguration(fixture.Path, model, window);
        benchmark::DoNotOptimize(model.Emitters);
    }
}
BENCHMARK(BM_LoadFullConfiguration)->Unit(benchmark::kMicrosecond);

// A save ends by flushing the file to the device; on a disk that flush dominates, so the
// save is measured on the disk's temporary folder and on a memory file system.
void BM_SaveFullConfiguration(benchmark::State& state, const char* parent) {
    TConfigFixture fixture(parent);
    if (fixture.Path.empty()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    for (auto _ : state) SaveConfiguration(fixture.Path, fixture.Model, 2);
}
BENCHMARK_CAPTURE(BM_SaveFullConfiguration, Disk, "/var/tmp")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SaveFullConfiguration, Memory, "/dev/shm")->Unit(benchmark::kMicrosecond);

}  // namespace
