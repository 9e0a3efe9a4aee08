#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

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
        };
    }();
    return kinds[static_cast<std::size_t>(n)];
}

// The command line's load of --config: the file read to its end, then every value found.
void BM_LoadHostileFile(benchmark::State& state) {
    const THostileKind& kind = Kind(state.range(0));
    const auto size = static_cast<std::size_t>(state.range(1)) << 20;
    std::string dir = (std::filesystem::temp_directory_path() / "hostile.XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const std::string path = dir + "/hostile.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << kind.Head;
        for (std::size_t n = kind.Head.size(); n + kind.Line.size() <= size; n += kind.Line.size())
            out << kind.Line;
    }
    state.SetLabel(kind.Name);
    for (auto _ : state) {
        TFileContent content = ReadFileContent(path, TIniFile::kMaxFileSize, TFileKinds::Any);
        benchmark::DoNotOptimize(ReadConfiguration(TIniFile::FromText(std::move(content.Text))));
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadHostileFile)
    ->ArgsProduct({{0}, {10, 50}})
    ->Args({1, 200})
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {256}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
