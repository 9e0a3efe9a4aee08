#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "form/arraymodel.h"
#include "config/numtext.h"
#include "decimalmark_scope.h"
#include "model/emitters.h"

namespace {

class TDecimalComma : public testing::Test {
  private:
    TDecimalMarkScope Comma;
};

using InitialTable = TDecimalComma;

TEST_F(InitialTable, IsTheSquareSteeredToBearing45) {
    const TArrayModel model = MakeInitialModel();
    const struct {
        long double X, Y;
        const char* PhaseText;
        bool Enabled;
    } expected[kEmitterCount] = {
        {0.25L, 0.25L, "0", true},
        {-0.25L, 0.25L, "-0,353553390593274", true},
        {0.25L, -0.25L, "-0,353553390593274", true},
        {-0.25L, -0.25L, "-0,707106781186548", true},
        {0, 0, "0", false},
        {0, 0, "0", false},
        {0, 0, "0", false},
        {0, 0, "0", false},
    };
    for (int k = 1; k <= kEmitterCount; ++k) {
        SCOPED_TRACE(k);
        const TEmitter& emitter = model.Emitter(k);
        EXPECT_EQ(emitter.X, expected[k - 1].X);
        EXPECT_EQ(emitter.Y, expected[k - 1].Y);
        EXPECT_EQ(FormatGeneral(emitter.Phase), expected[k - 1].PhaseText);
        EXPECT_EQ(emitter.Enabled, expected[k - 1].Enabled);
    }
    EXPECT_EQ(model.EnabledCount(), 4);
    EXPECT_EQ(model.SelectedRow, 1);
    EXPECT_EQ(model.EmitterType, etOmni);
}

TEST_F(InitialTable, PhasesAreTheExtendedSquareRootQuotients) {
    const TArrayModel model = MakeInitialModel();
    EXPECT_EQ(model.Emitter(2).Phase, -0.5L / std::sqrt(2.0L));
    EXPECT_EQ(model.Emitter(3).Phase, -0.5L / std::sqrt(2.0L));
    EXPECT_EQ(model.Emitter(4).Phase, std::sqrt(2.0L) * -0.5L);
}

TEST_F(InitialTable, FillingLeavesEnabledFlagsAndOtherStateAlone) {
    TArrayModel model;
    model.Emitter(1).Enabled = false;
    model.Emitter(7).Enabled = true;
    model.Emitter(7).Phase = 0.5L;
    model.SelectedRow = 6;
    model.EmitterType = etHorizontalDipoleWE;
    FillInitialTable(model);
    EXPECT_FALSE(model.Emitter(1).Enabled);
    EXPECT_TRUE(model.Emitter(7).Enabled);
    EXPECT_EQ(model.Emitter(7).Phase, 0);
    EXPECT_EQ(model.SelectedRow, 6);
    EXPECT_EQ(model.EmitterType, etHorizontalDipoleWE);
}

TEST(SpinConversion, SpinToValueIsSixtyFourthsOfAWavelength) {
    const struct {
        int Position;
        long double Value;
    } cases[] = {{-64, -1.0L}, {1, 0.015625L}, {0, 0}, {64, 1.0L}, {-3, -0.046875L}};
    for (const auto& c : cases) EXPECT_EQ(SpinToValue(c.Position), c.Value) << c.Position;
}

TEST(SpinConversion, ValueToSpinRoundsHalvesToEvenWithinTheRange) {
    const struct {
        long double Value;
        int Position;
    } cases[] = {
        {0.5L / 64, 0},   {1.5L / 64, 2}, {2.5L / 64, 2},   {-0.5L / 64, 0},
        {-1.5L / 64, -2}, {0.6L / 64, 1}, {0.015625L, 1},   {1.0L, 64},
        {-1.0L, -64},     {0.3L, 19},     {63.5L / 64, 64}, {-63.5L / 64, -64},
    };
    for (const auto& c : cases) EXPECT_EQ(ValueToSpin(c.Value), c.Position) << c.Value;
}

TEST(SpinConversion, ValueToSpinGivesTheNearerEndBeyondTheRange) {
    const long double inf = std::numeric_limits<long double>::infinity();
    const struct {
        long double Value;
        int Position;
    } cases[] = {
        {3.0L, 64}, {600.0L, 64}, {-600.0L, -64},   {-1e30L, -64}, {1e30L, 64}, {1e4000L, 64},
        {inf, 64},  {-inf, -64},  {64.4L / 64, 64}, {1025.0L, 64},  // 65600 steps: as 16 bits it
                                                                    // would wrap to a negative
                                                                    // position
    };
    for (const auto& c : cases) EXPECT_EQ(ValueToSpin(c.Value), c.Position) << c.Value;
    EXPECT_EQ(ValueToSpin(std::numeric_limits<long double>::quiet_NaN()), 0);
}

TEST(SpinConversion, EveryPositionSurvivesTheRoundTrip) {
    for (int position = -64; position <= 64; ++position) {
        EXPECT_EQ(ValueToSpin(SpinToValue(position)), position);
    }
}

}  // namespace
