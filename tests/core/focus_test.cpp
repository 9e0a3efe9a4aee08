#include "model/focus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "config/numtext.h"
#include "decimalmark_scope.h"
#include "model/pattern.h"
#include "near_extended.h"

namespace {

class FocusBeamTest : public testing::Test {
  protected:
    static std::string PhaseText(const TArray& model, int k) {
        return FormatGeneral(model.Emitter(k).Phase);
    }

  private:
    TDecimalMarkScope Comma;
};

TEST_F(FocusBeamTest, InitialTableAtBearing45) {
    TArray model = MakeInitialArray();
    FocusBeam(model, 45);
    EXPECT_EQ(PhaseText(model, 1), "0,707106781186548");
    EXPECT_EQ(PhaseText(model, 2), "0,353553390593274");
    EXPECT_EQ(PhaseText(model, 3), "0,353553390593274");
    EXPECT_EQ(model.Emitter(4).Phase, 0);

    const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, 0});
    EXPECT_EQ(DisplayedBearing(modelPattern.MaxGainAngle), 45);
    EXPECT_EQ(FormatFixed(modelPattern.MaxGain, 8, 3), "4,000");
}

TEST_F(FocusBeamTest, InitialTableAtBearing0PeaksEquallyAtBothEnds) {
    TArray model = MakeInitialArray();
    FocusBeam(model, 0);
    EXPECT_EQ(model.Emitter(1).Phase, 0.5L);
    EXPECT_EQ(model.Emitter(2).Phase, 0.5L);
    EXPECT_EQ(model.Emitter(3).Phase, 0);
    EXPECT_EQ(model.Emitter(4).Phase, 0);

    // Half-wavelength spacing: bearings 0 and 180 both get the full value, and of the equal
    // samples 0, 180 and 360 the first is kept.
    const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, 0});
    EXPECT_EQ(modelPattern.Samples[0], 4);
    EXPECT_EQ(modelPattern.Samples[180], 4);
    EXPECT_EQ(modelPattern.Samples[360], 4);
    EXPECT_EQ(modelPattern.MaxGainAngle, 0);
    EXPECT_EQ(DisplayedBearing(modelPattern.MaxGainAngle), 180);
}

TEST_F(FocusBeamTest, PeakFollowsEveryBearingInTheHorizontalPlane) {
    for (int bearing = 0; bearing < 360; ++bearing) {
        SCOPED_TRACE(bearing);
        TArray model = MakeInitialArray();
        FocusBeam(model, bearing);
        const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, 0});
        const unsigned target = static_cast<unsigned>(bearing + 180) % 360;
        ASSERT_TRUE(NearExtended(modelPattern.Samples[target], 4, 1e-17L));
        ASSERT_TRUE(NearExtended(modelPattern.MaxGain, 4, 1e-17L));
        // Along the axes the half-wavelength spacing gives the mirror bearing the full value
        // too; for bearings 0 and 90 the mirror's sample comes first and is reported.
        if (bearing % 90 != 0 || bearing >= 180) {
            ASSERT_EQ(DisplayedBearing(modelPattern.MaxGainAngle), bearing);
        }
    }
}

TEST_F(FocusBeamTest, DifferencesBelowOneMillionthBecomeZero) {
    const struct {
        long double Y;
        long double Phase;
        const char* Text;
    } cases[] = {
        {5e-7L, 0, "0"},        {-5e-7L, 0, "0"},       {9.99e-7L, 0, "0"},
        {1e-6L, 1e-6L, "1E-6"}, {2e-6L, 2e-6L, "2E-6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        TArray model;
        model.Emitter(1) = TEmitter{0, 0, 0.25L, true};
        model.Emitter(2) = TEmitter{0, c.Y, 0.25L, true};
        FocusBeam(model, 0);
        const int upper = c.Y > 0 ? 2 : 1;
        EXPECT_EQ(model.Emitter(upper).Phase, c.Phase);
        EXPECT_EQ(PhaseText(model, upper), c.Text);
        EXPECT_EQ(model.Emitter(3 - upper).Phase, 0);
    }
}

TEST_F(FocusBeamTest, DisabledEmittersKeepTheirPhases) {
    TArray model = MakeInitialArray();
    model.Emitter(2).Enabled = false;
    model.Emitter(6) = TEmitter{0.5L, -0.75L, 0.3L, false};
    FocusBeam(model, 90);
    EXPECT_EQ(model.Emitter(2).Phase, -0.5L / std::sqrt(2.0L));
    EXPECT_EQ(model.Emitter(6).Phase, 0.3L);
    EXPECT_EQ(model.Emitter(1).Phase, 0.5L);
    EXPECT_EQ(model.Emitter(3).Phase, 0.5L);
    EXPECT_EQ(model.Emitter(4).Phase, 0);
}

TEST_F(FocusBeamTest, LoneEmitterGetsPhaseZero) {
    TArray model;
    model.Emitter(7) = TEmitter{0.8L, -0.6L, 0.9L, true};
    FocusBeam(model, 123);
    EXPECT_EQ(model.Emitter(7).Phase, 0);
}

}  // namespace
