#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// A section the caller looks for, with the keys it wants from it: Windows-1251 names.
struct TIniWanted {
    std::string_view Section;
    std::vector<std::string_view> Keys;
};

// A "key=value" line: where it lies in the text and its blank-trimmed parts.
struct TIniKeyLine {
    std::size_t LineBegin = 0;
    std::size_t ContentEnd = 0;  // before the line break
    std::string_view Name;
    std::string_view Value;
};

// The first section of a wanted name, and in it the first line of each wanted key.
struct TIniFound {
    std::size_t BodyBegin = 0;
    std::size_t InsertAt = 0;                      // after the section's last non-blank line
    std::vector<std::optional<TIniKeyLine>> Keys;  // in the order wanted
};

// Finds every wanted section and key in one pass over the text from `from` on, so that the
// time grows with the text's length alone, whatever its lines hold. Names match as the
// sectioned file reads them: without regard to letter case, and also as their UTF-8 spelling.
// Insertion points cost a look at every line of a found section; without them the pass ends
// as soon as everything wanted is found.
std::vector<std::optional<TIniFound>> ScanIniText(std::string_view text, std::size_t from,
                                                  std::span<const TIniWanted> wanted,
                                                  bool insertionPoints);
