#include "model/wires.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "model/matrixroom.h"
#include "model/symmetricsolve.h"
#include "model/wirefield.h"

namespace {

using Complex = std::complex<double>;

TGround AverageGround(double height) {
    return {TGroundKind::Real, height, 299.792458L, 13, 0.005L};
}

Eigen::VectorXcd Drive(std::initializer_list<Complex> values) {
    Eigen::VectorXcd v(static_cast<Eigen::Index>(values.size()));
    Eigen::Index i = 0;
    for (const Complex x : values) v(i++) = x;
    return v;
}

TEST(Wires, OneModePerWireGivesCartersMutualImpedancesOfHalfWaveDipoles) {
    struct Row {
        double Spacing;
        Complex Mutual;
    };
    const std::vector<Row> rows = {{0.1, {67.33, 7.54}},
                                   {0.25, {40.79, -28.35}},
                                   {0.5, {-12.53, -29.93}},
                                   {0.75, {-22.50, 6.63}},
                                   {1, {4.01, 17.74}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Spacing);
        TWireArray a;
        a.Radius = 1e-7;  // Carter's filaments
        a.SegmentsPerWavelength = 4;
        a.MinSegments = 2;  // one mode a wire
        a.Wires = {{0, 0, 0.5}, {row.Spacing, 0, 0.5}};
        const Eigen::MatrixXcd z = ModeImpedance(a, LayModes(a, false), false);
        ASSERT_EQ(z.rows(), 2);
        EXPECT_NEAR(z(0, 0).real(), 73.13, 0.01);
        EXPECT_NEAR(z(0, 0).imag(), 42.54, 0.01);
        EXPECT_NEAR(z(0, 1).real(), row.Mutual.real(), 0.01);
        EXPECT_NEAR(z(0, 1).imag(), row.Mutual.imag(), 0.01);
    }
}

// Three unequal wires at odd places, so that no symmetry of the layout hides a wrong kernel.
TWireArray Scattered(TWireAxis axis, TGround ground) {
    TWireArray a;
    a.Axis = axis;
    a.Ground = ground;
    a.Wires = {{0, 0, 0.47}, {0.13, 0.21, 0.5}, {-0.3, 0.05, 0.38}};
    return a;
}

TEST(Wires, PortImpedanceIsReciprocalInFreeSpaceAndOverEitherGround) {
    const std::vector<std::pair<std::string, TWireArray>> rows = {
        {"upright, free space", Scattered(TWireAxis::Up, {})},
        {"west-east, perfect ground", Scattered(TWireAxis::WestEast, {TGroundKind::Perfect, 0.3})},
        {"south-north, real ground", Scattered(TWireAxis::SouthNorth, AverageGround(0.4))},
        {"upright, real ground", Scattered(TWireAxis::Up, AverageGround(0.6))},
        {"monopoles", Scattered(TWireAxis::Up, {TGroundKind::Perfect, 0})},
    };
    for (const auto& [name, array] : rows) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(CheckWires(array));
        // The reactions themselves, filled on both sides of the diagonal, as well as the ports
        // a solution from one side gives.
        const bool monopoles = IsMonopoleArray(array);
        const Eigen::MatrixXcd modes = ModeImpedance(array, LayModes(array, monopoles), monopoles);
        EXPECT_LE((modes - modes.transpose()).cwiseAbs().maxCoeff(),
                  1e-9 * modes.cwiseAbs().maxCoeff());
        const Eigen::MatrixXcd z = TWireSystem(array).PortImpedance();
        EXPECT_LE((z - z.transpose()).cwiseAbs().maxCoeff(), 1e-9 * z.cwiseAbs().maxCoeff());
    }
}

TEST(Wires, SymmetricSolveAgreesWithLuAndRefusesAZeroPivot) {
    TWireArray a = Scattered(TWireAxis::Up, AverageGround(0.6));
    const Eigen::MatrixXcd z = ModeImpedance(a, LayModes(a, false), false);
    const Eigen::MatrixXcd b = Eigen::MatrixXcd::Identity(z.rows(), 3);
    Eigen::MatrixXcd factors = z, x = b;
    ASSERT_TRUE(SolveSymmetric(factors, x));
    const Eigen::MatrixXcd lu = z.partialPivLu().solve(b);
    EXPECT_LE((x - lu).cwiseAbs().maxCoeff(), 1e-10 * lu.cwiseAbs().maxCoeff());
    Eigen::MatrixXcd swap(2, 2);
    swap << 0, 1, 1, 0;
    Eigen::MatrixXcd rhs = Eigen::MatrixXcd::Identity(2, 2);
    EXPECT_FALSE(SolveSymmetric(swap, rhs));
}

