#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>

#include "model/directivity.h"
#include "model/pattern.h"
#include "near_extended.h"
#include "requirements.h"

namespace {

constexpr long double kTwoPi = 2 * 3.14159265358979323846L;

TArray RandomTable(std::mt19937_64& random, long double extent = 1) {
    std::uniform_real_distribution<long double> position(-extent, extent);
    std::uniform_real_distribution<long double> phase(-1.5L, 1.5L);
    TArray model;
    for (TEmitter& emitter : model.Emitters) {
        emitter = TEmitter{position(random), position(random), phase(random), random() % 3 != 0};
    }
    model.Emitter(1 + static_cast<int>(random() % kEmitterCount)).Enabled = true;
    return model;
}

// The field written from the unit vector u = (east, north, up), independently of the code's
// azimuth convention: E(u) |sum exp(j 2 pi (Phase - X u_east - Y u_north))|.
long double PlainFreeSpace(const TArray& model, long double east, long double north,
                           long double up) {
    std::complex<long double> sum = 0;
    for (const TEmitter& e : model.Emitters) {
        if (e.Enabled) sum += std::polar(1.0L, kTwoPi * (e.Phase - e.X * east - e.Y * north));
    }
    long double factor = 1;
    if (model.EmitterType == etVerticalDipole) factor = std::sqrt(1 - up * up);
    if (model.EmitterType == etHorizontalDipoleNS) factor = std::sqrt(1 - east * east);
    if (model.EmitterType == etHorizontalDipoleWE) factor = std::sqrt(1 - north * north);
    return factor * std::abs(sum);
}

const int kTypes[] = {-1, etOmni, etVerticalDipole, etHorizontalDipoleNS, etHorizontalDipoleWE, 7};

TEST(FreeSpaceModel, AtTheHorizonIsTheWindowsPatternBitForBit) {
    std::mt19937_64 random(11);
    for (int table = 0; table < 30; ++table) {
        TArray window = RandomTable(random);
        for (const int type : kTypes) {
            SCOPED_TRACE(testing::Message() << "table " << table << " type " << type);
            window.EmitterType = type;
            TArray free = window;
            const TPattern windowPattern = ComputePattern(window, {TFieldModel::Window, 0});
            const TPattern freePattern = ComputePattern(free, {TFieldModel::FreeSpace, 0});
            for (int i = 0; i < kSampleCount; ++i) {
                const auto u = static_cast<unsigned>(i);
                ASSERT_TRUE(SameValue(freePattern.Samples[u], windowPattern.Samples[u])) << i;
            }
            EXPECT_EQ(freePattern.MaxGainAngle, windowPattern.MaxGainAngle);
        }
    }
}

TEST(FreeSpaceModel, PatternValueIsTheSampleFormulaAtAnyAzimuth) {
    std::mt19937_64 random(5);
    TArray model = RandomTable(random);
    for (const int type : kTypes) {
        model.EmitterType = type;
        for (const long double elevation : {0.0L, 35.0L, 85.0L}) {
            const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, elevation});
            for (int i = 0; i < kSampleCount; i += 7) {
                ASSERT_TRUE(
                    SameValue(FieldValue(model, {TFieldModel::Window, elevation}, i * kDegree),
                              modelPattern.Samples[static_cast<unsigned>(i)]))
                    << type << " " << elevation << " " << i;
            }
        }
    }
}

TEST(FreeSpaceModel, FollowsTheDirectionVectorAboveTheHorizon) {
    std::mt19937_64 random(99);
    // Window azimuth az looks towards compass bearing az + 180 degrees.
    std::uniform_real_distribution<long double> azimuth(0, kTwoPi);
    std::uniform_real_distribution<long double> elevation(0, 90);
    for (int table = 0; table < 20; ++table) {
        TArray model = RandomTable(random, 3);
        for (const int type : kTypes) {
            model.EmitterType = type;
            for (int n = 0; n < 50; ++n) {
                const long double az = azimuth(random);
                const long double e = elevation(random);
                const long double er = e * kPi / 180;
                const long double expected =
                    PlainFreeSpace(model, -std::cos(er) * std::sin(az),
                                   -std::cos(er) * std::cos(az), std::sin(er));
                ASSERT_TRUE(NearExtended(FieldValue(model, {TFieldModel::FreeSpace, e}, az),
                                         expected, 1e-16L))
                    << "type " << type;
            }
        }
    }
}

