// The ground model of wires over real ground: the sweep against fresh solutions, the NEC card
// and the warning for low wires under the reflection model.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/arraywarnings.h"
#include "app/frequencysweep.h"
#include "config/wiredeck.h"
#include "model/coupling.h"

namespace {

// Eight west-east dipoles, voltage-fed, 0.1 wavelength over average soil at 7.1 MHz.
TArrayCase LowDipoles(TGroundModel model, long double height = 0.1L) {
    TArrayCase c;
    c.Array.EmitterType = etHorizontalDipoleNS;
    for (int k = 0; k < 8; ++k) {
        c.Array.Emitters[static_cast<std::size_t>(k)] = {k / 4 * 0.6L - 0.3L,
                                                         k % 4 * 0.25L - 0.375L, 0.1L * k, true, 1};
        c.Wires.Lengths[static_cast<std::size_t>(k)] = 0.48;
    }
    c.Wires.Feed = TFeed::Voltage;
    c.Field = {TFieldModel::OverGround, 30, {TGroundKind::Real, height, 7.1L, 13, 0.005L, model}};
    return c;
}

TEST(GroundModel, TheSweepOverSommerfeldGroundAgreesWithEachFrequencySolvedAfresh) {
    const TArrayCase design = LowDipoles(TGroundModel::Sommerfeld);
    const TDriveSweep sweep = SweepDrive(design, 7.1L, 0.03L, 5);
    ASSERT_EQ(sweep.FrequenciesMhz.size(), 5u);
    // Solved from the last frequency back, so that no table of the sweep's order serves.
    for (std::size_t f = sweep.FrequenciesMhz.size(); f-- > 0;) {
        const TArrayCase step = CaseAtFrequency(design, 7.1L, sweep.FrequenciesMhz[f]);
        const auto solved = SolveCoupling(step.Array, step.Wires, step.Field.Ground);
        ASSERT_TRUE(solved);
        for (std::size_t k = 0; k < sweep.Emitters.size(); ++k) {
            const double r = solved->Coupling.Emitters[k].Drive.Impedance->real();
            EXPECT_NEAR(sweep.DriveROhm[k][f], r, 1e-3 * std::fabs(r)) << f << " " << k;
        }
    }
}

TEST(GroundModel, NecDecksTakeTheModelsCardAndLowWiresWarnOnlyUnderTheReflectionModel) {
    for (const TGroundModel model : {TGroundModel::Sommerfeld, TGroundModel::Reflection}) {
        const TArrayCase c = LowDipoles(model);
        const std::string deck = WireNecDeck(c.Array, c.Wires, c.Field.Ground,
                                             std::vector<std::complex<double>>(8, 1), {30, 0, 1});
        const bool reflection = model == TGroundModel::Reflection;
        EXPECT_NE(deck.find(reflection ? "\nGN 0 " : "\nGN 2 "), std::string::npos);
        const auto warning = GroundModelWarning(c.Array, c.Wires, c.Field);
        EXPECT_EQ(warning.has_value(), reflection);
        if (warning) {
            EXPECT_NE(warning->find("Sommerfeld"), std::string::npos);
        }
        const TArrayCase high = LowDipoles(model, 0.25L);
        EXPECT_FALSE(GroundModelWarning(high.Array, high.Wires, high.Field));
    }
}

TEST(GroundModel, WiresBelowAThousandthOfAWavelengthOrFourRadiiAreRefusedUnderSommerfeld) {
    struct TRow {
        long double Height;
        double Radius;
        TGroundModel Model;
        bool Refused;
    };
    const TRow rows[] = {
        {0.0009L, 1e-5, TGroundModel::Sommerfeld, true},
        {0.0009L, 1e-5, TGroundModel::Reflection, false},
        {0.0015L, 0.0005, TGroundModel::Sommerfeld, true},
        {0.0025L, 0.0005, TGroundModel::Sommerfeld, false},
    };
    for (const TRow& row : rows) {
        TArrayCase c = LowDipoles(row.Model, row.Height);
        c.Wires.Radius = row.Radius;
        const auto fault = CheckCoupling(c.Array, c.Wires, c.Field.Ground);
        EXPECT_EQ(fault && fault->Kind == TCouplingFault::ReachesGround, row.Refused)
            << static_cast<double>(row.Height);
    }
}

}  // namespace
