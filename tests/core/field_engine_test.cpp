#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "model/emitters.h"
#include "model/field.h"
#include "model/pattern.h"

namespace {

TArray RandomArray(std::mt19937_64& random, int type) {
    std::uniform_real_distribution<long double> position(-1.5L, 1.5L);
    std::uniform_real_distribution<long double> phase(-2, 2);
    std::uniform_real_distribution<long double> amplitude(0, 2);
    TArray array;
    array.EmitterType = type;
    for (TEmitter& e : array.Emitters) {
        e = {position(random), position(random), phase(random), random() % 3 != 0,
             amplitude(random)};
    }
    array.Emitter(1).Enabled = true;
    return array;
}

// Every formula by name: a formula added to the enum fails to compile here (-Werror=switch)
// until the engine and this list know it.
constexpr int FormulaNumber(TFieldModel model) {
    switch (model) {
        case TFieldModel::Window:
            return 0;
        case TFieldModel::FreeSpace:
            return 1;
        case TFieldModel::OverGround:
            return 2;
    }
    return -1;
}
constexpr TFieldModel kFormulas[] = {TFieldModel::Window, TFieldModel::FreeSpace,
                                     TFieldModel::OverGround};
static_assert(FormulaNumber(kFormulas[0]) == 0 && FormulaNumber(kFormulas[1]) == 1 &&
              FormulaNumber(kFormulas[2]) == 2);

// Average ground at 7.1 MHz, the array a third of a wavelength up.
const TGround kAverageGround{TGroundKind::Real, 0.33L, 7.1L, 13, 0.005L};

TEST(FieldEngine, FastPathHoldsToTheExactOneForEveryFormulaAndType) {
    std::mt19937_64 random(18);
    std::uniform_real_distribution<long double> azimuth(0, 2 * kPi);
    std::uniform_real_distribution<long double> elevation(0, 90);
    for (const TFieldModel formula : kFormulas) {
        EXPECT_STRNE(FieldModelName(formula), "");
        for (const int type : {-1, 0, 1, 2, 3}) {
            for (int table = 0; table < 20; ++table) {
                const TArray array = RandomArray(random, type);
                const long double scale = FullScale(array);
                for (int n = 0; n < 50; ++n) {
                    const TFieldSpec field{formula, elevation(random), kAverageGround};
                    const long double az = azimuth(random);
                    const long double exact = FieldValue(array, field, az);
                    const double fast = FastFieldValue(array, field, static_cast<double>(az));
                    ASSERT_LE(std::fabs(exact - fast), 1e-12L * scale)
                        << FieldModelName(formula) << " type " << type << " table " << table;
                }
            }
        }
    }
}

// The samples and the cut take their directions' sines and cosines from tables of whole
// degrees: each value must be the one its own direction computes, in every formula.
TEST(FieldEngine, SamplesAndCutOfWholeDegreesAreEachDirectionsOwnValueToTheBit) {
    std::mt19937_64 random(44);
    for (const TFieldModel formula : kFormulas) {
        for (const int type : {-1, 0, 1, 2, 3}) {
            for (int table = 0; table < 4; ++table) {
                const TArray array = RandomArray(random, type);
                const TFieldSpec field{formula, 17.5L, kAverageGround};
                const TPattern pattern = ComputePattern(array, field);
                for (int i = 0; i < kSampleCount; ++i) {
                    ASSERT_EQ(pattern.Samples[static_cast<unsigned>(i)],
                              FieldValue(array, field, i * kDegree))
                        << FieldModelName(formula) << " type " << type << " sample " << i;
                }
                const int bearing = static_cast<int>(random() % kCircleDegrees);
                const auto cut = ElevationCut(array, field, bearing);
                for (int e = 0; e < kElevationCutCount; ++e) {
                    ASSERT_EQ(
                        cut[static_cast<unsigned>(e)],
                        FieldValue(array, {formula, static_cast<long double>(e), field.Ground},
                                   BearingSample(bearing) * kDegree))
                        << FieldModelName(formula) << " type " << type << " elevation " << e;
                }
            }
        }
    }
}

TEST(FieldEngine, AmplitudeScalesTheEmittersPhasorAndFullScale) {
    TArray array;
    array.Emitter(2) = {0.3L, -0.1L, 0.2L, true, 2.5L};
    EXPECT_EQ(FullScale(array), 2.5L);
    for (const TFieldModel formula : {TFieldModel::Window, TFieldModel::FreeSpace}) {
        const TPattern pattern = ComputePattern(array, {formula, 0});
        EXPECT_NEAR(static_cast<double>(pattern.MaxGain), 2.5, 1e-15);
    }
    // A pair of unequal currents in antiphase leaves their difference.
    array.Emitter(3) = {0.3L, -0.1L, 0.7L, true, 1};
    EXPECT_EQ(FullScale(array), 3.5L);
    EXPECT_NEAR(static_cast<double>(FieldValue(array, {TFieldModel::FreeSpace, 40}, 1)), 1.5,
                1e-15);
    // Switched off, an emitter's amplitude counts nowhere.
    array.Emitter(2).Enabled = false;
    EXPECT_EQ(FullScale(array), 1);
}

}  // namespace
