#include "model/metrics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "near_extended.h"

namespace {

constexpr long double kInfinity = std::numeric_limits<long double>::infinity();

long double Amplitude(long double db) {
    return std::pow(10.0L, db / 20);
}

// A pattern with its maximum 1 at index `peak`, every other sample at `floorDb`, except the
// given (offset from the peak, level in dB) pairs; offsets wrap across the 0/360 seam.
TPattern Shaped(int peak, long double floorDb,
                const std::vector<std::pair<int, long double>>& levels) {
    TPattern pattern;
    pattern.Samples.fill(Amplitude(floorDb));
    for (const auto& [offset, db] : levels) {
        pattern.Samples[static_cast<unsigned>(((peak + offset) % 360 + 360) % 360)] =
            std::isinf(db) ? 0 : Amplitude(db);
    }
    pattern.Samples[static_cast<unsigned>(peak % 360)] = 1;
    pattern.Samples[360] = pattern.Samples[0];
    pattern.MaxGain = 1;
    pattern.MaxGainAngle = peak;
    return pattern;
}

TEST(Metrics, AllZeroPatternHasNoMetrics) {
    TPattern pattern;
    EXPECT_FALSE(ComputeMetrics(pattern).has_value());
}

TEST(Metrics, FlatPatternHasFullBeamNoLobeNoNulls) {
    const auto metrics = ComputeMetrics(Shaped(0, 0, {}));
    ASSERT_TRUE(metrics);
    EXPECT_EQ(metrics->BeamwidthDegrees, 360);
    EXPECT_EQ(metrics->FrontToBackDb, 0);
    EXPECT_FALSE(metrics->SideLobeDb);
    EXPECT_TRUE(metrics->NullBearings.empty());
}

struct TBeamCase {
    const char* Name;
    int Peak;
    std::vector<std::pair<int, long double>> Levels;
    long double Width;  // degrees
};

// The -3 dB point lies between the last sample at or above it and the first below, linearly
// in decibels, wherever the maximum sits, including astride the seam and at sample 360.
TEST(Metrics, BeamwidthInterpolatesTheHalfPowerPointsOnBothSides) {
    const std::vector<TBeamCase> cases = {
        {"symmetric", 90, {{1, -2}, {-1, -2}, {2, -4}, {-2, -4}}, 3},
        {"asymmetric",
         90,
         {{1, -1}, {2, -2}, {3, -5}, {-1, -2}, {-2, -5}},
         2 + 1 / 3.0L + 1 + 1 / 3.0L},
        {"across the seam", 359, {{1, -2}, {-1, -2}, {2, -4}, {-2, -4}}, 3},
        {"peak at sample 360", 360, {{1, -2}, {-1, -2}, {2, -4}, {-2, -4}}, 3},
        {"zero beyond the edge", 45, {{1, -2}, {2, -kInfinity}, {-1, -4}}, 1 + 0.75L},
    };
    for (const auto& c : cases) {
        const auto metrics = ComputeMetrics(Shaped(c.Peak, -50, c.Levels));
        ASSERT_TRUE(metrics) << c.Name;
        EXPECT_TRUE(NearExtended(metrics->BeamwidthDegrees, c.Width, 1e-15L)) << c.Name;
    }
}

TEST(Metrics, FrontToBackComparesTheOppositeSampleAndIsInfiniteAtZero) {
    EXPECT_TRUE(
        NearExtended(ComputeMetrics(Shaped(10, -50, {{180, -20}}))->FrontToBackDb, 20, 1e-15L));
    EXPECT_TRUE(
        NearExtended(ComputeMetrics(Shaped(300, -50, {{180, -7}}))->FrontToBackDb, 7, 1e-15L));
    EXPECT_EQ(ComputeMetrics(Shaped(10, -50, {{180, -kInfinity}}))->FrontToBackDb, kInfinity);
}

// The main lobe ends at the first local minimum on each side; a rise within rounding of the
// maximum does not end it.
TEST(Metrics, SideLobeIsTheHighestSampleOutsideTheMainLobe) {
    const auto lobed = ComputeMetrics(
        Shaped(100, -30, {{1, -6}, {2, -40}, {3, -10}, {-1, -6}, {-2, -35}, {-3, -12}}));
    ASSERT_TRUE(lobed->SideLobeDb);
    EXPECT_TRUE(NearExtended(*lobed->SideLobeDb, -10, 1e-15L));

    TPattern shoulder = Shaped(100, -30, {{1, -6}, {2, -6}, {3, -40}, {4, -20}});
    shoulder.Samples[102] = shoulder.Samples[101] * (1 + 1e-13L);
    const auto rounded = ComputeMetrics(shoulder);
    ASSERT_TRUE(rounded->SideLobeDb);
    EXPECT_TRUE(NearExtended(*rounded->SideLobeDb, -20, 1e-15L));
}

TEST(Metrics, NullsAreRunCentresInAscendingBearings) {
    // Index i lies at bearing (i + 180) mod 360; the peak at index 0 is bearing 180.
    const auto metrics = ComputeMetrics(Shaped(
        0, -10, {{10, -45}, {200, -41}, {201, -60}, {300, -kInfinity}, {301, -50}, {302, -50}}));
    ASSERT_TRUE(metrics);
    EXPECT_EQ(metrics->NullBearings, (std::vector<long double>{20.5L, 121, 190}));
}

}  // namespace
