#include "model/wirekernel.h"

#include <gsl/gsl_sf_expint.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <vector>

namespace {

// The fill takes differences of E1 at arguments a segment apart, so every value must keep its
// absolute digits: this much of max(1, |E1|).
constexpr double kAbsolute = 1e-15;

double Allowance(std::complex<double> e1) {
    return kAbsolute * std::max(1.0, std::abs(e1));
}

TEST(ExpIntegralImaginary, AgreesWithTheLibrarySineAndCosineIntegralsFromThinWireToFarField) {
    // Geometric steps from far along a thin wire's own axis out to a few hundred wavelengths.
    constexpr int kSamples = 4000;
    for (int i = 0; i <= kSamples; ++i) {
        const double x = 1e-8 * std::pow(1e11, double(i) / kSamples);
        gsl_sf_result si{}, ci{};
        ASSERT_EQ(gsl_sf_Si_e(x, &si), 0);
        ASSERT_EQ(gsl_sf_Ci_e(x, &ci), 0);
        const std::complex<double> e1 = ExpIntegralImaginary(x);
        EXPECT_NEAR(e1.real(), -ci.val, ci.err + Allowance(e1)) << "x = " << x;
        EXPECT_NEAR(e1.imag(), si.val - std::numbers::pi / 2, si.err + Allowance(e1))
            << "x = " << x;
    }
}

TEST(ExpIntegralImaginary, HasNoStepWhereOneApproximationHandsOverToTheNext) {
    // The hand-over from the series to the auxiliary functions at 2, then quarter octaves to 256.
    std::vector<double> joins;
    for (double octave = 2; octave <= 256; octave *= 2)
        for (int quarter = 0; quarter < 4; ++quarter) joins.push_back(octave * (1 + quarter / 4.0));
    for (const double join : joins) {
        const double below = std::nextafter(join, 0.0);
        const double above = std::nextafter(join, 1e9);
        const std::complex<double> low = ExpIntegralImaginary(below);
        const std::complex<double> high = ExpIntegralImaginary(above);
        // |dE1(jx)/dx| = 1/x: what E1 itself moves over the two steps of x.
        const double slope = (above - below) / join;
        EXPECT_LE(std::abs(high - low), Allowance(low) + slope) << "join at " << join;
    }
}

TEST(ExpIntegralImaginary, KeepsTheSmallPartOfTheCosineIntegralNearZero) {
    // Ci(x) = gamma + ln x - x^2/4 + x^4/96 - ...: the logarithm apart, what is left must come
    // out of -Re E1 to within the rounding of the logarithm alone.
    for (double x = 1e-8; x < 0.5; x *= 1.7) {
        const double logarithmic = std::numbers::egamma + std::log(x);
        const double small = -ExpIntegralImaginary(x).real() - logarithmic;
        const double expected = -x * x / 4 + x * x * x * x / 96;
        EXPECT_NEAR(small, expected,
                    4 * std::numeric_limits<double>::epsilon() * std::fabs(logarithmic) +
                        std::pow(x, 6) / 4320)
            << "x = " << x;
    }
}

}  // namespace
