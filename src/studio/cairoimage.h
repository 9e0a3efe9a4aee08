#pragma once

#include <QImage>

#include "plot/cairoptr.h"

// Draws with cairo straight into the image's memory: QImage's premultiplied ARGB32 is cairo's
// ARGB32, so the views show exactly what the plot layer draws for a file.
template <typename TDraw>
void DrawIntoImage(QImage& image, TDraw draw) {
    const TCairoSurface surface(cairo_image_surface_create_for_data(
        image.bits(), CAIRO_FORMAT_ARGB32, image.width(), image.height(),
        static_cast<int>(image.bytesPerLine())));
    const TCairoContext cr(cairo_create(surface.get()));
    draw(cr.get());
    cairo_surface_flush(surface.get());
}
