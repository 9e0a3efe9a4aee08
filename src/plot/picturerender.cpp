#include "plot/picturerender.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include <cmath>

#include "config/errors.h"
#include "plot/bmpwriter.h"
#include "plot/cairoptr.h"
#include "plot/pngwriter.h"

namespace {

cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

void CheckStatus(cairo_status_t status) {
    if (status != CAIRO_STATUS_SUCCESS) throw EHandlerError(cairo_status_to_string(status));
}

std::string VectorBytes(TPictureFormat format, const TPicturePage& page,
                        const std::function<void(cairo_t*)>& draw) {
    std::string bytes;
    const TCairoSurface surface(
        format == TPictureFormat::Svg
            ? cairo_svg_surface_create_for_stream(AppendToString, &bytes, page.Width, page.Height)
            : cairo_pdf_surface_create_for_stream(AppendToString, &bytes, page.Width, page.Height));
    if (format == TPictureFormat::Svg) {
        cairo_svg_surface_set_document_unit(surface.get(),
                                            page.Points ? CAIRO_SVG_UNIT_PT : CAIRO_SVG_UNIT_PX);
    }
    {
        const TCairoContext cr(cairo_create(surface.get()));
        draw(cr.get());
        CheckStatus(cairo_status(cr.get()));
    }
    cairo_surface_finish(surface.get());
    CheckStatus(cairo_surface_status(surface.get()));
    return bytes;
}

}  // namespace

std::string RenderPicture(TPictureFormat format, const TPicturePage& page,
                          const std::function<void(cairo_t*)>& draw) {
    if (format == TPictureFormat::Svg || format == TPictureFormat::Pdf) {
        return VectorBytes(format, page, draw);
    }
    const int width = static_cast<int>(std::ceil(page.Width * page.RasterScale));
    const int height = static_cast<int>(std::ceil(page.Height * page.RasterScale));
    const TCairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    CheckStatus(cairo_surface_status(surface.get()));
    {
        const TCairoContext cr(cairo_create(surface.get()));
        cairo_set_source_rgb(cr.get(), 1, 1, 1);
        cairo_paint(cr.get());
        cairo_scale(cr.get(), page.RasterScale, page.RasterScale);
        if (!page.Antialias) cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
        draw(cr.get());
        CheckStatus(cairo_status(cr.get()));
    }
    cairo_surface_flush(surface.get());
    const std::uint8_t* pixels = cairo_image_surface_get_data(surface.get());
    const auto stride = static_cast<std::size_t>(cairo_image_surface_get_stride(surface.get()));
    if (format == TPictureFormat::Bmp) return EncodeBmp32(pixels, width, height, stride);
    return EncodePng24(pixels, width, height, stride, page.PngLevel);
}
