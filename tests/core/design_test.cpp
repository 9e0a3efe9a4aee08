#include "model/design.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "model/directivity.h"
#include "model/pattern.h"

namespace {

// Directivity towards compass bearing b at elevation e in free space, dBi.
double DirectivityTowards(const TArray& array, long double bearing, long double elevation) {
    const long double f =
        FieldValue(array, {TFieldModel::FreeSpace, elevation}, (bearing + 180) * kDegree);
    return static_cast<double>(10 * std::log10(f * f / MeanRadiatedPower(array)));
}

TArray Pair(long double spacing) {
    TArray array;
    array.Emitter(1) = {-spacing / 2, 0, 0, true};
    array.Emitter(2) = {spacing / 2, 0, 0, true};
    return array;
}

TEST(Design, CloseIsotropicPairApproachesTheEndFireLimit) {
    double previous = 0;
    for (const long double spacing : {0.25L, 0.1L, 0.02L}) {
        TArray array = Pair(spacing);
        TDesignReport report;
        ASSERT_FALSE(DesignMaxDirectivity(array, {}, {90, 0, {}}, report));
        const double d = DirectivityTowards(array, 90, 0);
        EXPECT_GT(d, previous);
        previous = d;
    }
    EXPECT_NEAR(previous, 10 * std::log10(4.0), 0.01);
}

TEST(Design, NoRandomExcitationBeatsTheDesign) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<long double> place(-0.6L, 0.6L), unit(0, 1);
    for (const int type : {etOmni, etVerticalDipole, etHorizontalDipoleWE}) {
        TArray array;
        array.EmitterType = type;
        for (int k = 1; k <= 5; ++k) array.Emitter(k) = {place(random), place(random), 0, true};
        const TDesignTarget target{30, 20, {}};
        TDesignReport report;
        ASSERT_FALSE(DesignMaxDirectivity(array, {}, target, report));
        const double designed = DirectivityTowards(array, 30, 20);
        for (int trial = 0; trial < 200; ++trial) {
            TArray other = array;
            for (TEmitter& e : other.Emitters) {
                e.Phase = unit(random);
                e.Amplitude = unit(random);
            }
            ASSERT_LE(DirectivityTowards(other, 30, 20), designed + 1e-9) << type;
        }
    }
}

TEST(Design, NullsAreExact) {
    TArray array;
    for (int k = 1; k <= 6; ++k) array.Emitter(k) = {(k - 3.5L) * 0.4L, 0.1L * (k % 2), 0, true};
    TDesignReport report;
    ASSERT_FALSE(DesignMaxDirectivity(array, {}, {0, 0, {40, 300, 200}}, report));
    const long double peak = FieldValue(array, {TFieldModel::FreeSpace, 0}, 180 * kDegree);
    for (const long double null : {40.0L, 300.0L, 200.0L}) {
        const long double v =
            FieldValue(array, {TFieldModel::FreeSpace, 0}, (null + 180) * kDegree);
        EXPECT_LT(20 * std::log10(v / peak), -100) << static_cast<double>(null);
    }
}

TEST(Design, FrontToBackReachesTheCardioid) {
    TArray array = Pair(0.25L);
    TDesignReport report;
    DesignFrontToBack(array, {90, 0, {}}, false, false, report);
    EXPECT_GT(report.Figure, 60);
    EXPECT_GT(report.Evaluations, 0);
    const long double front = FieldValue(array, {TFieldModel::FreeSpace, 0}, 270 * kDegree);
    const long double back = FieldValue(array, {TFieldModel::FreeSpace, 0}, 90 * kDegree);
    EXPECT_GT(20 * std::log10(front / std::max(back, 1e-300L)), 60);
    // The same seed, the same design.
    TArray again = Pair(0.25L);
    DesignFrontToBack(again, {90, 0, {}}, false, false, report);
    EXPECT_EQ(again.Emitter(2).Phase, array.Emitter(2).Phase);
}

}  // namespace
