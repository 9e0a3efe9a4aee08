#include "cli/realtext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <random>
#include <string>

#include "requirements.h"

namespace {

// What "%.{digits}Lg" writes in the "C" locale.
std::string Reference(long double x, int digits = 21) {
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, digits);
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

using TLimits = std::numeric_limits<long double>;

struct TShortestCase {
    const char* Name;
    long double Value;
    const char* Text;
};

void PrintTo(const TShortestCase& row, std::ostream* out) {
    *out << row.Name;
}

class ShortestText : public testing::TestWithParam<TShortestCase> {};

TEST_P(ShortestText, WritesTheFewestDigitsThatReadBack) {
    EXPECT_EQ(FormatShortest(GetParam().Value), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ShortestText,
    testing::Values(
        TShortestCase{"OneTwentieth", 0.05L, "0.05"}, TShortestCase{"OneTenth", 0.1L, "0.1"},
        TShortestCase{"NextAfterOneTenth", std::nextafter(0.1L, 1.0L), "0.10000000000000000001"},
        TShortestCase{"OneThird", 1.0L / 3, "0.33333333333333333334"},
        TShortestCase{"NegativeQuarter", -0.25L, "-0.25"}, TShortestCase{"One", 1.0L, "1"},
        TShortestCase{"TwentyOneDigits", 0xc.ed7b3ec01c57f05p+0L, "12.9276618212719254285"},
        TShortestCase{"TenMillionth", 1e-7L, "1e-07"},
        TShortestCase{"TenThousandth", 1e-4L, "0.0001"},
        TShortestCase{"HundredThousand", 1e5L, "100000"}, TShortestCase{"Ten", 10.0L, "10"},
        TShortestCase{"TwentyThousandFive", 20005.0L, "20005"},
        TShortestCase{"Integer", 123456.0L, "123456"},
        TShortestCase{"TenToTheTwentyFirst", 1e21L, "1e+21"},
        TShortestCase{"BeyondTheFastRange", 1.5e30L, "1.5e+30"},
        TShortestCase{"TwoToThe53PlusOne", 0x1p53L + 1, "9007199254740993"},
        TShortestCase{"TwoToThe64MinusOne", 0x1p64L - 1, "18446744073709551615"},
        TShortestCase{"TwoToThe64", 0x1p64L, "18446744073709551616"},
        // Its 19 digits nearest (3.689348814741910323e+19) read as its lower neighbour.
        TShortestCase{"TwoToThe65", 0x1p65L, "36893488147419103232"},
        TShortestCase{"Zero", 0.0L, "0"}, TShortestCase{"NegativeZero", -0.0L, "-0"},
        TShortestCase{"Largest", TLimits::max(), "1.189731495357231765e+4932"},
        TShortestCase{"Lowest", TLimits::lowest(), "-1.189731495357231765e+4932"},
        TShortestCase{"SmallestNormal", TLimits::min(), "3.3621031431120935063e-4932"},
        TShortestCase{"LargestDenormal", std::nextafter(TLimits::min(), 0.0L),
                      "3.362103143112093506e-4932"},
        TShortestCase{"SmallestDenormal", TLimits::denorm_min(), "4e-4951"},
        // Its correctly rounded 20 digits (...271e-4922) read as its lower neighbour, which lies
        // nearer than the one above.
        TShortestCase{"PowerOfTwoNearerItsLowerNeighbour", 0x1p-16350L,
                      "1.4440123045445249272e-4922"},
        TShortestCase{"Infinity", TLimits::infinity(), "inf"},
        TShortestCase{"NegativeInfinity", -TLimits::infinity(), "-inf"},
        TShortestCase{"NotANumber", TLimits::quiet_NaN(), "nan"}),
    [](const testing::TestParamInfo<TShortestCase>& info) { return std::string(info.param.Name); });

// A sweep's parameter from 0 to 1 in 20 steps, computed as the sweep computes it.
TEST(ShortestText, WritesTheStepsOfASweepAsTheirDecimals) {
    const char* const expected[] = {"0",    "0.05", "0.1",  "0.15", "0.2",  "0.25", "0.3",
                                    "0.35", "0.4",  "0.45", "0.5",  "0.55", "0.6",  "0.65",
                                    "0.7",  "0.75", "0.8",  "0.85", "0.9",  "0.95", "1"};
    for (int k = 0; k <= 20; ++k) {
        const long double t = k / 20.0L;
        EXPECT_EQ(FormatShortest(0.0L * (1 - t) + 1.0L * t), expected[k]);
    }
}

// The significant digits of a text, without sign, point, exponent or zeros at either end.
std::string DigitsOf(const std::string& text) {
    std::string digits;
    for (const char c : text.substr(0, text.find('e'))) {
        if (c >= '0' && c <= '9' && !(digits.empty() && c == '0')) digits += c;
    }
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    return digits;
}

// Random values where sweeps' parameters lie and, one in ten (the library reads and writes
// those slowly), over the whole range with denormals: each reads back, one digit fewer does not,
// and where the correctly rounded text of as many digits reads back it is that text.
TEST(ShortestText, ReadsBackWhereOneDigitFewerDoesNot) {
    std::mt19937_64 random(80);
    for (int i = 0; i < 250000; ++i) {
        const int binary = i % 10 == 0 ? static_cast<int>(random() % 32830) - 16508
                                       : static_cast<int>(random() % 94) - 87;
        // Powers of two among them: the neighbour below lies nearer than the one above.
        const std::uint64_t significand = i % 64 == 1 ? 1ULL << 63 : random() | (1ULL << 63);
        long double x = std::ldexp(static_cast<long double>(significand), binary);
        if (random() & 1) x = -x;
        const std::string text = FormatShortest(x);
        const int digits = static_cast<int>(std::max<std::size_t>(DigitsOf(text).size(), 1));
        ASSERT_TRUE(SameValue(std::strtold(text.c_str(), nullptr), x)) << text;
        if (digits > 1) {
            const std::string fewer = Reference(x, digits - 1);
            ASSERT_FALSE(SameValue(std::strtold(fewer.c_str(), nullptr), x)) << text;
        }
        const std::string rounded = Reference(x, digits);
        if (SameValue(std::strtold(rounded.c_str(), nullptr), x)) {
            ASSERT_EQ(DigitsOf(text), DigitsOf(rounded)) << text << " " << rounded;
        }
    }
}

// The program may run under a locale whose decimal mark is a comma.
TEST(ShortestText, IgnoresTheProcessLocale) {
    ASSERT_TRUE(RussianLocaleInstalled());
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "ru_RU.UTF-8");
    const std::string fast = FormatShortest(-0.05L);
    const std::string library = FormatShortest(1.5e30L);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(fast, "-0.05");
    EXPECT_EQ(library, "1.5e+30");
}

}  // namespace
