#pragma once

#include <string>
#include <vector>

// One of the example configurations shipped with the program, offered as a starting design.
struct TPreset {
    std::string Title;  // in the reader's language
    std::string Path;
};

// The examples of the first folder that holds any (*.txt), in a fixed order: the known ones
// by their titles, others by their file names.
std::vector<TPreset> FindPresets(const std::vector<std::string>& folders);

// Where the examples lie: installed beside the program (share/doc/arraypattern/examples under
// its prefix), else in the source tree it was built from.
std::vector<std::string> PresetFolders(const std::string& programFolder);
