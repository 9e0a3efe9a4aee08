#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "form/arraymodel.h"
#include "app/headlesswindow.h"
#include "config/configfile.h"
#include "config/inifile.h"

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
    window.Rules().Create();
    for (auto _ : state) {
        window.Rules().Load(fixture.Path);
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

// A 50 MB file that is not a configuration, as a user may pick by mistake: one read of it, up to
// the section at its end, is what the user waits for.
void BM_FindSectionAfterFiftyMegabytesOfGarbage(benchmark::State& state) {
    TConfigFixture fixture(std::filesystem::temp_directory_path());
    if (fixture.Path.empty()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const std::string path = fixture.Dir + "/big.txt";
    {
        std::string bytes(50u << 20, '\0');
        std::uint32_t seed = 7;
        for (char& c : bytes) {
            seed = seed * 1664525u + 1013904223u;
            const unsigned b = seed >> 24;
            c = static_cast<char>(b % 5 == 0 ? "[]=\n;"[b % 7 % 5] : b);
        }
        std::ofstream(path, std::ios::binary) << bytes << "\n[wanted section]\nk=v\n";
    }
    for (auto _ : state) {
        TIniFile file(path);
        benchmark::DoNotOptimize(file.ReadString("wanted section", "k"));
    }
}
BENCHMARK(BM_FindSectionAfterFiftyMegabytesOfGarbage)->Unit(benchmark::kMillisecond);

}  // namespace
