#include "studio/presets.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "config/messages.h"
#include "model/msgid.h"

namespace {

struct TKnownPreset {
    const char* Stem;
    const char* Title;
};

constexpr TKnownPreset kKnownPresets[] = {
    {"broadside-pair", Msgid("Broadside pair")},
    {"cardioid", Msgid("Cardioid")},
    {"end-fire-pair", Msgid("End-fire pair")},
    {"pair-180-eighth-wave", Msgid("Pair in antiphase, an eighth wave apart")},
    {"four-square", Msgid("Four-square")},
    {"four-square-over-average-ground", Msgid("Four-square over average ground")},
    {"broadside-line-8", Msgid("Line of eight (for tapers)")},
    {"dipole-pair-over-ground", Msgid("Dipole pair over ground")},
    {"four-square-monopoles", Msgid("Four-square of quarter-wave monopoles (wires)")},
    {"yagi-2", Msgid("Two-element Yagi (wires)")},
    {"cardioid-verticals-voltage", Msgid("Cardioid of half-wave verticals fed by voltage (wires)")},
    {"dipole-pair-over-average-ground", Msgid("Half-wave dipole pair over average ground (wires)")},
};

std::size_t Rank(const std::string& stem) {
    const auto* known = std::find_if(std::begin(kKnownPresets), std::end(kKnownPresets),
                                     [&](const TKnownPreset& p) { return stem == p.Stem; });
    return static_cast<std::size_t>(known - std::begin(kKnownPresets));
}

}  // namespace

std::vector<TPreset> FindPresets(const std::vector<std::string>& folders) {
    namespace fs = std::filesystem;
    for (const std::string& folder : folders) {
        std::error_code error;
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            if (entry.path().extension() == ".txt") files.push_back(entry.path());
        }
        if (files.empty()) continue;
        std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
            const std::size_t ra = Rank(a.stem().string()), rb = Rank(b.stem().string());
            return ra != rb ? ra < rb : a.filename() < b.filename();
        });
        std::vector<TPreset> presets;
        for (const fs::path& file : files) {
            const std::size_t rank = Rank(file.stem().string());
            presets.push_back({rank < std::size(kKnownPresets) ? Tr(kKnownPresets[rank].Title)
                                                               : file.stem().string(),
                               file.string()});
        }
        return presets;
    }
    return {};
}

std::vector<std::string> PresetFolders(const std::string& programFolder) {
    const std::filesystem::path prefix = std::filesystem::path(programFolder).parent_path();
    return {(prefix / "share/doc/arraypattern/examples").string(), ARRAYPATTERN_SOURCE_EXAMPLES};
}
