#include <gtest/gtest.h>

#include <cmath>

#include "app/arraywarnings.h"

namespace {

// A line of `count` emitters along west-east, `spacing` wavelengths apart, phased to steer
// the beam `offBroadside` degrees from north towards east.
TArray Line(int count, long double spacing, long double offBroadside) {
    TArray array;
    const long double pi = 3.14159265358979323846L;
    for (int k = 1; k <= count; ++k) {
        TEmitter& e = array.Emitter(k);
        e.Enabled = true;
        e.X = spacing * (k - 1);
        e.Phase = e.X * std::sin(offBroadside * pi / 180);
    }
    return array;
}

std::vector<TArrayWarningKind> Kinds(const std::vector<TArrayWarning>& warnings) {
    std::vector<TArrayWarningKind> kinds;
    for (const TArrayWarning& w : warnings) kinds.push_back(w.Kind);
    return kinds;
}

using enum TArrayWarningKind;

struct TWarningCase {
    const char* Name;
    TArray Array;
    std::vector<TArrayWarningKind> Expected;
};

TArray CoincidentPair() {
    TArray array = Line(3, 0.25L, 0);
    array.Emitter(3).X = array.Emitter(2).X;
    return array;
}

// An end-fire pair a twentieth of a wave apart, nearly in antiphase: its currents are many
// times the field they make.
TArray SuperDirectivePair() {
    TArray array = Line(2, 0.05L, 0);
    array.Emitter(2).Phase = 0.5L - 0.01L;
    return array;
}

class ArrayWarningsTest : public testing::TestWithParam<TWarningCase> {};

// Each constructed fault draws its own warning and no other; sound arrays draw none, a
// broadside line's mirror beam and a wide in-phase pair's end-fire beams included where
// they are and are not grating lobes.
TEST_P(ArrayWarningsTest, EachFaultIsNamedAndSoundArraysPass) {
    EXPECT_EQ(Kinds(ArrayWarnings(GetParam().Array, 0)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    , ArrayWarningsTest,
    testing::Values(TWarningCase{"StartArray",
                                 [] {
                                     TArray a;
                                     FillInitialTable(a);
                                     for (int k = 1; k <= 4; ++k) a.Emitter(k).Enabled = true;
                                     return a;
                                 }(),
                                 {}},
                    TWarningCase{"HalfWaveLineBroadside", Line(8, 0.5L, 0), {}},
                    TWarningCase{"HalfWaveLineSteered60", Line(8, 0.5L, 60), {}},
                    TWarningCase{"Line09Broadside", Line(8, 0.9L, 0), {}},
                    TWarningCase{"Line09Steered60", Line(8, 0.9L, 60), {GratingLobe}},
                    TWarningCase{"WavelengthPairInPhase", Line(2, 1, 0), {GratingLobe}},
                    TWarningCase{"CoincidentEmitters", CoincidentPair(), {Coincident}},
                    TWarningCase{"SuperDirectivePair", SuperDirectivePair(), {SuperDirective}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ArrayWarnings, NamesTheEmittersAndTheTaperThatCannotApply) {
    const std::vector<TArrayWarning> coincident = ArrayWarnings(CoincidentPair(), 0);
    ASSERT_EQ(coincident.size(), 1u);
    EXPECT_EQ(coincident[0].Emitters, (std::vector<int>{2, 3}));
    EXPECT_NE(coincident[0].Text.find("2, 3"), std::string::npos) << coincident[0].Text;

    TArray square;
    FillInitialTable(square);
    for (int k = 1; k <= 4; ++k) square.Emitter(k).Enabled = true;
    const TTaper chebyshev{TTaperKind::Chebyshev, -30, 4};
    EXPECT_EQ(Kinds(ArrayWarnings(square, 0, chebyshev)), std::vector{TaperOffLine});
    EXPECT_TRUE(ArrayWarnings(Line(8, 0.5L, 0), 0, chebyshev).empty());
}

TEST(ArrayWarnings, SensitivityIsZeroForEmittersInPhaseAtTheBeam) {
    EXPECT_NEAR(*ExcitationSensitivityDb(Line(8, 0.5L, 30), 0), 0, 1e-3);
    EXPECT_GT(*ExcitationSensitivityDb(SuperDirectivePair(), 0), 10);
    TArray dark = Line(2, 0.5L, 0);
    dark.Emitter(1).Amplitude = dark.Emitter(2).Amplitude = 0;
    EXPECT_FALSE(ExcitationSensitivityDb(dark, 0));
}

}  // namespace
