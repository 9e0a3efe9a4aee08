#include "plot/gifanimation.h"

#include <gif_lib.h>

#include <array>
#include <cstring>

#include "config/errors.h"
#include "config/messages.h"
#include "plot/cairoptr.h"
#include "plot/sansfont.h"

namespace {

// The polar chart at three quarters of its picture size: small frames for a small file.
constexpr double kScale = 0.75;
constexpr double kChartWidth = 760, kChartHeight = 820, kMargin = 20, kCaption = 28;
constexpr int kDelayCentiseconds = 10;
// A fixed palette of 6 x 7 x 6 levels: every frame maps to it without a search, so the frames
// share one colour table. 252 of the 256 entries.
constexpr int kRedLevels = 6, kGreenLevels = 7, kBlueLevels = 6;

int GifWrite(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
    return length;
}

void Check(int status, const char* what) {
    if (status != GIF_OK) throw EHandlerError(TrFormat("GIF encoder failed: %s", {what}));
}

int Level(std::uint8_t value, int levels) {
    return (value * (levels - 1) + 127) / 255;
}

struct TGifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

}  // namespace

std::string PolarDbAnimation(const std::vector<TAnimationFrame>& frames) {
    const int width = static_cast<int>((kChartWidth + 2 * kMargin) * kScale);
    const int height = static_cast<int>((kChartHeight + 2 * kMargin + kCaption) * kScale);
    std::string bytes;
    int error = 0;
    std::unique_ptr<GifFileType, TGifCloser> gif(EGifOpen(&bytes, GifWrite, &error));
    if (!gif) throw EHandlerError(Tr("GIF encoder failed to open"));
    std::array<GifColorType, 256> colours{};
    for (int r = 0; r < kRedLevels; ++r) {
        for (int g = 0; g < kGreenLevels; ++g) {
            for (int b = 0; b < kBlueLevels; ++b) {
                GifColorType& c =
                    colours[static_cast<std::size_t>((r * kGreenLevels + g) * kBlueLevels + b)];
                c.Red = static_cast<GifByteType>(r * 255 / (kRedLevels - 1));
                c.Green = static_cast<GifByteType>(g * 255 / (kGreenLevels - 1));
                c.Blue = static_cast<GifByteType>(b * 255 / (kBlueLevels - 1));
            }
        }
    }
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    EGifSetGifVersion(gif.get(), true);
    const int screen = EGifPutScreenDesc(gif.get(), width, height, 8, 0, map);
    GifFreeMapObject(map);
    Check(screen, "screen");
    // Loop for ever: the application extension browsers read.
    const GifByteType netscape[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    const GifByteType loop[] = {1, 0, 0};
    Check(EGifPutExtensionLeader(gif.get(), APPLICATION_EXT_FUNC_CODE), "loop");
    Check(EGifPutExtensionBlock(gif.get(), sizeof netscape, netscape), "loop");
    Check(EGifPutExtensionBlock(gif.get(), sizeof loop, loop), "loop");
    Check(EGifPutExtensionTrailer(gif.get()), "loop");

    const TCairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    std::vector<GifByteType> line(static_cast<std::size_t>(width));
    for (const TAnimationFrame& frame : frames) {
        {
            const TCairoContext cr(cairo_create(surface.get()));
            cairo_set_source_rgb(cr.get(), 1, 1, 1);
            cairo_paint(cr.get());
            cairo_scale(cr.get(), kScale, kScale);
            cairo_set_font_face(cr.get(), SansFontFace());
            cairo_set_source_rgb(cr.get(), 0, 0, 0);
            cairo_set_font_size(cr.get(), 16);
            cairo_move_to(cr.get(), kMargin, kMargin + 16);
            cairo_show_text(cr.get(), frame.Caption.c_str());
            DrawPolarDb(cr.get(), TChartBox{kMargin, kMargin + kCaption, kChartWidth, kChartHeight},
                        {frame.Series});
        }
        cairo_surface_flush(surface.get());
        GraphicsControlBlock control{};
        control.DelayTime = kDelayCentiseconds;
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType extension[4];
        const std::size_t length = EGifGCBToExtension(&control, extension);
        Check(EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length),
                               extension),
              "frame delay");
        Check(EGifPutImageDesc(gif.get(), 0, 0, width, height, false, nullptr), "frame");
        const std::uint8_t* pixels = cairo_image_surface_get_data(surface.get());
        const auto stride = static_cast<std::size_t>(cairo_image_surface_get_stride(surface.get()));
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* row = pixels + static_cast<std::size_t>(y) * stride;
            for (int x = 0; x < width; ++x) {
                // cairo's 24-bit pixel in memory: blue, green, red, spare.
                const std::uint8_t* p = row + 4 * static_cast<std::size_t>(x);
                line[static_cast<std::size_t>(x)] = static_cast<GifByteType>(
                    (Level(p[2], kRedLevels) * kGreenLevels + Level(p[1], kGreenLevels)) *
                        kBlueLevels +
                    Level(p[0], kBlueLevels));
            }
            Check(EGifPutLine(gif.get(), line.data(), width), "pixels");
        }
    }
    GifFileType* raw = gif.release();
    if (EGifCloseFile(raw, &error) != GIF_OK)
        throw EHandlerError(Tr("GIF encoder failed to close"));
    return bytes;
}