TEST(ElevationCut, StartsAtThePatternSampleAndEndsAtTheZenith) {
    TArray model;
    model.Emitter(1) = {-0.25L, 0, 0, true};
    model.Emitter(2) = {0.25L, 0, 0, true};
    for (const TFieldModel field : {TFieldModel::Window, TFieldModel::FreeSpace}) {
        for (const int type : {etOmni, etVerticalDipole, etHorizontalDipoleNS}) {
            model.EmitterType = type;
            const TPattern modelPattern = ComputePattern(model, {field, 0});
            for (const int bearing : {0, 45, 90, 271}) {
                const auto cut = ElevationCut(model, {field}, bearing);
                const unsigned i = static_cast<unsigned>((bearing + 180) % 360);
                EXPECT_TRUE(SameValue(cut[0], modelPattern.Samples[i])) << bearing;
            }
        }
    }
    // In free space every horizontal pair is in phase at the zenith; a vertical dipole is mute.
    model.EmitterType = etOmni;
    EXPECT_TRUE(NearExtended(ElevationCut(model, {TFieldModel::FreeSpace}, 90)[90], 2, 1e-15L));
    model.EmitterType = etVerticalDipole;
    EXPECT_LT(ElevationCut(model, {TFieldModel::FreeSpace}, 90)[90], 1e-15L);
}

// The sphere mean of F^2, by Simpson's rule in cos(theta) and the trapezoidal rule (exact for
// a periodic function of this smoothness) around the vertical.
long double BruteForceMeanPower(const TArray& model) {
    constexpr int kRings = 400;  // even
    constexpr int kSpokes = 256;
    long double total = 0;
    for (int r = 0; r <= kRings; ++r) {
        const long double up = -1 + 2.0L * r / kRings;
        const long double across = std::sqrt(std::max(0.0L, 1 - up * up));
        long double ring = 0;
        for (int s = 0; s < kSpokes; ++s) {
            const long double a = kTwoPi * s / kSpokes;
            const long double f =
                PlainFreeSpace(model, across * std::cos(a), across * std::sin(a), up);
            ring += f * f;
        }
        const int weight = (r == 0 || r == kRings) ? 1 : (r % 2 ? 4 : 2);
        total += weight * ring / kSpokes;
    }
    return total * (2.0L / kRings) / 3 / 2;
}

TEST(Directivity, PairIntegralsAgreeWithIntegrationOverTheSphere) {
    std::mt19937_64 random(3);
    for (int table = 0; table < 4; ++table) {
        TArray model = RandomTable(random, 0.75L);
        for (const int type :
             {etOmni, etVerticalDipole, etHorizontalDipoleNS, etHorizontalDipoleWE}) {
            model.EmitterType = type;
            const long double exact = MeanRadiatedPower(model);
            EXPECT_TRUE(NearExtended(exact, BruteForceMeanPower(model), 1e-7L * (1 + exact)))
                << "table " << table << " type " << type;
        }
    }
}

TEST(Directivity, KnownArrays) {
    TArray one;
    one.Emitter(3) = {0.4L, -0.2L, 0.3L, true};
    const struct {
        const char* Name;
        int Type;
        TEmitter Second;
        long double Dbi;
    } cases[] = {
        {"one isotropic emitter", etOmni, {}, 0},
        {"one short vertical dipole", etVerticalDipole, {}, 1.7609125905568124L},
        {"one short horizontal dipole", etHorizontalDipoleWE, {}, 1.7609125905568124L},
        {"broadside pair half a wavelength apart",
         etOmni,
         {0.9L, -0.2L, 0.3L, true},
         3.0102999566398120L},
    };
    for (const auto& c : cases) {
        TArray model = one;
        model.EmitterType = c.Type;
        model.Emitter(5) = c.Second;
        const auto d = ComputeDirectivity(model);
        ASSERT_TRUE(d) << c.Name;
        EXPECT_NEAR(static_cast<double>(d->HorizonDbi), static_cast<double>(c.Dbi), 1e-9) << c.Name;
        EXPECT_NEAR(static_cast<double>(d->PeakDbi.value()), static_cast<double>(c.Dbi), 1e-9)
            << c.Name;
    }
}

