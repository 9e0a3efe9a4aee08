#include "model/pattern.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "config/numtext.h"
#include "decimalmark_scope.h"
#include "model/complex.h"
#include "model/trig.h"
#include "near_extended.h"
#include "requirements.h"

namespace {

// The algorithm as plainly written, from the same sine and cosine: every path length computes
// its own direction.
long double PlainPathLength(long double az, long double el, long double x, long double y) {
    const long double e = ExtSin(az);
    const long double f = ExtCos(az);
    const long double g = ExtSin(el);
    return (x * e + y * f) / std::sqrt(e * e + f * f + g * g);
}

TPattern PlainPattern(const TArray& model, long double elevation, int previousAngle) {
    TPattern pattern;
    pattern.MaxGainAngle = previousAngle;
    const long double el = -elevation * 3.14159265358979323846L / 180;
    for (int i = 0; i <= 360; ++i) {
        const long double phi = i * 0.017453292519943295L;
        TComplex s = MakeComplex(0, 0);
        for (const TEmitter& emitter : model.Emitters) {
            if (!emitter.Enabled) continue;
            const long double t = (PlainPathLength(phi, el, emitter.X, emitter.Y) + emitter.Phase) *
                                  2 * 3.14159265358979323846L;
            s = AddComplex(s, MakeComplex(ExtCos(t), ExtSin(t)));
        }
        long double v = AbsComplex(s);
        switch (model.EmitterType) {
            case 1:
                v = ExtCos(el) * v;
                break;
            case 2:
                v = std::fabs(ExtCos(phi) * v);
                break;
            case 3:
                v = std::fabs(ExtSin(phi) * v);
                break;
            default:
                break;
        }
        pattern.Samples[static_cast<unsigned>(i)] = v;
        if (v > pattern.MaxGain) {
            pattern.MaxGain = v;
            pattern.MaxGainAngle = i;
        }
    }
    return pattern;
}

TArray RandomTable(std::mt19937_64& random) {
    std::uniform_real_distribution<long double> position(-1, 1);
    std::uniform_real_distribution<long double> phase(-1.5L, 1.5L);
    TArray model;
    for (TEmitter& emitter : model.Emitters) {
        emitter = TEmitter{position(random), position(random), phase(random), random() % 4 != 0};
    }
    model.Emitter(1 + static_cast<int>(random() % kEmitterCount)).Enabled = true;
    return model;
}

TEST(ComputePattern, IsBitForBitThePlainAlgorithm) {
    std::mt19937_64 random(42);
    for (int table = 0; table < 40; ++table) {
        TArray model = RandomTable(random);
        int previous = 0;
        for (const int type : {-1, 0, 1, 2, 3, 7}) {
            for (const long double elevation : {0.0L, 5.0L, 30.0L, 45.0L, 85.0L, 17.3L}) {
                SCOPED_TRACE(testing::Message() << "table " << table << " type " << type
                                                << " elevation " << elevation);
                model.EmitterType = type;
                const TPattern expected = PlainPattern(model, elevation, previous);
                const TPattern modelPattern =
                    ComputePattern(model, {TFieldModel::Window, elevation}, previous);
                previous = modelPattern.MaxGainAngle;
                for (int i = 0; i < kSampleCount; ++i) {
                    ASSERT_TRUE(SameValue(modelPattern.Samples[static_cast<unsigned>(i)],
                                          expected.Samples[static_cast<unsigned>(i)]))
                        << "sample " << i;
                }
                ASSERT_TRUE(SameValue(modelPattern.MaxGain, expected.MaxGain));
                ASSERT_EQ(modelPattern.MaxGainAngle, expected.MaxGainAngle);
            }
        }
    }
}

TEST(ComputePattern, PathLengthIsTheProjectionOverTheSineElevationNorm) {
    EXPECT_EQ(PathLength(0, 0, 0.3L, 0.25L), 0.25L);
    EXPECT_TRUE(NearExtended(PathLength(kPi / 2, 0, 0.3L, 0.25L), 0.3L, 1e-18L));
    // sin, not tan: at 60 degrees the norm is sqrt(1 + 3/4), not sqrt(1 + 3)
    EXPECT_TRUE(NearExtended(PathLength(0, kPi / 3, 0, 1), 1 / std::sqrt(1.75L), 1e-18L));
    EXPECT_TRUE(NearExtended(PathLength(0, -kPi / 3, 0, 1), 1 / std::sqrt(1.75L), 1e-18L));
}

class InitialTablePattern : public testing::Test {
  private:
    TDecimalMarkScope Comma;
};

TEST_F(InitialTablePattern, MaximumBearingAndLabelTextsPerTypeAndElevation) {
    const struct {
        int Type;
        int Elevation;
        long double Maximum;
        int Index;
        int Bearing;
        const char* MaximumText;
        const char* DecibelText;
    } cases[] = {
        {etOmni, 0, 4.0L, 225, 45, "4,000", "6,02"},
        {etOmni, 30, 3.9452502143837L, 225, 45, "3,945", "5,96"},
        {etOmni, 85, 3.5950031972925L, 225, 45, "3,595", "5,56"},
        {-1, 85, 3.5950031972925L, 225, 45, "3,595", "5,56"},
        {etVerticalDipole, 0, 4.0L, 225, 45, "4,000", "6,02"},
        {etVerticalDipole, 30, 3.4166869099423L, 225, 45, "3,417", "5,34"},
        {etVerticalDipole, 85, 0.3133251738402L, 225, 45, "0,313", "-5,04"},
        {etHorizontalDipoleNS, 0, 3.1832765703703L, 211, 31, "3,183", "5,03"},
        {etHorizontalDipoleNS, 30, 3.1615764402660L, 210, 30, "3,162", "5,00"},
        {etHorizontalDipoleNS, 85, 2.9153494235061L, 209, 29, "2,915", "4,65"},
        {etHorizontalDipoleWE, 0, 3.1832765703703L, 239, 59, "3,183", "5,03"},
        {etHorizontalDipoleWE, 30, 3.1615764402660L, 240, 60, "3,162", "5,00"},
        {etHorizontalDipoleWE, 85, 2.9153494235061L, 241, 61, "2,915", "4,65"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.Type << " elevation " << c.Elevation);
        TArray model = MakeInitialArray();
        model.EmitterType = c.Type;
        const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, static_cast<long double>(c.Elevation)});
        EXPECT_NEAR(modelPattern.MaxGain, c.Maximum, 1e-12);
        EXPECT_EQ(modelPattern.MaxGainAngle, c.Index);
        EXPECT_EQ(DisplayedBearing(modelPattern.MaxGainAngle), c.Bearing);
        EXPECT_EQ(FormatFixed(modelPattern.MaxGain, 8, 3), c.MaximumText);
        EXPECT_EQ(FormatFixed(GainDecibels(modelPattern.MaxGain), 6, 2), c.DecibelText);
    }
}

