#include "model/rounding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "model/errors.h"

namespace {

constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
    struct Case {
        long double X;
        std::int64_t N;
    };
    const Case cases[] = {
        {0.5L, 0},
        {1.5L, 2},
        {2.5L, 2},
        {-0.5L, 0},
        {-1.5L, -2},
        {16.0L, 16},
        {0.49L, 0},
        {-2.51L, -3},
        {63.99L, 64},
        {-9223372036854775808.0L, INT64_MIN},
        {9223372036854775807.0L, INT64_MAX},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundHalfEven(c.X), c.N) << static_cast<double>(c.X);
    }
}

TEST(RoundHalfEvenTest, OutOfRangeIsAnInvalidOperation) {
    const long double twoTo63 = 9223372036854775808.0L;
    const long double values[] = {twoTo63, twoTo63 - 0.5L, -twoTo63 - 1.0L, 1E30L, kInf, -kInf,
                                  kNaN};
    for (const long double x : values) {
        try {
            RoundHalfEven(x);
            ADD_FAILURE() << "no error for " << static_cast<double>(x);
        } catch (const EHandlerError& e) {
            EXPECT_STREQ(e.what(), kInvalidOpText);
        }
    }
}

}  // namespace
