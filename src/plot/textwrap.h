#pragma once

#include <cairo.h>

#include <string>
#include <vector>

// The text broken at its spaces into lines no wider than width in cr's current font, so that a
// long caption (long file names, a long list of conditions) stays inside its picture. A word
// wider than the width keeps a line of its own.
std::vector<std::string> WrapText(cairo_t* cr, const std::string& text, double width);

// The text, or as much of its start as fits the width in cr's current font with "…" after
// it: a name in a place too narrow for it, where a table or a caption gives it whole.
std::string CutToWidth(cairo_t* cr, const std::string& text, double width);
