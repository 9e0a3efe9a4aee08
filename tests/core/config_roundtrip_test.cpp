#include <gtest/gtest.h>

#include <random>

#include "config/configfile.h"
#include "config_tempdir.h"
#include "decimalmark_scope.h"

namespace {

class ConfigRoundTripTest : public TTempDirTest {
  protected:
    TDecimalMarkScope Comma;
};

// Emitters switched off at 0, 0, 0 are the case that once came back from a stale section.
TArray RandomArray(std::mt19937& random) {
    const long double values[] = {0, -0.0L, 0.25L, -0.375L, 1.0L / 3, 7.5e-3L, -12};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(values) - 1);
    std::bernoulli_distribution coin(0.5);
    TArray model;
    for (TEmitter& e : model.Emitters) {
        if (coin(random)) {
            e = TEmitter{};
        } else {
            e = {values[pick(random)], values[pick(random)], values[pick(random)], coin(random)};
        }
    }
    model.EmitterType = std::uniform_int_distribution<int>(-1, 3)(random);
    return model;
}

// Whatever an earlier save left in the file, loading it gives the array saved last, exactly as
// the same save into a new file does.
TEST_F(ConfigRoundTripTest, ASavedArrayAlwaysLoadsBackAsItself) {
    std::mt19937 random(22);
    const std::string fresh = PathOf("fresh.txt");
    const std::string reused = PathOf("reused.txt");
    for (int trial = 0; trial < 25; ++trial) {
        SCOPED_TRACE(trial);
        const TArray saved = RandomArray(random);
        SaveConfiguration(reused, saved, saved.EmitterType);
        std::filesystem::remove(fresh);
        SaveConfiguration(fresh, saved, saved.EmitterType);

        const TConfiguration loaded = ReadConfiguration(reused);
        const TConfiguration expected = ReadConfiguration(fresh);
        EXPECT_EQ(loaded.TypeIndex, saved.EmitterType);
        for (int k = 1; k <= kEmitterCount; ++k) {
            SCOPED_TRACE(k);
            const TEmitter& got = loaded.Emitters[static_cast<unsigned>(k - 1)];
            const TEmitter& want = expected.Emitters[static_cast<unsigned>(k - 1)];
            EXPECT_EQ(got.Enabled, saved.Emitter(k).Enabled);
            EXPECT_EQ(got.Enabled, want.Enabled);
            EXPECT_EQ(got.X, want.X);
            EXPECT_EQ(got.Y, want.Y);
            EXPECT_EQ(got.Phase, want.Phase);
        }
    }
}

}  // namespace

// The command line's save owns the ground and amplitude keys: over a file an earlier save
// left, with another ground and other currents, the file still loads back as what was saved
// (values exact in binary: the file keeps reals to double precision).
TEST_F(ConfigRoundTripTest, TheCommandLinesSaveLoadsBackWithItsGroundAndCurrents) {
    std::mt19937 random(30);
    const long double amplitudes[] = {1, 0.5L, 0.25L, 2, 0};
    const TGround grounds[] = {{TGroundKind::None},
                               {TGroundKind::Perfect, 0.5L},
                               {TGroundKind::Real, 0.25L, 14, 13, 0.0625L},
                               {TGroundKind::Real, 1, 7, 81, 5}};
    std::uniform_int_distribution<std::size_t> pickAmplitude(0, std::size(amplitudes) - 1);
    std::uniform_int_distribution<std::size_t> pickGround(0, std::size(grounds) - 1);
    const std::string reused = PathOf("reused.txt");
    for (int trial = 0; trial < 40; ++trial) {
        SCOPED_TRACE(trial);
        TArray saved = RandomArray(random);
        for (TEmitter& e : saved.Emitters) e.Amplitude = amplitudes[pickAmplitude(random)];
        const TGround& ground = grounds[pickGround(random)];
        SaveConfiguration(reused, saved, saved.EmitterType, {}, &ground);

        const TIniFile file(reused);
        const std::optional<TGround> loaded = ReadGround(file);
        ASSERT_EQ(loaded.has_value(), ground.Kind != TGroundKind::None);
        if (loaded) {
            EXPECT_EQ(loaded->Kind, ground.Kind);
            EXPECT_EQ(loaded->HeightWavelengths, ground.HeightWavelengths);
            if (ground.Kind == TGroundKind::Real) {
                EXPECT_EQ(loaded->FrequencyMhz, ground.FrequencyMhz);
                EXPECT_EQ(loaded->Permittivity, ground.Permittivity);
                EXPECT_EQ(loaded->Conductivity, ground.Conductivity);
            }
        }
        const TAmplitudes currents = ReadAmplitudes(file, reused);
        EXPECT_TRUE(currents.Warnings.empty());
        for (int k = 1; k <= kEmitterCount; ++k) {
            const TEmitter& e = saved.Emitter(k);
            // A switched-off emitter at the origin has no section of its own in a new file.
            if (!e.Enabled && e.X == 0 && e.Y == 0 && e.Phase == 0) continue;
            EXPECT_EQ(currents.Values[static_cast<unsigned>(k - 1)], e.Amplitude) << k;
        }
    }
}
