#include "model/coupling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using Complex = std::complex<double>;

// The four-square of quarter-wave monopoles on a quarter-wave square, steered to bearing 45
// with equal currents in the textbook phases.
TArray FourSquare(TWireSettings& wires) {
    TArray array;
    array.EmitterType = etVerticalDipole;
    const long double q = 0.125L;
    array.Emitter(1) = {-q, -q, 0, true};
    array.Emitter(2) = {q, -q, 0.25L, true};
    array.Emitter(3) = {-q, q, 0.25L, true};
    array.Emitter(4) = {q, q, 0.5L, true};
    for (int k = 0; k < 4; ++k) wires.Lengths[static_cast<std::size_t>(k)] = 0.25;
    return array;
}

const TGround kPerfect{TGroundKind::Perfect, 0};

TEST(Coupling, CurrentFedFourSquareHasTheDriveImpedancesPhasingNetworksAreDesignedFrom) {
    TWireSettings wires;
    const TArray array = FourSquare(wires);
    ASSERT_FALSE(CheckCoupling(array, wires, kPerfect));
    const auto solved = SolveCoupling(array, wires, kPerfect);
    ASSERT_TRUE(solved);
    const std::vector<Complex> expected = {{-1.3, 5.8}, {44.9, 1.7}, {44.9, 1.7}, {68.0, 86.2}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const TEmitterFeed& e = solved->Coupling.Emitters[i];
        SCOPED_TRACE(e.Number);
        ASSERT_TRUE(e.Drive.Impedance);
        EXPECT_LE(std::abs(*e.Drive.Impedance - expected[i]), 0.05 * std::abs(expected[i]) + 2);
        // The fed currents are the file's, amplitude 1 and the emitter's lag.
        const auto [amplitude, phase] = AmplitudeAndPhase(e.Current);
        EXPECT_NEAR(amplitude, 1, 1e-12);
        EXPECT_NEAR(std::remainder(phase - static_cast<double>(array.Emitter(e.Number).Phase), 1),
                    0, 1e-12);
    }
    // The back corner returns power to the feed: no SWR there.
    EXPECT_FALSE(solved->Coupling.Emitters[0].Drive.Swr);
    EXPECT_TRUE(solved->Coupling.Emitters[3].Drive.Swr);
    EXPECT_NEAR(solved->Coupling.Efficiency, 1, 1e-4);
}

TEST(Coupling, AVoltageFedEmitterWithoutSourceIsAShortedParasiticAndACurrentFedOneIsOpen) {
    TArray yagi;
    yagi.EmitterType = etVerticalDipole;
    yagi.Emitter(1) = {0, 0, 0, true};
    yagi.Emitter(2) = {-0.15L, 0, 0, true, 0};
    TWireSettings wires;
    wires.Lengths[0] = 0.47;
    wires.Lengths[1] = 0.5;
    for (const TFeed feed : {TFeed::Voltage, TFeed::Current}) {
        wires.Feed = feed;
        const auto solved = SolveCoupling(yagi, wires, {});
        ASSERT_TRUE(solved);
        const TEmitterFeed& reflector = solved->Coupling.Emitters[1];
        if (feed == TFeed::Voltage) {
            EXPECT_EQ(reflector.Voltage, Complex(0));
            EXPECT_GT(std::abs(reflector.Current),
                      0.3 * std::abs(solved->Coupling.Emitters[0].Current));
        } else {
            EXPECT_EQ(reflector.Current, Complex(0));
            EXPECT_GT(std::abs(reflector.Voltage), 1);
            EXPECT_FALSE(reflector.Drive.Impedance);
        }
    }
}

TEST(Coupling, FaultsNameTheEmittersThatCannotBeWires) {
    struct Row {
        std::string Name;
        std::function<void(TArray&, TWireSettings&, TGround&)> Change;
        TCouplingFault::TKind Kind;
        int First;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<Row> rows = {
        {"a length missing", [](TArray&, TWireSettings& w, TGround&) { w.Lengths[2].reset(); },
         TCouplingFault::MixedLengths, 4},
        {"isotropic", [](TArray& a, TWireSettings&, TGround&) { a.EmitterType = etOmni; },
         TCouplingFault::NoWireType, 0},
        {"no type", [](TArray& a, TWireSettings&, TGround&) { a.EmitterType = -1; },
         TCouplingFault::NoWireType, 0},
        {"length 0", [](TArray&, TWireSettings& w, TGround&) { w.Lengths[1] = 0; },
         TCouplingFault::BadLength, 2},
        {"negative", [](TArray&, TWireSettings& w, TGround&) { w.Lengths[1] = -0.25; },
         TCouplingFault::BadLength, 2},
        {"not a number", [=](TArray&, TWireSettings& w, TGround&) { w.Lengths[2] = nan; },
         TCouplingFault::BadLength, 3},
        {"above two wavelengths", [](TArray&, TWireSettings& w, TGround&) { w.Lengths[3] = 2.5; },
         TCouplingFault::BadLength, 4},
        {"thick", [](TArray&, TWireSettings& w, TGround&) { w.Radius = 0.025; },
         TCouplingFault::ThickWire, 1},
        {"monopole on real ground",
         [](TArray&, TWireSettings&, TGround& g) {
             g = {TGroundKind::Real, 0, 7, 13, 0.005L};
         },
         TCouplingFault::ReachesGround, 1},
        {"two in one place", [](TArray& a, TWireSettings&, TGround&) { a.Emitter(3).X = 0.125L; },
         TCouplingFault::Touch, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        TWireSettings wires;
        TArray array = FourSquare(wires);
        TGround ground = kPerfect;
        row.Change(array, wires, ground);
        const auto fault = CheckCoupling(array, wires, ground);
        ASSERT_TRUE(fault);
        EXPECT_EQ(fault->Kind, row.Kind);
        EXPECT_EQ(fault->First, row.First);
    }
}

TEST(Coupling, IdealEmittersHaveNoCoupling) {
    const TArray array = MakeInitialArray();
    EXPECT_FALSE(CheckCoupling(array, {}, {}));
    EXPECT_FALSE(SolveCoupling(array, {}, {}));
}

}  // namespace
