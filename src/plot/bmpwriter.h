#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr int kBmpHeaderSize = 14 + 40;

// The BMP file of a 32-bit picture: file and information headers, no colour table, rows
// bottom-up, each pixel blue, green, red and an unused byte written as 0; resolution 0.
// pixels holds height rows top-down, stride bytes apart, of width pixels of 4 bytes in the
// same order (the unused byte is ignored). Throws std::invalid_argument for a width or height
// that is not positive, or a picture too large for the file's 32-bit sizes.
std::string EncodeBmp32(const std::uint8_t* pixels, int width, int height, std::size_t stride);

// The 54 bytes of headers of that file, for a picture written row by row.
std::string Bmp32Headers(int width, int height);
