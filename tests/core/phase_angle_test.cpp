#include <gtest/gtest.h>

#include <string>

#include "model/phaseangle.h"

namespace {

struct TPhaseCase {
    const char* Name;
    long double Periods;
    long double Degrees;
};

// The current's angle is -360 Phase folded into (-180, 180].
const TPhaseCase kPhaseCases[] = {
    {"Zero", 0, 0},
    {"CardioidLagReadsMinus90", 0.25L, -90},
    {"LeadReadsPlus90", -0.25L, 90},
    {"HalfPeriodReads180", 0.5L, 180},
    {"MinusHalfPeriodReads180", -0.5L, 180},
    {"ThreeQuartersFoldTo90", 0.75L, 90},
    {"BeyondAPeriodFolds", 1.125L, -45},
};

class PhaseDegreesTest : public testing::TestWithParam<TPhaseCase> {};

TEST_P(PhaseDegreesTest, ShowsTheCurrentsAngleFoldedIntoTheHalfOpenCircle) {
    EXPECT_EQ(PhaseDegrees(GetParam().Periods), GetParam().Degrees);
}

INSTANTIATE_TEST_SUITE_P(Model, PhaseDegreesTest, testing::ValuesIn(kPhaseCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(PhaseAngleTest, TypedDegreesReadAsMinusDegreesOver360) {
    EXPECT_EQ(PhaseFromDegrees(-90), 0.25L);
    EXPECT_EQ(PhaseFromDegrees(45), -0.125L);
    EXPECT_EQ(PhaseDegrees(PhaseFromDegrees(-135)), -135);
}

}  // namespace