TEST(Directivity, PeakOfTheEndFirePairLiesAlongItsLine) {
    TArray model;
    model.Emitter(1) = {-0.125L, 0, 0, true};
    model.Emitter(2) = {0.125L, 0, 0.25L, true};
    const auto d = ComputeDirectivity(model);
    ASSERT_TRUE(d);
    EXPECT_NEAR(static_cast<double>(d->PeakBearingDegrees), 90, 1e-3);
    EXPECT_NEAR(static_cast<double>(d->PeakElevationDegrees), 0, 1e-3);
    EXPECT_NEAR(static_cast<double>(d->PeakDbi.value()), static_cast<double>(d->HorizonDbi), 1e-9);
    // Raised above the horizon, a dipole pair's peak climbs off it: vertical dipoles cannot.
    model.EmitterType = etHorizontalDipoleWE;
    const auto raised = ComputeDirectivity(model);
    ASSERT_TRUE(raised);
    EXPECT_GE(raised->PeakDbi.value(), raised->HorizonDbi);
}

TEST(Directivity, CancellingPairHasNone) {
    TArray model;
    model.Emitter(1) = {0.3L, -0.2L, 0, true};
    model.Emitter(2) = {0.3L, -0.2L, 0.5L, true};
    EXPECT_FALSE(ComputeDirectivity(model));
}

}  // namespace

namespace {

TEST(Directivity, AnEmitterTheSamplesDropCountsNowhere) {
    // Beyond 2^63 periods a phase has no sine: the samples leave the emitter out, and so must
    // the power it is measured against.
    TArray array;
    array.EmitterType = etVerticalDipole;
    array.Emitter(1) = {0.1L, 0.2L, 0, true};
    const auto alone = ComputeDirectivity(array);
    array.Emitter(2) = {-0.3L, 0.1L, 1e20L, true};
    const auto withDropped = ComputeDirectivity(array);
    ASSERT_TRUE(alone && withDropped);
    EXPECT_NEAR(static_cast<double>(withDropped->HorizonDbi),
                static_cast<double>(alone->HorizonDbi), 1e-12);
    EXPECT_NEAR(static_cast<double>(*withDropped->PeakDbi), 1.7609125905568124, 1e-9);
    // When every emitter drops out the pattern is zero and no figure is taken from it.
    array.Emitter(1).Phase = 1e30L;
    EXPECT_FALSE(ComputeDirectivity(array));
}

TEST(Directivity, LobesTooFineForTheSearchGiveNoPeakButTheHorizonFigure) {
    TArray array;
    array.Emitter(1) = {-150, 0, 0, true};
    array.Emitter(2) = {150, 0.3L, 0.1L, true};
    const auto d = ComputeDirectivity(array);
    ASSERT_TRUE(d);
    EXPECT_FALSE(d->PeakDbi);
    EXPECT_TRUE(std::isfinite(d->HorizonDbi));
    // Within the search's reach the grating lobes of a wide pair are found at full height.
    array.Emitter(2).X = 40;
    const auto wide = ComputeDirectivity(array);
    ASSERT_TRUE(wide && wide->PeakDbi);
    EXPECT_NEAR(static_cast<double>(*wide->PeakDbi), 10 * std::log10(4.0 / 2), 1e-3);
}

// The directivity is a ratio of powers: it holds for currents of any size a long double carries.
TEST(Directivity, ScalingEveryAmplitudeLeavesItAlone) {
    TArray array;
    array.EmitterType = etHorizontalDipoleWE;
    array.Emitter(1) = {-0.125L, 0, 0, true, 1};
    array.Emitter(2) = {0.125L, 0, 0.3L, true, 0.5L};
    array.Emitter(3) = {0, 0.2L, 0.1L, true, 0.8L};
    const auto reference = ComputeDirectivity(array);
    ASSERT_TRUE(reference && reference->PeakDbi);
    for (const long double factor : {1e-200L, 1.0L, 1e100L, 1e200L}) {
        SCOPED_TRACE(static_cast<double>(std::log10(factor)));
        TArray scaled = array;
        for (TEmitter& e : scaled.Emitters) e.Amplitude *= factor;
        const auto d = ComputeDirectivity(scaled);
        ASSERT_TRUE(d && d->PeakDbi);
        EXPECT_NEAR(static_cast<double>(d->HorizonDbi), static_cast<double>(reference->HorizonDbi),
                    1e-9);
        EXPECT_NEAR(static_cast<double>(*d->PeakDbi), static_cast<double>(*reference->PeakDbi),
                    1e-9);
        EXPECT_NEAR(static_cast<double>(d->PeakBearingDegrees),
                    static_cast<double>(reference->PeakBearingDegrees), 1e-6);
        EXPECT_NEAR(static_cast<double>(d->PeakElevationDegrees),
                    static_cast<double>(reference->PeakElevationDegrees), 1e-6);
    }
}

}  // namespace
