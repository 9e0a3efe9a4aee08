#include "plot/bmpwriter.h"

#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

// The first three bytes of a pixel in memory, whatever the machine's byte order.
constexpr std::uint32_t kColourBytes =
    std::endian::native == std::endian::little ? 0x00FFFFFFu : 0xFFFFFF00u;

void Put16(std::string& out, std::size_t at, std::uint16_t v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>(v >> 8);
}

void Put32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

}  // namespace

std::string Bmp32Headers(int width, int height) {
    if (width <= 0 || height <= 0) {
        throw std::invalid_argument("BMP picture without pixels");
    }
    const std::size_t rowSize = static_cast<std::size_t>(width) * 4;
    const auto h = static_cast<std::size_t>(height);
    if (rowSize > (std::numeric_limits<std::uint32_t>::max() - kBmpHeaderSize) / h) {
        throw std::invalid_argument("BMP picture too large");
    }
    const std::size_t pixelSize = rowSize * h;
    std::string out(kBmpHeaderSize, '\0');
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, static_cast<std::uint32_t>(kBmpHeaderSize + pixelSize));
    Put32(out, 10, kBmpHeaderSize);
    Put32(out, 14, 40);
    Put32(out, 18, static_cast<std::uint32_t>(width));
    Put32(out, 22, static_cast<std::uint32_t>(height));
    Put16(out, 26, 1);
    Put16(out, 28, 32);
    Put32(out, 34, static_cast<std::uint32_t>(pixelSize));
    return out;
}

std::string EncodeBmp32(const std::uint8_t* pixels, int width, int height, std::size_t stride) {
    std::string out = Bmp32Headers(width, height);
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    out.resize(kBmpHeaderSize + w * 4 * h, '\0');
    char* dst = out.data() + kBmpHeaderSize;
    for (std::size_t row = h; row-- > 0;) {
        const std::uint8_t* src = pixels + row * stride;
        for (std::size_t x = 0; x < w; ++x) {
            std::uint32_t pixel;
            std::memcpy(&pixel, src + 4 * x, 4);
            pixel &= kColourBytes;
            std::memcpy(dst, &pixel, 4);
            dst += 4;
        }
    }
    return out;
}
