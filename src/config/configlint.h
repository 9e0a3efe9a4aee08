#pragma once

#include <string>
#include <string_view>
#include <vector>

// What a load of the configuration text passes over without a word, one line each, naming the
// file, the line and what was done: an unknown section or key, a value that does not parse and
// so reads as its default, an emitter section numbered outside 1..8, a type the radio group
// limits. The load itself is unchanged.
std::vector<std::string> ConfigurationWarnings(std::string_view text, const std::string& name);
