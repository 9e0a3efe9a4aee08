#include "model/metrics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/angles.h"
#include "model/beamwidth.h"
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

// The pattern between its samples, linear in decibels: the continuous pattern of a shaped
// test pattern, so its half-power points are the interpolated ones.
TPatternFunction Interpolant(const TPattern& pattern) {
    return [pattern](long double az) {
        const long double below = std::floor(az);
        const auto sample = [&](long double i) {
            return pattern.Samples[static_cast<unsigned>((static_cast<long>(i) % 360 + 360) % 360)];
        };
        const long double a = sample(below);
        const long double b = sample(below + 1);
        const long double t = az - below;
        if (t == 0) return a;
        if (a == 0 || b == 0) return 0.0L;
        return std::pow(10.0L, ((1 - t) * std::log10(a) + t * std::log10(b)));
    };
}

std::optional<TPatternMetrics> Metrics(const TPattern& pattern) {
    return ComputeMetrics(pattern, Interpolant(pattern));
}

// The amplitude level of the half-power points, -3.0103 dB, as a positive number.
const long double kHalfPowerDb = -20 * std::log10(kHalfPowerRatio);

TEST(Metrics, AllZeroPatternHasNoMetrics) {
    TPattern pattern;
    EXPECT_FALSE(Metrics(pattern).has_value());
}

