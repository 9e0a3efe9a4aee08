#pragma once

#include <cairo.h>

#include <memory>

// Owners of cairo's reference-counted objects.
struct TCairoSurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct TCairoContextRelease {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using TCairoSurface = std::unique_ptr<cairo_surface_t, TCairoSurfaceRelease>;
using TCairoContext = std::unique_ptr<cairo_t, TCairoContextRelease>;
