#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/wirefield.h"
#include "model/wirepattern.h"

namespace {

TCoupledArray Solved(const TArray& array, const TWireSettings& wires, const TGround& ground) {
    const auto solved = SolveCoupling(array, wires, ground);
    if (!solved) throw std::logic_error("no wires");
    return *solved;
}

TEST(WirePattern, AHalfWaveDipoleIsOmnidirectionalAtTwoPointOneFiveDbi) {
    TArray array;
    array.EmitterType = etVerticalDipole;
    array.Emitter(1) = {0, 0, 0, true};
    TWireSettings wires;
    wires.Lengths[0] = 0.5;
    const TCoupledArray dipole = Solved(array, wires, {});
    const TPattern pattern = WirePattern(dipole, 0);
    for (const long double v : pattern.Samples) EXPECT_NEAR(20 * std::log10(v), 2.15, 0.05);
    EXPECT_NEAR(WireElevationCut(dipole, 0)[90], 0, 1e-9);
}

TEST(WirePattern, PeakAndMetricsFollowTheSolvedCurrentsOfAYagiAndAFourSquare) {
    struct Row {
        std::string Name;
        TArray Array;
        TWireSettings Wires;
        TGround Ground;
        double Bearing;
    };
    TArray yagi;
    yagi.EmitterType = etVerticalDipole;
    yagi.Emitter(1) = {0, 0, 0, true};
    yagi.Emitter(2) = {-0.15L, 0, 0, true, 0};
    TWireSettings yagiWires;
    yagiWires.Lengths = {0.47, 0.5};
    yagiWires.Feed = TFeed::Voltage;
    TArray square;
    square.EmitterType = etVerticalDipole;
    const long double q = 0.125L;
    square.Emitter(1) = {-q, -q, 0, true};
    square.Emitter(2) = {q, -q, 0.25L, true};
    square.Emitter(3) = {-q, q, 0.25L, true};
    square.Emitter(4) = {q, q, 0.5L, true};
    TWireSettings squareWires;
    squareWires.Lengths = {0.25, 0.25, 0.25, 0.25};
    const std::vector<Row> rows = {
        {"yagi", yagi, yagiWires, {}, 90},
        {"four-square", square, squareWires, {TGroundKind::Perfect, 0}, 45}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        const TCoupledArray solved = Solved(row.Array, row.Wires, row.Ground);
        const TWirePeak peak = WirePeakGain(solved);
        EXPECT_NEAR(std::remainder(peak.BearingDegrees - row.Bearing, 360), 0, 0.05);
        EXPECT_NEAR(peak.ElevationDegrees, 0, 0.05);
        EXPECT_NEAR(peak.GainDbi, WireGainDbi(solved.System, solved.Currents, row.Bearing, 0),
                    1e-6);
        const TPattern pattern = WirePattern(solved, 0);
        const auto metrics = ComputeMetrics(pattern, WirePatternFunction(solved, 0));
        ASSERT_TRUE(metrics);
        const double back = WireGainDbi(solved.System, solved.Currents, row.Bearing + 180, 0);
        EXPECT_NEAR(static_cast<double>(metrics->FrontToBackDb), peak.GainDbi - back, 0.01);
        // The pattern is symmetric about the beam: its one main lobe lies on that axis.
        ASSERT_EQ(metrics->MainLobeBearings.size(), 1u);
        EXPECT_NEAR(metrics->MainLobeBearings[0], row.Bearing, 1e-5);
    }
}

// The searches between the samples run on the function the samples come from, so every
// figure refined there agrees with the samples: a null is below -40 dB, the half-power points
// are solved, not whole degrees, and a symmetric pattern keeps its symmetry.
TEST(WirePattern, FiguresBetweenTheSamplesComeFromTheSamplesOwnFunction) {
    TArray pair;
    pair.EmitterType = etHorizontalDipoleWE;  // wires along south-north
    pair.Emitter(1) = {-0.25L, 0, 0, true};
    pair.Emitter(2) = {0.25L, 0, 0, true};
    TWireSettings wires;
    wires.Lengths = {0.48, 0.48};
    const TCoupledArray solved = Solved(pair, wires, {});
    const TPattern pattern = WirePattern(solved, 0);
    const TPatternFunction f = WirePatternFunction(solved, 0);
    for (int i = 0; i < kSampleCount; ++i)
        EXPECT_NEAR(f(i), pattern.Samples[static_cast<std::size_t>(i)], 1e-12) << i;
    const auto metrics = ComputeMetrics(pattern, f);
    ASSERT_TRUE(metrics);
    // The wires' own null along their axis and the pair's across it.
    ASSERT_EQ(metrics->NullBearings.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(metrics->NullBearings[i], 90.0L * i, 1e-6);
        EXPECT_LT(metrics->NullDepthsDb[i], -40);
    }
    const std::vector<long double>& lobes = metrics->MainLobeBearings;
    ASSERT_EQ(lobes.size(), 4u);
    EXPECT_NEAR(lobes[1], 180 - lobes[0], 1e-5);
    EXPECT_NEAR(lobes[2], 180 + lobes[0], 1e-5);
    EXPECT_NEAR(lobes[3], 360 - lobes[0], 1e-5);
    ASSERT_TRUE(metrics->HalfPower);
    EXPECT_GT(std::fabs(metrics->BeamwidthDegrees - std::round(metrics->BeamwidthDegrees)), 1e-3);
}

// In free space each wire is centred on the array's plane: the peak's elevation is given as
// the upper of its twins either side of the horizon.
TEST(WirePattern, PeakElevationInFreeSpaceIsTheUpperTwin) {
    // Two west-east wires half a wavelength apart in phase cancel along the horizon to the
    // north and south, and beam to the zenith and the nadir.
    TArray stacked;
    stacked.EmitterType = etHorizontalDipoleNS;
    stacked.Emitter(1) = {0, 0, 0, true};
    stacked.Emitter(2) = {0, 0.5L, 0, true};
    TWireSettings wires;
    wires.Lengths = {0.5, 0.5};
    EXPECT_NEAR(WirePeakGain(Solved(stacked, wires, {})).ElevationDegrees, 90, 0.01);
}

}  // namespace
