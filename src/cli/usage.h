#pragma once

#include <string_view>

inline constexpr std::string_view kVersionText = "arraypattern-cli 2.3\n";

// The --help text: the interface, then the exact meaning of every metric.
extern const std::string_view kUsageText;
