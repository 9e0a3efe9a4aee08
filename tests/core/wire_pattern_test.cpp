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
    }
}

}  // namespace
