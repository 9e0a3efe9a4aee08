#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <iterator>
#include <random>

#include "model/directivity.h"
#include "model/fieldengine.h"
#include "model/groundfigures.h"
#include "model/pattern.h"
#include "model/searchbounds.h"

namespace {

TArray OneDipole(int type) {
    TArray array;
    array.EmitterType = type;
    array.Emitter(3) = {0.2L, -0.1L, 0.3L, true};
    return array;
}

TGround Perfect(long double height) {
    return {TGroundKind::Perfect, height, 0, 1, 0};
}

TEST(Ground, PerfectGroundIsImageTheory) {
    for (const long double h : {0.0L, 0.25L, 0.5L, 1.3L}) {
        for (const long double e : {0.0L, 10.0L, 30.0L, 61.0L, 89.0L}) {
            const long double er = e * kDegree;
            const long double psi = 2 * kPi * h * std::sin(er);
            // Broadside to a west-east dipole (bearing 0, window azimuth 180 degrees).
            const long double vertical = 2 * std::cos(er) * std::fabs(std::cos(psi));
            const long double horizontal = 2 * std::fabs(std::sin(psi));
            const TFieldSpec spec{TFieldModel::OverGround, e, Perfect(h)};
            EXPECT_NEAR(static_cast<double>(FieldValue(OneDipole(etVerticalDipole), spec, kPi)),
                        static_cast<double>(vertical), 1e-15);
            EXPECT_NEAR(static_cast<double>(FieldValue(OneDipole(etHorizontalDipoleNS), spec, kPi)),
                        static_cast<double>(horizontal), 1e-15);
        }
    }
}

TEST(Ground, RealGroundTendsToPerfectAsConductivityGrows) {
    double previous = HUGE_VAL;
    for (const long double sigma : {0.01L, 1.0L, 100.0L, 1e6L}) {
        const TGround real{TGroundKind::Real, 0.3L, 7, 13, sigma};
        double worst = 0;
        for (const int type : {etVerticalDipole, etHorizontalDipoleWE}) {
            for (const long double e : {5.0L, 20.0L, 45.0L, 80.0L}) {
                const long double perfect =
                    FieldValue(OneDipole(type), {TFieldModel::OverGround, e, Perfect(0.3L)}, 1);
                const long double lossy =
                    FieldValue(OneDipole(type), {TFieldModel::OverGround, e, real}, 1);
                worst = std::max(worst, static_cast<double>(std::fabs(perfect - lossy)));
            }
        }
        EXPECT_LT(worst, previous);
        previous = worst;
    }
    EXPECT_LT(previous, 1e-3);
}

TEST(Ground, VerticalReflectionVanishesAtTheBrewsterAngle) {
    // Lossless ground of permittivity 4: tan e = 1 / sqrt(4) at the grazing Brewster angle.
    const TGround dielectric{TGroundKind::Real, 0, 10, 4, 0};
    const double brewster = std::atan(0.5);
    const auto rv = [&](double e) {
        return std::abs(Reflection<double>(dielectric, std::sin(e)).Vertical);
    };
    EXPECT_LT(rv(brewster), 1e-12);
    EXPECT_GT(rv(brewster - 0.05), 0.02);
    EXPECT_GT(rv(brewster + 0.05), 0.02);
    // Lossy average ground: the minimum, no longer zero, lies near the same angle.
    const TGround average{TGroundKind::Real, 0, 7, 13, 0.005L};
    double lowest = 2, where = 0;
    for (double e = 0.001; e < 1.5; e += 0.001) {
        const double r = std::abs(Reflection<double>(average, std::sin(e)).Vertical);
        if (r < lowest) {
            lowest = r;
            where = e;
        }
    }
    EXPECT_NEAR(where, std::atan(1 / std::sqrt(std::hypot(13.0, 60 * 0.005 * 299.792458 / 7))),
                0.03);
    EXPECT_GT(lowest, 0.01);
}

TEST(Ground, TakeoffAndDirectivityOfTextbookCases) {
    // A short vertical dipole on perfect ground: 3 (4.77 dBi) at the horizon.
    const auto monopole = ComputeGroundFigures(OneDipole(etVerticalDipole), Perfect(0));
    ASSERT_TRUE(monopole && monopole->SpaceWaveDirectivityDbi);
    EXPECT_NEAR(static_cast<double>(*monopole->SpaceWaveDirectivityDbi), 10 * std::log10(3.0),
                1e-9);
    EXPECT_NEAR(static_cast<double>(monopole->TakeoffElevationDegrees), 0, 1e-3);
    // A horizontal dipole half a wavelength up: the lobe peaks at 30 degrees and halves at
    // sin e = 1/4 and 3/4, broadside to the wire.
    const auto dipole = ComputeGroundFigures(OneDipole(etHorizontalDipoleNS), Perfect(0.5L));
    ASSERT_TRUE(dipole);
    EXPECT_NEAR(static_cast<double>(dipole->TakeoffElevationDegrees), 30, 0.01);
    EXPECT_NEAR(std::fmod(static_cast<double>(dipole->PeakBearingDegrees), 180), 0, 0.01);
    EXPECT_NEAR(static_cast<double>(dipole->TakeoffLowDegrees), std::asin(0.25) / kDegree, 1e-5);
    EXPECT_NEAR(static_cast<double>(dipole->TakeoffHighDegrees), std::asin(0.75) / kDegree, 1e-5);
    EXPECT_EQ(dipole->GainDbi, dipole->SpaceWaveDirectivityDbi);
}

TEST(Ground, QuadratureAgreesWithTheExactImageIntegral) {
    TArray array = OneDipole(etHorizontalDipoleWE);
    array.Emitter(5) = {-0.3L, 0.15L, 0.1L, true, 0.7L};
    for (const int type : {etVerticalDipole, etHorizontalDipoleNS, etHorizontalDipoleWE}) {
        array.EmitterType = type;
        for (const long double h : {0.1L, 0.45L, 1.2L}) {
            const auto power = UpperHalfSpacePower(array, Perfect(h));
            ASSERT_TRUE(power);
            const long double exact = MeanPowerWithImages(array, h) / 2;
            EXPECT_NEAR(static_cast<double>(*power / exact), 1, 1e-9) << type << " " << h;
        }
    }
}

template <typename R>
void ExpectFiniteAndPassive(const TGround& ground, long double degrees) {
    const R sinE = std::sin(static_cast<R>(degrees * kDegree));
    const TReflection<R> r = Reflection<R>(ground, sinE);
    const bool vacuum = ground.Permittivity == 1 && ground.Conductivity == 0;
    for (const std::complex<R> c : {r.Vertical, r.Horizontal}) {
        ASSERT_TRUE(std::isfinite(c.real()) && std::isfinite(c.imag())) << degrees;
        EXPECT_LE(std::abs(c), 1) << degrees;
        // Vacuum reflects nothing; any other ground reflects a grazing wave whole, inverted.
        if (vacuum) {
            EXPECT_LT(std::abs(c), 1e-15L) << degrees;
        } else if (degrees == 0) {
            EXPECT_LT(std::abs(c + R(1)), 1e-15L);
        }
    }
}

TEST(Ground, ReflectionIsFiniteAndPassiveForEveryGroundAtEveryAngle) {
    for (const long double permittivity : {1.0L, 1.0001L, 4.0L, 13.0L, 81.0L, 1e6L}) {
        for (const long double conductivity : {0.0L, 1e-9L, 0.005L, 5.0L, 1e9L}) {
            for (const long double mhz : {1e-300L, 1e-6L, 14.0L, 1e6L}) {
                SCOPED_TRACE(testing::Message()
                             << permittivity << " " << conductivity << " S/m " << mhz << " MHz");
                const TGround ground{TGroundKind::Real, 0, mhz, permittivity, conductivity};
                for (const long double degrees :
                     {0.0L, 1e-300L, 1e-9L, 0.01L, 1.0L, 30.0L, 89.0L, 90.0L}) {
                    ExpectFiniteAndPassive<double>(ground, degrees);
                    ExpectFiniteAndPassive<long double>(ground, degrees);
                }
            }
        }
    }
}

TEST(Ground, VacuumBelowTheArrayLeavesTheFreeSpacePattern) {
    const TGround vacuum{TGroundKind::Real, 0.5L, 14, 1, 0};
    TArray array = MakeInitialArray();
    for (const int type : {etVerticalDipole, etHorizontalDipoleNS, etHorizontalDipoleWE}) {
        array.EmitterType = type;
        for (const long double e : {0.0L, 12.5L, 60.0L}) {
            const TPattern over = ComputePattern(array, {TFieldModel::OverGround, e, vacuum});
            const TPattern free = ComputePattern(array, {TFieldModel::FreeSpace, e});
            for (unsigned i = 0; i < kSampleCount; ++i) {
                ASSERT_NEAR(static_cast<double>(over.Samples[i]),
                            static_cast<double>(free.Samples[i]), 1e-15)
                    << type << " " << e << " " << i;
            }
        }
    }
    // Vertical dipoles peak at the horizon, and half their power goes up: 3 dB more.
    array.EmitterType = etVerticalDipole;
    const auto figures = ComputeGroundFigures(array, vacuum);
    const auto free = ComputeDirectivity(array);
    ASSERT_TRUE(figures && figures->SpaceWaveDirectivityDbi && free && free->PeakDbi);
    EXPECT_NEAR(static_cast<double>(figures->TakeoffElevationDegrees), 0, 1e-6);
    EXPECT_NEAR(static_cast<double>(*figures->SpaceWaveDirectivityDbi - *free->PeakDbi),
                10 * std::log10(2.0), 1e-6);
}

TEST(Ground, ArraysTooWideToSearchHaveNoFiguresAndSaySo) {
    TArray array = MakeInitialArray();
    array.EmitterType = etHorizontalDipoleNS;
    array.Emitter(2) = {1500, 3, -1.895L, true};
    const TGround grounds[] = {Perfect(0.01L), {TGroundKind::Real, 0, 14, 1.0001L, 1e9L}};
    EXPECT_FALSE(SearchableAperture(array));
    for (const TGround& ground : grounds) {
        EXPECT_FALSE(ComputeGroundFigures(array, ground));
        EXPECT_FALSE(UpperHalfSpacePower(array, ground));
    }
    // Just inside the bound the searches run; a switched-off emitter spans nothing.
    array.Emitter(2).X = 199.5L;
    EXPECT_TRUE(SearchableAperture(array));
    EXPECT_TRUE(ComputeGroundFigures(array, grounds[0]));
    array.Emitter(2) = {1e6L, 0, 0, false};
    EXPECT_TRUE(SearchableAperture(array));
}

// Two emitters 31 wavelengths apart across the diagonal, high above the ground: the lobe is a
// narrow ridge across both azimuth and elevation, along which single compass steps crawl.
TEST(Ground, TakeoffOnARidgeAcrossBothAxesIsTheLocalMaximum) {
    TArray array;
    array.EmitterType = etHorizontalDipoleWE;
    array.Emitter(1) = {11.1L, -8.4L, 0.14L, true, 0.6L};
    array.Emitter(2) = {-11.4L, 11.0L, 0.67L, true, 2.4L};
    const TGround ground = Perfect(1.38L);
    const auto figures = ComputeGroundFigures(array, ground);
    ASSERT_TRUE(figures);
    const long double az = figures->PeakBearingDegrees - 180;
    const long double el = figures->TakeoffElevationDegrees;
    const auto value = [&](long double a, long double e) {
        return FieldValue(array, {TFieldModel::OverGround, e, ground}, a * kDegree);
    };
    const long double top = value(az, el);
    for (const long double span : {0.01L, 0.001L}) {  // degrees
        for (int i = -20; i <= 20; ++i) {
            for (int j = -20; j <= 20; ++j) {
                ASSERT_LE(value(az + i * span / 20, el + j * span / 20), top * (1 + 1e-10L))
                    << i << " " << j;
            }
        }
    }
}

// The figures are ratios of powers: they hold for currents of any size a long double carries.
TEST(Ground, ScalingEveryAmplitudeLeavesTheFiguresAlone) {
    TArray array = MakeInitialArray();
    array.EmitterType = etHorizontalDipoleWE;
    array.Emitter(2).Amplitude = 0.5L;
    array.Emitter(3).Amplitude = 0.8L;
    const TGround grounds[] = {Perfect(0.3L), {TGroundKind::Real, 0.3L, 14, 13, 0.005L}};
    for (const TGround& ground : grounds) {
        const auto reference = ComputeGroundFigures(array, ground);
        ASSERT_TRUE(reference && reference->SpaceWaveDirectivityDbi);
        for (const long double factor : {1e-200L, 1.0L, 1e100L, 1e200L}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(ground.Kind) << " " << factor);
            TArray scaled = array;
            for (TEmitter& e : scaled.Emitters) e.Amplitude *= factor;
            const auto figures = ComputeGroundFigures(scaled, ground);
            ASSERT_TRUE(figures && figures->SpaceWaveDirectivityDbi);
            EXPECT_NEAR(static_cast<double>(*figures->SpaceWaveDirectivityDbi),
                        static_cast<double>(*reference->SpaceWaveDirectivityDbi), 1e-9);
            EXPECT_EQ(figures->GainDbi.has_value(), reference->GainDbi.has_value());
            EXPECT_NEAR(static_cast<double>(figures->TakeoffElevationDegrees),
                        static_cast<double>(reference->TakeoffElevationDegrees), 1e-6);
        }
    }
}

}  // namespace