TEST_F(InitialTablePattern, OneEmitterAtTheOriginKeepsTheFirstOfEqualSamples) {
    TArray model = MakeInitialArray();
    for (TEmitter& emitter : model.Emitters) emitter = TEmitter{};
    model.Emitter(5).Enabled = true;
    const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, 30});
    for (const long double v : modelPattern.Samples) ASSERT_EQ(v, 1);
    EXPECT_EQ(modelPattern.MaxGain, 1);
    EXPECT_EQ(modelPattern.MaxGainAngle, 0);
    EXPECT_EQ(DisplayedBearing(modelPattern.MaxGainAngle), 180);
    EXPECT_EQ(FormatFixed(GainDecibels(modelPattern.MaxGain), 6, 2), "0,00");
}

TEST_F(InitialTablePattern, OneEmitterAwayFromTheOriginIsOneUpToRounding) {
    TArray model = MakeInitialArray();
    for (int k = 2; k <= 4; ++k) model.Emitter(k).Enabled = false;
    const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, 0});
    for (const long double v : modelPattern.Samples) ASSERT_TRUE(NearExtended(v, 1, 0x1p-62L));
    EXPECT_EQ(FormatFixed(modelPattern.MaxGain, 8, 3), "1,000");
}

TEST_F(InitialTablePattern, CancellingPairLeavesOnlyRoundingNoise) {
    TArray model;
    model.Emitter(1) = TEmitter{0.3L, -0.2L, 0, true};
    model.Emitter(2) = TEmitter{0.3L, -0.2L, 0.5L, true};
    const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, 0});
    for (const long double v : modelPattern.Samples) ASSERT_LT(v, 1e-17L);
    EXPECT_EQ(FormatFixed(GainDecibels(modelPattern.MaxGain), 6, 2), "-110,00");
}

TEST_F(InitialTablePattern, AllZeroPatternResetsTheMaximumButKeepsItsIndex) {
    TArray model = MakeInitialArray();
    const TPattern first = ComputePattern(model, {TFieldModel::Window, 0});
    ASSERT_EQ(first.MaxGainAngle, 225);
    // Phases from a file beyond 2^63 periods: every sine and cosine is 0.
    for (TEmitter& emitter : model.Emitters) emitter.Phase = 1e30L;
    const TPattern modelPattern =
        ComputePattern(model, {TFieldModel::Window, 0}, first.MaxGainAngle);
    for (const long double v : modelPattern.Samples) ASSERT_EQ(v, 0);
    EXPECT_EQ(modelPattern.MaxGain, 0);
    EXPECT_EQ(modelPattern.MaxGainAngle, 225);
    EXPECT_EQ(FormatFixed(GainDecibels(modelPattern.MaxGain), 6, 2), "-110,00");
}

TEST(DisplayedBearing, TurnsSampleIndicesIntoCompassBearings) {
    const struct {
        int Index, Bearing;
    } cases[] = {{0, 180}, {90, 270}, {180, 0}, {225, 45}, {270, 90}, {179, 359}, {360, 180}};
    for (const auto& c : cases) EXPECT_EQ(DisplayedBearing(c.Index), c.Bearing) << c.Index;
}

TEST(GainDecibels, IsTenLogOfTheAmplitudeKeptFiniteAtZero) {
    EXPECT_NEAR(GainDecibels(4), 6.0206, 1e-4);
    EXPECT_NEAR(GainDecibels(1), 0, 1e-10);
    EXPECT_NEAR(GainDecibels(0), -110, 1e-12);
    EXPECT_NEAR(GainDecibels(0.1L), -10, 1e-9);
}

}  // namespace
