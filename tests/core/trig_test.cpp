#include "model/trig.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>

#include "near_extended.h"

// The instructions under test compute in the 80-bit extended format, and the tolerances below are
// in its units.
static_assert(LDBL_MANT_DIG == 64, "long double must be the 80-bit extended format");

namespace {

// The processor reduces with a 66-bit approximation of pi, so its error against a fully
// reduced sine grows with the argument: within a few units of 2^-64 for the phases a
// pattern produces, and about |x| / 40 such units near 1e4.
long double Tolerance(long double x) {
    return 0x1p-64L * (4 + std::fabs(x) / 16);
}

TEST(ExtendedTrig, AgreesWithFullyReducedSineAndCosine) {
    std::mt19937_64 random(20240601);
    for (const long double limit : {1.0L, 20.0L, 1000.0L, 1e4L}) {
        std::uniform_real_distribution<long double> argument(-limit, limit);
        for (int n = 0; n < 20000; ++n) {
            const long double x = argument(random);
            ASSERT_TRUE(NearExtended(ExtSin(x), std::sin(x), Tolerance(x))) << x;
            ASSERT_TRUE(NearExtended(ExtCos(x), std::cos(x), Tolerance(x))) << x;
        }
    }
}

TEST(ExtendedTrig, IsExactWhereTheValueIsRepresentable) {
    EXPECT_EQ(ExtSin(0), 0);
    EXPECT_EQ(ExtCos(0), 1);
    EXPECT_TRUE(std::signbit(ExtSin(-0.0L)));
    EXPECT_EQ(ExtCos(3.14159265358979323846L), -1);
}

TEST(ExtendedTrig, GivesZeroWhereTheProcessorCannotReduce) {
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double cases[] = {0x1p63L,
                                 -0x1p63L,
                                 1e30L,
                                 -1e4000L,
                                 inf,
                                 -inf,
                                 std::numeric_limits<long double>::quiet_NaN()};
    for (const long double x : cases) {
        EXPECT_EQ(ExtSin(x), 0) << x;
        EXPECT_EQ(ExtCos(x), 0) << x;
    }
    EXPECT_NE(ExtSin(0x1p63L - 1), 0);  // the largest argument still reduced
}

// The fast path takes both of a phase in one call of the C library: a bracket of a search, and
// so the exact figure placed in it, must not move with that.
TEST(FastTrig, BothAtOnceAreTheBitsOfEachAlone) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> argument(-200, 200);
    for (int n = 0; n < 200000; ++n) {
        const double x = argument(random);
        double sine = 0;
        double cosine = 0;
        FastSinCos(x, sine, cosine);
        ASSERT_EQ(sine, FastSin(x)) << x;
        ASSERT_EQ(cosine, FastCos(x)) << x;
    }
}

}  // namespace