// The diagram's outer ring over ground is twice the free-space full scale: no pattern passes
// it, and the ground's in-phase reflection does pass the free-space ring.
TEST(Ground, DiagramRingBoundsEveryPatternOverGround) {
    std::mt19937 random(21);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int trial = 0; trial < 200; ++trial) {
        TArray array;
        array.EmitterType = 1 + trial % 3;
        for (TEmitter& e : array.Emitters) {
            e = {static_cast<long double>(unit(random) - 0.5),
                 static_cast<long double>(unit(random) - 0.5),
                 static_cast<long double>(unit(random)), unit(random) < 0.7};
            e.Amplitude = static_cast<long double>(unit(random) * 2);
        }
        array.Emitter(1).Enabled = true;
        const TSoil& soil = kSoils[static_cast<unsigned>(trial) % std::size(kSoils)];
        TGround ground = Perfect(static_cast<long double>(unit(random) * 2));
        if (trial % 2)
            ground = {TGroundKind::Real, ground.HeightWavelengths, 14.2L, soil.Permittivity,
                      soil.Conductivity};
        const TFieldSpec spec{TFieldModel::OverGround, static_cast<long double>(unit(random) * 85),
                              ground};
        const TPattern pattern = ComputePattern(array, spec);
        EXPECT_EQ(pattern.Model, TFieldModel::OverGround);
        EXPECT_LE(pattern.MaxGain, FullScale(array, TFieldModel::OverGround) * (1 + 1e-15L))
            << trial;
    }
    TArray pair;
    pair.EmitterType = etHorizontalDipoleNS;  // along west-east, broadside to the north
    pair.Emitter(1) = {-0.25L, 0, 0, true};
    pair.Emitter(2) = {0.25L, 0, 0, true};
    const TPattern high = ComputePattern(pair, {TFieldModel::OverGround, 30, Perfect(0.5L)});
    EXPECT_GT(high.MaxGain, 1.5L * FullScale(pair));
    EXPECT_EQ(FullScale(pair, TFieldModel::FreeSpace), FullScale(pair));
}
