#include "model/taper.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/pattern.h"

namespace {

TArray Line(int count, long double spacing) {
    TArray array;
    for (int k = 1; k <= count; ++k) {
        array.Emitter(k) = {(k - (count + 1) / 2.0L) * spacing, 0, 0, true};
    }
    return array;
}

// The highest side lobe, in dB, of the broadside line's pattern in the half-plane of one of its
// two main lobes, on a fine grid of the continuous pattern.
double HighestSideLobeDb(const TArray& array) {
    const auto level = [&](double degrees) {
        return static_cast<double>(
            FieldValue(array, {TFieldModel::FreeSpace, 0}, degrees * static_cast<double>(kDegree)));
    };
    const double top = level(0);
    double highest = 0;
    bool pastNull = false;
    double previous = top;
    for (double a = 0.01; a <= 90; a += 0.01) {
        const double v = level(a);
        if (v > previous) pastNull = true;
        if (pastNull) highest = std::max(highest, v);
        previous = v;
    }
    return 20 * std::log10(highest / top);
}

TEST(Taper, BinomialWeightsArePascalsTriangle) {
    const auto w = TaperWeights({TTaperKind::Binomial}, 5);
    const long double row[] = {1, 4, 6, 4, 1};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_NEAR(static_cast<double>(w[i]), row[i] / 6.0, 1e-15);
}

TEST(Taper, ChebyshevMatchesPublishedWeightsAndItsSideLobeLevel) {
    // Dolph-Chebyshev, 8 elements at -30 dB, and a published 16-element window at -40 dB.
    const double eight[] = {0.2622, 0.5187, 0.8120, 1.0000};
    const auto w8 = TaperWeights({TTaperKind::Chebyshev, -30}, 8);
    const double sixteen[] = {0.1138, 0.1964, 0.3319, 0.4926, 0.6613, 0.8163, 0.9353, 1.0000};
    const auto w16 = TaperWeights({TTaperKind::Chebyshev, -40}, 16);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(static_cast<double>(w8[i]), eight[i], 1e-4);
        EXPECT_EQ(w8[i], w8[7 - i]);
    }
    for (std::size_t i = 0; i < 8; ++i) EXPECT_NEAR(static_cast<double>(w16[i]), sixteen[i], 1e-4);
    TArray array = Line(8, 0.5L);
    ASSERT_FALSE(ApplyTaper(array, {TTaperKind::Chebyshev, -30}));
    EXPECT_NEAR(HighestSideLobeDb(array), -30, 0.05);
}

// The n-bar distribution sampled at eight elements lets its first side lobe rise above the
// continuous design's level: -28.3 dB for -30.
TEST(Taper, TaylorHoldsItsSideLobesNearTheLevel) {
    TArray array = Line(8, 0.5L);
    ASSERT_FALSE(ApplyTaper(array, {TTaperKind::Taylor, -30, 4}));
    EXPECT_EQ(array.Emitter(4).Amplitude, 1);
    EXPECT_LT(array.Emitter(1).Amplitude, array.Emitter(2).Amplitude);
    EXPECT_NEAR(HighestSideLobeDb(array), -28.32, 0.05);
    EXPECT_EQ(TaperWeights({TTaperKind::Taylor, -30, 4}, 8),
              TaperWeights({TTaperKind::Taylor, -30}, 8));
}

TEST(Taper, RefusesEmittersOffAnEvenLine) {
    TArray array = Line(4, 0.5L);
    array.Emitter(3).Y = 0.1L;
    const auto why = ApplyTaper(array, {TTaperKind::Binomial});
    ASSERT_TRUE(why);
    EXPECT_EQ(why->Argument, "3");
    EXPECT_EQ(array.Emitter(1).Amplitude, 1);
    array.Emitter(3).Y = 0;
    array.Emitter(3).X = 0.3L;  // on the line, unevenly
    EXPECT_TRUE(ApplyTaper(array, {TTaperKind::Binomial}));
}

}  // namespace
