#pragma once

#include <cairo.h>

#include <functional>
#include <string>

#include "plot/picturefile.h"

// How a drawing is put into a file of a format.
struct TPicturePage {
    double Width = 0;  // drawing units: pixels, or points on a printed page
    double Height = 0;
    bool Points = false;     // SVG sizes in points (a printed page) instead of pixels
    double RasterScale = 1;  // pixels per drawing unit in BMP and PNG
    bool Antialias = true;   // smooth edges in BMP and PNG
    int PngLevel = 3;        // zlib level, 1 fastest .. 9 smallest
};

// Draws on a white page and returns the file's bytes: BMP (32 bits) and PNG (RGB) of the
// pixels, SVG and PDF as vectors from the same drawing steps. Throws EHandlerError with
// cairo's text when a surface fails.
std::string RenderPicture(TPictureFormat format, const TPicturePage& page,
                          const std::function<void(cairo_t*)>& draw);
