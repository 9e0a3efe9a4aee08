#pragma once

#include <string>
#include <string_view>

// The program's name and the project's major.minor version, as one line.
std::string VersionText();

// The --help text: the interface, then the exact meaning of every metric.
extern const std::string_view kUsageText;
