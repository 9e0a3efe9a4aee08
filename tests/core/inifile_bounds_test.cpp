#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "config/configfile.h"
#include "config/cp1251.h"
#include "config/inifile.h"

namespace {

// Texts built to make a reader slow: long UTF-8 names, bare line ends, names one letter off
// the wanted ones in either spelling, and keys that must all be compared.
struct THostileKind {
    const char* Name;
    std::string Head;
    std::string Line;
};

std::vector<THostileKind> HostileKinds() {
    const std::string section = "[" + std::string(kEmitterSectionPrefix) + "1]\r\n";
    std::string longName = "[";
    for (int i = 0; i < 60; ++i) longName += "Излучатель ";
    return {
        {"long UTF-8 section names", "", longName + "]\r\n"},
        {"bare line ends", "", "\n"},
        {"bare CRs", "", "\r"},
        {"CR-ended keys among CR LF", section, "X=1\rY=2\r\n"},
        {"section names one letter off", "", "[" + std::string(kEmitterSectionPrefix) + "9]\r\n"},
        {"the same in UTF-8", "", "[Излучатель 9]\r\n"},
        {"UTF-8 keys one letter off", section, "Включек=1\n"},
    };
}

std::string TextOf(const THostileKind& kind, std::size_t size) {
    std::string text = kind.Head;
    while (text.size() < size) text += kind.Line;
    return text;
}

// The best of several runs: the least disturbed by whatever else the machine does.
double Seconds(const std::function<void()>& run) {
    double best = 1e9;
    for (int i = 0; i < 7; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

double LoadSeconds(const std::string& text) {
    const TIniFile file = TIniFile::FromText(text);
    return Seconds([&] { ReadConfiguration(file); });
}

// How long one look at every byte takes: the unit that a load is measured in.
double ByteLoopSeconds(const std::string& text) {
    volatile std::size_t lines = 0;
    return Seconds([&] { lines = lines + std::count(text.begin(), text.end(), '\n'); });
}

// The bound itself is a benchmark figure (bench/core_config_bounds.cpp); here the shape: a
// load grows in proportion to the text (eight times the text, not 64 times the time), and
// costs a small multiple of looking at each byte (not thousands, as it once did).
TEST(IniFileBoundsTest, LoadingGrowsLinearlyWhateverTheLinesHold) {
    constexpr std::size_t kSize = std::size_t{1} << 19;
    for (const THostileKind& kind : HostileKinds()) {
        SCOPED_TRACE(kind.Name);
        const std::string small = TextOf(kind, kSize);
        const std::string large = TextOf(kind, 8 * kSize);
        const double smallSeconds = LoadSeconds(small);
        const double largeSeconds = LoadSeconds(large);
        EXPECT_LT(largeSeconds, 32 * smallSeconds + 0.005);
        EXPECT_LT(largeSeconds, 100 * ByteLoopSeconds(large) + 0.005);
    }
}

}  // namespace