TEST(Metrics, FlatPatternHasFullBeamNoLobeNoNulls) {
    const auto metrics = Metrics(Shaped(0, 0, {}));
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

// The half-power point is solved between the last sample at or above it and the first below,
// wherever the maximum sits, including astride the seam and at sample 360.
TEST(Metrics, BeamwidthInterpolatesTheHalfPowerPointsOnBothSides) {
    const std::vector<TBeamCase> cases = {
        {"symmetric", 90, {{1, -2}, {-1, -2}, {2, -4}, {-2, -4}}, kHalfPowerDb},
        {"asymmetric",
         90,
         {{1, -1}, {2, -2}, {3, -5}, {-1, -2}, {-2, -5}},
         2 + (kHalfPowerDb - 2) / 3 + 1 + (kHalfPowerDb - 2) / 3},
        {"across the seam", 359, {{1, -2}, {-1, -2}, {2, -4}, {-2, -4}}, kHalfPowerDb},
        {"peak at sample 360", 360, {{1, -2}, {-1, -2}, {2, -4}, {-2, -4}}, kHalfPowerDb},
        {"zero beyond the edge", 45, {{1, -2}, {2, -kInfinity}, {-1, -4}}, 1 + kHalfPowerDb / 4},
    };
    for (const auto& c : cases) {
        const auto metrics = Metrics(Shaped(c.Peak, -50, c.Levels));
        ASSERT_TRUE(metrics) << c.Name;
        EXPECT_TRUE(NearExtended(metrics->BeamwidthDegrees, c.Width, 1e-8L)) << c.Name;
    }
}

TEST(Metrics, FrontToBackComparesTheOppositeSampleAndIsInfiniteAtZero) {
    EXPECT_TRUE(NearExtended(Metrics(Shaped(10, -50, {{180, -20}}))->FrontToBackDb, 20, 1e-15L));
    EXPECT_TRUE(NearExtended(Metrics(Shaped(300, -50, {{180, -7}}))->FrontToBackDb, 7, 1e-15L));
    EXPECT_EQ(Metrics(Shaped(10, -50, {{180, -kInfinity}}))->FrontToBackDb, kInfinity);
}

// The main lobe ends at the first local minimum on each side; a rise within rounding of the
// maximum does not end it.
TEST(Metrics, SideLobeIsTheHighestSampleOutsideTheMainLobe) {
    const auto lobed =
        Metrics(Shaped(100, -30, {{1, -6}, {2, -40}, {3, -10}, {-1, -6}, {-2, -35}, {-3, -12}}));
    ASSERT_TRUE(lobed->SideLobeDb);
    EXPECT_TRUE(NearExtended(*lobed->SideLobeDb, -10, 1e-15L));

    TPattern shoulder = Shaped(100, -30, {{1, -6}, {2, -6}, {3, -40}, {4, -20}});
    shoulder.Samples[102] = shoulder.Samples[101] * (1 + 1e-13L);
    const auto rounded = Metrics(shoulder);
    ASSERT_TRUE(rounded->SideLobeDb);
    EXPECT_TRUE(NearExtended(*rounded->SideLobeDb, -20, 1e-15L));
}

struct TMainLobeCase {
    const char* Name;
    std::vector<std::pair<int, long double>> Levels;
    std::vector<long double> MainLobes;  // bearings
    long double SideLobeDb;
};

// The peak at index 0 is bearing 180; a lobe at index 180 is the mirror beam at bearing 0.
TEST(Metrics, LobesWithinAHundredthOfADecibelOfTheMaximumAreMainLobes) {
    const std::vector<std::pair<int, long double>> beam = {
        {1, -6}, {-1, -6}, {2, -40}, {-2, -40}, {90, -20}};
    const auto with = [&beam](long double mirrorDb) {
        auto levels = beam;
        levels.insert(levels.end(),
                      {{180, mirrorDb}, {179, -6}, {181, -6}, {178, -40}, {182, -40}});
        return levels;
    };
    const std::vector<TMainLobeCase> cases = {
        {"single beam", beam, {180}, -20},
        {"equal mirror", with(0), {0, 180}, -20},
        {"mirror 0.009 dB down", with(-0.009L), {0, 180}, -20},
        {"mirror 0.011 dB down", with(-0.011L), {180}, -0.011L},
    };
    for (const auto& c : cases) {
        const auto metrics = Metrics(Shaped(0, -30, c.Levels));
        ASSERT_TRUE(metrics) << c.Name;
        EXPECT_EQ(metrics->MainLobeBearings, c.MainLobes) << c.Name;
        ASSERT_TRUE(metrics->SideLobeDb) << c.Name;
        EXPECT_TRUE(NearExtended(*metrics->SideLobeDb, c.SideLobeDb, 1e-12L)) << c.Name;
        EXPECT_EQ(metrics->FirstNullBeamwidthDegrees, 4) << c.Name;
    }
}

struct TContinuousCase {
    const char* Name;
    long double (*Field)(long double radians);
    std::vector<long double> MainLobes;  // bearings
};

// Beams whose peaks fall between the samples, window azimuth 0.3 degrees and its multiples
// of 90 degrees, are placed on the continuous pattern, with or without a fast path.
TEST(Metrics, MainLobePeaksAreSolvedOnTheContinuousPattern) {
    constexpr long double kOffset = 0.3L * kDegree;
    const std::vector<TContinuousCase> cases = {
        {"four equal beams",
         [](long double az) { return std::fabs(std::cos(2 * (az - kOffset))); },
         {0.3L, 90.3L, 180.3L, 270.3L}},
        // The back beam is 0.017 dB down: a side lobe.
        {"a weaker back beam",
         [](long double az) {
             return std::fabs(std::cos(az - kOffset)) * (1 + 1e-3L * std::cos(az - kOffset));
         },
         {180.3L}},
    };
    for (const auto& c : cases) {
        TPattern pattern;
        for (int i = 0; i < kSampleCount; ++i)
            pattern.Samples[static_cast<unsigned>(i)] = c.Field(i * kDegree);
        const auto top = std::max_element(pattern.Samples.begin(), pattern.Samples.end());
        pattern.MaxGain = *top;
        pattern.MaxGainAngle = static_cast<int>(top - pattern.Samples.begin());
        const TPatternFunction exact = [&c](long double az) { return c.Field(az * kDegree); };
        const TPatternFunction fast = [&c](long double az) {
            return static_cast<long double>(static_cast<double>(c.Field(az * kDegree)));
        };
        for (const bool withFastPath : {false, true}) {
            SCOPED_TRACE(std::string(c.Name) + (withFastPath ? ", fast path" : ""));
            const auto metrics =
                ComputeMetrics(pattern, exact, withFastPath ? fast : TPatternFunction{});
            ASSERT_TRUE(metrics);
            ASSERT_EQ(metrics->MainLobeBearings.size(), c.MainLobes.size());
            for (std::size_t n = 0; n < c.MainLobes.size(); ++n) {
                EXPECT_TRUE(NearExtended(metrics->MainLobeBearings[n], c.MainLobes[n], 1e-9L));
            }
        }
    }
}

TEST(Metrics, FrontRatiosAgainstTheBackTheRearHalfAndTheSides) {
    const auto metrics = Metrics(Shaped(30, -50, {{180, -20}, {100, -12}, {-90, -6}, {90, -9}}));
    ASSERT_TRUE(metrics);
    EXPECT_TRUE(NearExtended(metrics->FrontToBackDb, 20, 1e-15L));
    EXPECT_TRUE(NearExtended(metrics->FrontToRearDb, 12, 1e-15L));
    EXPECT_TRUE(NearExtended(metrics->FrontToSideDb, 6, 1e-15L));
    // Exactly 90 degrees away is a side, not the rear.
    const auto side = Metrics(Shaped(30, -50, {{90, -1}, {91, -30}}));
    EXPECT_TRUE(NearExtended(side->FrontToRearDb, 30, 1e-15L));
}

// A sample within 1e-12 of the maximum is rounding noise: a perfect null, not 240 dB.
TEST(Metrics, RoundingNoiseCountsAsZero) {
    const auto metrics = Metrics(Shaped(200, -50, {{180, -250}, {90, -241}, {-90, -239}}));
    ASSERT_TRUE(metrics);
    EXPECT_EQ(metrics->FrontToBackDb, kInfinity);
    EXPECT_TRUE(NearExtended(metrics->FrontToSideDb, 239, 1e-12L));
}

TEST(Metrics, FirstNullBeamwidthSpansTheMainLobe) {
    EXPECT_EQ(
        Metrics(Shaped(100, -30,
                       {{1, -6}, {2, -40}, {3, -10}, {-1, -6}, {-2, -6}, {-3, -35}, {-4, -12}}))
            ->FirstNullBeamwidthDegrees,
        5);
    EXPECT_EQ(Metrics(Shaped(0, 0, {}))->FirstNullBeamwidthDegrees, 360);
}

// Each run of samples below -40 dB is searched on the continuous pattern for its least value;
// this shaped pattern's continuous form joins its samples, so each null is a least sample,
// and a null where the field vanishes over a stretch lies in its middle.
TEST(Metrics, NullsAreTheLeastPointsOfTheirRunsInAscendingBearings) {
    // Index i lies at bearing (i + 180) mod 360; the peak at index 0 is bearing 180.
    const auto metrics = Metrics(Shaped(
        0, -10, {{10, -45}, {200, -41}, {201, -60}, {300, -kInfinity}, {301, -50}, {302, -50}}));
    ASSERT_TRUE(metrics);
    EXPECT_EQ(metrics->NullBearings, (std::vector<long double>{21, 120, 190}));
    // A null placed beside one of the pattern's own shares its run below -40 dB: the sample
    // rising between them parts the two.
    const auto placed =
        Metrics(Shaped(0, -10, {{100, -45}, {101, -70}, {102, -50}, {103, -80}, {104, -45}}));
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->NullBearings, (std::vector<long double>{281, 283}));
}

// The exact pattern costs most of an analysis: the searches that share a bracket (the first
// nulls are nulls as well) or read a placed peak again take each value once.
TEST(Metrics, NoDirectionOfTheExactPatternIsComputedTwice) {
    TArray array;
    array.EmitterType = 1;
    for (int n = 0; n < kEmitterCount; ++n) {
        array.Emitters[static_cast<unsigned>(n)] = {0.25L * (n % 4) - 0.375L,
                                                    0.25L * (n / 4) - 0.125L, 0.05L * n, true, 1};
    }
    const TFieldSpec field{TFieldModel::Window, 0};
    const TPatternFunction exact = ExactFieldFunction(array, field);
    std::map<long double, int> asked;
    const TPatternFunction counted = [&](long double az) {
        ++asked[az];
        return exact(az);
    };
    const auto metrics =
        ComputeMetrics(ComputePattern(array, field), counted, FastFieldFunction(array, field));
    ASSERT_TRUE(metrics);
    ASSERT_FALSE(metrics->NullBearings.empty());
    for (const auto& [az, times] : asked) EXPECT_EQ(times, 1) << az;
}

}  // namespace
