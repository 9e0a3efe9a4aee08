#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "config/inifile.h"

// The warnings of one configuration file: the first few as lines to print, and how many there
// are in all. Only the lines kept are made, so that a file of a million faults costs a count.
class TWarnings {
  public:
    static constexpr std::size_t kMaxLines = 20;

    // Counts a warning; makeLine() gives its line, called only while fewer than kMaxLines are
    // kept.
    template <typename TMakeLine>
    void Add(TMakeLine makeLine) {
        if (Kept.size() < kMaxLines) Kept.push_back(makeLine());
        ++Total;
    }

    std::size_t Count() const { return Total; }
    // The lines kept, then one telling how many more there are.
    std::vector<std::string> Lines() const;

  private:
    std::vector<std::string> Kept;
    std::size_t Total = 0;
};

// What a load of the configuration passes over without a word, one line each, naming the file
// (name), the line and what was done: an unknown section or key, a section or key that repeats
// an earlier one, a line outside every section or that is no key, a value that does not parse
// and so reads as its default, an emitter section numbered outside 1..8, a type the radio group
// limits. The file's lines are taken exactly as the load takes them.
TWarnings ConfigurationWarnings(const TIniFile& file, const std::string& name);
