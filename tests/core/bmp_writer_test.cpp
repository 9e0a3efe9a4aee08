#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "plot/bmpwriter.h"

namespace {

std::uint32_t Read32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(s[at + i]);
    return v;
}

std::uint16_t Read16(const std::string& s, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(s[at]) |
                                      static_cast<std::uint8_t>(s[at + 1]) << 8);
}

TEST(BmpWriterTest, HeaderOfTheExportPictureHasTheFixedFields) {
    const std::vector<std::uint8_t> pixels(880 * 880 * 4, 0xFF);
    const std::string bmp = EncodeBmp32(pixels.data(), 880, 880, 880 * 4);
    ASSERT_EQ(bmp.size(), 3097654u);
    const struct {
        std::size_t Offset;
        int Size;
        std::uint32_t Value;
    } fields[] = {
        {0, 2, 0x4D42}, {2, 4, 3097654}, {6, 2, 0},  {8, 2, 0},   {10, 4, 54}, {14, 4, 40},
        {18, 4, 880},   {22, 4, 880},    {26, 2, 1}, {28, 2, 32}, {30, 4, 0},  {34, 4, 3097600},
        {38, 4, 0},     {42, 4, 0},      {46, 4, 0}, {50, 4, 0},
    };
    for (const auto& f : fields) {
        const std::uint32_t v = f.Size == 2 ? Read16(bmp, f.Offset) : Read32(bmp, f.Offset);
        EXPECT_EQ(v, f.Value) << "offset " << f.Offset;
    }
}

TEST(BmpWriterTest, RowsGoBottomUpWithTheUnusedByteZeroAndStridePaddingDropped) {
    // 2 x 3 picture, rows 12 bytes apart (4 bytes of padding per row).
    const std::vector<std::uint8_t> pixels{
        1,  2,  3,  0xFF, 4,  5,  6,  0xFF, 0xEE, 0xEE, 0xEE, 0xEE,  // top row
        7,  8,  9,  0xFF, 10, 11, 12, 0xFF, 0xEE, 0xEE, 0xEE, 0xEE,
        13, 14, 15, 0xFF, 16, 17, 18, 0xFF, 0xEE, 0xEE, 0xEE, 0xEE,  // bottom row
    };
    const std::string bmp = EncodeBmp32(pixels.data(), 2, 3, 12);
    ASSERT_EQ(bmp.size(), 54u + 2 * 3 * 4);
    const std::string rows = bmp.substr(54);
    const std::vector<std::uint8_t> expected{13, 14, 15, 0, 16, 17, 18, 0, 7, 8, 9, 0,
                                             10, 11, 12, 0, 1,  2,  3,  0, 4, 5, 6, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(rows.begin(), rows.end()), expected);
    EXPECT_EQ(Read32(bmp, 22), 3u);
}

TEST(BmpWriterTest, RefusesPicturesWithoutPixels) {
    const std::uint8_t pixel[4] = {};
    EXPECT_THROW(EncodeBmp32(pixel, 0, 1, 4), std::invalid_argument);
    EXPECT_THROW(EncodeBmp32(pixel, 1, -1, 4), std::invalid_argument);
}

}  // namespace
