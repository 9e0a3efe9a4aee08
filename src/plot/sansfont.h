#pragma once

#include <cairo.h>

// The window's 11-pixel sans-serif, Liberation Sans, read straight from its file with FreeType:
// no font configuration is scanned, so opening it costs a program's start-up next to nothing.
inline constexpr const char* kSansFontFile =
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
inline constexpr const char* kSansFontPackage = "fonts-liberation2";
inline constexpr int kSansFontPixels = 11;

// The face, opened on first use and kept for the program's life. Without the file it is the
// system's "Liberation Sans" or nearest sans-serif, found through the font configuration.
cairo_font_face_t* SansFontFace();
