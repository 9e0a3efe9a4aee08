#include "plot/pngwriter.h"

#include <zlib.h>

#include <limits>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kSignature{"\x89PNG\r\n\x1a\n", 8};
constexpr std::uint8_t kSubFilter = 1;

void Put32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void PutChunk(std::string& out, const char* type, std::string_view data) {
    Put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.append(type, 4);
    out.append(data);
    const auto* bytes = reinterpret_cast<const Bytef*>(out.data() + start);
    Put32(out, static_cast<std::uint32_t>(crc32(0, bytes, static_cast<uInt>(out.size() - start))));
}

// Each row as the Sub filter gives it: every byte less the same byte of the pixel to its left,
// so the long runs of one colour become runs of zeros.
std::vector<Bytef> FilteredRows(const std::uint8_t* pixels, int width, int height,
                                std::size_t stride) {
    const std::size_t rowBytes = 1 + static_cast<std::size_t>(width) * 3;
    std::vector<Bytef> rows(rowBytes * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = pixels + static_cast<std::size_t>(y) * stride;
        Bytef* out = rows.data() + static_cast<std::size_t>(y) * rowBytes;
        *out++ = kSubFilter;
        std::uint8_t left[3] = {0, 0, 0};
        for (int x = 0; x < width; ++x, in += 4) {
            const std::uint8_t rgb[3] = {in[2], in[1], in[0]};
            for (int c = 0; c < 3; ++c) {
                *out++ = static_cast<Bytef>(rgb[c] - left[c]);
                left[c] = rgb[c];
            }
        }
    }
    return rows;
}

}  // namespace

std::string EncodePng24(const std::uint8_t* pixels, int width, int height, std::size_t stride,
                        int zlibLevel) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("PNG picture without pixels");
    const std::vector<Bytef> rows = FilteredRows(pixels, width, height, stride);
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, rows.data(),
                  static_cast<uLong>(rows.size()), zlibLevel) != Z_OK) {
        throw std::runtime_error("PNG compression failed");
    }
    packed.resize(packedSize);
    if (packed.size() > std::numeric_limits<std::int32_t>::max()) {
        throw std::invalid_argument("PNG picture too large for one chunk");
    }

    std::string header;
    Put32(header, static_cast<std::uint32_t>(width));
    Put32(header, static_cast<std::uint32_t>(height));
    header += std::string_view("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no interlace

    std::string out(kSignature);
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}