TEST(Wires, TwiceTheModesMoveTheDriveImpedanceByUnderTwoPercent) {
    for (const double length : {0.47, 0.5}) {
        SCOPED_TRACE(length);
        TWireArray a;
        a.Wires = {{0, 0, length}, {0.25, 0, length}};
        const Complex z = TWireSystem(a).PortImpedance()(0, 0);
        a.SegmentsPerWavelength *= 2;
        const Complex finer = TWireSystem(a).PortImpedance()(0, 0);
        EXPECT_LE(std::abs(z - finer), 0.02 * std::abs(finer));
    }
}

// The last uniform segment at each open end is cut into a run halving toward the end, four
// deep, the count of modes unchanged; a monopole's base, its image's junction, is no end, and
// tubing too thick for end segments of four radii keeps its uniform segments.
TEST(Wires, SegmentsHalveTowardEachOpenEndKeepingTheModeCount) {
    TWireArray dipole, monopole, tube;
    dipole.Wires = {{0, 0, 0.5}};
    monopole.Wires = {{0, 0, 0.25}};
    monopole.Ground = {TGroundKind::Perfect, 0};
    tube.Wires = {{0, 0, 0.5, 0.005}};
    const std::vector<TWireMode> modes = TWireSystem(dipole).Modes();
    ASSERT_EQ(modes.size(), 19u);
    const double d = 0.5 / 12;  // the uniform segment
    const std::vector<double> nodes = {-0.25,         -0.25 + d / 16, -0.25 + d / 8,
                                       -0.25 + d / 4, -0.25 + d / 2,  -0.25 + d};
    for (std::size_t i = 0; i + 1 < nodes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(modes[i].Axial, nodes[i + 1], 1e-15);
        EXPECT_NEAR(modes[i].Left, nodes[i + 1] - nodes[i], 1e-15);
        EXPECT_NEAR(modes[i].Right, i + 2 < nodes.size() ? nodes[i + 2] - nodes[i + 1] : d, 1e-15);
        const TWireMode& mirrored = modes[modes.size() - 1 - i];
        EXPECT_NEAR(mirrored.Axial, -modes[i].Axial, 1e-15);
        EXPECT_EQ(mirrored.Left, modes[i].Right);
        EXPECT_EQ(mirrored.Right, modes[i].Left);
    }
    for (std::size_t i = 5; i < 14; ++i) {
        EXPECT_EQ(modes[i].Left, d);
        EXPECT_EQ(modes[i].Right, d);
    }
    const std::vector<TWireMode> solved = TWireSystem(monopole).Modes();
    ASSERT_EQ(solved.size(), modes.size());
    for (std::size_t i = 0; i < modes.size(); ++i) {
        EXPECT_EQ(solved[i].Axial, modes[i].Axial);
        EXPECT_EQ(solved[i].Left, modes[i].Left);
        EXPECT_EQ(solved[i].Right, modes[i].Right);
    }
    const TWireSystem thick(tube);
    for (const TWireMode& m : thick.Modes()) {
        EXPECT_EQ(m.Left, thick.Modes().front().Left);
        EXPECT_EQ(m.Right, m.Left);
    }
}

TEST(Wires, LosslessWiresRadiateTheInputPowerAndRealGroundTakesSome) {
    TWireArray pair;
    pair.Axis = TWireAxis::WestEast;
    pair.Wires = {{0, 0, 0.5}, {0, 0.2, 0.5}};
    TWireArray perfect = pair, real = pair;
    perfect.Ground = {TGroundKind::Perfect, 0.3};
    real.Ground = AverageGround(0.3);
    TWireArray monopoles = Scattered(TWireAxis::Up, {TGroundKind::Perfect, 0});
    for (TWire& w : monopoles.Wires) w.Length /= 2;
    for (const TWireArray* a : {&pair, &perfect, &monopoles}) {
        const TWireSystem system(*a);
        const TWireCurrents c =
            system.Solve(TFeed::Voltage, Eigen::VectorXcd::Ones(system.Ports()));
        EXPECT_NEAR(RadiatedPower(system, c) / InputPower(c), 1, 1e-4);
    }
    const TWireSystem lossy(real);
    const TWireCurrents c = lossy.Solve(TFeed::Voltage, Drive({1, 0}));
    EXPECT_LT(RadiatedPower(lossy, c) / InputPower(c), 0.9);
}

