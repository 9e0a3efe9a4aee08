#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <string>
#include <vector>

#include "model/wiredesign.h"
#include "model/wirefield.h"

// The designs on solved wires, against the wires' own solve: the field and the input power
// of currents taken straight from TWireSystem.
namespace {

TGround AverageGround(double height) {
    return {TGroundKind::Real, height, 299.792458L, 13, 0.005L};
}

struct TWireCase {
    const char* Name;
    TWireArray Array;
    double ElevationDegrees;
};

void PrintTo(const TWireCase& c, std::ostream* os) {
    *os << c.Name;
}

TWireArray Wires(TWireAxis axis, TGround ground, std::vector<TWire> wires) {
    TWireArray a;
    a.Axis = axis;
    a.Ground = ground;
    a.Wires = std::move(wires);
    return a;
}

// Unequal wires at odd places, so that no symmetry hides a wrong transposition.
const TWireCase kCases[] = {
    {"Monopoles",
     Wires(TWireAxis::Up, {TGroundKind::Perfect, 0},
           {{-0.125, -0.125, 0.25},
            {0.125, -0.125, 0.25},
            {-0.125, 0.125, 0.24},
            {0.13, 0.11, 0.26}}),
     0},
    {"UprightDipoles",
     Wires(TWireAxis::Up, {}, {{0, 0, 0.47}, {0.13, 0.21, 0.5}, {-0.3, 0.05, 0.38}}), 10},
    {"HorizontalsOverGround",
     Wires(TWireAxis::WestEast, AverageGround(0.3),
           {{0, 0, 0.47}, {0.1, 0.35, 0.5}, {-0.05, -0.3, 0.45}}),
     35},
};

Eigen::VectorXcd RandomCurrents(std::mt19937_64& random, int n) {
    std::normal_distribution<double> part(0, 1);
    Eigen::VectorXcd c(n);
    for (int p = 0; p < n; ++p) c(p) = {part(random), part(random)};
    return c;
}

double Gain(const TEmbeddedPatterns& patterns, const Eigen::VectorXcd& currents, double bearing,
            double elevation) {
    const TFarField f = FieldOf(patterns.Towards(bearing, elevation), currents);
    const double power = (currents.adjoint() * patterns.InputPowerMatrix() * currents)(0).real();
    return (std::norm(f.Theta) + std::norm(f.Phi)) / power;
}

class WireDesignTest : public testing::TestWithParam<TWireCase> {};

TEST_P(WireDesignTest, PortPatternsSuperposeToTheSolvedFieldAndPower) {
    const TWireSystem system(GetParam().Array);
    const TEmbeddedPatterns patterns(system);
    std::mt19937_64 random(3);
    for (int trial = 0; trial < 5; ++trial) {
        const Eigen::VectorXcd currents = RandomCurrents(random, system.Ports());
        const TWireCurrents solved = system.Solve(TFeed::Current, currents);
        for (const double bearing : {0.0, 77.0, 200.5}) {
            const double elevation = GetParam().ElevationDegrees;
            const TFarField want = WireFarField(system, solved, bearing, elevation);
            const TFarField got = FieldOf(patterns.Towards(bearing, elevation), currents);
            const double scale = std::abs(want.Theta) + std::abs(want.Phi);
            EXPECT_NEAR(std::abs(got.Theta - want.Theta), 0, 1e-9 * scale) << bearing;
            EXPECT_NEAR(std::abs(got.Phi - want.Phi), 0, 1e-9 * scale) << bearing;
        }
        const double power =
            (currents.adjoint() * patterns.InputPowerMatrix() * currents)(0).real();
        EXPECT_NEAR(power, InputPower(solved), 1e-9 * InputPower(solved));
    }
}

TEST_P(WireDesignTest, NoCurrentsBeatTheGainDesignAndItsNullsAreDeep) {
    const TWireSystem system(GetParam().Array);
    const TEmbeddedPatterns patterns(system);
    const double elevation = GetParam().ElevationDegrees;
    const TDesignTarget target{60, elevation, {}};
    Eigen::VectorXcd best;
    TDesignReport report;
    ASSERT_FALSE(DesignWireMaxGain(patterns, target, best, report));
    const double designed = Gain(patterns, best, 60, elevation);
    std::mt19937_64 random(11);
    for (int trial = 0; trial < 300; ++trial) {
        const Eigen::VectorXcd other = RandomCurrents(random, system.Ports());
        ASSERT_LE(Gain(patterns, other, 60, elevation), designed * (1 + 1e-9)) << trial;
    }
    const TDesignTarget nulls{60, elevation, {150, 290}};
    Eigen::VectorXcd placed;
    ASSERT_FALSE(DesignWireMaxGain(patterns, nulls, placed, report));
    const TWireCurrents solved = system.Solve(TFeed::Current, placed);
    const double peak = RadiationIntensity(WireFarField(system, solved, 60, elevation));
    for (const double null : {150.0, 290.0}) {
        const double depth = RadiationIntensity(WireFarField(system, solved, null, elevation));
        EXPECT_LT(10 * std::log10(depth / peak), -100) << null;
    }
    const TDesignTarget tooMany{60, elevation, {100, 150, 200, 250, 290}};
    EXPECT_TRUE(DesignWireMaxGain(patterns, tooMany, placed, report));
}

INSTANTIATE_TEST_SUITE_P(Wires, WireDesignTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
