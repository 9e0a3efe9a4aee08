#pragma once

#include <array>
#include <string_view>

// The report page's stylesheet, screen and print: on paper every array shows with its printed
// 3-D picture in place of the pane that turns with the mouse.
extern const std::string_view kReportStyle;

// The report page's script, after DATA (an array's name, levels for the pointer's read-out,
// surface radii, emitters and view), TEXT (texts in the reader's language) and STOPS: the
// value under the pointer on every chart, the switch between the arrays, and the 3-D pane of
// the array shown, with its compass letters.
extern const std::string_view kReportScript;

// The 3-D picture's colours: level 0..1, red, green, blue; linear between.
inline constexpr std::array<std::array<double, 4>, 6> kSurfaceColourStops = {{
    {0, 0, 0, 0.5},
    {0.125, 0, 0, 1},
    {0.375, 0, 1, 1},
    {0.625, 1, 1, 0},
    {0.875, 1, 0, 0},
    {1, 0.5, 0, 0},
}};
