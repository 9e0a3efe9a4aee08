#include "plot/exportpicture.h"

#include <sys/mman.h>

#include <bit>
#include <string_view>
#include <vector>

#include "plot/bmpwriter.h"
#include "plot/cairocanvas.h"
#include "plot/picturefile.h"

// cairo keeps a pixel of 24 bits as the native word 0x00RRGGBB, in memory on a little-endian
// machine blue, green, red and a spare byte: the BMP file's own order.
static_assert(std::endian::native == std::endian::little,
              "the picture's pixels are handed to the BMP writer in memory order");

constexpr TColor kWhite{255, 255, 255};

namespace {

constexpr std::size_t kStride = static_cast<std::size_t>(TExportPicture::kSize) * 4;
constexpr std::size_t kBytes = kStride * TExportPicture::kSize;

void Unmap(void* pixels) {
    ::munmap(pixels, kBytes);
}

// The picture's memory mapped with its pages in place: a fresh 3 MB buffer would otherwise take
// a page fault every 4 KB when it is first painted, most of an export's time.
cairo_surface_t* NewSurface() {
    void* pixels = ::mmap(nullptr, kBytes, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (pixels == MAP_FAILED) {
        return cairo_image_surface_create(CAIRO_FORMAT_RGB24, TExportPicture::kSize,
                                          TExportPicture::kSize);
    }
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        static_cast<unsigned char*>(pixels), CAIRO_FORMAT_RGB24, TExportPicture::kSize,
        TExportPicture::kSize, static_cast<int>(kStride));
    static cairo_user_data_key_t key;
    cairo_surface_set_user_data(surface, &key, pixels, Unmap);
    return surface;
}

}  // namespace

TExportPicture::TExportPicture() : Surface(NewSurface()) {
    const TCairoContext cr(cairo_create(Surface.get()));
    cairo_set_source_rgb(cr.get(), 1, 1, 1);
    cairo_paint(cr.get());
    ClearSpareBytes();
}

TDiagramLabels TExportPicture::Draw(const TArray& array, const TPattern& pattern,
                                    long double elevationDegrees,
                                    std::optional<long double> fullScale) {
    TDiagramLabels labels;
    {
        const TCairoContext cr(cairo_create(Surface.get()));
        TCairoCanvas canvas(cr.get(), TRect{0, 0, kSize, kSize}, TCairoCanvas::TTarget::Pixels);
        canvas.SetBrushColor(kWhite);
        labels = DrawDiagram(canvas, dtExportImage, array, pattern, elevationDegrees, fullScale);
    }
    ClearSpareBytes();
    return labels;
}

// The spare byte of each pixel, which cairo leaves as it likes, is written as 0: the rows can
// then go to the file as they lie in memory.
void TExportPicture::ClearSpareBytes() {
    cairo_surface_flush(Surface.get());
    std::uint8_t* pixels = cairo_image_surface_get_data(Surface.get());
    for (std::size_t y = 0; y < kSize; ++y) {
        std::uint8_t* row = pixels + y * Stride();
        for (std::size_t x = 0; x < kSize; ++x) row[4 * x + 3] = 0;
    }
    cairo_surface_mark_dirty(Surface.get());
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

// The headers and then the rows bottom-up straight from the picture: no copy of the 3 MB file
// is made.
void TExportPicture::Save(const std::string& fileName, const TWriteFn& write) const {
    const std::string headers = Bmp32Headers(kSize, kSize);
    std::vector<std::string_view> pieces = {headers};
    const auto* pixels = reinterpret_cast<const char*>(Pixels());
    for (std::size_t row = kSize; row-- > 0;) {
        pieces.emplace_back(pixels + row * Stride(), static_cast<std::size_t>(kSize) * 4);
    }
    WritePictureFile(fileName, pieces, write);
}