TEST(Wires, CurrentAndVoltageFeedsAgreeAndAnOpenFeedStillCarriesInducedCurrent) {
    TWireArray yagi;
    yagi.Wires = {{0, 0, 0.47}, {-0.15, 0, 0.5}, {0.2, 0, 0.45}};
    const TWireSystem system(yagi);
    const Eigen::VectorXcd wanted = Drive({{1, 0}, {0, -0.5}, {0, 0}});
    const TWireCurrents byCurrent = system.Solve(TFeed::Current, wanted);
    EXPECT_LE((byCurrent.PortCurrent - wanted).norm(), 1e-12);
    const TWireCurrents byVoltage = system.Solve(TFeed::Voltage, byCurrent.PortVoltage);
    EXPECT_LE((byVoltage.PortCurrent - wanted).norm(), 1e-9);
    EXPECT_LE((byVoltage.Modes - byCurrent.Modes).norm(), 1e-9 * byCurrent.Modes.norm());
    // The open third wire carries current either side of its feed.
    const std::vector<TWireMode>& modes = system.Modes();
    double induced = 0;
    for (std::size_t m = 0; m < modes.size(); ++m)
        if (modes[m].Wire == 2)
            induced = std::max(induced, std::abs(byCurrent.Modes(Eigen::Index(m))));
    EXPECT_GT(induced, 0.01);
}

TEST(Wires, AQuarterWaveMonopoleIsHalfItsDipoleWithThreeDecibelsMoreGain) {
    TWireArray dipole, monopole;
    dipole.Wires = {{0, 0, 0.5}};
    monopole.Wires = {{0, 0, 0.25}};
    monopole.Ground = {TGroundKind::Perfect, 0};
    const TWireSystem d(dipole), m(monopole);
    // Only the feed gaps differ: the monopole's with its image is twice the dipole's.
    const Complex half = d.PortImpedance()(0, 0) / 2.0;
    EXPECT_LE(std::abs(m.PortImpedance()(0, 0) - half), 0.01 * std::abs(half));
    const TWireCurrents cd = d.Solve(TFeed::Current, Drive({1}));
    const TWireCurrents cm = m.Solve(TFeed::Current, Drive({1}));
    EXPECT_NEAR(WireGainDbi(m, cm, 0, 0) - WireGainDbi(d, cd, 0, 0), 10 * std::log10(2.0), 0.01);
}

TEST(Wires, DriveFiguresGiveSwrAgainstZ0AndNoneWhereTheFeedReturnsPower) {
    struct Row {
        Complex Impedance;
        std::optional<double> Swr;
    };
    const std::vector<Row> rows = {{{50, 0}, 1},
                                   {{100, 0}, 2},
                                   {{25, 0}, 2},
                                   {{0, 30}, std::nullopt},
                                   {{-1.3, 5.8}, std::nullopt}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Impedance.real());
        const TDrive d = DriveFigures(row.Impedance * 2.0, 2, 50);
        ASSERT_TRUE(d.Impedance);
        EXPECT_NEAR(std::abs(*d.Impedance - row.Impedance), 0, 1e-12);
        EXPECT_EQ(d.Swr.has_value(), row.Swr.has_value());
        if (row.Swr && d.Swr) {
            EXPECT_NEAR(*d.Swr, *row.Swr, 1e-12);
        }
        EXPECT_NEAR(d.Power, 2 * row.Impedance.real(), 1e-12);
    }
    EXPECT_FALSE(DriveFigures(1, 0, 50).Impedance);
}

TEST(Wires, CheckWiresNamesWiresThatTouchReachTheGroundOrAreTooThick) {
    struct Row {
        std::string Name;
        TWireArray Array;
        std::optional<TWireFault::TKind> Fault;
    };
    TWireArray base;
    base.Wires = {{0, 0, 0.5}, {0.25, 0, 0.5}};
    TWireArray same = base, collinear = base, low = base, monopole = base, thick = base;
    same.Wires[1].X = 0;
    collinear.Axis = TWireAxis::WestEast;
    collinear.Wires[1] = {0.4, 0, 0.5};
    low.Ground = {TGroundKind::Perfect, 0.2};
    monopole.Ground = AverageGround(0);
    thick.Radius = 0.05;
    const std::vector<Row> rows = {{"apart", base, std::nullopt},
                                   {"one place", same, TWireFault::Touch},
                                   {"overlapping in line", collinear, TWireFault::Touch},
                                   {"lower end in the ground", low, TWireFault::ReachesGround},
                                   {"monopole on real ground", monopole, TWireFault::ReachesGround},
                                   {"radius a tenth of the length", thick, TWireFault::ThickWire}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        const std::optional<TWireFault> fault = CheckWires(row.Array);
        ASSERT_EQ(fault.has_value(), row.Fault.has_value());
        if (fault) {
            EXPECT_EQ(fault->Kind, *row.Fault);
        }
    }
}

