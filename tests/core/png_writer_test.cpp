#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "plot/pngwriter.h"

namespace {

std::uint32_t Big32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<std::uint8_t>(s[at + i]);
    return v;
}

struct TChunk {
    std::string Type;
    std::string Data;
};

// The file's chunks, each checked against its CRC.
std::vector<TChunk> Chunks(const std::string& png) {
    std::vector<TChunk> chunks;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = Big32(png, at);
        const std::string typeAndData = png.substr(at + 4, 4 + length);
        const auto* bytes = reinterpret_cast<const Bytef*>(typeAndData.data());
        EXPECT_EQ(crc32(0, bytes, static_cast<uInt>(typeAndData.size())),
                  Big32(png, at + 8 + length));
        chunks.push_back({typeAndData.substr(0, 4), typeAndData.substr(4)});
        at += 12 + length;
    }
    return chunks;
}

// A picture whose every pixel differs from its left neighbour in each colour, rows padded.
TEST(PngWriterTest, RowsDecodeBackToThePictureAtEveryLevel) {
    constexpr int kWidth = 7;
    constexpr int kHeight = 5;
    constexpr std::size_t kStride = kWidth * 4 + 4;
    std::vector<std::uint8_t> pixels(kStride * kHeight, 0xEE);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            std::uint8_t* p = &pixels[y * kStride + x * 4];
            p[0] = static_cast<std::uint8_t>(37 * x + y);        // blue
            p[1] = static_cast<std::uint8_t>(255 - 50 * x);      // green
            p[2] = static_cast<std::uint8_t>(11 * x * y + 200);  // red
        }
    }
    for (const int level : {1, 3, 9}) {
        const std::string png = EncodePng24(pixels.data(), kWidth, kHeight, kStride, level);
        ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
        const std::vector<TChunk> chunks = Chunks(png);
        ASSERT_EQ(chunks.size(), 3u);
        EXPECT_EQ(chunks[0].Type, "IHDR");
        EXPECT_EQ(Big32(chunks[0].Data, 0), 7u);
        EXPECT_EQ(Big32(chunks[0].Data, 4), 5u);
        EXPECT_EQ(chunks[0].Data.substr(8), std::string("\x08\x02\x00\x00\x00", 5));
        EXPECT_EQ(chunks[1].Type, "IDAT");
        EXPECT_EQ(chunks[2].Type, "IEND");

        std::vector<Bytef> rows(kHeight * (1 + kWidth * 3));
        uLongf size = static_cast<uLongf>(rows.size());
        ASSERT_EQ(
            uncompress(rows.data(), &size, reinterpret_cast<const Bytef*>(chunks[1].Data.data()),
                       static_cast<uLong>(chunks[1].Data.size())),
            Z_OK);
        ASSERT_EQ(size, rows.size());
        for (int y = 0; y < kHeight; ++y) {
            const Bytef* row = &rows[y * (1 + kWidth * 3)];
            ASSERT_EQ(row[0], 1) << "Sub filter";
            std::uint8_t left[3] = {0, 0, 0};
            for (int x = 0; x < kWidth; ++x) {
                const std::uint8_t* p = &pixels[y * kStride + x * 4];
                const std::uint8_t expected[3] = {p[2], p[1], p[0]};
                for (int c = 0; c < 3; ++c) {
                    left[c] = static_cast<std::uint8_t>(left[c] + row[1 + x * 3 + c]);
                    EXPECT_EQ(left[c], expected[c])
                        << "level " << level << " at " << x << "," << y << " channel " << c;
                }
            }
        }
    }
}

TEST(PngWriterTest, PictureWithoutPixelsIsRefused) {
    const std::uint8_t pixel[4] = {};
    EXPECT_THROW(EncodePng24(pixel, 0, 1, 4, 3), std::invalid_argument);
    EXPECT_THROW(EncodePng24(pixel, 1, -1, 4, 3), std::invalid_argument);
}

}  // namespace
