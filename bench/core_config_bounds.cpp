#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/session.h"
#include "config/configfile.h"
#include "config/cp1251.h"
#include "config/filecontent.h"
#include "config/inifile.h"

namespace {

// Files made to be slow to load, each repeated up to the size asked for: the bound is that any
// of them up to TIniFile::kMaxFileSize loads in at most a second.
struct THostileKind {
    const char* Name;
    std::string Head;
    std::string Line;
};

const THostileKind& Kind(std::int64_t n) {
    static const std::vector<THostileKind> kinds = [] {
        const std::string section = "[" + std::string(kEmitterSectionPrefix) + "1]\r\n";
        std::string longName = "[";
        for (int i = 0; i < 50; ++i) longName += "Излучатель ";
        return std::vector<THostileKind>{
            {"long UTF-8 section names", "", longName + "]\r\n"},
            {"bare line ends", "", "\n"},
            {"short lines", "", "a\n"},
            {"section names one letter off", "",
             "[" + std::string(kEmitterSectionPrefix) + "9]\r\n"},
            {"UTF-8 section names one letter off", "", "[Излучатель 9]\r\n"},
            {"UTF-8 keys one letter off", section, "Включек=1\n"},
            {"empty keys in a wanted section", section, "=\n"},
            {"unknown sections", "", "[Unknown " + std::string(88, 'x') + "]\n"},
        };
    }();
    return kinds[static_cast<std::size_t>(n)];
}

// A scratch folder holding the file of that kind and size, removed with it.
class THostileFile {
  public:
    THostileFile(const THostileKind& kind, std::size_t size) {
        Dir = (std::filesystem::temp_directory_path() / "hostile.XXXXXX").string();
        if (mkdtemp(Dir.data()) == nullptr) {
            Dir.clear();
            return;
        }
        Path = Dir + "/hostile.txt";
        std::ofstream out(Path, std::ios::binary);
        out << kind.Head;
        for (std::size_t n = kind.Head.size(); n + kind.Line.size() <= size; n += kind.Line.size())
            out << kind.Line;
    }
    ~THostileFile() {
        if (!Dir.empty()) std::filesystem::remove_all(Dir);
    }

    std::string Dir;
    std::string Path;
};

// The command line's load of --config: the file read to its end, then every value found.
void BM_LoadHostileFile(benchmark::State& state) {
    const THostileKind& kind = Kind(state.range(0));
    const THostileFile file(kind, static_cast<std::size_t>(state.range(1)) << 20);
    if (file.Dir.empty()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    state.SetLabel(kind.Name);
    for (auto _ : state) {
        TFileContent content = ReadFileContent(file.Path, TIniFile::kMaxFileSize, TFileKinds::Any);
        benchmark::DoNotOptimize(ReadConfiguration(TIniFile::FromText(std::move(content.Text))));
    }
}
BENCHMARK(BM_LoadHostileFile)
    ->ArgsProduct({{0}, {10, 50}})
    ->Args({1, 200})
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7}, {256}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The command line's whole load of --config as the window's, with its warnings counted: a file
// of 10 MB loads in at most a second however many lines it warns of.
void BM_LoadWithWarnings(benchmark::State& state) {
    const THostileKind& kind = Kind(state.range(0));
    const THostileFile file(kind, static_cast<std::size_t>(state.range(1)) << 20);
    if (file.Dir.empty()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    state.SetLabel(kind.Name);
    TSessionSteps steps;
    steps.ConfigFile = file.Path;
    for (auto _ : state) {
        const TArraySession session = BuildSession(steps);
        state.counters["warnings"] = static_cast<double>(session.WarningCount);
    }
}
BENCHMARK(BM_LoadWithWarnings)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7}, {10}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
