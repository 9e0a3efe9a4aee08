#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The PNG file of a picture: 8-bit RGB, no interlace, rows filtered by their left neighbour
// and deflated at the zlib level (1 fastest .. 9 smallest). pixels holds height rows
// top-down, stride bytes apart, of width pixels of 4 bytes: blue, green, red and a spare byte.
// Throws std::invalid_argument for a width or height that is not positive, std::runtime_error
// when zlib fails.
std::string EncodePng24(const std::uint8_t* pixels, int width, int height, std::size_t stride,
                        int zlibLevel);
