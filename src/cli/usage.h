#pragma once

#include <string>

// The program's name and the project's major.minor version, as one line.
std::string VersionText();

// The --help text in the chosen language: the interface, then the exact meaning of every
// metric.
std::string UsageText();