// The fill computes once the reactions that mirror symmetry and reciprocity make equal: between
// wires of one length centred level, and either way round between wires of one span. Nudging a
// wire by a billionth of a wavelength breaks every such symmetry and must move nothing but the
// last digits.
TEST(Wires, SymmetricWiresGiveWhatTheSameWiresNudgedApartGive) {
    TGround reflection = AverageGround(0.3);
    reflection.Model = TGroundModel::Reflection;
    const std::vector<TGround> grounds = {
        {}, {TGroundKind::Perfect, 0.3L, 299.792458L, 13, 0.005L}, AverageGround(0.3), reflection};
    for (const TWireAxis axis : {TWireAxis::Up, TWireAxis::WestEast})
        for (const TGround& ground : grounds)
            for (const bool row : {false, true}) {  // in one plane across the axis, or not
                SCOPED_TRACE(testing::Message() << int(axis) << " " << int(ground.Kind) << " "
                                                << int(ground.Model) << " " << row);
                TWireArray a;
                a.Axis = axis;
                a.Ground = ground;
                for (int k = 0; k < 3; ++k) a.Wires.push_back({row ? 0 : 0.11 * k, 0.27 * k, 0.46});
                if (axis == TWireAxis::Up && ground.Kind != TGroundKind::None)
                    a.Ground.HeightWavelengths = 0.5L;
                TWireArray nudged = a;
                nudged.Wires[1].Length += 1e-9;
                nudged.Wires[2].X += axis == TWireAxis::WestEast ? 1e-9 : 0;
                const Eigen::MatrixXcd z = TWireSystem(a).PortImpedance();
                const Eigen::MatrixXcd near = TWireSystem(nudged).PortImpedance();
                EXPECT_LT((z - near).cwiseAbs().maxCoeff(), 1e-5) << z << "\n\n" << near;
            }
}

// The far field keeps the last patterns of each wire shape by thread: two arrays of different
// shapes asked in turn, at changing elevations, must each give what their rings of bearings,
// which keep nothing, give.
TEST(Wires, FarFieldsOfTwoArraysAskedInTurnAreEachTheirOwn) {
    std::vector<TWireSystem> systems;
    std::vector<TWireCurrents> currents;
    for (const double length : {0.5, 0.31}) {
        TWireArray a;
        a.Ground = AverageGround(0.6);
        a.Wires = {{0, 0, length}, {0.2, 0.1, length * 0.9}};
        systems.emplace_back(a);
        currents.push_back(systems.back().Solve(TFeed::Current, Drive({1, {0, 1}})));
    }
    const std::vector<TWireRadiator> radiators = {{systems[0], currents[0]},
                                                  {systems[1], currents[1]}};
    std::vector<double> ring;
    for (const double elevation : {10.0, 10.0, 35.0})
        for (const double bearing : {0.0, 70.0})
            for (const TWireRadiator& radiator : radiators) {
                const double u = RadiationIntensity(radiator.Field(bearing, elevation));
                radiator.Ring(elevation, {bearing}, ring);
                EXPECT_NEAR(u, ring[0], 1e-12 * ring[0]) << elevation << " " << bearing;
            }
}

TEST(Wires, MatrixRoomIsZeroedAndWritableLargeOrSmall) {
    // On the heap, in mapped huge pages, and in the mapping a matrix before left written.
    for (const Eigen::Index size : {3, 200, 200, 150, 420, 200}) {
        TMatrixRoom room(size);
        Eigen::Map<Eigen::MatrixXcd> m = room.Matrix();
        EXPECT_EQ(m.cwiseAbs().maxCoeff(), 0);
        m.setIdentity();
        EXPECT_EQ(m.sum(), std::complex<double>(static_cast<double>(size)));
    }
}

}  // namespace
