#include "plot/diagramfile.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include "config/errors.h"
#include "plot/cairocanvas.h"
#include "plot/pngwriter.h"

namespace {

cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

void CheckStatus(cairo_status_t status) {
    if (status != CAIRO_STATUS_SUCCESS) throw EHandlerError(cairo_status_to_string(status));
}

std::string VectorBytes(TArrayModel& model, long double elevationDegrees, TPictureFormat format) {
    constexpr int kSize = TExportPicture::kSize;
    std::string bytes;
    const TCairoSurface surface(
        format == TPictureFormat::Svg
            ? cairo_svg_surface_create_for_stream(AppendToString, &bytes, kSize, kSize)
            : cairo_pdf_surface_create_for_stream(AppendToString, &bytes, kSize, kSize));
    if (format == TPictureFormat::Svg) {
        cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PX);
    }
    {
        const TCairoContext cr(cairo_create(surface.get()));
        TCairoCanvas canvas(cr.get(), TRect{0, 0, kSize, kSize}, TCairoCanvas::TTarget::Vectors);
        canvas.SetBrushColor(TColor{255, 255, 255});
        DrawDiagram(canvas, dtExportImage, model, elevationDegrees);
    }
    cairo_surface_finish(surface.get());
    CheckStatus(cairo_surface_status(surface.get()));
    return bytes;
}

}  // namespace

std::string DiagramFileBytes(TArrayModel& model, long double elevationDegrees,
                             TPictureFormat format) {
    if (format == TPictureFormat::Svg || format == TPictureFormat::Pdf) {
        return VectorBytes(model, elevationDegrees, format);
    }
    TExportPicture picture;
    picture.Draw(model, elevationDegrees);
    if (format == TPictureFormat::Bmp) return picture.BmpBytes();
    return EncodePng24(picture.Pixels(), TExportPicture::kSize, TExportPicture::kSize,
                       picture.Stride(), kDiagramPngLevel);
}

void SaveDiagramFile(TArrayModel& model, long double elevationDegrees, const std::string& fileName,
                     TPictureFormat format, const TWriteFn& write) {
    WritePictureFile(fileName, DiagramFileBytes(model, elevationDegrees, format), write);
}
