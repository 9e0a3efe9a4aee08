#include "cli/realtext.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

namespace {

std::string Reference(long double x) {
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 21);
    return std::string(buffer, end.ptr);
}

// The fast digits must be the library's, to the last one and on exact ties, across the range
// they cover and beyond it.
TEST(RoundTripText, WritesWhatTheLibraryWritesForEveryValue) {
    std::mt19937_64 random(21);
    std::uniform_real_distribution<long double> unit(0, 1);
    for (int i = 0; i < 300000; ++i) {
        long double x = unit(random) * std::pow(10.0L, static_cast<int>(random() % 44) - 22);
        if (random() & 1) x = -x;
        ASSERT_EQ(FormatRoundTrip(x), Reference(x)) << static_cast<double>(x);
    }
    for (int i = 0; i < 100000; ++i) {
        const long double x = std::ldexp(static_cast<long double>(random() | (1ULL << 63)),
                                         static_cast<int>(random() % 160) - 140);
        ASSERT_EQ(FormatRoundTrip(x), Reference(x));
    }
    for (const long double x : {0.0L, -0.0L, 1.0L, 4.0L, 0.1L, 0.125L, 1e-4L, 9.99999e-5L, 1e-7L,
                                1e20L, 1e21L, 123456789012345678901.0L, 2.5L, 1e-300L}) {
        EXPECT_EQ(FormatRoundTrip(x), Reference(x));
    }
}

}  // namespace
