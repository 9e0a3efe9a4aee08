#include "plot/exportpicture.h"

#include <bit>

#include "plot/bmpwriter.h"
#include "plot/cairocanvas.h"
#include "plot/picturefile.h"

// cairo keeps a pixel of 24 bits as the native word 0x00RRGGBB, in memory on a little-endian
// machine blue, green, red and a spare byte: the BMP file's own order.
static_assert(std::endian::native == std::endian::little,
              "the picture's pixels are handed to the BMP writer in memory order");

constexpr TColor kWhite{255, 255, 255};

TExportPicture::TExportPicture()
    : Surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSize, kSize)) {
    const TCairoContext cr(cairo_create(Surface.get()));
    cairo_set_source_rgb(cr.get(), 1, 1, 1);
    cairo_paint(cr.get());
}

TDiagramLabels TExportPicture::Draw(const TArray& array, const TPattern& pattern,
                                    long double elevationDegrees) {
    TDiagramLabels labels;
    {
        const TCairoContext cr(cairo_create(Surface.get()));
        TCairoCanvas canvas(cr.get(), TRect{0, 0, kSize, kSize}, TCairoCanvas::TTarget::Pixels);
        canvas.SetBrushColor(kWhite);
        labels = DrawDiagram(canvas, dtExportImage, array, pattern, elevationDegrees);
    }
    cairo_surface_flush(Surface.get());
    return labels;
}

const std::uint8_t* TExportPicture::Pixels() const {
    return cairo_image_surface_get_data(Surface.get());
}

std::size_t TExportPicture::Stride() const {
    return static_cast<std::size_t>(cairo_image_surface_get_stride(Surface.get()));
}

TColor TExportPicture::Pixel(int x, int y) const {
    const std::uint8_t* p =
        Pixels() + static_cast<std::size_t>(y) * Stride() + static_cast<std::size_t>(x) * 4;
    return TColor{p[2], p[1], p[0]};
}

std::string TExportPicture::BmpBytes() const {
    return EncodeBmp32(Pixels(), kSize, kSize, Stride());
}

void TExportPicture::Save(const std::string& fileName, const TWriteFn& write) const {
    WritePictureFile(fileName, BmpBytes(), write);
}
